#include "assembler/instruction_table.h"

#include "assembler/hex_digits.h"

#include <algorithm>

int OpcodeOf(std::string_view mnemonic)
{
    const auto found = std::find(Mnemonics.begin(), Mnemonics.end(), mnemonic);
    return found == Mnemonics.end() ? Mnemonic::None
                                    : static_cast<int>(found - Mnemonics.begin()) + 1;
}

std::string InstructionText(int opcode, int r, int x, int y)
{
    const auto isField = [](int field) { return field >= 0 && field <= 15; };
    if (!isField(r) || !isField(x) || !isField(y)) {
        return {};
    }
    const std::string reg(1, HexDigit(r));
    const std::string regX(1, HexDigit(x));
    const std::string regY(1, HexDigit(y));
    const std::string byte = regX + regY;
    const std::string threeRegisters = " R" + reg + ",R" + regX + ",R" + regY;
    switch (opcode) {
    case Mnemonic::Loada:
        return "LOAD R" + reg + ",@" + byte;
    case Mnemonic::Load:
        return "LOAD R" + reg + "," + byte;
    case Mnemonic::Store:
        return "STORE R" + reg + ",@" + byte;
    case Mnemonic::Move:
        return "MOVE R" + regX + ",R" + regY;
    case Mnemonic::Add:
        return "ADD" + threeRegisters;
    case Mnemonic::Addf:
        return "ADDF" + threeRegisters;
    case Mnemonic::Or:
        return "OR" + threeRegisters;
    case Mnemonic::And:
        return "AND" + threeRegisters;
    case Mnemonic::Xor:
        return "XOR" + threeRegisters;
    case Mnemonic::Rotate:
        return "ROTATE R" + reg + "," + byte;
    case Mnemonic::Jump:
        return "JUMP R" + reg + ",@" + byte;
    case Mnemonic::Halt:
        return "HALT";
    default:
        return {};
    }
}
