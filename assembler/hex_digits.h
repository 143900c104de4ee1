#pragma once

#include <string_view>

// Operands, listings and source files always write bytes in hexadecimal with
// uppercase digits; lowercase digits are not accepted on input.

// 0..15 for "0"-"9" and "A"-"F", -1 for any other character.
constexpr int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The digit of a value 0..15.
constexpr char HexDigit(int value)
{
    return "0123456789ABCDEF"[value];
}

// One or two hexadecimal digits; -1 for any other text.
constexpr int ParseHexByte(std::string_view text)
{
    if (text.empty() || text.size() > 2) {
        return -1;
    }
    int value = 0;
    for (const char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}
