#pragma once

#include "assembler/assembler.h"

#include <array>
#include <bitset>
#include <vector>

// The machine's memory cells, and a set of them by address.
inline constexpr int MemoryCells = 256;
using CellSet = std::bitset<MemoryCells>;

// The cells a line put into memory: the first address and the bytes, -1 for
// a cell that a DB reserved.
struct LineCode {
    int line = 0;
    int address = 0;
    std::vector<int> bytes;
    bool operator==(const LineCode&) const = default;
};

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
    // Each cell's address and line, in the order Load writes them.
    template <typename Visit> void ForEachCell(Visit visit) const
    {
        for (int cell = 0; cell < cellCount_; ++cell) {
            const int address = (startAddress_ + cell) % MemoryCells;
            visit(address, lines_[address]);
        }
    }
    // The code of every line that put cells into `memory`, in line order.
    std::vector<LineCode> CodeOfLines(const std::array<int, MemoryCells>& memory) const;
    // Rows inserted (`delta` > 0) or deleted (< 0) before line `firstLine`:
    // that line and those below it move; deleted lines keep no cells.
    void MoveLines(int firstLine, int delta);

private:
    std::array<int, MemoryCells> lines_{};
    int startAddress_ = 0;
    int cellCount_ = 0;
};
