#include "assembler/program_image.h"

std::vector<CellWrite> ProgramImage(const SourceLine* lines, int lineCount, int startAddress)
{
    std::vector<CellWrite> writes;
    ForEachProgramCell(lines, lineCount, startAddress,
                       [&](int address, const SourceLine&, int value) {
                           if (value >= 0) {
                               writes.push_back({address, value});
                           }
                       });
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
