#include "host/request_table.h"

#include "client/connection/request_record.h"
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
};

}  // namespace

RequestHandler find_handler(std::int32_t code) {
  for (const RequestEntry& entry : kRequestTable)
    if (entry.code == code) return entry.handler;
  return nullptr;
}

}  // namespace vornel::host
