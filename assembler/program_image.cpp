#include "assembler/program_image.h"

std::vector<CellWrite> ProgramImage(const SourceLine* lines, int lineCount, int startAddress)
{
    std::vector<CellWrite> writes;
    int address = startAddress;
    const auto put = [&](int value) {
        writes.push_back({address, value});
        address = (address + 1) % 256;
    };
    for (int i = 0; i < lineCount; ++i) {
        const int value = lines[i].value;
        if (value < 0 || value > 0xFFFF) {
            address = (address + 1) % 256;
        } else if (value / 256 == 0) {
            // Every instruction has an opcode of 1 or more in its top bits,
            // so only a "DB" byte has a high byte of 0.
            put(value);
        } else {
            put(value / 256);
            put(value % 256);
        }
    }
    return writes;
}

bool AddProgramRows(CAssembler& assembler, const std::vector<SourceRow>& rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const SourceRow& row = rows[i];
        if (!row.IsEmpty() && !assembler.AddLine(static_cast<int>(i) + 1, row.label.c_str(),
                                                 row.mnemonic.c_str(), row.operand.c_str())) {
            return false;
        }
    }
    return true;
}
