// Checks editFixed against the exact reference on every finite single-precision value, for
// every field shape the report uses, on every core. Stops at the first difference and prints
// the value in hexadecimal. Optional arguments: first and last bit pattern (hexadecimal).
//
//   build/default/tools/exhaustive/check_edit_fixed_exhaustive [first last]
#include <atomic>
#include <bit>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/fixed_reference.h"
#include "support/field_editing.h"

namespace {

struct Shape {
    int w, d;
};
constexpr Shape kShapes[] = {{10, 3}, {9, 4}, {9, 0}, {8, 5}, {8, 1}, {7, 3},
                             {7, 2},  {7, 1}, {6, 3}, {6, 2}, {5, 3}};

std::atomic<bool> gStop{false};
std::atomic<std::uint64_t> gChecked{0};
std::atomic<std::uint64_t> gDiffering{0};
std::mutex gPrint;

// The reference text, with two shortcuts that need no expansion: below 2^-20 every shape
// (at most five decimals) shows zeros, and from 2^34 on every value has eleven integer
// digits, more than any shape's width.
std::string reference(float x, std::uint32_t biased, const korv::test::ExactDecimal* exact, int w,
                      int d) {
    if (biased < 127 - 20) {
        std::string zeros = d == 0 ? "0." : ".";
        zeros.append(static_cast<std::size_t>(d), '0');
        return std::string(static_cast<std::size_t>(w) - zeros.size(), ' ') + zeros;
    }
    if (biased >= 127 + 34) {
        return std::string(static_cast<std::size_t>(w), '*');
    }
    (void)x;
    return korv::test::referenceFixed(*exact, w, d);
}

void work(std::uint64_t first, std::uint64_t last, std::uint64_t stride, std::uint64_t offset) {
    std::uint64_t local = 0;
    for (std::uint64_t bits = first + offset;
         bits <= last && !gStop.load(std::memory_order_relaxed); bits += stride) {
        auto pattern = static_cast<std::uint32_t>(bits);
        std::uint32_t biased = (pattern >> 23) & 0xFF;
        if (biased == 0xFF) {
            continue;  // infinities and NaNs never reach a field
        }
        float x = std::bit_cast<float>(pattern);
        korv::test::ExactDecimal exact;
        bool needExact = biased >= 127 - 20 && biased < 127 + 34;
        if (needExact) {
            exact = korv::test::exactDecimal(x);
        }
        for (const Shape& s : kShapes) {
            std::string want = reference(x, biased, &exact, s.w, s.d);
            std::string got = korv::editFixed(x, s.w, s.d);
            if (got != want) {
                gDiffering.fetch_add(1);
                gStop.store(true);
                std::lock_guard<std::mutex> lock(gPrint);
                std::printf("DIFFERENCE at 0x%08" PRIx32
                            " (%.9g) in F%d.%d: got \"%s\", expected \"%s\"\n",
                            pattern, static_cast<double>(x), s.w, s.d, got.c_str(), want.c_str());
                break;
            }
        }
        if (++local == 1u << 20) {
            gChecked.fetch_add(local);
            local = 0;
        }
    }
    gChecked.fetch_add(local);
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t first = 0, last = 0xFFFFFFFFull;
    if (argc == 3) {
        first = std::strtoull(argv[1], nullptr, 16);
        last = std::strtoull(argv[2], nullptr, 16);
    }
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> pool;
    // Interleaved blocks keep the cheap and the expensive ranges evenly spread over the cores.
    for (unsigned t = 0; t < threads; ++t) {
        pool.emplace_back(work, first, last, threads, t);
    }
    std::thread progress([&] {
        while (!gStop.load()) {
            for (int i = 0; i < 600 && !gStop.load(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (gStop.load())
                break;
            double done =
                static_cast<double>(gChecked.load()) / static_cast<double>(last - first + 1);
            std::lock_guard<std::mutex> lock(gPrint);
            std::fprintf(stderr, "  %.1f%% checked\n", 100.0 * done);
        }
    });
    for (auto& t : pool) t.join();
    bool differed = gDiffering.load() != 0;
    gStop.store(true);
    progress.join();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("checked %" PRIu64 " values x %zu field shapes on %u threads in %.0f s; %" PRIu64
                " differed\n",
                gChecked.load(), std::size(kShapes), threads, seconds, gDiffering.load());
    return differed ? 1 : 0;
}
