#include "joiner/engine/element_vertices.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "client/operations/operations.h"
#include "client/records/element_header.hpp"
#include "joiner/console_print.h"
#include "joiner/diag.h"
#include "joiner/engine/element_fields.h"
#include "toolkit/complex/type12_to_verts.h"

namespace vornel::joiner {
namespace {

namespace el = client::element;

constexpr std::int32_t kMaxStrokedVertices = 1022;
constexpr int kMaxBsplineComponents = 3;

// Copies `count` vertices of `stride` values (starting at vertex `skip`)
// into the current element; returns the count kept.
std::int32_t take_vertices(JoinRun& run, const std::uint8_t* source, std::size_t available_bytes,
                           std::int32_t skip, std::int32_t count) {
  const auto stride = static_cast<std::size_t>(run.dimen()) * 4;
  const std::size_t fits = std::min(available_bytes / stride, run.current.vertices.size() * 4 / stride);
  if (count < 0) count = 0;
  const auto first = static_cast<std::size_t>(std::max(skip, 0));
  if (first >= fits) return 0;
  const std::size_t n = std::min(static_cast<std::size_t>(count), fits - first);
  std::memcpy(run.current.vertices.data(), source + first * stride, n * stride);
  return static_cast<std::int32_t>(n);
}

const std::int32_t* vertex_at(const JoinRun& run, std::int32_t i) {
  return run.current.vertices.data() + static_cast<std::ptrdiff_t>(i) * run.cfg.dimen;
}

bool same_xy(const std::int32_t* a, const std::int32_t* b) { return a[0] == b[0] && a[1] == b[1]; }
bool same_point(const JoinRun& run, const std::int32_t* a, const std::int32_t* b) {
  return same_xy(a, b) && (run.cfg.dimen == 2 || a[2] == b[2]);
}

std::int32_t stroke_single(JoinRun& run, double tolerance) {
  std::array<std::int32_t, kStrokeBufferInts> buffer{};
  std::int32_t size = static_cast<std::int32_t>(kStrokeBufferBytes);
  std::int32_t count = 0;
  stroke_element(buffer.data(), &size, &count, run.element.record.data() + 4, &tolerance, nullptr);
  return take_vertices(run, reinterpret_cast<const std::uint8_t*>(buffer.data()), buffer.size() * 4, 0,
                       count);
}

// A B-spline curve: its header, then up to three components that follow it
// in the file, stroked; too many vertices or none retry at a coarser
// tolerance that serves only this curve.
std::int32_t stroke_curve(JoinRun& run) {
  using Component = std::array<std::uint16_t, 1024 + 8>;
  std::array<Component, kMaxBsplineComponents> components{};
  std::array<const std::uint16_t*, kMaxBsplineComponents + 1> parts{};
  parts[0] = run.element.record.data() + 4;
  std::int16_t part_count = 1;
  std::int32_t position = run.current.position;
  const std::uint16_t* previous = parts[0];
  for (int i = 0; i < kMaxBsplineComponents; ++i) {
    const int previous_type = client::element_type(previous[0]);
    const std::int32_t next = previous_type == el::bspline_knot || previous_type == el::bspline_weight
                                  ? position + 2 * previous[1]
                                  : position + 2 * previous[1] - 2;
    Component& component = components[static_cast<std::size_t>(i)];
    const std::int32_t file = 0;
    const int status = ms_read_element(component.data(), &file, &next);
    if (status != 0) {
      if (status != 1011 && status != 934)
        print(run.out, "\nError %d in ms_read_element @ %ld", status, static_cast<long>(next));
      break;
    }
    const int type = client::element_type(component[0]);
    if (type != el::bspline_pole && type != el::bspline_knot && type != el::bspline_weight) break;
    parts[static_cast<std::size_t>(part_count++)] = component.data();
    previous = component.data();
    position = next;
  }

  std::array<std::int32_t, kStrokeBufferInts> buffer{};
  std::int32_t size = static_cast<std::int32_t>(kStrokeBufferBytes);
  double tolerance = run.cfg.strb_tol;
  const auto stroke = [&] {
    std::int32_t count = 0;
    const int status = stroke_bspline(buffer.data(), &size, &count, parts.data(), &part_count, &tolerance,
                                      nullptr);
    if (status != 0) print(run.out, "\nError %d in stroke_bspline", status);
    return count;
  };
  std::int32_t count = stroke();
  if ((count > kMaxStrokedVertices || count == 0) && tolerance == -1.0) tolerance = 2.5;
  // A tolerance at or below zero would never grow: those end the retries.
  while ((count > kMaxStrokedVertices || count == 0) && tolerance < 1000000.0 && tolerance > 0) {
    if (diag)
      print(run.out,
            "\n\a\aWARNING - stroke_bspline has returned %d vertices and has likely\ntruncated the "
            "element. Increase the stroking tolerance to reduce\nthe number of vertices returned in "
            "the stroked element.\n",
            count);
    tolerance *= 1.25;
    count = stroke();
  }
  return take_vertices(run, reinterpret_cast<const std::uint8_t*>(buffer.data()), buffer.size() * 4, 0,
                       count);
}

}  // namespace

VertexSource load_element_vertices(JoinRun& run, bool start_element) {
  const ElementFields e{run.element.element()};
  const std::uint8_t* bytes = run.element.element();
  const std::size_t element_room = (ElementBuffer::kWords - 4) * 2;
  CurrentElement& current = run.current;
  const int type = e.type();
  current.type_code = type;
  VertexSource source = VertexSource::element;
  switch (type) {
    case el::line:
      current.linepts = take_vertices(run, bytes + 40, element_room - 40, 0, 2);
      break;
    case el::line_string:
    case el::shape:
      current.linepts = take_vertices(run, bytes + 44, element_room - 44, 0, client::get_word(bytes, 40));
      break;
    case el::curve:
      if (run.cfg.stroke_curves) {
        current.type_code = 110;
        current.linepts = stroke_single(run, run.cfg.strc_tol);
        source = VertexSource::stroked;
      } else {
        current.linepts =
            take_vertices(run, bytes + 44, element_room - 44, 2, client::get_word(bytes, 40) - 4);
      }
      break;
    case el::arc:
      current.linepts = stroke_single(run, run.cfg.stra_tol);
      source = VertexSource::stroked;
      break;
    case el::bspline_curve:
      current.linepts = stroke_curve(run);
      source = VertexSource::stroked;
      break;
    case el::complex_chain: {
      std::int16_t count = 0;
      const std::span<const std::uint16_t> words(run.element.record.data() + 4, ElementBuffer::kWords - 4);
      toolkit::type12toVerts(words, current.position, current.vertices, &count, static_cast<std::int16_t>(run.dimen()),
                             run.cfg.stroke_curves, run.cfg.stra_tol, run.cfg.strb_tol, run.cfg.strc_tol, diag);
      // A chain cut at the end of the buffer keeps the vertices that fit.
      current.linepts = std::min<std::int32_t>(
          count, static_cast<std::int32_t>(current.vertices.size()) / run.dimen());
      source = VertexSource::stroked;
      break;
    }
    default:
      // Other types carry no vertices.
      current.linepts = 0;
      return VertexSource::unavailable;
  }
  if (current.linepts < 1) return VertexSource::unavailable;
  if (start_element) {
    const std::int32_t* first = vertex_at(run, 0);
    const std::int32_t* last = vertex_at(run, current.linepts - 1);
    const bool xy_only = type == el::line || type == el::line_string || type == el::shape ||
                         (type == el::curve && !run.cfg.stroke_curves);
    current.loop = xy_only ? same_xy(first, last) : same_point(run, first, last);
  }
  return source;
}

}  // namespace vornel::joiner
