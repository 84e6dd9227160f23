#include "support/field_editing.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <vector>

#include "common/fixed_reference.h"
#include "support/decimal_form.h"

namespace korv {
namespace {

struct FixedCase {
    double value;
    int w, d;
    const char* text;
};

// Every row: the single-precision value nearest to the decimal, the field, the exact text.
const FixedCase kFixedTable[] = {
    {0.25, 5, 3, " .250"},
    {0.0, 5, 3, " .000"},
    {-0.0, 5, 3, " .000"},
    {1.0, 5, 3, "1.000"},
    {0.9996, 5, 3, "1.000"},
    {9.9996, 6, 3, "10.000"},
    {0.2, 6, 3, "  .200"},
    {101325.0, 9, 0, "  101325."},
    {2339.0, 9, 0, "    2339."},
    {0.3, 3, 0, " 0."},
    {0.7, 3, 0, " 1."},
    {2.5, 3, 0, " 3."},
    {-2.5, 4, 0, " -3."},
    {0.125, 5, 2, "  .13"},
    {-0.125, 6, 2, "  -.13"},
    {-0.00004, 9, 4, "    .0000"},
    {-0.00006, 9, 4, "   -.0001"},
    {0.00005, 9, 4, "    .0000"},
    {-0.0004, 9, 4, "   -.0004"},
    {0.15, 5, 1, "   .2"},
    {0.35, 5, 1, "   .3"},
    {1.005, 6, 2, "  1.00"},
    {9.81, 8, 5, " 9.81000"},
    {1025.0, 7, 1, " 1025.0"},
    {-123.4567, 9, 4, "-123.4567"},
    {-1234.5678, 9, 4, "*********"},
    {12345.678, 6, 2, "******"},
    {12345.678, 10, 3, " 12345.680"},
    {123456.7, 10, 3, "123456.700"},
    {999999.9, 10, 3, "999999.900"},
    {1234567.0, 10, 3, "**********"},
    {1234567.0, 9, 0, " 1234567."},
    {12345678.0, 9, 0, "12345680."},
    {100000.0, 7, 1, "*******"},
    // Further edges: the report's own values, a shown zero with a minus sign removed by the
    // rounding step, values just below a carry into a new digit, the smallest and largest.
    {254.321, 10, 3, "   254.321"},
    {0.5873, 9, 4, "    .5873"},
    {-1.2345, 9, 4, "  -1.2345"},
    {-0.00004999, 9, 4, "    .0000"},
    {-0.4, 3, 0, " 0."},
    {-0.6, 3, 0, "-1."},
    {99999.999, 8, 2, "********"},
    {9999.9996, 8, 3, "********"},
    {0.0, 9, 0, "       0."},
    {1.0e-45, 9, 4, "    .0000"},
    {3.4028234e38, 10, 3, "**********"},
    {-3.4028234e38, 9, 0, "*********"},
    {0.999999, 8, 5, " 1.00000"},
    {9999999.0, 10, 2, "9999999.00"},
    {99999999.0, 10, 0, "100000000."},
    {99999.99, 8, 2, "99999.99"},
};

TEST(EditFixed, TableOfCases) {
    for (const auto& c : kFixedTable) {
        EXPECT_EQ(editFixed(static_cast<float>(c.value), c.w, c.d), c.text)
            << c.value << " in F" << c.w << "." << c.d;
    }
}

struct IntegerCase {
    std::int32_t value;
    int w;
    const char* text;
};

TEST(EditInteger, TableOfCases) {
    const IntegerCase cases[] = {
        {4, 2, " 4"},
        {0, 2, " 0"},
        {-5, 2, "-5"},
        {99, 2, "99"},
        {123, 2, "**"},
        {-12, 2, "**"},
        {12, 2, "12"},
        {-2147483647 - 1, 11, "-2147483648"},
        {-2147483647 - 1, 10, "**********"},
        {2147483647, 12, "  2147483647"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(editInteger(c.value, c.w), c.text) << c.value << " in I" << c.w;
    }
}

// The report's field shapes.
struct Shape {
    int w, d;
};
const Shape kShapes[] = {{10, 3}, {9, 4}, {9, 0}, {8, 5}, {8, 1}, {7, 3},
                         {7, 2},  {7, 1}, {6, 3}, {6, 2}, {5, 3}};

std::string hex(float x) {
    std::ostringstream s;
    s << std::hex << std::bit_cast<std::uint32_t>(x);
    return s.str();
}

// The reference's exact expansion agrees with GMP's.
TEST(EditFixedReference, ExactExpansionMatchesGmp) {
    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        float x = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
        if (!std::isfinite(x) || x == 0.0f) {
            continue;
        }
        test::ExactDecimal e = test::exactDecimal(x);
        mpq_class exact(static_cast<double>(x));
        mpq_class fromDigits(mpz_class(e.digits), 1);
        mpz_class scale;
        int exp10 = e.exponent - static_cast<int>(e.digits.size());
        mpz_ui_pow_ui(scale.get_mpz_t(), 10, static_cast<unsigned long>(std::abs(exp10)));
        if (exp10 >= 0) {
            fromDigits *= scale;
        } else {
            fromDigits /= scale;
        }
        if (e.negative) {
            fromDigits = -fromDigits;
        }
        ASSERT_EQ(fromDigits, exact) << hex(x);
    }
}

// The decimal form is the exact expansion rounded half up to 17 significant digits.
TEST(DecimalForm, SeventeenDigitsOfTheExactExpansion) {
    std::mt19937 rng(11);
    for (int i = 0; i < 300000; ++i) {
        float x = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
        if (!std::isfinite(x)) {
            continue;
        }
        test::ExactDecimal e = test::exactDecimal(x);
        DecimalForm f = decimalForm(x);
        std::string expected = e.digits.empty() ? "0" : e.digits.substr(0, 17);
        int exponent = e.digits.empty() ? 0 : e.exponent;
        if (e.digits.size() > 17 && e.digits[17] >= '5') {
            int k = 16;
            while (k >= 0 && expected[static_cast<std::size_t>(k)] == '9') {
                expected[static_cast<std::size_t>(k--)] = '0';
            }
            if (k < 0) {
                expected.insert(expected.begin(), '1');
                ++exponent;
            } else {
                ++expected[static_cast<std::size_t>(k)];
            }
        }
        while (expected.size() > 1 && expected.back() == '0') {
            expected.pop_back();
        }
        ASSERT_EQ(std::string(f.digits, static_cast<std::size_t>(f.count)), expected) << hex(x);
        ASSERT_EQ(f.exponent, exponent) << hex(x);
        ASSERT_EQ(f.negative, e.negative && !e.digits.empty()) << hex(x);
    }
}

void expectMatchesReference(float x) {
    test::ExactDecimal exact = test::exactDecimal(x);
    for (const Shape& s : kShapes) {
        ASSERT_EQ(editFixed(x, s.w, s.d), test::referenceFixed(exact, s.w, s.d))
            << "value " << hex(x) << " (" << static_cast<double>(x) << ") in F" << s.w << "."
            << s.d;
    }
}

// Values on both sides of every boundary where a shape's text changes: each power of ten,
// each rounding tie of the last shown digit and of the seventh significant digit.
TEST(EditFixedOracle, PowerOfTenAndRoundingBoundaries) {
    for (int p = -8; p <= 11; ++p) {
        for (double mantissa :
             {1.0, 5.0, 9.5, 9.95, 9.995, 9.9995, 9.99995, 9.999995, 9.9999995, 1.5, 2.5, 4.5}) {
            double centre = mantissa * std::pow(10.0, p);
            for (double sign : {1.0, -1.0}) {
                float f = static_cast<float>(sign * centre);
                float below = f;
                for (int step = 0; step < 4; ++step) {
                    expectMatchesReference(f);
                    expectMatchesReference(below);
                    f = std::nextafter(f, 2.0f * f);
                    below = std::nextafter(below, 0.0f);
                }
            }
        }
    }
}

// Ties that single precision holds exactly: k/2^j lie on a shown digit's half for small j.
TEST(EditFixedOracle, ExactTies) {
    for (int j = 1; j <= 12; ++j) {
        for (int k = -4000; k <= 4000; k += 1) {
            expectMatchesReference(std::ldexp(static_cast<float>(k), -j));
        }
    }
}

TEST(EditFixedOracle, SubnormalsAndExtremes) {
    for (std::uint32_t bits = 1; bits < 0x00800000u; bits += 4099) {
        expectMatchesReference(std::bit_cast<float>(bits));
        expectMatchesReference(std::bit_cast<float>(bits | 0x80000000u));
    }
    for (float x : {std::numeric_limits<float>::max(), std::numeric_limits<float>::min(),
                    std::numeric_limits<float>::denorm_min(), -std::numeric_limits<float>::max()}) {
        expectMatchesReference(x);
    }
}

TEST(EditFixedOracle, RandomValues) {
    std::mt19937 rng(20261211);
    std::uniform_int_distribution<int> exponent(-25, 35);
    std::uniform_real_distribution<double> unit(1.0, 10.0);
    for (int i = 0; i < 1000000; ++i) {
        // Half in the range the report's fields show, half over every bit pattern.
        float x;
        if (i % 2 == 0) {
            x = static_cast<float>(unit(rng) * std::pow(10.0, exponent(rng) / 4));
            if (rng() & 1) {
                x = -x;
            }
        } else {
            x = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
            if (!std::isfinite(x)) {
                continue;
            }
        }
        expectMatchesReference(x);
    }
}

// ---- Layouts --------------------------------------------------------------------------

class Recorder : public RecordDestination {
  public:
    void writeRecord(std::string_view record) override { records.emplace_back(record); }
    std::vector<std::string> records;
};

TEST(WriteLayout, RecordEndsAndPendingBlanks) {
    struct Case {
        std::vector<LayoutItem> layout;
        std::vector<FieldValue> values;
        std::vector<std::string> records;
    };
    const Case cases[] = {
        {{kSlash, blanksX(2), literal("A")}, {}, {"", "  A"}},
        {{literal("A"), blanksX(3)}, {}, {"A"}},
        {{literal("A"), blanksX(3), kSlash, literal("B")}, {}, {"A", "B"}},
        {{kSlash, kSlash}, {}, {"", "", ""}},
        {{}, {}, {""}},
        {{blanksX(1), blanksX(2), fieldF(5, 3), literal(","), fieldI(2)},
         {realValue(0.25f), integerValue(7)},
         {"    .250, 7"}},
        {{literal("X="), fieldF(4, 1), kSlash, fieldI(3)},
         {realValue(-2.25f), integerValue(-42)},
         {"X=-2.3", "-42"}},
    };
    for (const auto& c : cases) {
        Recorder r;
        writeLayout(r, c.layout, c.values);
        EXPECT_EQ(r.records, c.records);
    }
}

}  // namespace
}  // namespace korv
