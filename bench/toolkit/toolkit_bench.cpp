// Speed of the toolkit operations the chain writer runs on every chain:
// weed_data and slope_break on chains up to the joiner's 25,000 vertices.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "toolkit/slopebreak/slope_break.h"
#include "toolkit/weed/weed_data.h"

namespace {

using namespace vornel::toolkit;

constexpr int kChainVertices = 25000;

// A digitised contour-like line: a slow meander sampled every ~10 UOR with
// a little digitising noise, as the joiner gets from traced linework.
std::vector<int32_t> meander(int count, int stride) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> noise(-2, 2);
    std::vector<int32_t> chain;
    for (int n = 0; n < count; ++n) {
        const double t = n * 10.0;
        chain.push_back(static_cast<int32_t>(t + 400.0 * std::sin(t / 900.0)) + noise(random));
        chain.push_back(static_cast<int32_t>(1500.0 * std::sin(t / 2300.0) + 300.0 * std::cos(t / 370.0)) +
                        noise(random));
        if (stride == 3) chain.push_back(static_cast<int32_t>(20.0 * t / 1000.0));
    }
    return chain;
}

// A road profile: plan meander with grades that change every `grade_run`
// vertices, heights in whole UOR (so short steps jitter in slope).
std::vector<int32_t> profile(int count, int grade_run = 400) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> grade(-15, 15);
    std::vector<int32_t> chain;
    double z = 0.0;
    int g = grade(random);
    for (int n = 0; n < count; ++n) {
        if (n % grade_run == 0) g = grade(random);
        const double t = n * 10.0;
        chain.push_back(static_cast<int32_t>(t));
        chain.push_back(static_cast<int32_t>(800.0 * std::sin(t / 5000.0)));
        chain.push_back(static_cast<int32_t>(z));
        z += g * 10.0 / 100.0;
    }
    return chain;
}

struct WeedTolerances {
    float distance;
    float length;
    float angle;
};

void weed_chain(benchmark::State& state, const std::vector<int32_t>& source, int stride, WeedTolerances tol) {
    constexpr std::array<double, 2> origin{0.0, 0.0};
    int32_t kept = 0;
    for (auto _ : state) {
        // Weeding works in place: every round starts from a fresh copy
        // (about 10 microseconds of the time measured).
        std::vector<int32_t> chain = source;
        auto last = static_cast<int32_t>(chain.size() / static_cast<size_t>(stride)) - 1;
        float angle = tol.angle;
        int32_t in = 0, out = 0, zingers = 0;
        if (stride == 2) {
            weed_data(chain, &last, tol.distance, tol.length, &angle, 0, &in, &out, 1, 10.0, &zingers, 1.0,
                      origin.data(), nullptr);
        } else {
            weed_data3d(chain, &last, tol.distance, tol.length, &angle, 0, &in, &out, 1, 10.0, &zingers, 1.0,
                        origin.data(), nullptr);
        }
        kept = last + 1;
        benchmark::DoNotOptimize(chain.data());
    }
    state.counters["vertices_kept"] = kept;
}

void BM_weed_data_distance(benchmark::State& state) {
    weed_chain(state, meander(kChainVertices, 2), 2, {5.0f, 0.0f, 0.0f});
}
void BM_weed_data_defaults(benchmark::State& state) {
    weed_chain(state, meander(kChainVertices, 2), 2, {0.0f, 0.0f, 0.0f});
}
void BM_weed_data_all_tolerances(benchmark::State& state) {
    weed_chain(state, meander(kChainVertices, 2), 2, {5.0f, 500.0f, 10.0f});
}
// 25,000 collinear vertices, as when many short pieces of one straight line
// are joined: every chord reaches back to the start.
void BM_weed_data_straight_line(benchmark::State& state) {
    std::vector<int32_t> line;
    for (int n = 0; n < kChainVertices; ++n) line.insert(line.end(), {n * 30, n * 17});
    weed_chain(state, line, 2, {0.0f, 0.0f, 0.0f});
}
// The hardest realistic case: a gentle arc (radius 1,000,000 UOR) sampled
// every 10 UOR, where chords stay within tolerance for thousands of vertices.
std::vector<int32_t> dense_arc() {
    std::vector<int32_t> chain;
    for (int n = 0; n < kChainVertices; ++n) {
        const double a = n * 10.0 / 1e6;
        chain.push_back(static_cast<int32_t>(std::lround(1e6 * std::sin(a))));
        chain.push_back(static_cast<int32_t>(std::lround(1e6 * (1.0 - std::cos(a)))));
    }
    return chain;
}
void BM_weed_data_dense_arc_distance(benchmark::State& state) {
    weed_chain(state, dense_arc(), 2, {10.0f, 0.0f, 0.0f});
}
void BM_weed_data_dense_arc_angle(benchmark::State& state) {
    weed_chain(state, dense_arc(), 2, {0.0f, 0.0f, 5.0f});
}
void BM_weed_data3d_distance(benchmark::State& state) {
    weed_chain(state, meander(kChainVertices, 3), 3, {5.0f, 0.0f, 0.0f});
}

// The chain writer's loop: cut the whole chain piece after piece.
void cut_whole_chain(benchmark::State& state, const std::vector<int32_t>& chain, double min_len) {
    BreakIntervals intervals;
    intervals.brk_count = 3;
    intervals.brk_max_pct = {2.0f, 8.0f, 999999.0f};
    intervals.brk_limit = {1.0f, 2.5f, 5.0f};
    intervals.brk_min_len = {min_len, min_len, min_len};
    const auto last = static_cast<int32_t>(chain.size() / 3) - 1;
    int pieces = 0;
    for (auto _ : state) {
        pieces = 0;
        int32_t start = 0;
        while (start < last) {
            int32_t index = 0;
            int16_t cls = 0;
            const std::span<const int32_t> rest(chain.data() + static_cast<size_t>(start) * 3,
                                                chain.size() - static_cast<size_t>(start) * 3);
            slope_break(rest, last - start, &intervals, &index, &cls, 0);
            start += index;
            ++pieces;
        }
        benchmark::DoNotOptimize(start);
    }
    state.counters["pieces"] = pieces;
}

void BM_slope_break_whole_chain(benchmark::State& state) {
    cut_whole_chain(state, profile(static_cast<int>(state.range(0))), 500.0);
    state.SetComplexityN(state.range(0));
}

// Short minimum lengths on a profile whose grade changes every 40 vertices:
// thousands of pieces, each call measuring the rest of the chain once.
void BM_slope_break_many_pieces(benchmark::State& state) {
    cut_whole_chain(state, profile(kChainVertices, 40), 30.0);
}

// One call on a chain whose slope never leaves its class: every vertex is
// examined, so this is the longest a single call takes for its length.
void BM_slope_break_one_call(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    std::vector<int32_t> chain;
    for (int n = 0; n < count; ++n) chain.insert(chain.end(), {n * 10, (n % 7) * 3, n / 2});
    BreakIntervals intervals;
    intervals.brk_count = 2;
    intervals.brk_max_pct = {10.0f, 999999.0f};
    intervals.brk_limit = {2.0f, 4.0f};
    intervals.brk_min_len = {50.0, 50.0};
    for (auto _ : state) {
        int32_t index = 0;
        int16_t cls = 0;
        slope_break(chain, count - 1, &intervals, &index, &cls, 0);
        benchmark::DoNotOptimize(index);
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_slope_break_one_call)
    ->RangeMultiplier(5)
    ->Range(200, 25000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();
BENCHMARK(BM_weed_data_distance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_weed_data_defaults)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_weed_data_all_tolerances)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_weed_data_straight_line)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_weed_data_dense_arc_distance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_weed_data_dense_arc_angle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_weed_data3d_distance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_slope_break_whole_chain)
    ->RangeMultiplier(5)
    ->Range(200, 25000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

BENCHMARK(BM_slope_break_many_pieces)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
