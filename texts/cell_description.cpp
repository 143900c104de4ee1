#include "texts/cell_description.h"

#include "assembler/hex_digits.h"
#include "assembler/instruction_table.h"
#include "texts/float_text.h"
#include "texts/number_text.h"

namespace {

constexpr int MantissaNormalised = 8; // bit 3 set

std::string InstructionLine(int value, int next)
{
    const int opcode = value / 16;
    if (next < 0 || next > 255) {
        return "指令：下一格沒有數值";
    }
    const std::string word = FormatNumber(value, HexRadix) + FormatNumber(next, HexRadix);
    const std::string listing = InstructionText(opcode, value % 16, next / 16, next % 16);
    if (listing.empty()) {
        return "指令：" + word + " 的運算碼 " + HexDigit(opcode) + " 沒有定義";
    }
    return "指令：" + word + " = " + listing;
}

} // namespace

std::string CellDescription(int value, int next)
{
    if (value < 0 || value > 255) {
        return "沒有數值";
    }
    const std::string bits = BinaryText(value, 8);
    const int mantissa = value % 16;
    const bool normalised = mantissa == 0 || mantissa >= MantissaNormalised;
    return "十六進位：" + FormatNumber(value, HexRadix) + "\n十進位：" + std::to_string(value) +
           "，有號數 " + std::to_string(value < 128 ? value : value - 256) + "\n二進位：" +
           bits.substr(0, 4) + " " + bits.substr(4) + "\n浮點數：" + FloatPartsText(value) + " = " +
           FloatValueText(value) + (normalised ? "" : "（未正規化）") + "\n" +
           InstructionLine(value, next);
}
