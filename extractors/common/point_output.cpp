#include "extractors/common/point_output.h"

#include <array>

namespace vornel::extract {
namespace {

using pointlist::PointFlag;
using pointlist::PointRecord;
using pointlist::RecordKind;
using pointlist::RecordLayout;

PointRecord record_at(const Vertex& v, std::int32_t position, PointFlag flag,
                      const ElementRecords& element) {
  PointRecord r;
  r.y = v.y;
  r.x = v.x;
  r.z = v.z;
  r.position = position;
  r.flag = flag;
  r.weight = element.weight;
  r.node_link = element.node_link;
  return r;
}

}  // namespace

OutputVariant choose_variant(int dimension, bool weighted, bool flagged, bool node_link) {
  OutputVariant v;
  v.dimension = dimension;
  if (weighted) {
    v.kind = RecordKind::weighted;
  } else if (flagged) {
    v.kind = RecordKind::flagged;
  } else if (node_link) {
    v.kind = RecordKind::node_link;
  }
  return v;
}

PointOutput::PointOutput(const std::string& path, OutputVariant variant)
    : variant_(variant), file_(path) {}

void PointOutput::put(const RecordLayout& layout, const PointRecord& record) {
  std::array<char, pointlist::kMaxRecordLength> line{};
  const std::size_t length = pointlist::format_point_record(layout, record, line);
  file_.write(std::string_view(line.data(), length));
  ++count_;
}

int PointOutput::write_element(std::span<const Vertex> points, const ElementRecords& element) {
  if (points.empty()) return 0;
  const std::int64_t before = count_;
  const RecordLayout layout{variant_.dimension, variant_.kind};
  const Vertex& first = points.front();
  const Vertex& last = points.back();

  if (variant_.kind == RecordKind::coordinates_only) {
    put(layout, record_at(first, 0, PointFlag::single, element));
    put(layout, record_at(element.point_like ? first : last, 0, PointFlag::single, element));
    return static_cast<int>(count_ - before);
  }

  put(layout, record_at(first, element.position,
                        element.point_like ? PointFlag::single : PointFlag::first, element));
  if (!element.point_like) put(layout, record_at(last, element.position, PointFlag::last, element));

  if (element.interior && points.size() > 2) {
    // Interior vertices can be matched but never edited, and never carry a
    // node link: the node-link variant writes them plain.
    RecordLayout inner = layout;
    if (inner.kind == RecordKind::node_link) inner.kind = RecordKind::plain;
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
      put(inner, record_at(points[i], pointlist::kUneditablePosition, PointFlag::interior, element));
    }
  }
  return static_cast<int>(count_ - before);
}

void PointOutput::close() { file_.close(); }

}  // namespace vornel::extract
