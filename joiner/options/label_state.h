// The label settings that change during a run and the labels' counters.
#pragma once

#include <cstdint>
#include <vector>

#include "extractors/common/element_points.h"

namespace vornel::joiner {

struct LabelState {
  // Taken over from a text element labelled at a point; the rest of the
  // label symbology lives in the run configuration.
  std::int16_t style = 0;
  std::int32_t element_class = 0;
  // The type of the labelled feature's element; -1 once a row's dxf columns
  // set the label settings.
  std::int16_t element_type = 0;
  // True while a point element is being labelled.
  bool at_point_element = false;
  // Where the labelled point element's origin is read into, reused.
  std::vector<extract::Vertex> origin;
};

}  // namespace vornel::joiner
