#pragma once

#include "assembler/assembler.h"
#include "assembler/source_file.h"

#include <vector>

// Hands the rows that are not empty to the assembler, each numbered by its
// position (row i is line i + 1); false when the assembler has no room left.
bool AddProgramRows(CAssembler& assembler, const std::vector<SourceRow>& rows);

struct CellWrite {
    int address;
    int value;
    bool operator==(const CellWrite&) const = default;
};

// The memory writes that put assembled lines into memory from `startAddress`,
// in order: an instruction word takes two cells, high byte first, a "DB" byte
// one; a line without a valid value skips its cell. Addresses wrap at 256.
std::vector<CellWrite> ProgramImage(const SourceLine* lines, int lineCount, int startAddress);
