// A slow, plainly exact reference for fixed-field editing, independent of the program's own
// decimal conversion: the complete decimal expansion of a single-precision value in
// base-10^9 big-number arithmetic, then one rounding half away from zero at the last shown
// digit or at the seventh significant digit, whichever comes first.
#pragma once

#include <string>

namespace korv::test {

struct ExactDecimal {
    bool negative = false;
    std::string digits;  // every significant digit, no leading or trailing zeros; empty for 0
    int exponent = 0;    // value = 0.digits * 10^exponent
};

ExactDecimal exactDecimal(float value);

// The Fw.d field text by the single-rounding rule.
std::string referenceFixed(const ExactDecimal& exact, int w, int d);

}  // namespace korv::test
