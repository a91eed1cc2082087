#include "toolkit/complex/component_vertices.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "client/operations/operations.h"
#include "client/records/element_header.hpp"

namespace vornel::toolkit::complex {

namespace {

namespace element = client::element;

constexpr int32_t kStrokeBufferBytes = 11120;
constexpr int32_t kFirstVertexOffset = 44;  // line strings, curves: count at 40
constexpr int32_t kLineStartOffset = 40;
constexpr int32_t kTooManyStrokedVertices = 1023;
constexpr double kHostDefaultTolerance = -1.0;
constexpr double kFirstRetryTolerance = 2.5;
constexpr double kRetryGrowth = 1.25;
constexpr double kLargestRetryTolerance = 2000000.0;
// 1.25 raised to this many tries exceeds any coordinate range; a host that
// still returns too many vertices is not asked again.
constexpr int kMaxRetries = 200;

using StrokeBuffer = std::array<int32_t, kStrokeBufferBytes / 4>;

int32_t element_bytes(std::span<const uint16_t> element) {
    if (element.size() < 2) return 0;
    return std::min<int32_t>(2 * (element[1] + 2), static_cast<int32_t>(element.size() * 2));
}

int32_t load_long(std::span<const uint16_t> element, int32_t byte_offset) {
    int32_t value = 0;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(element.data()) + byte_offset, sizeof value);
    return value;
}

Vertex load_vertex(std::span<const uint16_t> element, int32_t byte_offset, int16_t dimension) {
    return {load_long(element, byte_offset), load_long(element, byte_offset + 4),
            dimension == 3 ? load_long(element, byte_offset + 8) : 0};
}

// Vertices `skip` to `count - skip` of a line string or curve.
Vertices stored_vertices(std::span<const uint16_t> element, int16_t dimension, int skip) {
    const int32_t bytes = element_bytes(element);
    if (bytes < kFirstVertexOffset) return {};
    const int32_t stored = static_cast<int16_t>(element[20]);
    int32_t count = stored - 2 * skip;
    if (count < 0) {
        std::printf("\nInvalid linePts=%d - reset to 0", count);
        count = 0;
    }
    const int32_t stride = 4 * dimension;
    const int32_t fits = (bytes - kFirstVertexOffset) / stride - skip;
    count = std::min(count, std::max(fits, 0));
    Vertices out;
    out.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        out.push_back(load_vertex(element, kFirstVertexOffset + (i + skip) * stride, dimension));
    }
    return out;
}

Vertices buffer_vertices(const StrokeBuffer& buffer, int32_t count, int16_t dimension) {
    const int32_t fits = static_cast<int32_t>(buffer.size()) / dimension;
    count = std::clamp(count, 0, fits);
    Vertices out;
    out.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const int32_t* v = &buffer[static_cast<size_t>(i) * dimension];
        out.push_back({v[0], v[1], dimension == 3 ? v[2] : 0});
    }
    return out;
}

Vertices stroked(std::span<const uint16_t> element, int16_t dimension, double tolerance) {
    StrokeBuffer buffer{};
    int32_t size = kStrokeBufferBytes;
    int32_t count = 0;
    stroke_element(buffer.data(), &size, &count, element.data(), &tolerance, nullptr);
    return buffer_vertices(buffer, count, dimension);
}

}  // namespace

Vertices element_vertices(std::span<const uint16_t> element, int16_t dimension, bool stroke_curves,
                          const StrokeTolerances& tolerances, int16_t /*debug*/) {
    if (element.empty()) return {};
    switch (client::element_type(element[0])) {
        case element::line: {
            if (element_bytes(element) < kLineStartOffset + 8 * dimension) return {};
            return {load_vertex(element, kLineStartOffset, dimension),
                    load_vertex(element, kLineStartOffset + 4 * dimension, dimension)};
        }
        case element::line_string:
            return stored_vertices(element, dimension, 0);
        case element::curve:
            if (!stroke_curves) return stored_vertices(element, dimension, 2);
            return stroked(element, dimension, tolerances.curve);
        case element::arc:
            return stroked(element, dimension, tolerances.arc);
        default:
            return {};
    }
}

Vertices bspline_vertices(std::span<const uint16_t* const> parts, int16_t dimension, double tolerance,
                          int16_t debug) {
    const auto part_count = static_cast<int16_t>(parts.size());
    auto stroke = [&](double at) {
        StrokeBuffer buffer{};
        int32_t size = kStrokeBufferBytes;
        int32_t count = 0;
        const int status = stroke_bspline(buffer.data(), &size, &count, parts.data(), &part_count, &at, nullptr);
        if (status != 0) std::printf("\nError %d in stroke_bspline", status);
        return buffer_vertices(buffer, count, dimension);
    };
    Vertices out = stroke(tolerance);
    const auto count = [&] { return static_cast<int32_t>(out.size()); };
    if (count() == 0 || count() >= kTooManyStrokedVertices) {
        // A tolerance that is not positive would never grow; the host's
        // default and any other such value start from a usable one.
        if (tolerance == kHostDefaultTolerance || tolerance <= 0.0) tolerance = kFirstRetryTolerance;
        for (int tries = 0; tries < kMaxRetries &&
                            (count() >= kTooManyStrokedVertices || (count() == 0 && tolerance < kLargestRetryTolerance));
             ++tries) {
            if (debug) {
                std::printf("\n\a\aWARNING - stroke_bspline at precision=%lf has returned %d vertices and has likely\n"
                            "truncated the element. Increase the stroking tolerance to reduce\nthe number of "
                            "vertices returned in the                       stroked element.\n",
                            tolerance, count());
            }
            tolerance *= kRetryGrowth;
            out = stroke(tolerance);
        }
        if (debug) std::printf("\nstroke_bspline has returned %d vertices at precision=%lf", count(), tolerance);
    }
    return out;
}

}  // namespace vornel::toolkit::complex
