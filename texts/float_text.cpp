#include "texts/float_text.h"

#include "machine/float_byte.h"
#include "texts/number_text.h"

#include <array>
#include <charconv>
#include <cmath>

std::string FloatPartsText(int value)
{
    const FloatParts parts = SplitFloat(value);
    return std::string(parts.sign == 0 ? "正" : "負") + "、指數 " + std::to_string(parts.exponent) +
           "、尾數 " + BinaryText(parts.mantissa, 4);
}

std::string FloatValueText(int value)
{
    const FloatParts parts = SplitFloat(value);
    if (parts.mantissa == 0) {
        return "0";
    }
    const double magnitude = std::ldexp(parts.mantissa, parts.exponent - 4 - 4);
    std::array<char, 32> digits{};
    const auto end = std::to_chars(digits.begin(), digits.end(), magnitude).ptr;
    return (parts.sign == 0 ? "+" : "-") + std::string(digits.begin(), end);
}
