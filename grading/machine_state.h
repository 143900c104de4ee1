#pragma once

#include <array>

// The machine's sizes, as the simulated computer has them (checked where both are seen).
inline constexpr int MemoryCells = 256;
inline constexpr int RegisterCount = 16;

// Cells and registers as values; -1 stands for no value.
using MemoryImage = std::array<int, MemoryCells>;

struct MachineState {
    int pc = 0;
    std::array<int, RegisterCount> registers{};
    MemoryImage memory{};
};
