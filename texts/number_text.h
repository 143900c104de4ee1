#pragma once

#include <string>
#include <string_view>

// Byte values as the machine view shows and reads them: two upper-case
// hexadecimal digits or three decimal digits, zero-padded.

inline constexpr int HexRadix = 16;
inline constexpr int DecimalRadix = 10;

// The number of digits a byte takes in the radix: 2 in hexadecimal, 3 in decimal.
int FieldWidth(int radix);

// Empty for values outside 0..255 (the "no value" of a cell or register).
std::string FormatNumber(int value, int radix);

// -1 for the empty text or any character that is not "0"-"9" or "A"-"F";
// characters beyond the field width are ignored.
int ParseNumber(std::string_view text, int radix);

// The lowest `width` bits of a value 0 or above as "0" and "1", or more
// digits when the value needs them.
std::string BinaryText(int value, int width);
