#include "common/fixed_reference.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

namespace korv::test {

namespace {

using Big = std::vector<std::uint32_t>;  // little-endian base 10^9
constexpr std::uint32_t kBase = 1000000000u;

void multiplySmall(Big& a, std::uint32_t m) {
    std::uint64_t carry = 0;
    for (auto& limb : a) {
        std::uint64_t t = static_cast<std::uint64_t>(limb) * m + carry;
        limb = static_cast<std::uint32_t>(t % kBase);
        carry = t / kBase;
    }
    while (carry != 0) {
        a.push_back(static_cast<std::uint32_t>(carry % kBase));
        carry /= kBase;
    }
}

std::string toDecimal(const Big& a) {
    std::string s = std::to_string(a.back());
    for (std::size_t i = a.size() - 1; i-- > 0;) {
        std::string part = std::to_string(a[i]);
        s += std::string(9 - part.size(), '0') + part;
    }
    return s;
}

// Powers 2^k (k <= 104) and 5^k (k <= 149) in base 10^9, built once.
const std::vector<Big>& powers(std::uint32_t factor, int count) {
    static std::vector<Big> twos, fives;
    std::vector<Big>& table = factor == 2 ? twos : fives;
    if (table.empty()) {
        Big v{1};
        for (int k = 0; k <= count; ++k) {
            table.push_back(v);
            multiplySmall(v, factor);
        }
    }
    return table;
}

}  // namespace

ExactDecimal exactDecimal(float value) {
    static const auto& twos = powers(2, 104);
    static const auto& fives = powers(5, 149);
    ExactDecimal out;
    std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    std::uint32_t biased = (bits >> 23) & 0xFF;
    std::uint32_t m = bits & 0x7FFFFF;
    if (biased == 0 && m == 0) {
        return out;
    }
    int q = biased == 0 ? -149 : static_cast<int>(biased) - 150;
    if (biased != 0) {
        m |= 0x800000;
    }
    out.negative = (bits >> 31) != 0;
    // value = m * 2^q = m * 5^-q / 10^-q for negative q
    Big n = q >= 0 ? twos[static_cast<std::size_t>(q)] : fives[static_cast<std::size_t>(-q)];
    multiplySmall(n, m);
    std::string s = toDecimal(n);
    int pointShift = q >= 0 ? 0 : -q;  // digits after the point
    out.exponent = static_cast<int>(s.size()) - pointShift;
    while (!s.empty() && s.back() == '0') {
        s.pop_back();
    }
    out.digits = s;
    return out;
}

std::string referenceFixed(const ExactDecimal& exact, int w, int d) {
    auto fit = [w](const std::string& text) {
        return static_cast<int>(text.size()) > w
                   ? std::string(static_cast<std::size_t>(w), '*')
                   : std::string(static_cast<std::size_t>(w) - text.size(), ' ') + text;
    };
    auto zeroText = [d]() {
        std::string zeros = d == 0 ? "0" : "";
        zeros.push_back('.');
        zeros.append(static_cast<std::size_t>(d), '0');
        return zeros;
    };
    if (exact.digits.empty()) {
        return fit(zeroText());
    }
    // Round at decimal place `place` (a power of ten): the last shown digit or the seventh
    // significant digit, whichever is coarser.
    int place = std::max(-d, exact.exponent - 7);
    // Digits of the value from 10^(exponent-1) downwards; keep those at or above `place`.
    int keep = exact.exponent - place;  // number of leading digits kept (may be <= 0)
    std::string kept;
    bool up;
    if (keep <= 0) {
        // Every digit lies below the rounding place; the value rounds up only if it is at
        // least half of that place, which needs the first digit at the very next position.
        up = keep == 0 && exact.digits[0] >= '5';
    } else {
        kept = exact.digits.substr(
            0, std::min<std::size_t>(static_cast<std::size_t>(keep), exact.digits.size()));
        kept.resize(static_cast<std::size_t>(keep), '0');
        up = static_cast<std::size_t>(keep) < exact.digits.size() &&
             exact.digits[static_cast<std::size_t>(keep)] >= '5';
    }
    // M = kept (+1): an integer count of 10^place.
    std::string M = kept.empty() ? "0" : kept;
    if (up) {
        int i = static_cast<int>(M.size()) - 1;
        while (i >= 0 && M[static_cast<std::size_t>(i)] == '9') {
            M[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            M.insert(M.begin(), '1');
        } else {
            ++M[static_cast<std::size_t>(i)];
        }
    }
    if (M.find_first_not_of('0') == std::string::npos) {
        return fit(zeroText());
    }
    // scaled = M * 10^(place + d): the shown value times 10^d.
    std::string scaled = M + std::string(static_cast<std::size_t>(place + d), '0');
    scaled.erase(0, std::min(scaled.find_first_not_of('0'), scaled.size() - 1));
    std::string intPart, frac;
    if (static_cast<int>(scaled.size()) > d) {
        intPart = scaled.substr(0, scaled.size() - static_cast<std::size_t>(d));
        frac = scaled.substr(scaled.size() - static_cast<std::size_t>(d));
    } else {
        frac = std::string(static_cast<std::size_t>(d) - scaled.size(), '0') + scaled;
    }
    std::string text = exact.negative ? "-" : "";
    text.append(intPart).append(".").append(frac);
    return fit(text);
}

}  // namespace korv::test
