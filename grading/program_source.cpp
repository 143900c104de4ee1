#include "grading/program_source.h"

#include "grading/machine_state.h"

#include <utility>

namespace {

constexpr std::size_t KeptRows = MemoryCells;

} // namespace

ProgramSource ReadProgramSource(std::string_view bytes)
{
    ProgramSource program;
    SourceReader reader(bytes);
    SourceRow row;
    int fileLine = 0;
    // The reading goes on to the end: the last START line counts.
    for (int number = 1; reader.Next(row, fileLine); ++number) {
        if (!row.IsEmpty() && program.rows.size() < KeptRows) {
            program.rows.push_back({number, fileLine, std::move(row)});
        }
    }
    program.hasStart = reader.HasStart();
    program.start = reader.Start();
    return program;
}

ProgramSource ProgramSourceOf(const std::vector<SourceRow>& rows, int startAddress)
{
    ProgramSource program;
    for (std::size_t i = 0; i < rows.size() && program.rows.size() < KeptRows; ++i) {
        if (!rows[i].IsEmpty()) {
            const int number = static_cast<int>(i) + 1;
            program.rows.push_back({number, number, rows[i]});
        }
    }
    program.hasStart = true;
    program.start = startAddress;
    return program;
}

int StartAddressOf(const ProgramSource& program)
{
    return program.hasStart ? program.start : 0;
}
