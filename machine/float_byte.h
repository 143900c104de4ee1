#pragma once

// The floating-point bytes of ADDF: sign (bit 7, sign and magnitude),
// exponent (bits 6..4) and mantissa (bits 3..0).
struct FloatParts {
    int sign;
    int exponent;
    int mantissa;
};

// Splits with division that truncates toward zero, as the machine does, so
// that an operand without value (-1) becomes sign 0, exponent 0, mantissa -1.
constexpr FloatParts SplitFloat(int value)
{
    return {value / 128, value / 16 % 8, value % 16};
}

// Each stage of one ADDF, so that what the machine computes can be told.
struct FloatSum {
    FloatParts big;   // the operand with the larger exponent (the first on a tie)
    FloatParts small; // the other, before its mantissa is aligned
    bool firstIsBig;
    int shift;           // places the small mantissa moves right; the bits shifted out are lost
    int alignedMantissa; // the small mantissa after that shift
    int mantissa;        // the sum or difference of the mantissas, made positive
    int sign;            // of the sum
    int normalisedExponent;
    int normalisedMantissa;
    bool fits; // the exponent stayed in 0..7; otherwise ADDF fails
    int result;
};

FloatSum AddFloatBytes(int a, int b);
