// Free-form reading of numeric values from a text input file.
#pragma once

#include <cstdint>
#include <span>

#include "support/text_input_file.h"

namespace korv {

// One numeric target of a free-form read: a single-precision real or a 32-bit integer.
struct FreeFormItem {
    float* real = nullptr;
    std::int32_t* integer = nullptr;
};
inline FreeFormItem realItem(float& target) {
    return {&target, nullptr};
}
inline FreeFormItem integerItem(std::int32_t& target) {
    return {nullptr, &target};
}

// Fills the items in order from the text that starts at the file's current position, then
// leaves the file at the start of the record after the one where the list ended. Items that
// receive a null value, or stand after a slash, keep what they held. Faults end the run.
void readFreeFormValues(TextInputFile& file, std::span<const FreeFormItem> items);

}  // namespace korv
