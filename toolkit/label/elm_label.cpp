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
    bool three_d;
};

using Origin = std::array<int32_t, 3>;

int16_t place_text(const LabelRun& run, double angle, const Origin& at) {
    int16_t status = 0;
    if (run.three_d) {
        // A turn of `angle` about z, row-major.
        const double a = angle / kDegreesPerRadian;
        const double matrix[9] = {std::cos(a), -std::sin(a), 0.0, std::sin(a), std::cos(a), 0.0, 0.0, 0.0, 1.0};
        txdfp3(run.mode_pair, &run.level, run.parameters, run.symbology, at.data(), &status, run.text,
               run.attributes, matrix);
    } else {
        txdfpi_ex(run.mode_pair, &angle, &run.level, run.parameters, run.symbology, at.data(), &status, run.text,
                  run.attributes, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    }
    if (status != 0) prt_error(&status);
    return status;
}

// The elevation of a label on its segment: the segment's own, at the
// label's share of its length, so that the text sits on the line.
int32_t elevation_on(const label::LabelSegment& segment, double offset) {
    if (segment.start[2] == segment.end[2] || !(segment.length > 0.0)) return segment.start[2];
    const double t = std::clamp(offset / segment.length, 0.0, 1.0);
    return segment.start[2] + truncate_to_int32(t * (static_cast<double>(segment.end[2]) - segment.start[2]));
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
    Origin origin;
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
    p.origin[2] = elevation_on(segment, offset);
    if (debug) std::printf("\n dx = %lf\n dy = %lf\n rotation = %f", dx, dy, r);
    return p;
}

// What one call of elm_label or elm_label3d is given.
struct LabelCall {
    const char* text;
    std::span<const int32_t> vertices;
    int16_t count;
    int32_t min_length;
    int32_t interval;
    TextParameters* parameters;
    TextSymbology* symbology;
    int16_t level;
    int16_t* mode_pair;
    int32_t label_type;
    double angle_offset;
    const int32_t* origin_offset;
    std::span<const int16_t> attributes;
    int16_t debug;
    double flip_tolerance;
    int16_t element_type;
};

int16_t label_chain(const LabelCall& call, bool three_d) {
    const char* text = call.text;
    const std::span<const int32_t> vertices = call.vertices;
    TextParameters* parameters = call.parameters;
    TextSymbology* symbology = call.symbology;
    const int16_t debug = call.debug;
    const int32_t* origin_offset = call.origin_offset;
    const double angle_offset = call.angle_offset;
    const int16_t stride = three_d ? 3 : 2;
    // Never read beyond the caller's array, whatever the count says.
    const int32_t vertex_count =
        std::min<int32_t>(call.count, static_cast<int32_t>(vertices.size() / static_cast<size_t>(stride)));
    if (vertex_count < 1 || text == nullptr || parameters == nullptr || symbology == nullptr) return 0;

    std::array<int16_t, kAttributeCopyWords> linkages{};
    std::copy_n(call.attributes.begin(), std::min(call.attributes.size(), linkages.size()), linkages.begin());
    if (call.label_type == kLabelInfoLinkages) {
        int16_t ignored = 0;
        set_info(linkages, &ignored);
    }
    int16_t* mode_pair = call.mode_pair;
    if (three_d) {
        mode_pair[0] = 2;
        mode_pair[1] = 0;
    } else if (mode_pair[1] == 0) {
        mode_pair[0] = 2;
    }

    const auto n = static_cast<int16_t>(std::min<size_t>(std::strlen(text), 32767));
    parameters->character_count = n;
    const double height = parameters->width;   // first size value
    const double width = parameters->height;   // second size value
    const double label_length = n * width;
    Justification just = justification_factors(parameters->justification);
    const LabelRun run{text,
                       parameters,
                       symbology,
                       call.level,
                       mode_pair,
                       call.attributes.empty() || call.label_type == kLabelNoLinkages ? nullptr : linkages.data(),
                       debug,
                       three_d};
    const label::ChainView chain{vertices, vertex_count, stride};

    const bool one_point =
        vertex_count == 1 ||
        (!three_d && vertex_count == 2 && vertices[0] == vertices[2] && vertices[1] == vertices[3]);
    if (one_point) {
        Origin at{vertices[0], vertices[1], three_d ? vertices[2] : 0};
        double angle = angle_offset;
        if (three_d || (call.element_type != 17 && call.element_type >= 0)) {
            just.length_factor += 0.5;
            at[0] += origin_offset[0] + truncate_to_int32(n * just.length_factor * width);
            at[1] += origin_offset[1] + truncate_to_int32(height * just.height_factor);
            if (!three_d) angle = 0.0;
        }
        const int16_t status = place_text(run, angle, at);
        if (debug)
            std::printf(three_d ? "\nBack from txdfpi(point) with status = %d"
                                : "\nBack from txdfpi_ex(point) with status = %d",
                        status);
        return status == 0 ? 1 : 0;
    }

    // The 3-D routine spaces its labels by the chain's length in plan.
    const double total =
        three_d ? tot_Hdistance(vertex_count, vertices, 3) : tot_distance(vertex_count, vertices, 2);
    if (debug) std::printf("\n tot_distance=%lf", total);
    if (call.min_length > total) return 1;
    const int32_t labels = call.interval == 0 ? 1 : truncate_to_int32(total / call.interval + 1);
    if (debug) std::printf("\n num_lab=%d", labels);
    if (labels < 1) return 0;
    const double share = total / labels;
    double location = -share / 2.0;

    int32_t reached = 0;
    double walked = 0.0, walked_before = 0.0;
    std::optional<Origin> previous_origin;
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
                walked += chain.segment_length(j, stride);
                reached = j;
            }
            if ((walked >= location && j >= 1) || j >= vertex_count - 1) break;
        }
        if (j < 1) j = 1;
        const double offset = location - walked_before;
        if (debug) std::printf("\n label %d at %lf - segment %d, offset %lf", i, location, j, offset);

        label::LabelSegment segment =
            label::choose_segment(chain, j, offset, label_length, share, stride, debug);
        if (debug) symbology->symbology.color = segment.code;
        const double u = offset_on_segment(segment.length, segment.offset, label_length, debug, symbology);
        const Placement at = orient(segment, u, angle_offset, call.flip_tolerance, origin_offset, just, n, width,
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
    return label_chain({text, vertices, count, min_length, interval, parameters, symbology, level, mode_pair,
                        label_type, angle_offset, origin_offset, attributes, debug, flip_tolerance, element_type},
                       false);
}

int16_t elm_label3d(const char* text, std::span<const int32_t> vertices, int16_t count, int16_t dimension,
                    int32_t min_length, int32_t interval, TextParameters* parameters, TextSymbology* symbology,
                    int16_t level, int16_t* mode_pair, int32_t label_type, double angle_offset,
                    const int32_t* origin_offset, std::span<const int16_t> attributes, int16_t debug,
                    double flip_tolerance) {
    if (dimension != 3) {
        std::printf("\nNo Label placed - used 3D label routine with a 2D file");
        return 0;
    }
    return label_chain({text, vertices, count, min_length, interval, parameters, symbology, level, mode_pair,
                        label_type, angle_offset, origin_offset, attributes, debug, flip_tolerance, 0},
                       true);
}

}  // namespace vornel::toolkit
