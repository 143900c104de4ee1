#pragma once

#include "assembler/assembler.h"

#include <vector>

// One memory cell that loading an assembled program writes.
struct ProgramCell {
    int address;
    int value;
    bool operator==(const ProgramCell&) const = default;
};

// The cells that Load writes for the assembled lines, in write order, placed
// from the start address: an instruction word takes two cells (high byte
// first), a "DB" byte one; a line whose value is outside 0..FFFF keeps its
// cell as it is and is not listed. Addresses wrap modulo 256.
std::vector<ProgramCell> ProgramCells(const SourceLine* lines, int lineCount, int startAddress);
