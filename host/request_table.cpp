#include "host/request_table.h"

#include "client/connection/request_record.h"
#include "client/operations/request_codes.h"
#include "client/database/database_layout.h"
#include "host/requests/handlers.h"

namespace vornel::host {

namespace {

struct RequestEntry {
  std::int32_t code;
  RequestHandler handler;
};

constexpr RequestEntry kRequestTable[] = {
    {connection::kOpenRequest, requests::open_design},
    {connection::kCloseRequest, requests::close_design},
    {connection::kFlushRequest, requests::flush},
    {connection::kConnectRequest, requests::connect},
    {connection::kConfigVariableRequest, requests::config_variable},
    {dbwire::kServerAttachRequest, requests::database_attach},
    {dbwire::kDatabaseRequest, requests::database_request},
    {operations::kPlaceLine, requests::place_line},
    {operations::kPlaceLineEx, requests::place_line_ex},
    {operations::kPlaceLineString, requests::place_vertices},
    {operations::kPlaceCurve, requests::place_vertices},
    {operations::kPlaceShape, requests::place_vertices},
    {operations::kPlaceLineStringEx, requests::place_vertices},
    {operations::kPlaceCurveEx, requests::place_vertices},
    {operations::kPlaceShapeEx, requests::place_vertices},
    {operations::kPlaceEllipse, requests::place_ellipse},
    {operations::kPlaceEllipse3d, requests::place_ellipse},
    {operations::kPlaceText, requests::place_text},
    {operations::kPlaceTextNode, requests::place_text},
    {operations::kPlaceTextEx, requests::place_text},
    {operations::kPlaceText3d, requests::place_text},
    {operations::kPlaceBspline, requests::place_bspline},
    {operations::kOpenComplex, requests::open_complex},
    {operations::kCloseComplex, requests::close_complex},
    {operations::kGraphicGroup, requests::graphic_group},
    {operations::kReadElement, requests::read_element},
    {operations::kReadElementAt, requests::read_element_at},
    {operations::kWriteElementAt, requests::write_element_at},
    {operations::kDeleteElement, requests::delete_element},
    {operations::kStrokeElement, requests::stroke_element},
    {operations::kStrokeBspline, requests::stroke_bspline},
    {operations::kTextInquiry, requests::text_inquiry},
};

}  // namespace

RequestHandler find_handler(std::int32_t code) {
  for (const RequestEntry& entry : kRequestTable)
    if (entry.code == code) return entry.handler;
  return nullptr;
}

}  // namespace vornel::host
