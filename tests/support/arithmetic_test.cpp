#include "support/arithmetic.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>

#include "common/exact_rounding.h"
#include "common/test_support.h"

namespace korv {
namespace {

using test::nearestDouble;

// A long double as an exact rational.
mpq_class exact(long double x) {
    int e;
    long double m = std::frexp(std::fabs(x), &e);               // |x| = m * 2^e, m in [0.5, 1)
    auto bits = static_cast<std::uint64_t>(std::ldexp(m, 64));  // exact: 64-bit significand
    mpz_class z;
    mpz_import(z.get_mpz_t(), 1, -1, sizeof bits, 0, 0, &bits);
    mpq_class q(z, 1);
    e -= 64;
    if (e >= 0) {
        q *= mpq_class(mpz_class(1) << e, 1);
    } else {
        q /= mpq_class(mpz_class(1) << -e, 1);
    }
    return x < 0 ? mpq_class(-q) : q;
}

TEST(RoundedOperations, SumAndProductRoundOnceAgainstExactArithmetic) {
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int i = 0; i < 200000; ++i) {
        long double a = std::ldexp(static_cast<long double>(unit(rng)) +
                                       std::ldexp(static_cast<long double>(unit(rng)), -50),
                                   static_cast<int>(rng() % 40) - 20);
        long double b = std::ldexp(static_cast<long double>(unit(rng)) +
                                       std::ldexp(static_cast<long double>(unit(rng)), -50),
                                   static_cast<int>(rng() % 40) - 20);
        double c = unit(rng) * 100.0;
        char where[160];
        std::snprintf(where, sizeof where, "a=%La b=%La c=%a", a, b, c);
        ASSERT_EQ(roundedSum(a, b), nearestDouble(exact(a) + exact(b))) << where;
        ASSERT_EQ(roundedProduct(c, b), nearestDouble(mpq_class(c) * exact(b))) << where;
    }
}

// The cases where rounding the 64-bit result again would go wrong: the 64-bit sum lands
// exactly halfway between two doubles and the lost bits decide.
TEST(RoundedOperations, HalfwayCasesFollowTheLostBits) {
    std::mt19937_64 rng(9);
    for (int i = 0; i < 10000; ++i) {
        double d = 1.0 + std::ldexp(static_cast<double>(rng() >> 12), -52);
        long double mid = static_cast<long double>(d) + std::ldexp(1.0L, -53);  // halfway up
        long double tiny = std::ldexp(1.0L, -70) * ((rng() & 1) ? 1 : -1);
        ASSERT_EQ(roundedSum(mid, tiny), nearestDouble(exact(mid) + exact(tiny)));
        ASSERT_EQ(roundedSum(mid, 0.0L), nearestDouble(exact(mid)));
    }
}

// The power keeps far more than 53 good bits for the squares and cubes of the calculation.
TEST(RealPower, SquaresAndCubesAgainstExactPowers) {
    std::mt19937 rng(1);
    for (int i = 0; i < 100000; ++i) {
        float x = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
        if (!std::isfinite(x) || x == 0.0f)
            continue;
        for (int n : {2, 3}) {
            mpq_class want = 1;
            for (int k = 0; k < n; ++k) want *= mpq_class(static_cast<double>(x));
            mpq_class got = exact(realPower(static_cast<double>(x), n));
            mpq_class relative = abs((got - want) / want);
            ASSERT_LT(relative, mpq_class(1, 1) / mpq_class(mpz_class(1) << 54, 1))
                << x << "^" << n;
            ASSERT_EQ(got < 0, x < 0 && n == 3) << x << "^" << n;
        }
    }
    EXPECT_EQ(realPower(0.0, 2.0), 0.0L);
    EXPECT_EQ(realPower(-0.0, 3.0), 0.0L);
}

struct FaultCase {
    const char* name;
    double (*operation)();
    int number;
};

TEST(ArithmeticFaults, DivisionAndStoreEndTheRunWithTheirReport) {
    const FaultCase cases[] = {
        {"1/0", [] { return checkedDivide(1.0, 0.0); }, 6103},
        {"-1/-0", [] { return checkedDivide(-1.0, -0.0); }, 6103},
        {"0/0", [] { return checkedDivide(0.0, 0.0); }, 6101},
        {"store 1e39", [] { return static_cast<double>(storeSingle(1e39)); }, 6104},
        {"store -1e39", [] { return static_cast<double>(storeSingle(-1e39)); }, 6104},
        // Exactly halfway between the largest single and 2^128: rounds up, so it overflows.
        {"store tie",
         [] { return static_cast<double>(storeSingle(std::ldexp(0x1.ffffffp0, 127))); }, 6104},
        {"sqrt -1", [] { return realSquareRoot(-1.0); }, 6101},
    };
    for (const auto& c : cases) {
        test::catchRunEnds();
        try {
            c.operation();
            ADD_FAILURE() << c.name << " did not fault";
        } catch (const test::RunEnded& e) {
            ASSERT_TRUE(e.error) << c.name;
            EXPECT_EQ(e.error->number, c.number) << c.name;
            EXPECT_EQ(e.error->letter, 'M') << c.name;
        }
    }
}

TEST(ArithmeticFaults, NoFaultBelowTheLimits) {
    test::catchRunEnds();
    EXPECT_EQ(storeSingle(std::ldexp(0x1.fffffefp0, 127)), FLT_MAX);  // rounds down to the largest
    EXPECT_EQ(storeSingle(1e-50), 0.0f);                              // underflow is silent
    EXPECT_GT(storeSingle(1e-40), 0.0f);                              // subnormal
    EXPECT_EQ(checkedDivide(0.0, 5.0), 0.0);
}

TEST(RunTimeErrorReport, BytesOfEachForm) {
    RunTimeError math{'M', 6103, kLabelMath, "", "floating-point error: divide by zero"};
    EXPECT_EQ(formatRunTimeError(math),
              "\r\nrun-time error M6103: MATH\r\n- floating-point error: divide by zero\r\n");
    RunTimeError read{'F', 6501, kLabelRead, "KORVENTAPSILUM.TSK", "end of file"};
    EXPECT_EQ(formatRunTimeError(read),
              "\r\nrun-time error F6501: READ(KORVENTAPSILUM.TSK)\r\n- end of file\r\n");
    RunTimeError empty{'F', 6422, kLabelClose, "KORVENTAPSILUM.SON", ""};
    EXPECT_EQ(formatRunTimeError(empty),
              "\r\nrun-time error F6422: CLOSE(KORVENTAPSILUM.SON)\r\n\r\n");
}

}  // namespace
}  // namespace korv
