#include "toolkit/output/output_data.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace vornel::toolkit {

namespace {

// Estimated element size (words) above which a warning is printed.
constexpr int32_t kElementWordLimit = 768;
// Status given back for a call whose arrays do not hold what it names.
constexpr int16_t kBadChainStatus = 905;
constexpr int16_t kBadDimensionStatus = 1019;
constexpr int16_t kShapeTooLarge = 905;

// Everything a piece placement needs besides the piece itself.
struct Placement {
    const int16_t* mode_pair;
    const int16_t* attributes;  // null: no linkages
    Symbology* symbology;
    int16_t level;
    int32_t low;
    int32_t high;
    int16_t dimension;
    int16_t debug;
    int32_t linkage_count;
};

// One piece, copied into a work buffer with room for a curve's middle vertex.
struct Piece {
    std::array<int32_t, (kMaxPieceSize + 1) * 3> values{};
    int16_t count = 0;
    int16_t dimension = 2;

    int32_t* vertex(int index) { return &values[static_cast<size_t>(index) * dimension]; }
    bool zero_length() const {
        if (count != 2) return false;
        return std::equal(values.begin(), values.begin() + dimension, values.begin() + dimension);
    }
    // Moves the second vertex to third place and puts the midpoint between.
    void insert_midpoint() {
        int32_t* first = vertex(0);
        int32_t* second = vertex(1);
        int32_t* third = vertex(2);
        for (int c = 0; c < dimension; ++c) {
            third[c] = second[c];
            second[c] = static_cast<int32_t>(first[c] / 2.0 + third[c] / 2.0);
        }
        count = 3;
    }
};

void warn_when_too_large(int32_t estimate) {
    if (estimate > kElementWordLimit) {
        std::printf("\nWARNING - Element size exceeds limits\n        - probably due to numerous attribute "
                    "linkages (%d) ",
                    estimate);
    }
}

int16_t place_line(const Placement& p, Piece& piece, int16_t level) {
    int16_t status = 0;
    lndfpi_ex(p.mode_pair, &level, p.symbology, piece.vertex(0), &status, p.attributes, nullptr, nullptr,
              nullptr, &p.low, &p.high, nullptr, nullptr);
    return status;
}

int16_t place_line_string(const Placement& p, Piece& piece, int16_t level) {
    int16_t status = 0;
    lsdfpi_ex(p.mode_pair, &level, p.symbology, piece.vertex(0), &piece.count, &status, p.attributes, nullptr,
              nullptr, nullptr, &p.low, &p.high, nullptr, nullptr);
    return status;
}

int16_t place_curve(const Placement& p, Piece& piece, int16_t level) {
    int16_t status = 0;
    cudfpi_ex(p.mode_pair, &level, p.symbology, piece.vertex(0), &piece.count, &status, p.attributes, nullptr,
              nullptr, nullptr, &p.low, &p.high, nullptr, nullptr);
    return status;
}

int16_t place_bspline(const Placement& p, Piece& piece) {
    // Open, non-rational cubic curve through the piece's vertices as poles.
    const int16_t curve_type = 0, order = 3, closed = 0, rational = 0, flag_c = 0, flag_d = 1, knots = 0;
    int16_t status = 0;
    bcdfpi(p.mode_pair, &p.level, p.symbology, &curve_type, &order, &closed, &rational, &flag_c, &flag_d,
           &piece.count, &knots, piece.vertex(0), nullptr, nullptr, p.attributes, &status);
    return status;
}

// Line strings, lines and B-spline curves; returns the placement status, or
// `previous` when nothing is placed.
int16_t write_linear_piece(const Placement& p, Piece& piece, int16_t kind, int16_t* zero_count,
                           int16_t zero_level, int16_t previous) {
    warn_when_too_large(2 * p.dimension * piece.count + 8 * p.linkage_count + 22);
    if (piece.zero_length() && *zero_count > 0) {
        int16_t status = previous;
        if (zero_level > 0) {
            if (p.debug) std::printf("\nWriting linestring with %d vertices", piece.count);
            status = place_line_string(p, piece, zero_level);
        }
        ++*zero_count;
        return status;
    }
    if (piece.count == 2) {
        if (p.debug) std::printf("\nWriting line with %d vertices", piece.count);
        const int16_t status = place_line(p, piece, p.level);
        if (status != 0) std::printf("\nError placing LINE\n");
        return status;
    }
    if (kind == kOutputLineString || kind == kOutputShape) {
        if (p.debug) std::printf("\nWriting linestring with %d vertices", piece.count);
        const int16_t status = place_line_string(p, piece, p.level);
        if (status != 0) std::printf("\nError %d placing LINESTRING\n", status);
        return status;
    }
    if (p.debug) std::printf("\nWriting Bspline with %d poles", piece.count);
    const int16_t status = place_bspline(p, piece);
    if (status != 0) std::printf("\nError %d placing B-SPLINE\n", status);
    return status;
}

int16_t write_curve_piece(const Placement& p, Piece& piece, int16_t* zero_count, int16_t zero_level,
                          int16_t previous) {
    warn_when_too_large(2 * p.dimension * (piece.count + 4) + 8 * p.linkage_count + 22);
    const bool zero_length = piece.zero_length();
    int16_t status = previous;
    bool placed = true;
    if (zero_length && *zero_count > 0) {
        placed = zero_level > 0;
        if (placed) {
            // A curve needs three vertices; the coincident middle one keeps
            // the piece placeable instead of failing the whole run.
            piece.insert_midpoint();
            if (p.debug) std::printf("\nWriting curve with %d vertices", piece.count);
            status = place_curve(p, piece, zero_level);
        }
        ++*zero_count;
    } else if (zero_length) {
        if (p.debug) std::printf("\nWriting line with %d vertices", piece.count);
        status = place_line(p, piece, p.level);
    } else {
        if (piece.count == 2) piece.insert_midpoint();
        if (p.debug) std::printf("\nWriting curve with %d vertices", piece.count);
        status = place_curve(p, piece, p.level);
    }
    if (placed && status != 0) std::printf("\nError %d placing CURVE\n", status);
    return status;
}

void trace_call(int32_t points_in, int32_t last_index, int32_t low, int32_t high, const int16_t* mode_pair,
                std::span<const int16_t> attributes) {
    std::printf("\ninside - inPts=%ld #verts= %ld", static_cast<long>(points_in), static_cast<long>(last_index));
    std::printf("\nzlow=%ld zhigh=%ld ggr=%ld", static_cast<long>(low), static_cast<long>(high),
                static_cast<long>(mode_pair != nullptr ? mode_pair[1] : 0));
    const int count = attributes.empty() ? 0 : attributes[0];
    std::printf("\n#attributes=%d", count);
    const size_t end = std::min(attributes.size(), static_cast<size_t>(std::max(0, 8 * count)));
    for (size_t i = 2; i < end; i += 4) {
        int16_t words[4] = {};
        for (size_t w = 0; w < 4 && i + w < end; ++w) words[w] = attributes[i + w];
        std::printf("\n%d %d %d %d", words[0], words[1], words[2], words[3]);
    }
}

bool closed_in_plan(std::span<const int32_t> vertices, int32_t last_index, int16_t dimension) {
    const size_t last = static_cast<size_t>(last_index) * static_cast<size_t>(dimension);
    return vertices[0] == vertices[last] && vertices[1] == vertices[last + 1];
}

}  // namespace

int32_t output_data(int32_t last_index, std::span<const int32_t> vertices, int16_t whole_pieces,
                    int16_t complex_flag, int16_t kind, int32_t* element_count, int16_t* zero_count,
                    int16_t zero_level, int16_t level, const int16_t* mode_pair,
                    std::span<const int16_t> attributes, Symbology* symbology, int16_t max_vertices,
                    int16_t dimension, const void* /*unused*/, int32_t low, int32_t high, int32_t points_in,
                    int16_t debug, int16_t* status) {
    if (debug) trace_call(points_in, last_index, low, high, mode_pair, attributes);
    if (last_index < 0) return 0;
    if (dimension != 2 && dimension != 3) {
        std::printf("\nError - output_data called with dimension %d\n", dimension);
        *status = kBadDimensionStatus;
        return 0;
    }
    if (static_cast<size_t>(last_index) + 1 > vertices.size() / static_cast<size_t>(dimension) ||
        last_index >= 32767) {
        std::printf("\nError - output_data given %ld vertices, more than it can write\n",
                    static_cast<long>(last_index) + 1);
        *status = kBadChainStatus;
        return 0;
    }

    const int16_t* linkages = attributes.empty() ? nullptr : attributes.data();
    Placement p{mode_pair, linkages, symbology, level, low, high, dimension, debug,
                attributes.empty() ? 0 : std::max<int32_t>(0, attributes[0])};

    if (kind == kOutputShape && last_index + 1 > 2 && dimension == 2 &&
        closed_in_plan(vertices, last_index, dimension)) {
        if (debug) std::printf("\nWriting shape with %d vertices", last_index + 1);
        const int16_t count = static_cast<int16_t>(last_index + 1);
        int16_t shape_status = 0;
        shdfpi(mode_pair, &level, symbology, vertices.data(), &count, &shape_status, linkages);
        if (shape_status != 0 && shape_status != kShapeTooLarge) {
            std::printf("\nError %d placing SHAPE\n", shape_status);
        } else {
            ++*element_count;
        }
        *status = shape_status;
        return last_index;
    }

    const bool failed_shape = kind == kOutputShape;
    if (failed_shape) {
        ++symbology->weight;
        ++symbology->color;
        std::printf("\nElement could not be placed as shape due to lack of closure\n Element placed as "
                    "linestring of color %d with weight %d\n",
                    symbology->color, symbology->weight);
    }

    int32_t piece_size = kind == kOutputCurve ? kCurvePieceSize : kDefaultPieceSize;
    if (max_vertices > 1) piece_size = std::min<int32_t>(max_vertices - 1, kMaxPieceSize);
    const int32_t limit = whole_pieces == 1 ? last_index - last_index % piece_size : last_index;

    int16_t last_status = 0;
    const bool grouped = complex_flag != 0 && piece_size < last_index;
    if (grouped) bcmplx(linkages, &last_status);

    Piece piece;
    piece.dimension = dimension;
    for (int32_t position = 0; position < limit;) {
        const int32_t count = std::min(piece_size, limit - position) + 1;
        const auto first = vertices.begin() + static_cast<std::ptrdiff_t>(position) * dimension;
        std::copy(first, first + static_cast<std::ptrdiff_t>(count) * dimension, piece.values.begin());
        piece.count = static_cast<int16_t>(count);
        ++*element_count;
        last_status = kind == kOutputCurve
                          ? write_curve_piece(p, piece, zero_count, zero_level, last_status)
                          : write_linear_piece(p, piece, kind, zero_count, zero_level, last_status);
        position += count - 1;
    }

    if (failed_shape) {
        --symbology->weight;
        --symbology->color;
    }
    if (grouped) ecmplx(&complex_flag, &last_status);
    *status = last_status;
    return limit;
}

}  // namespace vornel::toolkit
