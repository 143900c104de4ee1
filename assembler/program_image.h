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

// Calls `cell(address, line, value)` for every cell that assembled lines take
// from `startAddress`, in order: an instruction word takes two cells, high
// byte first, a "DB" byte one, and a line without a valid value one, whose
// cell keeps its contents (value -1). Addresses wrap at 256.
template <typename Cell>
void ForEachProgramCell(const SourceLine* lines, int lineCount, int startAddress, Cell cell)
{
    int address = startAddress;
    const auto take = [&](const SourceLine& line, int value) {
        cell(address, line, value);
        address = (address + 1) % 256;
    };
    for (int i = 0; i < lineCount; ++i) {
        const int value = lines[i].value;
        if (value < 0 || value > 0xFFFF) {
            take(lines[i], -1);
        } else if (value / 256 == 0) {
            // Every instruction has an opcode of 1 or more in its top bits,
            // so only a "DB" byte has a high byte of 0.
            take(lines[i], value);
        } else {
            take(lines[i], value / 256);
            take(lines[i], value % 256);
        }
    }
}

// The memory writes that put assembled lines into memory from `startAddress`.
std::vector<CellWrite> ProgramImage(const SourceLine* lines, int lineCount, int startAddress);

// Puts an assembled program into a machine, as Load does: start address and
// PC at the entry address, then the image's cells in order. A program without
// an instruction has no entry address (-1): the machine refuses it and
// reports it, and its bytes are loaded all the same.
template <typename Machine>
void LoadProgramImage(Machine& machine, int entryAddress, const std::vector<CellWrite>& cells)
{
    machine.SetStartAddress(entryAddress);
    machine.SetPc(entryAddress);
    for (const CellWrite& write : cells) {
        machine.SetMemory(write.address, write.value);
    }
}

// Puts the program of the last successful Assemble into a machine, from the
// address the assembly started at.
template <typename Machine>
void LoadProgram(Machine& machine, CAssembler& assembler, int startAddress)
{
    int entryAddress = -1;
    int lineCount = 0;
    const SourceLine* lines = assembler.GetResult(entryAddress, lineCount);
    LoadProgramImage(machine, entryAddress, ProgramImage(lines, lineCount, startAddress));
}
