#include "texts/number_text.h"

#include "assembler/hex_digits.h"

#include <algorithm>
#include <bit>

int FieldWidth(int radix)
{
    return radix == HexRadix ? 2 : 3;
}

std::string FormatNumber(int value, int radix)
{
    if (value < 0 || value > 255) {
        return {};
    }
    std::string text(FieldWidth(radix), '0');
    for (auto digit = text.rbegin(); value > 0; ++digit) {
        *digit = HexDigit(value % radix);
        value /= radix;
    }
    return text;
}

int ParseNumber(std::string_view text, int radix)
{
    if (text.empty()) {
        return -1;
    }
    int value = 0;
    for (char c : text.substr(0, FieldWidth(radix))) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return -1;
        }
        value = value * radix + digit;
    }
    return value;
}

std::string BinaryText(int value, int width)
{
    const auto bits = static_cast<unsigned>(value);
    std::string text(std::max(width, static_cast<int>(std::bit_width(bits))), '0');
    for (std::size_t bit = 0; bit < text.size(); ++bit) {
        if ((bits >> bit & 1U) != 0) {
            text[text.size() - 1 - bit] = '1';
        }
    }
    return text;
}
