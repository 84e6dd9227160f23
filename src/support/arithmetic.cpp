#include "support/arithmetic.h"

#include <cfenv>
#include <cmath>

#include "support/run_time_error.h"

namespace korv {

// Faults are found by testing operands and results, not by unmasking the processor's traps:
// the compiler treats floating-point operations as free of side effects, so at higher
// optimisation levels it may hoist, fold or drop a trapping division, and a trap taken inside
// libm or the editing code would end the run in the wrong place. An explicit test before each
// division and after each store happens exactly where the calculation says, at every level.
void setUpArithmetic() {
    std::fesetenv(FE_DFL_ENV);  // round to nearest even, all traps masked, x87 at 64 bits
    std::feclearexcept(FE_ALL_EXCEPT);
}

double checkedDivide(double dividend, double divisor) {
    if (divisor == 0.0) {
        failMath(dividend == 0.0 || std::isnan(dividend) ? MathFault::invalid
                                                         : MathFault::divideByZero);
    }
    double q = dividend / divisor;
    if (std::isnan(q)) {
        failMath(MathFault::invalid);
    }
    return q;
}

float storeSingle(double value) {
    if (std::isnan(value)) {
        failMath(MathFault::invalid);
    }
    float f = static_cast<float>(value);
    if (std::isinf(f)) {
        failMath(MathFault::overflow);
    }
    return f;
}

long double realPower(double base, double exponent) {
    if (base == 0.0) {
        return 0.0L;
    }
    long double z =
        static_cast<long double>(exponent) * std::log2(std::fabs(static_cast<long double>(base)));
    long double n = std::nearbyint(z);
    long double magnitude = std::ldexp(std::exp2(z - n), static_cast<int>(n));
    if (base < 0.0) {
        double whole = std::nearbyint(exponent);
        if (whole != exponent) {
            failMath(MathFault::invalid);  // a negative base has no real fractional power
        }
        if (std::fmod(whole, 2.0) != 0.0) {
            magnitude = -magnitude;
        }
    }
    return magnitude;
}

double realSquareRoot(double x) {
    if (x < 0.0) {
        failMath(MathFault::invalid);
    }
    return std::sqrt(x);
}

namespace {

// Rounds hi + lo to double once, where hi + lo is exact and |lo| is at most half a unit in
// the last place of hi's 64-bit significand. Only when hi lies exactly halfway between two
// doubles can lo change the outcome.
double roundOnce(long double hi, long double lo) {
    double d = static_cast<double>(hi);
    if (lo == 0.0L || static_cast<long double>(d) == hi) {
        return d;
    }
    double other = std::nextafter(d, hi > d ? HUGE_VAL : -HUGE_VAL);
    long double mid = (static_cast<long double>(d) + static_cast<long double>(other)) / 2.0L;
    if (hi != mid) {
        return d;
    }
    bool up = lo > 0.0L;
    double lower = d < other ? d : other;
    double upper = d < other ? other : d;
    return up ? upper : lower;
}

}  // namespace

double roundedSum(long double a, long double b) {
    long double s = a + b;
    long double bb = s - a;
    long double err = (a - (s - bb)) + (b - bb);
    return roundOnce(s, err);
}

double roundedProduct(double a, long double b) {
    long double p = static_cast<long double>(a) * b;
    long double err = std::fma(static_cast<long double>(a), b, -p);
    return roundOnce(p, err);
}

}  // namespace korv
