#include "joiner/output/element_output.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace vornel::joiner {
namespace {

constexpr std::int32_t kPieceVertices = 101;

struct Piece {
  std::array<std::int32_t, (kPieceVertices + 1) * 3> vertices{};
  std::int16_t count = 0;
};

bool zero_length(const Piece& piece, int d) {
  if (piece.count != 2) return false;
  return std::equal(piece.vertices.begin(), piece.vertices.begin() + d, piece.vertices.begin() + d);
}

// The extended place operations of lines, line strings and curves take the
// same arguments; the position and element reply are not wanted.
using ExtendedPlace = int (*)(const std::int16_t*, const std::int16_t*, const Symbology*, const std::int32_t*,
                              const std::int16_t*, std::int16_t*, const std::int16_t*, const std::int16_t*,
                              std::int32_t*, std::int16_t*, const std::int32_t*, const std::int32_t*, void*,
                              std::int32_t*);

int place_line_ex(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
                  const std::int32_t* vertices, const std::int16_t*, std::int16_t* status,
                  const std::int16_t* attributes, const std::int16_t* option, std::int32_t* block,
                  std::int16_t* byte, const std::int32_t* low, const std::int32_t* high, void* element,
                  std::int32_t* size) {
  return lndfpi_ex(mode_pair, level, symbology, vertices, status, attributes, option, block, byte, low, high,
                   element, size);
}

std::int16_t place(ExtendedPlace operation, const ElementOutput& r, const Symbology& s,
                   const std::int16_t& level, const Piece& piece) {
  std::int16_t status = 0;
  const std::int16_t option = 0;
  std::int32_t block = -1;
  std::int16_t byte = -1;
  operation(r.placement, &level, &s, piece.vertices.data(), &piece.count, &status, r.attributes, &option,
            &block, &byte, &r.low, &r.high, nullptr, nullptr);
  return status;
}

std::int16_t place_bspline(const ElementOutput& r, const Symbology& s, const Piece& piece) {
  std::int16_t status = 0;
  const std::int16_t curve_type = 0, order = 3, closed = 0, rational = 0, flag_c = 0, flag_d = 1;
  const std::int16_t knots = 0;
  bcdfpi(r.placement, &r.level, &s, &curve_type, &order, &closed, &rational, &flag_c, &flag_d, &piece.count,
         &knots, piece.vertices.data(), nullptr, nullptr, r.attributes, &status);
  return status;
}

std::int16_t linkage_count(const ElementOutput& r) { return r.attributes != nullptr ? r.attributes[0] : 0; }

void warn_size(int estimate) {
  if (estimate > 768)
    std::printf("\nWARNING - Element size exceeds limits\n        - probably due to numerous attribute linkages (%d) ",
                estimate);
}

}  // namespace

std::int32_t output_chain(const ElementOutput& r, Symbology& symbology, std::int32_t& written,
                          std::int16_t& zero_count, std::int16_t& status) {
  const int d = r.dimen;
  if (r.debug) {
    std::printf("\ninside - inPts=%ld #verts= %ld", static_cast<long>(r.points_in),
                static_cast<long>(r.last_index + 1));
    std::printf("\nzlow=%ld zhigh=%ld ggr=%ld", static_cast<long>(r.low), static_cast<long>(r.high),
                static_cast<long>(r.placement[1]));
    std::printf("\n#attributes=%d", linkage_count(r));
  }
  if (r.last_index < 0) return 0;

  std::int16_t kind = r.kind;
  bool raised = false;
  if (kind == -2) {
    const std::int32_t* first = r.vertices;
    const std::int32_t* last = r.vertices + static_cast<std::ptrdiff_t>(r.last_index) * d;
    if (r.last_index + 1 > 2 && first[0] == last[0] && first[1] == last[1] && d == 2) {
      if (r.debug) std::printf("\nWriting shape with %d vertices", r.last_index + 1);
      const auto count = static_cast<std::int16_t>(std::min<std::int32_t>(r.last_index + 1, 32767));
      shdfpi(r.placement, &r.level, &symbology, r.vertices, &count, &status, r.attributes);
      if (status != 0 && status != 905) std::printf("\nError %d placing SHAPE\n", status);
      if (status == 0 || status == 905) ++written;
      return r.last_index;
    }
    symbology.weight = static_cast<std::int16_t>(symbology.weight + 1);
    symbology.color = static_cast<std::int16_t>(symbology.color + 1);
    raised = true;
    std::printf("\nElement could not be placed as shape due to lack of closure\n Element placed as linestring of color %d with weight %d\n",
                symbology.color, symbology.weight);
  }

  std::int32_t t = kind == 0 ? 96 : 100;
  if (r.max_out_verts > 1) t = std::min<std::int32_t>(r.max_out_verts - 1, kPieceVertices - 1);
  const std::int32_t limit = r.whole_pieces == 1 ? r.last_index - (r.last_index % t) : r.last_index;
  bool complex_open = false;
  if (r.complex_flag != 0 && t < r.last_index) {
    std::int16_t open_status = 0;
    bcmplx(r.attributes, &open_status);
    complex_open = open_status == 0;
  }

  Piece piece;
  for (std::int32_t position = 0; position < limit;) {
    const std::int32_t span = std::min(t, limit - position);
    piece.count = static_cast<std::int16_t>(span + 1);
    std::copy(r.vertices + static_cast<std::ptrdiff_t>(position) * d,
              r.vertices + static_cast<std::ptrdiff_t>(position + span + 1) * d, piece.vertices.begin());
    position += span;
    const bool zero = zero_length(piece, d);
    ++written;
    const int links = linkage_count(r);
    if (kind != 0) {
      warn_size(2 * d * piece.count + 8 * links + 22);
      if (zero && zero_count > 0) {
        if (r.zero_level > 0) {
          if (r.debug) std::printf("\nWriting linestring with %d vertices", piece.count);
          status = place(lsdfpi_ex, r, symbology, r.zero_level, piece);
        }
        ++zero_count;
      } else if (piece.count == 2) {
        if (r.debug) std::printf("\nWriting line with %d vertices", piece.count);
        status = place(place_line_ex, r, symbology, r.level, piece);
        if (status != 0) std::printf("\nError placing LINE\n");
      } else if (kind == 1 || kind == -2) {
        if (r.debug) std::printf("\nWriting linestring with %d vertices", piece.count);
        status = place(lsdfpi_ex, r, symbology, r.level, piece);
        if (status != 0) std::printf("\nError %d placing LINESTRING\n", status);
      } else {
        if (r.debug) std::printf("\nWriting Bspline with %d poles", piece.count);
        status = place_bspline(r, symbology, piece);
        if (status != 0) std::printf("\nError %d placing B-SPLINE\n", status);
      }
    } else {
      warn_size(2 * d * (piece.count + 4) + 8 * links + 22);
      if (piece.count == 2 && !zero) {
        // A curve needs three points: the midpoint goes between the two.
        for (int a = 0; a < d; ++a) {
          const std::int32_t first = piece.vertices[static_cast<std::size_t>(a)];
          const std::int32_t second = piece.vertices[static_cast<std::size_t>(d + a)];
          piece.vertices[static_cast<std::size_t>(2 * d + a)] = second;
          piece.vertices[static_cast<std::size_t>(d + a)] =
              static_cast<std::int32_t>(first / 2.0 + second / 2.0);
        }
        piece.count = 3;
      }
      if (zero && zero_count > 0) {
        if (r.zero_level > 0) {
          if (r.debug) std::printf("\nWriting curve with %d vertices", piece.count);
          status = place(cudfpi_ex, r, symbology, r.zero_level, piece);
        }
        ++zero_count;
      } else if (zero) {
        if (r.debug) std::printf("\nWriting line with %d vertices", piece.count);
        status = place(place_line_ex, r, symbology, r.level, piece);
      } else {
        if (r.debug) std::printf("\nWriting curve with %d vertices", piece.count);
        status = place(cudfpi_ex, r, symbology, r.level, piece);
      }
      if (status != 0) std::printf("\nError %d placing CURVE\n", status);
    }
  }
  if (raised) {
    symbology.weight = static_cast<std::int16_t>(symbology.weight - 1);
    symbology.color = static_cast<std::int16_t>(symbology.color - 1);
  }
  if (complex_open) ecmplx(&r.complex_flag, &status);
  return limit;
}

}  // namespace vornel::joiner
