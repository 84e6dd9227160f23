// Exact powers of ten up to 10^63 as 256-bit little-endian integers, for the decimal form of
// a single-precision value. Built at compile time by repeated exact multiplication.
#pragma once

#include <array>
#include <cstdint>

#include "support/uint128.h"

namespace korv::tables {

inline constexpr int kMaxPowerOfTen = 63;

using Limbs256 = std::array<std::uint64_t, 4>;

constexpr std::array<Limbs256, kMaxPowerOfTen + 1> makePowersOfTen() {
    std::array<Limbs256, kMaxPowerOfTen + 1> table{};
    Limbs256 value{1, 0, 0, 0};
    for (int k = 0; k <= kMaxPowerOfTen; ++k) {
        table[k] = value;
        korv::uint128 carry = 0;
        for (auto& limb : value) {
            korv::uint128 t = static_cast<korv::uint128>(limb) * 10u + carry;
            limb = static_cast<std::uint64_t>(t);
            carry = t >> 64;
        }
    }
    return table;
}

inline constexpr auto kPowersOfTen = makePowersOfTen();

// 10^0 .. 10^19 as 64-bit values.
constexpr std::array<std::uint64_t, 20> makeSmallPowers() {
    std::array<std::uint64_t, 20> table{};
    std::uint64_t v = 1;
    for (auto& t : table) {
        t = v;
        v *= 10;
    }
    return table;
}

inline constexpr auto kSmallPowersOfTen = makeSmallPowers();

}  // namespace korv::tables
