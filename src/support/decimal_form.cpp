#include "support/decimal_form.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "support/powers_of_ten.h"

namespace korv {

namespace {

using u64 = std::uint64_t;
using u128 = uint128;

// floor(m * 2^q * 10^s) for a result known to be below 10^19.
u64 scaledFloor(std::uint32_t m, int q, int s) {
    if (s < 0) {
        // Only values of 10^18 and more come here, and they are whole: m * 2^q with q >= 0.
        u128 n = static_cast<u128>(m) << q;
        u128 p = 1;
        for (int i = 0; i < -s; ++i) {
            p *= 10;
        }
        return static_cast<u64>(n / p);
    }
    const auto& ten = tables::kPowersOfTen[static_cast<std::size_t>(s)];
    u64 product[5] = {};
    u128 carry = 0;
    for (int i = 0; i < 4; ++i) {
        u128 t = static_cast<u128>(ten[static_cast<std::size_t>(i)]) * m + carry;
        product[i] = static_cast<u64>(t);
        carry = t >> 64;
    }
    product[4] = static_cast<u64>(carry);
    if (q >= 0) {
        return static_cast<u64>(((static_cast<u128>(product[1]) << 64) | product[0]) << q);
    }
    int shift = -q;
    int limb = shift / 64;
    int bits = shift % 64;
    u64 lo = product[limb];
    u64 hi = limb + 1 < 5 ? product[limb + 1] : 0;
    return bits == 0 ? lo : (lo >> bits) | (hi << (64 - bits));
}

}  // namespace

DecimalForm decimalForm(float value) {
    DecimalForm form;
    std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    std::uint32_t biased = (bits >> 23) & 0xFFu;
    std::uint32_t m = bits & 0x7FFFFFu;
    if (biased == 0 && m == 0) {
        return form;  // zero of either sign: "0", exponent 0, no sign
    }
    int q;
    if (biased == 0) {
        q = -149;
    } else {
        m |= 0x800000u;
        q = static_cast<int>(biased) - 150;
    }
    form.negative = (bits >> 31) != 0;

    // 2^p <= |value| < 2^(p+1); the decimal exponent is floor(p*log10(2)) + 1 or one more.
    int p = q + 31 - std::countl_zero(m);
    int e = ((p * 78913) >> 18) + 1;
    u64 y = scaledFloor(m, q, 18 - e);
    while (y < tables::kSmallPowersOfTen[17]) {  // not reached: the estimate is never high
        --e;
        y = scaledFloor(m, q, 18 - e);
    }
    if (y >= tables::kSmallPowersOfTen[18]) {
        ++e;
        y /= 10;
    }
    // y holds the first 18 significant digits; round half up on the 18th.
    u64 r = y / 10 + (y % 10 >= 5 ? 1 : 0);
    if (r == tables::kSmallPowersOfTen[17]) {
        ++e;
        r = tables::kSmallPowersOfTen[16];
    }
    char buffer[17];
    for (int i = 16; i >= 0; --i) {
        buffer[i] = static_cast<char>('0' + r % 10);
        r /= 10;
    }
    int count = 17;
    while (count > 1 && buffer[count - 1] == '0') {
        --count;
    }
    std::memcpy(form.digits, buffer, 17);
    form.count = count;
    form.exponent = e;
    return form;
}

}  // namespace korv
