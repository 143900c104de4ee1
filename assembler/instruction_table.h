#pragma once

#include <array>
#include <string>
#include <string_view>

// Mnemonic numbers: 1..12 are the machine's opcodes, 13 is the data directive
// "DB", which never becomes an instruction word.
namespace Mnemonic {
enum Number : int {
    None = 0,
    Loada = 1,
    Load = 2,
    Store = 3,
    Move = 4,
    Add = 5,
    Addf = 6,
    Or = 7,
    And = 8,
    Xor = 9,
    Rotate = 10,
    Jump = 11,
    Halt = 12,
    Db = 13,
};
} // namespace Mnemonic

// The mnemonics in number order: index + 1 is the number.
inline constexpr std::array<std::string_view, 13> Mnemonics = {
    "LOADA", "LOAD", "STORE",  "MOVE", "ADD",  "ADDF", "OR",
    "AND",   "XOR",  "ROTATE", "JUMP", "HALT", "DB",
};

// The number of a mnemonic, compared exactly and case-sensitively; 0 for any other text.
int OpcodeOf(std::string_view mnemonic);

// The listing text of a decoded instruction; empty for opcodes 0, 13, 14 and 15
// and for any field outside 0..15.
std::string InstructionText(int opcode, int r, int x, int y);
