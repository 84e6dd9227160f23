#include "support/value_conversion.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "support/run_time_error.h"

namespace korv {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSign(char c) {
    return c == '+' || c == '-';
}

// The value of a digit in bases up to 36, or 36 for a character that is no digit.
int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    return 36;
}

constexpr char kCtrlZ = 26;

}  // namespace

int convertReal(std::string_view text, float& out) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    std::string normal;  // the same number in the form strtod reads: mantissa, 'e', exponent
    normal.reserve(n + 2);
    if (i < n && isSign(text[i])) {
        normal.push_back(text[i++]);
    }
    std::size_t digits = 0;
    bool point = false;
    for (; i < n; ++i) {
        char c = text[i];
        if (isDigit(c)) {
            ++digits;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        normal.push_back(c);
    }
    if (digits == 0) {
        return errnum::kRealForm;
    }
    if (i < n) {
        char c = text[i];
        if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
            ++i;
            if (i < n && isSign(text[i])) {
                normal.push_back('e');
                normal.push_back(text[i++]);
            } else {
                normal.push_back('e');
            }
        } else if (isSign(c)) {
            normal.push_back('e');
            normal.push_back(text[i++]);
        } else {
            return errnum::kRealForm;
        }
        std::size_t expDigits = 0;
        for (; i < n && isDigit(text[i]); ++i) {
            normal.push_back(text[i]);
            ++expDigits;
        }
        if (expDigits == 0 || i != n) {
            return errnum::kRealForm;
        }
    }
    // The text is now plain decimal; strtod rounds it correctly to the nearest double
    // whatever its length (the program never changes the "C" locale).
    errno = 0;
    double d = std::strtod(normal.c_str(), nullptr);
    if (std::isinf(d)) {
        return errnum::kRealDoubleRange;
    }
    if (std::fabs(d) > kLargestSingleText) {
        return errnum::kRealSingleRange;
    }
    out = static_cast<float>(d);  // nearest single, ties to even; tiny values go subnormal or zero
    return 0;
}

int convertInteger(std::string_view text, std::int32_t& out) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    bool negative = false;
    if (i < n && isSign(text[i])) {
        negative = text[i] == '-';
        ++i;
    }
    std::size_t hash = text.find('#', i);
    if (hash == std::string_view::npos) {
        // Decimal form; a lone sign reads as 0 and a byte 26 ends the digits.
        std::uint64_t magnitude = 0;
        for (; i < n && text[i] != kCtrlZ; ++i) {
            if (!isDigit(text[i])) {
                return errnum::kIntegerForm;
            }
            magnitude = magnitude * 10 + static_cast<std::uint64_t>(text[i] - '0');
            if (magnitude > 2147483648ull) {
                return errnum::kIntegerRange;
            }
        }
        if (!negative && magnitude > 2147483647ull) {
            return errnum::kIntegerRange;
        }
        std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
        out = static_cast<std::int32_t>(negative ? 0u - bits : bits);
        return 0;
    }
    // Based form: [base]#digits, no base or base 0 meaning 16.
    std::uint32_t base = 0;
    for (; i < hash; ++i) {
        if (!isDigit(text[i])) {
            return errnum::kIntegerForm;
        }
        base = base * 10 + static_cast<std::uint32_t>(text[i] - '0');
        if (base > 36) {
            return errnum::kBadBase;
        }
    }
    if (base == 0) {
        base = 16;
    }
    if (base < 2) {
        return errnum::kBadBase;
    }
    // Base 10 keeps the signed range; other bases may fill all 32 bits.
    const std::uint64_t limit =
        base == 10 ? (negative ? 2147483648ull : 2147483647ull) : 0xFFFFFFFFull;
    std::uint64_t magnitude = 0;
    std::size_t digits = 0;
    for (i = hash + 1; i < n; ++i) {
        char c = text[i];
        if (c == '#') {
            return errnum::kSecondHash;
        }
        int v = digitValue(c);
        if (v >= static_cast<int>(base)) {
            return errnum::kIntegerForm;
        }
        magnitude = magnitude * base + static_cast<std::uint64_t>(v);
        if (magnitude > limit) {
            return errnum::kIntegerRange;
        }
        ++digits;
    }
    if (digits == 0) {
        return errnum::kIntegerForm;
    }
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    out = static_cast<std::int32_t>(negative ? 0u - bits : bits);
    return 0;
}

}  // namespace korv
