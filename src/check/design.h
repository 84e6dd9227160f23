// The design values read from the deck and the results computed from them.
#pragma once

#include <cstdint>

namespace korv {

// The thirteen deck values; all start at zero.
struct DesignInputs {
    float Vs = 0.0f;     // ship speed, knot
    float Pe = 0.0f;     // effective power, kW
    float w = 0.0f;      // wake fraction
    float t = 0.0f;      // thrust-deduction fraction
    std::int32_t Z = 0;  // number of blades
    float D = 0.0f;      // propeller diameter, m
    float N = 0.0f;      // revolutions, RPM
    float Ds = 0.0f;     // shaft immersion, m
    float Pa = 0.0f;     // atmospheric pressure, Pa
    float Pv = 0.0f;     // vapour pressure, Pa
    float RHO = 0.0f;    // water density, kg/m3
    float G = 0.0f;      // gravity, m/s2
    float k = 0.0f;      // additive constant of Keller's formula
};

// The eleven printed results and the stored intermediates, all single precision.
struct CavitationResults {
    float Rt = 0.0f;          // ship resistance, kN
    float T = 0.0f;           // propeller thrust, kN
    float AeAoKeller = 0.0f;  // minimum expanded area ratio by Keller
    float Va = 0.0f;          // advance speed, m/s
    float Vr = 0.0f;          // resultant speed at 0.7R, m/s
    float Sigma = 0.0f;       // cavitation number at 0.7R
    float TauC = 0.0f;        // thrust-loading coefficient on Burrill's upper limit
    float Ap = 0.0f;          // projected area required, m2
    float Ao = 0.0f;          // disc area, m2
    float Ae = 0.0f;          // expanded area from Keller's ratio, m2
    float PD = 0.0f;          // largest admissible pitch ratio
    float KellerLoad = 0.0f;
    float KellerHead = 0.0f;
    float Vr2 = 0.0f;
    float StaticHead = 0.0f;
    float SigmaDynamic = 0.0f;
    float ThrustNewtons = 0.0f;
    float BurrillDynamic = 0.0f;
};

// The result lines of the report, in report order.
enum class ResultLine { Rt, T, AeAoKeller, Va, Vr, Sigma, TauC, Ap, Ao, Ae, PD };
inline constexpr ResultLine kResultLines[] = {
    ResultLine::Rt, ResultLine::T,     ResultLine::AeAoKeller, ResultLine::Va,
    ResultLine::Vr, ResultLine::Sigma, ResultLine::TauC,       ResultLine::Ap,
    ResultLine::Ao, ResultLine::Ae,    ResultLine::PD};

}  // namespace korv
