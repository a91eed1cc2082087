#include "toolkit/complex/type12_to_verts.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "client/operations/operations.h"
#include "client/records/dgn_size.hpp"
#include "client/records/element_header.hpp"
#include "client/session/session.h"
#include "toolkit/complex/chain_merge.h"
#include "toolkit/complex/component_vertices.h"

namespace vornel::toolkit {

namespace {

using complex::Vertices;
namespace element = client::element;

constexpr int kUnreadableComponentExit = 97;
constexpr int16_t kEndOfFileStatus = 1011;
constexpr int kMaxBsplineParts = 4;  // header, poles, knots, weights
// Valid design files never nest complex chains; deeper nesting than this
// adds no vertices rather than exhausting the stack.
constexpr int kMaxNesting = 8;
constexpr int kComponentCountOffset = 21;  // word of a complex header

using ElementBuffer = std::array<uint16_t, 1024>;

struct Expansion {
    int16_t dimension;
    bool stroke_curves;
    complex::StrokeTolerances tolerances;
    int16_t debug;
};

int32_t file_bytes(const ElementBuffer& element, int16_t dimension) {
    const int16_t code = dimension == 3 ? 1 : 0;
    return 2 * client::dgn_size(element.data(), &code);
}

int element_type_of(const ElementBuffer& element) { return client::element_type(element[0]); }

// Reads the element at `position`; a failure ends the program.
void read_component(ElementBuffer& element, int32_t position) {
    const int held_type = element_type_of(element);
    const int32_t file = 0;
    int16_t status = static_cast<int16_t>(ms_read_element(element.data(), &file, &position));
    if (status != 0) {
        std::printf("\nError reading dgn file in 12 - type %d at Block: %d byte: %d\n", held_type, position / 512,
                    position % 512);
        prt_error(&status);
        std::fflush(stdout);
        std::exit(kUnreadableComponentExit);
    }
}

// Gathers the parts that follow the B-spline header read at `position`
// (pole, knot and weight elements, at most three) and strokes them. Accepted
// parts count as components; *next_position is set after the last of them.
Vertices bspline_component(const ElementBuffer& header, int32_t position, int32_t* remaining,
                           int32_t* next_position, const Expansion& how) {
    std::array<ElementBuffer, kMaxBsplineParts - 1> part_buffers{};
    std::array<const uint16_t*, kMaxBsplineParts> parts{header.data()};
    int count = 1;
    int32_t next = position + file_bytes(header, how.dimension);
    for (int n = 1; n < kMaxBsplineParts; ++n) {
        ElementBuffer& part = part_buffers[static_cast<size_t>(n - 1)];
        const int32_t file = 0;
        const int status = ms_read_element(part.data(), &file, &next);
        if (status != 0 && status != kEndOfFileStatus) {
            std::printf("\nError %d in ms_read_element @ %ld", status, static_cast<long>(next));
        }
        const int type = element_type_of(part);
        if (status != 0 ||
            (type != element::bspline_pole && type != element::bspline_knot && type != element::bspline_weight)) {
            break;
        }
        parts[static_cast<size_t>(count++)] = part.data();
        --*remaining;
        next += file_bytes(part, how.dimension);
    }
    *next_position = next;
    return complex::bspline_vertices(std::span(parts.data(), static_cast<size_t>(count)), how.dimension,
                                     how.tolerances.bspline, how.debug);
}

void trace_vertices(const char* format, const Vertices& vertices) {
    for (size_t i = 0; i < vertices.size(); ++i) {
        std::printf(format, static_cast<int>(i), static_cast<long>(vertices[i][0]), static_cast<long>(vertices[i][1]));
    }
}

// Expands the chain whose header was read at header_position into `chain`;
// returns the position after its last component.
int32_t expand(std::span<const uint16_t> header, int32_t header_position, Vertices& chain, const Expansion& how,
               int depth) {
    const int32_t components =
        header.size() > kComponentCountOffset ? static_cast<int16_t>(header[kComponentCountOffset]) : 0;
    if (how.debug) {
        std::printf("\n start connected string - %d elements at %ld\n", components,
                    static_cast<long>(header_position));
    }
    ElementBuffer element{};
    std::copy_n(header.begin(), std::min(header.size(), element.size()), element.begin());
    int32_t position = header_position + file_bytes(element, how.dimension);
    int32_t remaining = components;
    int ordinal = 0;
    for (int k = 1; remaining > 0; ++k, --remaining) {
        read_component(element, position);
        if (how.debug) {
            std::printf("\n elm %d of %d at %d/%d : %ld -", k, components, position / 512, position % 512,
                        static_cast<long>(position));
            std::printf(" type=%d wtf=%d -", element_type_of(element), element[1]);
        }
        Vertices next;
        int32_t next_position = 0;
        switch (element_type_of(element)) {
            case element::bspline_curve:
                next = bspline_component(element, position, &remaining, &next_position, how);
                break;
            case element::complex_chain:
                if (depth < kMaxNesting) {
                    const Expansion nested{how.dimension, true, {-1.0, -1.0, -1.0}, how.debug};
                    next_position = expand(element, position, next, nested, depth + 1);
                } else {
                    next_position = position + file_bytes(element, how.dimension);
                }
                break;
            default:
                next = complex::element_vertices(element, how.dimension, how.stroke_curves, how.tolerances,
                                                 how.debug);
                next_position = position + file_bytes(element, how.dimension);
                break;
        }
        if (how.debug) trace_vertices("\n %d %ld %ld", next);
        const size_t before = chain.size();
        if (!next.empty()) complex::merge_component(chain, std::move(next), ++ordinal, how.dimension, how.debug);
        if (how.debug) {
            std::printf("\nelem %d of %d - %d vertices added to %d", k, components,
                        static_cast<int>(chain.size()) - static_cast<int>(before), static_cast<int>(before));
            trace_vertices("\n  %d  %ld %ld", chain);
        }
        position = next_position;
    }
    return position;
}

}  // namespace

int type12toVerts(std::span<const uint16_t> header, int32_t header_position, std::span<int32_t> out,
                  int16_t* out_count, int16_t dimension, int16_t stroke_curves, double arc_tolerance,
                  double bspline_tolerance, double curve_tolerance, int16_t debug) {
    *out_count = 0;
    if (dimension != 2 && dimension != 3) return 1;
    const Expansion how{dimension, stroke_curves != 0, {arc_tolerance, bspline_tolerance, curve_tolerance}, debug};
    Vertices chain;
    expand(header, header_position, chain, how, 0);

    const size_t capacity = std::min<size_t>(out.size() / static_cast<size_t>(dimension), kMaxExpandedVertices);
    const bool cut = chain.size() > capacity;
    if (cut) {
        std::printf("\nComplex chain at %ld has %d vertices - only the first %d are kept\n",
                    static_cast<long>(header_position), static_cast<int>(chain.size()), static_cast<int>(capacity));
        chain.resize(capacity);
    }
    for (size_t i = 0; i < chain.size(); ++i) {
        std::copy_n(chain[i].begin(), dimension, out.begin() + static_cast<std::ptrdiff_t>(i * dimension));
    }
    *out_count = static_cast<int16_t>(chain.size());
    if (debug) std::printf("\nend of type 12 element - %d vertices\n\n", *out_count);
    return cut ? 1 : 0;
}

}  // namespace vornel::toolkit
