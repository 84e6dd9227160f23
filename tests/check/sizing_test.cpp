#include "check/sizing.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <sstream>

#include "common/exact_rounding.h"
#include "common/test_support.h"

namespace korv {
namespace {

using test::nearestDouble;

// ---- An independent exact model: every operation exact in rational arithmetic, rounded to
// double where the calculation rounds to 53 bits, and to single where it stores.

struct Fault {
    int number;
};

mpq_class q(double x) {
    return mpq_class(x);
}
// Signed zeros follow the IEEE rules: a product or quotient takes the exclusive or of the
// signs; an exact zero sum is -0 only when both addends are -0.
double signedZero(bool negative) {
    return negative ? -0.0 : 0.0;
}
double add(double a, double b) {
    mpq_class s = q(a) + q(b);
    if (s == 0)
        return signedZero(std::signbit(a) && std::signbit(b));
    return nearestDouble(s);
}
double sub(double a, double b) {
    return add(a, -b);
}
double mul(double a, double b) {
    mpq_class p = q(a) * q(b);
    if (p == 0)
        return signedZero(std::signbit(a) != std::signbit(b));
    return nearestDouble(p);
}
double div(double a, double b) {
    if (b == 0)
        throw Fault{a == 0 ? 6101 : 6103};
    if (a == 0)
        return signedZero(std::signbit(a) != std::signbit(b));
    return nearestDouble(q(a) / q(b));
}
float st(double x) {
    float f = static_cast<float>(x);
    if (std::isinf(f))
        throw Fault{6104};
    return f;
}
mpq_class power(double x, int n) {
    mpq_class r = 1;
    for (int i = 0; i < n; ++i) r *= q(x);
    return r;
}

CavitationResults model(const DesignInputs& in) {
    const double K = 0.5144f, one = 1.0f, f03 = 0.3f, f13 = 1.3f, thousand = 1000.0f,
                 pi = 3.1415927f, sixty = 60.0f, radius = 0.7f, half = 0.5f, c3 = 0.056f,
                 c2 = 0.1968f, c1 = 0.382f, c0 = 0.0331f, four = 4.0f, a0 = 1.067f, a1 = 0.229f;
    CavitationResults r;
    r.Rt = st(div(in.Pe, mul(in.Vs, K)));
    r.T = st(div(r.Rt, sub(one, in.t)));
    r.KellerLoad = st(mul(mul(add(mul(static_cast<double>(in.Z), f03), f13), r.T), thousand));
    double head = mul(mul(sub(add(mul(mul(in.Ds, in.G), in.RHO), in.Pa), in.Pv), in.D), in.D);
    r.KellerHead = st(head);
    r.AeAoKeller = st(add(div(r.KellerLoad, head), in.k));
    r.Va = st(mul(mul(sub(one, in.w), in.Vs), K));
    double rotation = mul(mul(div(mul(in.N, pi), sixty), in.D), radius);
    double vr2 = nearestDouble(power(rotation, 2) + power(r.Va, 2));
    r.Vr2 = st(vr2);
    r.Vr = st(std::sqrt(vr2));  // IEEE square root: correctly rounded by definition
    r.StaticHead = st(add(mul(mul(in.Ds, in.G), in.RHO), in.Pa));
    double dynamic = mul(mul(r.Vr2, in.RHO), half);
    r.SigmaDynamic = st(dynamic);
    r.Sigma = st(div(r.StaticHead, dynamic));
    double cubic = nearestDouble(q(c3) * power(r.Sigma, 3));
    double square = nearestDouble(q(c2) * power(r.Sigma, 2));
    r.TauC = st(add(add(sub(cubic, square), mul(c1, r.Sigma)), c0));
    r.ThrustNewtons = st(mul(r.T, thousand));
    double burrill = mul(mul(mul(r.Vr2, in.RHO), r.TauC), half);
    r.BurrillDynamic = st(burrill);
    r.Ap = st(div(r.ThrustNewtons, burrill));
    r.Ao = st(div(nearestDouble(power(in.D, 2) * q(pi)), four));
    r.Ae = st(mul(r.AeAoKeller, r.Ao));
    r.PD = st(-div(sub(div(r.Ap, r.Ae), a0), a1));
    return r;
}

// clang-format off
#define KORV_FIELDS(X)                                                                          \
    X(Rt) X(T) X(AeAoKeller) X(Va) X(Vr) X(Sigma) X(TauC) X(Ap) X(Ao) X(Ae) X(PD) X(KellerLoad) \
    X(KellerHead) X(Vr2) X(StaticHead) X(SigmaDynamic) X(ThrustNewtons) X(BurrillDynamic)
// clang-format on

std::string describe(const DesignInputs& in) {
    std::ostringstream s;
    s.precision(9);
    s << "Vs=" << in.Vs << " Pe=" << in.Pe << " w=" << in.w << " t=" << in.t << " Z=" << in.Z
      << " D=" << in.D << " N=" << in.N << " Ds=" << in.Ds << " Pa=" << in.Pa << " Pv=" << in.Pv
      << " RHO=" << in.RHO << " G=" << in.G << " k=" << in.k;
    return s.str();
}

// Runs every line in report order; the fault number that ended it, or 0.
int computeAll(const DesignInputs& in, CavitationResults& r) {
    test::catchRunEnds();
    try {
        for (ResultLine line : kResultLines) computeResult(in, r, line);
    } catch (const test::RunEnded& e) {
        return e.error ? e.error->number : -1;
    }
    return 0;
}

void expectMatchesModel(const DesignInputs& in) {
    CavitationResults got;
    int fault = computeAll(in, got);
    CavitationResults want;
    int expectedFault = 0;
    try {
        want = model(in);
    } catch (const Fault& f) {
        expectedFault = f.number;
    }
    ASSERT_EQ(fault, expectedFault) << describe(in);
    if (fault != 0)
        return;
#define KORV_COMPARE(name)                                                                     \
    ASSERT_EQ(std::bit_cast<std::uint32_t>(got.name), std::bit_cast<std::uint32_t>(want.name)) \
        << #name << " " << got.name << " vs " << want.name << " for " << describe(in);
    KORV_FIELDS(KORV_COMPARE)
#undef KORV_COMPARE
}

float around(std::mt19937& rng, float centre, float spread) {
    std::uniform_real_distribution<float> u(1.0f / spread, spread);
    return centre * u(rng);
}

TEST(ComputeResult, MatchesTheExactModelOnOrdinaryDecks) {
    std::mt19937 rng(1211);
    for (int i = 0; i < 20000; ++i) {
        DesignInputs in;
        in.Vs = around(rng, 15.0f, 2.0f);
        in.Pe = around(rng, 5000.0f, 5.0f);
        in.w = around(rng, 0.25f, 2.0f);
        in.t = around(rng, 0.18f, 2.0f);
        in.Z = static_cast<std::int32_t>(rng() % 6) + 2;
        in.D = around(rng, 4.0f, 2.0f);
        in.N = around(rng, 130.0f, 2.0f);
        in.Ds = around(rng, 3.5f, 2.0f);
        in.Pa = around(rng, 101325.0f, 1.05f);
        in.Pv = around(rng, 2000.0f, 1.5f);
        in.RHO = around(rng, 1025.0f, 1.02f);
        in.G = around(rng, 9.81f, 1.01f);
        in.k = around(rng, 0.2f, 1.5f);
        expectMatchesModel(in);
    }
}

// Decks of any bit pattern the reader can produce, faults included: both agree on the fault.
TEST(ComputeResult, MatchesTheExactModelOnWildDecks) {
    std::mt19937 rng(77);
    auto wild = [&]() {
        float x;
        do {
            x = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
        } while (!std::isfinite(x));
        return (rng() % 8 == 0) ? 0.0f : x;
    };
    for (int i = 0; i < 20000; ++i) {
        DesignInputs in{wild(), wild(), wild(), wild(), static_cast<std::int32_t>(rng()),
                        wild(), wild(), wild(), wild(), wild(),
                        wild(), wild(), wild()};
        expectMatchesModel(in);
    }
}

TEST(ComputeResult, TheWorkedDeck) {
    DesignInputs in{15.0f, 5000.0f,   0.25f,   0.18f,   4,     5.0f, 120.0f,
                    4.0f,  101325.0f, 1700.0f, 1025.0f, 9.81f, 0.2f};
    expectMatchesModel(in);
    CavitationResults r;
    ASSERT_EQ(computeAll(in, r), 0);
    EXPECT_NEAR(r.Rt, 5000.0 / (15.0 * 0.5144), 1e-3);
    EXPECT_NEAR(r.T, r.Rt / 0.82, 1e-3);
    EXPECT_NEAR(r.Ao, M_PI * 25.0 / 4.0, 1e-5);
}

struct FaultCase {
    const char* name;
    DesignInputs in;
    int fault;
    int linesDone;  // result lines computed before the fault
};

TEST(ComputeResult, FaultsStopAtTheirLine) {
    const DesignInputs base{15.0f, 5000.0f,   0.25f,   0.18f,   4,     5.0f, 120.0f,
                            4.0f,  101325.0f, 1700.0f, 1025.0f, 9.81f, 0.2f};
    auto with = [&](auto change) {
        DesignInputs in = base;
        change(in);
        return in;
    };
    const FaultCase cases[] = {
        {"Vs = 0", with([](DesignInputs& d) { d.Vs = 0; }), 6103, 0},
        {"Vs = 0, Pe = 0", with([](DesignInputs& d) {
             d.Vs = 0;
             d.Pe = 0;
         }),
         6101, 0},
        {"t = 1", with([](DesignInputs& d) { d.t = 1; }), 6103, 1},
        {"t = 1, Pe = 0", with([](DesignInputs& d) {
             d.t = 1;
             d.Pe = 0;
         }),
         6101, 1},
        {"D = 0", with([](DesignInputs& d) { d.D = 0; }), 6103, 2},
        {"N = 0, w = 1", with([](DesignInputs& d) {
             d.N = 0;
             d.w = 1;
         }),
         6103, 5},
        {"Pe huge, Vs tiny", with([](DesignInputs& d) {
             d.Pe = 3e38f;
             d.Vs = 1e-3f;
         }),
         6104, 0},
        {"KellerHead overflow", with([](DesignInputs& d) {
             d.Ds = 1e20f;
             d.G = 1e20f;
         }),
         6104, 2},
        {"Vr2 overflow", with([](DesignInputs& d) { d.N = 1e30f; }), 6104, 4},
        {"Ao overflow", with([](DesignInputs& d) {
             d.D = 3e19f;
             d.N = 0;
             d.Pa = 0;
             d.Ds = 0;
             d.Pv = -1e-30f;
         }),
         6104, 8},
    };
    for (const auto& c : cases) {
        CavitationResults r;
        test::catchRunEnds();
        int done = 0;
        int fault = 0;
        try {
            for (ResultLine line : kResultLines) {
                computeResult(c.in, r, line);
                ++done;
            }
        } catch (const test::RunEnded& e) {
            fault = e.error ? e.error->number : -1;
            EXPECT_EQ(e.error->letter, 'M') << c.name;
        }
        EXPECT_EQ(fault, c.fault) << c.name;
        EXPECT_EQ(done, c.linesDone) << c.name;
    }
}

TEST(ComputeResult, EdgesThatRaiseNoFault) {
    const DesignInputs base{15.0f, 5000.0f,   0.25f,   0.18f,   4,     5.0f, 120.0f,
                            4.0f,  101325.0f, 1700.0f, 1025.0f, 9.81f, 0.2f};
    CavitationResults r;
    DesignInputs wAboveOne = base;
    wAboveOne.w = 1.5f;
    ASSERT_EQ(computeAll(wAboveOne, r), 0);
    EXPECT_LT(r.Va, 0.0f);
    EXPECT_GT(r.Vr2, 0.0f);
    DesignInputs negativeHead = base;
    negativeHead.Pa = -500000.0f;
    ASSERT_EQ(computeAll(negativeHead, r), 0);
    EXPECT_LT(r.Sigma, 0.0f);
    DesignInputs negativeD = base;
    negativeD.D = -5.0f;
    ASSERT_EQ(computeAll(negativeD, r), 0);
    EXPECT_GT(r.Ao, 0.0f);
    EXPECT_GT(r.KellerHead, 0.0f);
    DesignInputs wOne = base;
    wOne.w = 1.0f;
    ASSERT_EQ(computeAll(wOne, r), 0);
    EXPECT_EQ(r.Va, 0.0f);
}

}  // namespace
}  // namespace korv
