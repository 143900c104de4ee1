#include "machine/float_byte.h"

FloatSum AddFloatBytes(int a, int b)
{
    FloatSum sum{};
    const FloatParts first = SplitFloat(a);
    const FloatParts second = SplitFloat(b);
    sum.firstIsBig = first.exponent >= second.exponent;
    sum.big = sum.firstIsBig ? first : second;
    sum.small = sum.firstIsBig ? second : first;
    sum.shift = sum.big.exponent - sum.small.exponent;
    sum.alignedMantissa = sum.small.mantissa >> sum.shift;
    int mantissa = sum.big.sign == sum.small.sign ? sum.big.mantissa + sum.alignedMantissa
                                                  : sum.big.mantissa - sum.alignedMantissa;
    sum.sign = sum.big.sign;
    if (mantissa < 0) {
        mantissa = -mantissa;
        sum.sign = sum.small.sign;
    }
    sum.mantissa = mantissa;
    int exponent = sum.big.exponent;
    while (mantissa > 15) {
        mantissa /= 2;
        ++exponent;
    }
    while (mantissa >= 1 && mantissa <= 7) {
        mantissa *= 2;
        --exponent;
    }
    sum.normalisedExponent = exponent;
    sum.normalisedMantissa = mantissa;
    sum.fits = exponent >= 0 && exponent <= 7;
    sum.result = mantissa == 0 ? 0 : sum.sign * 128 + exponent * 16 + mantissa;
    return sum;
}
