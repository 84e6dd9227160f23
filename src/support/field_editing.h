// Report layouts and the editing of numeric fields.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "support/record_destination.h"

namespace korv {

struct LayoutItem {
    enum class Kind { blanks, literal, fixed, integer, recordEnd };
    Kind kind;
    int width = 0;     // nX: n; Fw.d and Iw: w
    int decimals = 0;  // Fw.d: d
    std::string_view text;
};

// Layout items in the report's own notation.
constexpr LayoutItem blanksX(int n) {
    return {LayoutItem::Kind::blanks, n, 0, {}};
}
constexpr LayoutItem literal(std::string_view text) {
    return {LayoutItem::Kind::literal, 0, 0, text};
}
constexpr LayoutItem fieldF(int w, int d) {
    return {LayoutItem::Kind::fixed, w, d, {}};
}
constexpr LayoutItem fieldI(int w) {
    return {LayoutItem::Kind::integer, w, 0, {}};
}
inline constexpr LayoutItem kSlash{LayoutItem::Kind::recordEnd, 0, 0, {}};

// One value for a Fixed (real) or Integer field.
struct FieldValue {
    bool isInteger = false;
    float real = 0.0f;
    std::int32_t integer = 0;
};
constexpr FieldValue realValue(float v) {
    return {false, v, 0};
}
constexpr FieldValue integerValue(std::int32_t v) {
    return {true, 0.0f, v};
}

// Builds the records of a layout and hands each, in order, to the destination. Values are
// taken in field order; the layouts of the report always supply exactly one per field.
void writeLayout(RecordDestination& destination, std::span<const LayoutItem> layout,
                 std::span<const FieldValue> values);

// The w characters of an Fw.d field for a finite single-precision value.
std::string editFixed(float value, int w, int d);

// The w characters of an Iw field.
std::string editInteger(std::int32_t value, int w);

}  // namespace korv
