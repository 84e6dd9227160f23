// editFixed per value against std::to_chars in fixed notation with the same digits after the
// point, on the same values.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <random>
#include <vector>

#include "support/field_editing.h"

namespace {

struct Shape {
    int w, d;
};
constexpr Shape kShapes[] = {{10, 3}, {9, 4}, {9, 0}, {8, 5}, {8, 1}, {7, 3},
                             {7, 2},  {7, 1}, {6, 3}, {6, 2}, {5, 3}};

// Values of the magnitudes a report shows, with random shapes.
const std::vector<float>& values() {
    static std::vector<float> v = [] {
        std::mt19937 rng(2026);
        std::uniform_real_distribution<double> mantissa(1.0, 10.0);
        std::uniform_int_distribution<int> exponent(-3, 5);
        std::vector<float> out(4096);
        for (float& x : out) {
            x = static_cast<float>(mantissa(rng) * std::pow(10.0, exponent(rng)));
            if (rng() & 1)
                x = -x;
        }
        return out;
    }();
    return v;
}

void BM_EditFixed(benchmark::State& state) {
    const auto& v = values();
    std::size_t i = 0;
    for (auto _ : state) {
        const Shape& s = kShapes[i % std::size(kShapes)];
        std::string text = korv::editFixed(v[i % v.size()], s.w, s.d);
        benchmark::DoNotOptimize(text);
        ++i;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_EditFixed);

// The reference: the shortest correct conversion of the same values with the same number of
// decimals (no seven-digit limit, no field fitting).
void BM_ToCharsFixed(benchmark::State& state) {
    const auto& v = values();
    std::size_t i = 0;
    char buffer[64];
    for (auto _ : state) {
        const Shape& s = kShapes[i % std::size(kShapes)];
        auto r = std::to_chars(buffer, buffer + sizeof buffer, v[i % v.size()],
                               std::chars_format::fixed, s.d);
        benchmark::DoNotOptimize(r.ptr);
        benchmark::DoNotOptimize(buffer);
        ++i;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_ToCharsFixed);

}  // namespace
