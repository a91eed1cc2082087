#include "client/records/body_layout.hpp"

#include <initializer_list>

namespace vornel::client {
namespace {

using K = SegmentKind;

// Header segments: 34 bytes shared, a zero word, the symbology word widened
// by a zero word.
constexpr BodyLayout make_layout(std::initializer_list<Segment> body, bool keep_size = false) {
  BodyLayout layout;
  layout.converted = true;
  const Segment header[] = {{K::copy, 34}, {K::zero, 2}, {K::copy, 2}, {K::zero, 2}};
  unsigned zero_bytes = 0;
  for (const Segment& s : header) {
    layout.segments[layout.segment_count++] = s;
    if (s.kind == K::zero) zero_bytes += s.count;
  }
  for (const Segment& s : body) {
    layout.segments[layout.segment_count++] = s;
    if (s.kind == K::zero) zero_bytes += s.count;
    if (s.kind == K::vertices) zero_bytes += 2;
  }
  layout.growth_words = keep_size ? 0 : static_cast<std::uint16_t>(zero_bytes / 2);
  return layout;
}

constexpr BodyLayout kUnchanged{};
constexpr BodyLayout kHeaderOnly = make_layout({{K::rest, 0}}, true);

constexpr BodyLayout kLine2 = make_layout({{K::longs, 4}, {K::rest, 0}});
constexpr BodyLayout kLine3 = make_layout({{K::longs, 6}, {K::rest, 0}});
constexpr BodyLayout kVertices = make_layout({{K::vertices, 0}, {K::rest, 0}});
constexpr BodyLayout kTextNode2 =
    make_layout({{K::copy, 10}, {K::zero, 2}, {K::longs, 6}, {K::rest, 0}});
constexpr BodyLayout kTextNode3 =
    make_layout({{K::copy, 10}, {K::zero, 2}, {K::longs, 10}, {K::rest, 0}});
constexpr BodyLayout kComplexHeader = make_layout({{K::rest, 0}});
constexpr BodyLayout kEllipse2 = make_layout(
    {{K::doubles, 2}, {K::longs, 1}, {K::zero, 4}, {K::doubles, 2}, {K::rest, 0}});
constexpr BodyLayout kEllipse3 =
    make_layout({{K::doubles, 2}, {K::longs, 4}, {K::doubles, 3}, {K::rest, 0}});
constexpr BodyLayout kArc2 = make_layout({{K::longs, 2}, {K::doubles, 2}, {K::longs, 1},
                                          {K::zero, 4}, {K::doubles, 2}, {K::rest, 0}});
constexpr BodyLayout kArc3 =
    make_layout({{K::longs, 2}, {K::doubles, 2}, {K::longs, 4}, {K::doubles, 3}, {K::rest, 0}});
constexpr BodyLayout kText2 =
    make_layout({{K::copy, 2}, {K::zero, 2}, {K::longs, 5}, {K::rest, 0}});
constexpr BodyLayout kText3 =
    make_layout({{K::copy, 2}, {K::zero, 2}, {K::longs, 9}, {K::rest, 0}});
constexpr BodyLayout kSwappedBody = make_layout({{K::rest_longs, 0}});
constexpr BodyLayout kBsplineHeader =
    make_layout({{K::longs, 1}, {K::copy, 6}, {K::zero, 2}, {K::rest, 0}});
constexpr BodyLayout kCell2 = make_layout(
    {{K::copy, 2}, {K::zero, 2}, {K::copy, 14}, {K::zero, 2}, {K::longs, 10}, {K::rest, 0}});
constexpr BodyLayout kCell3 = make_layout(
    {{K::copy, 2}, {K::zero, 2}, {K::copy, 14}, {K::zero, 2}, {K::longs, 18}, {K::rest, 0}});

static_assert(kLine2.growth_words == 2 && kVertices.growth_words == 3);
static_assert(kEllipse2.growth_words == 4 && kEllipse3.growth_words == 2);
static_assert(kArc2.growth_words == 4 && kArc3.growth_words == 2);
static_assert(kCell2.growth_words == 4 && kBsplineHeader.growth_words == 3);
static_assert(kHeaderOnly.growth_words == 0);

}  // namespace

const BodyLayout& body_layout(std::uint16_t first_word, Dimension dimension) {
  const int type = element_type(first_word);
  if (is_deleted(first_word) && is_header_only_when_deleted(type)) return kHeaderOnly;
  const bool three = dimension == Dimension::three;
  switch (type) {
    case element::cell_header: return three ? kCell3 : kCell2;
    case element::line: return three ? kLine3 : kLine2;
    case element::line_string:
    case element::shape:
    case element::curve:
    case 13:  // conic, same layout as a line string
    case element::bspline_pole:
      return kVertices;
    case element::text_node: return three ? kTextNode3 : kTextNode2;
    case element::complex_chain:
    case element::complex_shape:
      return kComplexHeader;
    case element::ellipse: return three ? kEllipse3 : kEllipse2;
    case element::arc: return three ? kArc3 : kArc2;
    case element::text: return three ? kText3 : kText2;
    case element::bspline_knot:
    case element::bspline_weight:
      return kSwappedBody;
    case element::bspline_curve: return kBsplineHeader;
    default:
      return kUnchanged;
  }
}

}  // namespace vornel::client
