#pragma once

#include <string>

// A floating-point byte of ADDF told in words: "正、指數 4、尾數 1000".
std::string FloatPartsText(int value);

// Its value, taking the exponent in excess-4 and the mantissa as the four
// bits after the binary point: 48 is +0.5, 7F is +7.5, B1 is -0.03125.
std::string FloatValueText(int value);
