// Fuzzes field editing: any single-precision bit pattern in any field shape gives a field of
// exactly w characters of the allowed form, and in the report's shapes the exact reference's
// text. Integer fields likewise.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/fixed_reference.h"
#include "support/field_editing.h"

namespace {

struct Shape {
    int w, d;
};
constexpr Shape kShapes[] = {{10, 3}, {9, 4}, {9, 0}, {8, 5}, {8, 1}, {7, 3},
                             {7, 2},  {7, 1}, {6, 3}, {6, 2}, {5, 3}};

void checkForm(const std::string& text, int w, int d) {
    if (static_cast<int>(text.size()) != w)
        std::abort();
    if (text.find_first_not_of('*') == std::string::npos)
        return;
    std::size_t start = text.find_first_not_of(' ');
    std::size_t point = text.find('.');
    if (start == std::string::npos || point == std::string::npos)
        std::abort();
    if (static_cast<int>(text.size() - point - 1) != d)
        std::abort();
    for (std::size_t i = start; i < text.size(); ++i) {
        char c = text[i];
        bool ok = (c >= '0' && c <= '9') || (c == '.' && i == point) || (c == '-' && i == start);
        if (!ok)
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6)
        return 0;
    std::uint32_t bits;
    std::memcpy(&bits, data, 4);
    float x = std::bit_cast<float>(bits);
    if (!std::isfinite(x))
        return 0;
    int w = 1 + data[4] % 40;
    int d = data[5] % w;
    checkForm(korv::editFixed(x, w, d), w, d);

    const Shape& s = kShapes[data[5] % std::size(kShapes)];
    std::string got = korv::editFixed(x, s.w, s.d);
    if (got != korv::test::referenceFixed(korv::test::exactDecimal(x), s.w, s.d))
        std::abort();

    std::int32_t v = static_cast<std::int32_t>(bits);
    std::string integer = korv::editInteger(v, w);
    if (static_cast<int>(integer.size()) != w)
        std::abort();
    if (integer.find_first_not_of('*') != std::string::npos && std::stoll(integer) != v)
        std::abort();
    return 0;
}
