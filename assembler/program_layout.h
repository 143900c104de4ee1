#pragma once

#include "assembler/assembler.h"

#include <array>
#include <bitset>
#include <vector>

// The machine's memory cells, and a set of them by address.
inline constexpr int MemoryCells = 256;
using CellSet = std::bitset<MemoryCells>;

// Which source line put each memory cell there when assembled lines are
// loaded from a start address, as the Load command lays them out. Lines are
// numbered as the grid shows them (row + 1).
class ProgramLayout {
public:
    ProgramLayout() = default; // no program
    ProgramLayout(const SourceLine* lines, int lineCount, int startAddress);

    bool IsEmpty() const { return cellCount_ == 0; }
    int StartAddress() const { return startAddress_; }
    int LastAddress() const { return (startAddress_ + cellCount_ + MemoryCells - 1) % MemoryCells; }
    // The line whose instruction word, data byte or reserved cell is at the
    // address; 0 for none.
    int LineAt(int address) const;
    // The cells of the given lines.
    CellSet CellsOf(const std::vector<int>& lines) const;
    // Rows inserted (`delta` > 0) or deleted (< 0) before line `firstLine`:
    // that line and those below it move; deleted lines keep no cells.
    void MoveLines(int firstLine, int delta);

private:
    std::array<int, MemoryCells> lines_{};
    int startAddress_ = 0;
    int cellCount_ = 0;
};
