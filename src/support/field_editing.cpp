#include "support/field_editing.h"

#include <algorithm>

#include "support/decimal_form.h"

namespace korv {

namespace {

// A single-precision value never shows more than seven significant digits.
constexpr int kSignificantDigitLimit = 7;

std::string fitField(const std::string& text, int w) {
    if (static_cast<int>(text.size()) > w) {
        return std::string(static_cast<std::size_t>(w), '*');
    }
    return std::string(static_cast<std::size_t>(w) - text.size(), ' ') + text;
}

}  // namespace

std::string editFixed(float value, int w, int d) {
    DecimalForm form = decimalForm(value);
    bool zero = form.count == 1 && form.digits[0] == '0';
    bool negative = form.negative;
    char digits[18];
    int count = form.count;
    std::copy(form.digits, form.digits + count, digits);

    int integerDigits = zero ? 0 : form.exponent;
    int shown = zero ? d : form.exponent + d;

    if (!zero && integerDigits < -d) {
        // Below half of the last place: a field of zeros, without a sign.
        integerDigits = -d;
        shown = 0;
        negative = false;
        count = 0;
    } else {
        int keep = std::min(kSignificantDigitLimit, shown);
        if (count > keep) {
            bool roundUp = digits[keep] >= '5';
            count = keep;
            bool carry = false;
            if (!roundUp) {
                bool allZero = std::all_of(digits, digits + count, [](char c) { return c == '0'; });
                if (negative && allZero) {
                    negative = false;
                }
            } else if (keep == 0) {
                digits[0] = '1';
                count = 1;
                carry = true;
            } else {
                int i = keep - 1;
                while (i >= 0 && digits[i] == '9') {
                    digits[i] = '0';
                    --i;
                }
                if (i >= 0) {
                    ++digits[i];
                } else {
                    digits[0] = '1';
                    std::fill(digits + 1, digits + keep + 1, '0');
                    count = keep + 1;
                    carry = true;
                }
            }
            if (carry) {
                ++integerDigits;
                ++shown;
            }
        }
    }

    // The text is the sign, the integer digits (or a lone "0" for a shown zero without
    // decimals), the point and d decimals. Its length decides the fit before it is built.
    int integerChars =
        integerDigits > 0 ? integerDigits : (integerDigits == 0 && shown == 0 ? 1 : 0);
    long length = (negative ? 1L : 0L) + integerChars + 1L + d;
    if (length > w) {
        return std::string(static_cast<std::size_t>(w), '*');
    }
    std::string field(static_cast<std::size_t>(w), ' ');
    char* out = field.data() + (w - length);
    int next = 0;
    auto take = [&]() { return next < count ? digits[next++] : (++next, '0'); };
    if (negative) {
        *out++ = '-';
    }
    if (integerDigits == 0 && shown == 0) {
        *out++ = '0';
    }
    if (integerDigits > 0) {
        for (int i = 0; i < integerDigits; ++i) {
            *out++ = take();
        }
        shown -= integerDigits;
    }
    *out++ = '.';
    for (int i = 0; i < -integerDigits; ++i) {
        *out++ = '0';
    }
    for (int i = 0; i < shown; ++i) {
        *out++ = take();
    }
    return field;
}

std::string editInteger(std::int32_t value, int w) {
    std::int64_t v = value;
    std::string text = std::to_string(v < 0 ? -v : v);
    if (v < 0) {
        text.insert(text.begin(), '-');
    }
    return fitField(text, w);
}

void writeLayout(RecordDestination& destination, std::span<const LayoutItem> layout,
                 std::span<const FieldValue> values) {
    std::string record;
    int pendingBlanks = 0;
    std::size_t nextValue = 0;
    auto append = [&](std::string_view text) {
        record.append(static_cast<std::size_t>(pendingBlanks), ' ');
        pendingBlanks = 0;
        record.append(text);
    };
    for (const LayoutItem& item : layout) {
        switch (item.kind) {
            case LayoutItem::Kind::blanks:
                pendingBlanks += item.width;
                break;
            case LayoutItem::Kind::literal:
                append(item.text);
                break;
            case LayoutItem::Kind::fixed: {
                const FieldValue& v = values[nextValue++];
                append(editFixed(v.real, item.width, item.decimals));
                break;
            }
            case LayoutItem::Kind::integer: {
                const FieldValue& v = values[nextValue++];
                append(editInteger(v.integer, item.width));
                break;
            }
            case LayoutItem::Kind::recordEnd:
                pendingBlanks = 0;
                destination.writeRecord(record);
                record.clear();
                break;
        }
    }
    destination.writeRecord(record);
}

}  // namespace korv
