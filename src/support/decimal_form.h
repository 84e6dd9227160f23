// The decimal form of a single-precision value: its significant digits rounded half up to 17.
#pragma once

namespace korv {

struct DecimalForm {
    bool negative = false;  // never set for a zero
    int exponent = 0;       // value = 0.d1d2d3... * 10^exponent
    int count = 1;          // 1 to 17 digits, no trailing zeros
    char digits[17] = {'0'};
};

// Widens the value exactly to double, rounds its exact decimal expansion to 17 significant
// digits half up on the 18th, and drops trailing zeros. A zero of either sign gives "0",
// exponent 0, no sign. The value must be finite.
DecimalForm decimalForm(float value);

}  // namespace korv
