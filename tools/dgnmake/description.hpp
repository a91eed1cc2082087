#pragma once
// A design file described in text, as dgntool make reads it.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "client/records/element_header.hpp"
#include "client/records/uor_box.hpp"

namespace vornel::dgnmake {

using Point = client::UorPoint;

// Everything an element carries besides its geometry.
struct Attributes {
  int level = 1;
  int color = 0;
  int weight = 0;
  int style = 0;
  int element_class = 0;
  std::uint16_t graphic_group = 0;
  std::uint16_t properties = 0;  // further property bits, above the class
  bool deleted = false;
  std::vector<std::vector<std::uint16_t>> linkages;  // each as its words
};

enum class Kind {
  line, line_string, shape, curve, arc, ellipse, text, text_node, cell,
  complex_chain, complex_shape, bspline,
};

struct ElementSpec {
  Kind kind = Kind::line;
  int line_number = 0;
  Attributes attributes;
  std::vector<Point> points;  // vertices, or the poles of a B-spline
  Point origin;
  double primary_axis = 0;
  double secondary_axis = 0;
  double rotation = 0;  // degrees
  double start_angle = 0;
  double sweep_angle = 360;
  double text_width = 0;  // UOR
  double text_height = 0;
  double line_spacing = 0;
  int font = 0;
  int justification = 0;
  std::string text;
  std::string name;       // cell name
  int order = 4;          // B-spline order
  bool closed = false;
  std::vector<double> knots;    // B-spline interior knots, 0..1
  std::vector<double> weights;  // B-spline weights, 0..1, one per pole
  std::vector<ElementSpec> children;
};

struct DesignDescription {
  client::Dimension dimension = client::Dimension::two;
  std::int32_t subunits_per_master = 10;
  std::int32_t uors_per_subunit = 1000;
  std::string master_name = "MU";
  std::string sub_name = "SU";
  std::array<double, 3> global_origin{};
  std::vector<ElementSpec> elements;
};

// A description that cannot be understood; the message names the line.
class DescriptionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vornel::dgnmake
