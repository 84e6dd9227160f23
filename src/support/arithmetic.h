// The arithmetic environment of the calculation and its checked operations.
#pragma once

namespace korv {

// Establishes the environment once at start: round to nearest even, no pending flags,
// the x87 unit at its full 64-bit significand for realPower.
void setUpArithmetic();

// Division in double precision that ends the run on a zero divisor: a zero (or invalid)
// dividend is an invalid operation, any other a division by zero.
double checkedDivide(double dividend, double divisor);

// Rounds a double to the single-precision field that receives it; a result too large for
// single precision ends the run with the overflow report.
float storeSingle(double value);

// base raised to a real exponent by 2^(exponent * log2|base|) with a 64-bit significand.
// The result keeps that significand; the operation that consumes it rounds it once.
long double realPower(double base, double exponent);

// Correctly rounded 53-bit square root.
double realSquareRoot(double x);

// One rounding to 53 bits of the exact sum a + b, and of the exact product a * b.
double roundedSum(long double a, long double b);
double roundedProduct(double a, long double b);

}  // namespace korv
