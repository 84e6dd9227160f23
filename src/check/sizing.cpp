#include "check/sizing.h"

#include "support/arithmetic.h"

namespace korv {

namespace {

// The constants, each the single-precision value nearest to the decimal written.
constexpr float kMetresPerSecondPerKnot = 0.5144f;
constexpr float kOne = 1.0f;
constexpr float kBladeFactor = 0.3f;
constexpr float kBladeConstant = 1.3f;
constexpr float kNewtonsPerKilonewton = 1000.0f;
constexpr float kPi = 3.1415927f;
constexpr float kSecondsPerMinute = 60.0f;
constexpr float kReferenceRadius = 0.7f;
constexpr float kSquare = 2.0f;
constexpr float kCube = 3.0f;
constexpr float kHalf = 0.5f;
constexpr float kBurrill3 = 0.056f;
constexpr float kBurrill2 = 0.1968f;
constexpr float kBurrill1 = 0.382f;
constexpr float kBurrill0 = 0.0331f;
constexpr float kFour = 4.0f;
constexpr float kAreaConstant = 1.067f;
constexpr float kAreaSlope = 0.229f;

// Every step runs in double from left to right as written; its result is stored in single
// precision. A denominator (and the square root's argument) goes to the next step unrounded.
double d(float x) {
    return static_cast<double>(x);
}

}  // namespace

float computeResult(const DesignInputs& in, CavitationResults& r, ResultLine line) {
    switch (line) {
        case ResultLine::Rt:
            r.Rt = storeSingle(checkedDivide(d(in.Pe), d(in.Vs) * d(kMetresPerSecondPerKnot)));
            return r.Rt;
        case ResultLine::T:
            r.T = storeSingle(checkedDivide(d(r.Rt), d(kOne) - d(in.t)));
            return r.T;
        case ResultLine::AeAoKeller: {
            r.KellerLoad =
                storeSingle((static_cast<double>(in.Z) * d(kBladeFactor) + d(kBladeConstant)) *
                            d(r.T) * d(kNewtonsPerKilonewton));
            double head =
                (d(in.Ds) * d(in.G) * d(in.RHO) + d(in.Pa) - d(in.Pv)) * d(in.D) * d(in.D);
            r.KellerHead = storeSingle(head);
            r.AeAoKeller = storeSingle(checkedDivide(d(r.KellerLoad), head) + d(in.k));
            return r.AeAoKeller;
        }
        case ResultLine::Va:
            r.Va = storeSingle((d(kOne) - d(in.w)) * d(in.Vs) * d(kMetresPerSecondPerKnot));
            return r.Va;
        case ResultLine::Vr: {
            double rotation =
                d(in.N) * d(kPi) / d(kSecondsPerMinute) * d(in.D) * d(kReferenceRadius);
            double vr2 =
                roundedSum(realPower(rotation, d(kSquare)), realPower(d(r.Va), d(kSquare)));
            r.Vr2 = storeSingle(vr2);
            r.Vr = storeSingle(realSquareRoot(vr2));
            return r.Vr;
        }
        case ResultLine::Sigma: {
            r.StaticHead = storeSingle(d(in.Ds) * d(in.G) * d(in.RHO) + d(in.Pa));
            double dynamic = d(r.Vr2) * d(in.RHO) * d(kHalf);
            r.SigmaDynamic = storeSingle(dynamic);
            r.Sigma = storeSingle(checkedDivide(d(r.StaticHead), dynamic));
            return r.Sigma;
        }
        case ResultLine::TauC: {
            double s = d(r.Sigma);
            double cubic = roundedProduct(d(kBurrill3), realPower(s, d(kCube)));
            double square = roundedProduct(d(kBurrill2), realPower(s, d(kSquare)));
            r.TauC = storeSingle(((cubic - square) + d(kBurrill1) * s) + d(kBurrill0));
            return r.TauC;
        }
        case ResultLine::Ap: {
            r.ThrustNewtons = storeSingle(d(r.T) * d(kNewtonsPerKilonewton));
            double dynamic = d(r.Vr2) * d(in.RHO) * d(r.TauC) * d(kHalf);
            r.BurrillDynamic = storeSingle(dynamic);
            r.Ap = storeSingle(checkedDivide(d(r.ThrustNewtons), dynamic));
            return r.Ap;
        }
        case ResultLine::Ao:
            r.Ao = storeSingle(
                checkedDivide(roundedProduct(d(kPi), realPower(d(in.D), d(kSquare))), d(kFour)));
            return r.Ao;
        case ResultLine::Ae:
            r.Ae = storeSingle(d(r.AeAoKeller) * d(r.Ao));
            return r.Ae;
        case ResultLine::PD:
            r.PD = storeSingle(
                -checkedDivide(checkedDivide(d(r.Ap), d(r.Ae)) - d(kAreaConstant), d(kAreaSlope)));
            return r.PD;
    }
    return 0.0f;
}

}  // namespace korv
