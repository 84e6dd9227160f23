// Rounding an exact rational to the nearest double, ties to even: the oracle's one rounding.
#pragma once

#include <gmpxx.h>

#include <bit>
#include <cmath>
#include <cstdint>

namespace korv::test {

inline double nearestDouble(const mpq_class& v) {
    if (v == 0)
        return 0.0;
    if (v < 0)
        return -nearestDouble(-v);
    double lo = v.get_d();  // toward zero
    double hi = std::nextafter(lo, INFINITY);
    mpq_class mid = (mpq_class(lo) + mpq_class(hi)) / 2;
    int c = cmp(v, mid);
    if (c < 0)
        return lo;
    if (c > 0)
        return hi;
    return (std::bit_cast<std::uint64_t>(lo) & 1) == 0 ? lo : hi;
}

}  // namespace korv::test
