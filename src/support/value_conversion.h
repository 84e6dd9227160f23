// Conversion of one free-form value text to a single-precision real or a 32-bit integer.
#pragma once

#include <cstdint>
#include <string_view>

namespace korv {

// Each returns 0 and stores the value, or returns the error number and leaves out alone.
int convertReal(std::string_view text, float& out);
int convertInteger(std::string_view text, std::int32_t& out);

// The largest magnitude a real text may have: the largest single-precision value plus one
// unit in the last place of double precision.
inline constexpr double kLargestSingleText = 3.402823466385289E38;

}  // namespace korv
