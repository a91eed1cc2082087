#include "toolkit/label/elm_label.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

#include "client/session/session.h"
#include "toolkit/geometry/distance.h"
#include "toolkit/geometry/rounding.h"
#include "toolkit/label/label_segment.h"
#include "toolkit/linkage/set_info.h"

namespace vornel::toolkit {

namespace {

constexpr double kDegreesPerRadian = 57.2957795131;
constexpr double kQuarterTurn = 1.57079632679;
constexpr size_t kAttributeCopyWords = 1540 / 2;

struct Justification {
    double height_factor;  // A
    double length_factor;  // B
};

Justification justification_factors(int16_t code) {
    static constexpr std::array<Justification, 9> table{{{1.5, -0.5},
                                                         {1.0, -0.5},
                                                         {0.5, -0.5},
                                                         {1.5, 0.5},
                                                         {1.0, 0.5},
                                                         {0.5, 0.5},
                                                         {1.5, 0.0},
                                                         {1.0, 0.0},
                                                         {0.5, 0.0}}};
    if (code < 0 || code > 8) return {0.0, 0.0};
    return table[static_cast<size_t>(code)];
}

// What every label of one call shares.
struct LabelRun {
    const char* text;
    TextParameters* parameters;
    TextSymbology* symbology;
    int16_t level;
    const int16_t* mode_pair;
    const int16_t* attributes;  // the local copy, or null for no linkages
    int16_t debug;
};

int16_t place_text(const LabelRun& run, double angle, const std::array<int32_t, 2>& at) {
    const int32_t origin[3] = {at[0], at[1], 0};
    int16_t status = 0;
    txdfpi_ex(run.mode_pair, &angle, &run.level, run.parameters, run.symbology, origin, &status, run.text,
              run.attributes, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (status != 0) prt_error(&status);
    return status;
}

// Moves the label along its segment so that it stays on it, away from the
// segment's ends where the segment allows.
double offset_on_segment(double segment, double offset, double label_length, int16_t debug,
                         const TextSymbology* symbology) {
    if (3.0 * label_length > segment) {
        if (debug) std::printf("\nSPLIT - specs->color=%d", symbology->symbology.color);
        return segment / 2.0;
    }
    if (1.5 * label_length > offset) {
        if (debug) std::printf("\nIN ONE LABEL - specs->color=%d", symbology->symbology.color);
        return 1.5 * label_length;
    }
    if (segment - offset < 1.5 * label_length) {
        if (debug) std::printf("\nBACK ONE LABEL - specs->color=%d", symbology->symbology.color);
        return segment - 1.5 * label_length;
    }
    return offset;
}

struct Placement {
    double angle;
    std::array<int32_t, 2> origin;
};

// Angle and origin of a label on `segment`: turned to the segment, never
// upside down, pushed off the line by the justification.
Placement orient(const label::LabelSegment& segment, double offset, double angle_offset, double flip_tolerance,
                 const int32_t* origin_offset, Justification just, double characters, double width,
                 double height, int16_t debug) {
    const double dx = static_cast<double>(segment.end[0]) - segment.start[0];
    const double dy = static_cast<double>(segment.end[1]) - segment.start[1];
    double r = dx == 0.0 ? 90.0 : std::atan2(dy, dx) * kDegreesPerRadian;
    if (angle_offset > 0.0) r += angle_offset;
    if (r > 90.0 || r < -90.0) r += 180.0;
    double side = just.height_factor;
    if (flip_tolerance != 0.0 &&
        ((r > 270.0 && 270.0 + flip_tolerance > r) || (r > 90.0 && 90.0 + flip_tolerance > r))) {
        side = -side;
        r += 180.0;
    }
    if (r > 360.0) r -= 360.0;
    const double theta = std::atan2(dy, dx);
    const double across = std::fabs(theta) > kQuarterTurn ? theta - kQuarterTurn : theta + kQuarterTurn;
    const double sense = dx >= 0.0 ? 1.0 : -1.0;
    const double along = offset + sense * characters * just.length_factor * width;
    Placement p;
    p.angle = r;
    p.origin[0] = segment.start[0] + origin_offset[0] + truncate_to_int32(std::cos(theta) * along) +
                  truncate_to_int32(std::cos(across) * height * side);
    p.origin[1] = segment.start[1] + origin_offset[1] + truncate_to_int32(std::sin(theta) * along) +
                  truncate_to_int32(std::sin(across) * height * side);
    if (debug) std::printf("\n dx = %lf\n dy = %lf\n rotation = %f", dx, dy, r);
    return p;
}

}  // namespace

int16_t elm_label(const char* text, std::span<const int32_t> vertices, int16_t count, int16_t dimension,
                  int32_t min_length, int32_t interval, TextParameters* parameters, TextSymbology* symbology,
                  int16_t level, int16_t* mode_pair, int32_t label_type, double angle_offset,
                  const int32_t* origin_offset, std::span<const int16_t> attributes, int16_t debug,
                  double flip_tolerance, int16_t element_type) {
    if (dimension != 2) {
        std::printf("\nNo Label placed - 2D option in 3D file");
        return 0;
    }
    // Never read beyond the caller's array, whatever the count says.
    const int32_t vertex_count =
        std::min<int32_t>(count, static_cast<int32_t>(vertices.size() / 2));
    if (vertex_count < 1 || text == nullptr) return 0;

    std::array<int16_t, kAttributeCopyWords> linkages{};
    std::copy_n(attributes.begin(), std::min(attributes.size(), linkages.size()), linkages.begin());
    if (label_type == kLabelInfoLinkages) {
        int16_t ignored = 0;
        set_info(linkages, &ignored);
    }
    if (mode_pair[1] == 0) mode_pair[0] = 2;

    const auto n = static_cast<int16_t>(std::min<size_t>(std::strlen(text), 32767));
    parameters->character_count = n;
    const double height = parameters->width;   // first size value
    const double width = parameters->height;   // second size value
    const double label_length = n * width;
    Justification just = justification_factors(parameters->justification);
    const LabelRun run{text,  parameters, symbology, level, mode_pair,
                       attributes.empty() || label_type == kLabelNoLinkages ? nullptr : linkages.data(), debug};
    const label::ChainView chain{vertices, vertex_count, 2};

    const bool one_point = vertex_count == 1 ||
                           (vertex_count == 2 && vertices[0] == vertices[2] && vertices[1] == vertices[3]);
    if (one_point) {
        std::array<int32_t, 2> at{vertices[0], vertices[1]};
        double angle = angle_offset;
        if (element_type != 17 && element_type >= 0) {
            just.length_factor += 0.5;
            at[0] += origin_offset[0] + truncate_to_int32(n * just.length_factor * width);
            at[1] += origin_offset[1] + truncate_to_int32(height * just.height_factor);
            angle = 0.0;
        }
        const int16_t status = place_text(run, angle, at);
        if (debug) std::printf("\nBack from txdfpi_ex(point) with status = %d", status);
        return status == 0 ? 1 : 0;
    }

    const double total = tot_distance(vertex_count, vertices, 2);
    if (debug) std::printf("\n tot_distance=%lf", total);
    if (min_length > total) return 1;
    const int32_t labels = interval == 0 ? 1 : truncate_to_int32(total / interval + 1);
    if (debug) std::printf("\n num_lab=%d", labels);
    if (labels < 1) return 0;
    const double share = total / labels;
    double location = -share / 2.0;

    int32_t reached = 0;
    double walked = 0.0, walked_before = 0.0;
    std::optional<std::array<int32_t, 2>> previous_origin;
    int16_t last_status = 0;
    for (int32_t i = 0; i < labels; ++i) {
        location += share;
        // The label's segment ends at the first vertex where the walked length
        // reaches the location: at vertex 1 at least, at the last vertex at
        // most, so the segment always lies inside the chain.
        int32_t j = reached;
        for (;; ++j) {
            if (j > reached) {
                walked_before = walked;
                walked += chain.segment_length(j, 2);
                reached = j;
            }
            if ((walked >= location && j >= 1) || j >= vertex_count - 1) break;
        }
        if (j < 1) j = 1;
        const double offset = location - walked_before;
        if (debug) std::printf("\n label %d at %lf - segment %d, offset %lf", i, location, j, offset);

        label::LabelSegment segment =
            label::choose_segment(chain, j, offset, label_length, share, 2, debug);
        if (debug) symbology->symbology.color = segment.code;
        const double u = offset_on_segment(segment.length, segment.offset, label_length, debug, symbology);
        const Placement at = orient(segment, u, angle_offset, flip_tolerance, origin_offset, just, n, width,
                                    height, debug);
        if (previous_origin && *previous_origin == at.origin) {
            if (debug) std::printf("\nDuplicate label avoided at %ld,%ld", static_cast<long>(at.origin[0]),
                                   static_cast<long>(at.origin[1]));
            continue;
        }
        previous_origin = at.origin;
        last_status = place_text(run, at.angle, at.origin);
    }
    return last_status == 0 ? static_cast<int16_t>(std::min<int32_t>(labels, 32767)) : 0;
}

}  // namespace vornel::toolkit
