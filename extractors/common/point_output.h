// Writes the point records of one element in the record variant the run
// chose; formatting itself is the point list library's.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "extractors/common/element_points.h"
#include "extractors/common/output_file.h"
#include "pointlist/point_record.h"

namespace vornel::extract {

// The variant of a run, fixed for the whole file.
struct OutputVariant {
  int dimension = 2;
  pointlist::RecordKind kind = pointlist::RecordKind::plain;
};

// The first variant that applies: weighted, flagged, node link, plain.
OutputVariant choose_variant(int dimension, bool weighted, bool flagged, bool node_link);

struct ElementRecords {
  std::int32_t position = 0;   // -1 for reference-file elements
  bool point_like = false;     // one record, flag 0
  std::int32_t weight = 0;     // weighted variant
  std::int32_t node_link = 0;  // node-link variant
  bool interior = false;       // add the vertices between first and last
};

class PointOutput {
 public:
  // Creates the file; throws pointlist::PointListError when it cannot.
  PointOutput(const std::string& path, OutputVariant variant);

  // Writes the element's records and returns how many. Coordinates-only
  // output gives two lines per element: the first point, then the last (the
  // first again for a point-like element).
  int write_element(std::span<const Vertex> points, const ElementRecords& element);

  // Flushes and closes; throws when a write failed.
  void close();

  std::int64_t count() const { return count_; }

 private:
  void put(const pointlist::RecordLayout& layout, const pointlist::PointRecord& record);

  OutputVariant variant_;
  OutputFile file_;
  std::int64_t count_ = 0;
};

}  // namespace vornel::extract
