#include "support/value_conversion.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "common/exact_rounding.h"

namespace korv {
namespace {

using test::nearestDouble;

struct RealCase {
    std::string text;
    int error;     // 0 when the text converts
    double value;  // the double whose nearest single is expected
};

TEST(ConvertReal, TableOfCases) {
    const RealCase cases[] = {
        {"15", 0, 15.0},
        {"15.", 0, 15.0},
        {".5", 0, 0.5},
        {"0.25", 0, 0.25},
        {"+0.25", 0, 0.25},
        {"-0.25", 0, -0.25},
        {"1.5E3", 0, 1500.0},
        {"1.5e3", 0, 1500.0},
        {"1.5D3", 0, 1500.0},
        {"1.5d3", 0, 1500.0},
        {"1.5E-3", 0, 1.5e-3},
        {"1.5E+3", 0, 1500.0},
        {"1.5+3", 0, 1500.0},
        {"1.5-3", 0, 1.5e-3},
        {"1.01325E5", 0, 101325.0},
        {"5000", 0, 5000.0},
        {"1E-50", 0, 0.0},
        {"1E-400", 0, 0.0},
        {"1E-99999999999999999999", 0, 0.0},
        {"-1E-50", 0, -0.0},
        {"1E39", 6104, 0},
        {"-1E39", 6104, 0},
        {"1E400", 6102, 0},
        {"1E99999999999999999999", 6102, 0},
        {"3.402823466385289E38", 0, 3.402823466385289E38},
        {"3.4028234663852891E38", 0, 3.402823466385289E38},  // rounds to that very double
        {"3.4028234663852894E38", 6104, 0},                  // the next double up
        {"3.4028235E38", 6104, 0},
        {"1.5Q3", 6103, 0},
        {"abc", 6103, 0},
        {".", 6103, 0},
        {"+", 6103, 0},
        {"-", 6103, 0},
        {"1.2.3", 6103, 0},
        {"1.5E", 6103, 0},
        {"1.5E+", 6103, 0},
        {"1.5+", 6103, 0},
        {"15.0knots", 6103, 0},
        {"1,5", 6103, 0},
        {"inf", 6103, 0},
        {"nan", 6103, 0},
        {"0x10", 6103, 0},
        {"1e5x", 6103, 0},
        {"E5", 6103, 0},
        {"--1", 6103, 0},
        {std::string("4\x1a", 2), 6103, 0},
        // Through the double first: the nearest double, then the nearest single. Directly to
        // single this text would round up; the double lies exactly on the single tie and
        // rounds to even, down.
        {"1.00000005960464477539062500000000001", 0, 1.0},
        {"9.81", 0, 9.81},
        {"0.18", 0, 0.18},
    };
    for (const auto& c : cases) {
        float out = -123.0f;
        int error = convertReal(c.text, out);
        EXPECT_EQ(error, c.error) << c.text;
        if (c.error == 0) {
            float expected = static_cast<float>(c.value);
            EXPECT_EQ(std::bit_cast<std::uint32_t>(out), std::bit_cast<std::uint32_t>(expected))
                << c.text;
        } else {
            EXPECT_EQ(out, -123.0f) << c.text;
        }
    }
}

// The exact value of a decimal text (sign, digits with a point, exponent) by GMP.
mpq_class exactValue(const std::string& mantissa, long exponent) {
    std::string digits;
    long scale = 0;
    bool afterPoint = false;
    for (char c : mantissa) {
        if (c == '.') {
            afterPoint = true;
        } else {
            digits += c;
            if (afterPoint) {
                --scale;
            }
        }
    }
    mpq_class v(mpz_class(digits, 10), 1);
    long e = exponent + scale;
    mpz_class p;
    mpz_ui_pow_ui(p.get_mpz_t(), 10, static_cast<unsigned long>(std::labs(e)));
    if (e >= 0) {
        v *= p;
    } else {
        v /= p;
    }
    return v;
}

// Long texts, far beyond 259 characters, convert exactly: GMP finds the nearest double, then
// the nearest single follows by the language's own rounding of that double.
TEST(ConvertReal, LongTextsAgainstExactArithmetic) {
    std::mt19937 rng(42);
    for (int i = 0; i < 3000; ++i) {
        int intDigits = static_cast<int>(rng() % 40);
        int fracDigits = static_cast<int>(rng() % 600);
        std::string mantissa;
        for (int k = 0; k < intDigits; ++k) mantissa += static_cast<char>('0' + rng() % 10);
        mantissa += '.';
        for (int k = 0; k < fracDigits; ++k) mantissa += static_cast<char>('0' + rng() % 10);
        if (intDigits + fracDigits == 0)
            mantissa += '7';
        long exponent = static_cast<long>(rng() % 61) - 30;
        std::string text = mantissa + "E" + std::to_string(exponent);
        mpq_class exact = exactValue(mantissa, exponent);
        float out = 0.0f;
        double nearest = exact == 0 ? 0.0 : nearestDouble(exact);
        if (nearest > kLargestSingleText) {
            ASSERT_EQ(convertReal(text, out), 6104) << text;
            continue;
        }
        ASSERT_EQ(convertReal(text, out), 0) << text;
        float expected = static_cast<float>(nearest);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(out), std::bit_cast<std::uint32_t>(expected))
            << text;
    }
}

// Texts near halfway between two singles, where going straight to single would differ.
TEST(ConvertReal, DoubleThenSingleNearTies) {
    std::mt19937 rng(3);
    int differing = 0;
    for (int i = 0; i < 2000; ++i) {
        float f = std::bit_cast<float>(0x3f800000u + static_cast<std::uint32_t>(rng() % 0x800000u));
        mpq_class tie = (mpq_class(f) + mpq_class(std::nextafter(f, 2.0f))) / 2;
        // A hair above the tie: 40 decimals of it, then a digit that nudges it up.
        mpf_class t(tie, 400);
        mp_exp_t e;
        std::string digits = t.get_str(e, 10, 60);
        std::string text = "0." + digits + "1E" + std::to_string(e);
        mpq_class exact = exactValue("0." + digits + "1", e);
        float out = 0.0f;
        ASSERT_EQ(convertReal(text, out), 0);
        float viaDouble = static_cast<float>(nearestDouble(exact));
        ASSERT_EQ(out, viaDouble) << text;
        float direct = exact > tie ? std::nextafter(f, 2.0f) : f;
        differing += direct != viaDouble;
    }
    EXPECT_GT(differing, 0);  // the two routes really do differ on some of these texts
}

struct IntegerCase {
    std::string text;
    int error;
    std::int32_t value;
};

TEST(ConvertInteger, TableOfCases) {
    const IntegerCase cases[] = {
        {"4", 0, 4},
        {"+4", 0, 4},
        {"-4", 0, -4},
        {"0", 0, 0},
        {"007", 0, 7},
        {"-2147483648", 0, -2147483647 - 1},
        {"2147483647", 0, 2147483647},
        {"2147483648", 6100, 0},
        {"-2147483649", 6100, 0},
        {"99999999999999999999999", 6100, 0},
        {"16#1F", 0, 31},
        {"16#FF", 0, 255},
        {"16#ff", 0, 255},
        {"2#101", 0, 5},
        {"#FF", 0, 255},
        {"0#FF", 0, 255},
        {"36#Z", 0, 35},
        {"16#FFFFFFFF", 0, -1},
        {"16#80000000", 0, -2147483647 - 1},
        {"-16#1", 0, -1},
        {"-#10", 0, -16},
        {"16#100000000", 6100, 0},
        {"10#2147483648", 6100, 0},
        {"-10#2147483648", 0, -2147483647 - 1},
        {"8#777", 0, 511},
        {"16#F#F", 6302, 0},
        {"16##", 6302, 0},
        {"1#1", 6303, 0},
        {"37#1", 6303, 0},
        {"99999999999999#1", 6303, 0},
        {"4.0", 6101, 0},
        {"4.", 6101, 0},
        {"4E0", 6101, 0},
        {"x", 6101, 0},
        {"2#2", 6101, 0},
        {"16#G", 6101, 0},
        {"16#", 6101, 0},
        {"#", 6101, 0},
        {"1x#1", 6101, 0},
        {"16#-1", 6101, 0},
        {"4 ", 6101, 0},
        // The two laxities: a lone sign reads as 0; byte 26 ends decimal digits.
        {"+", 0, 0},
        {"-", 0, 0},
        {std::string("4\x1a", 2), 0, 4},
        {std::string("4\x1a"
                     "abc",
                     5),
         0, 4},
        {std::string("-12\x1a"
                     "9",
                     5),
         0, -12},
    };
    for (const auto& c : cases) {
        std::int32_t out = 12345;
        int error = convertInteger(c.text, out);
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_EQ(out, c.error == 0 ? c.value : 12345) << c.text;
    }
}

}  // namespace
}  // namespace korv
