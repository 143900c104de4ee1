#pragma once

#include "assembler/assembler.h"

#include <vector>

struct CellWrite {
    int address;
    int value;
    bool operator==(const CellWrite&) const = default;
};

// The memory writes that put assembled lines into memory from `startAddress`,
// in order: an instruction word takes two cells, high byte first, a "DB" byte
// one; a line without a valid value skips its cell. Addresses wrap at 256.
std::vector<CellWrite> ProgramImage(const SourceLine* lines, int lineCount, int startAddress);
