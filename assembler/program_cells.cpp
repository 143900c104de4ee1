#include "assembler/program_cells.h"

std::vector<ProgramCell> ProgramCells(const SourceLine* lines, int lineCount, int startAddress)
{
    std::vector<ProgramCell> cells;
    int address = startAddress;
    const auto write = [&](int value) {
        cells.push_back({address, value});
        address = (address + 1) % 256;
    };
    for (int i = 0; i < lineCount; ++i) {
        const int value = lines[i].value;
        if (value < 0 || value > 0xFFFF) {
            address = (address + 1) % 256;
            continue;
        }
        // Every instruction word has an opcode of 1 or more in its top four bits,
        // so only a "DB" byte has a high byte of 0.
        if (value / 256 != 0) {
            write(value / 256);
        }
        write(value % 256);
    }
    return cells;
}
