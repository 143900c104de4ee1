#include "assembler/program_layout.h"

#include "assembler/program_image.h"

#include <algorithm>
#include <map>

ProgramLayout::ProgramLayout(const SourceLine* lines, int lineCount, int startAddress)
    : startAddress_(startAddress)
{
    ForEachProgramCell(lines, lineCount, startAddress,
                       [this](int address, const SourceLine& line, int) {
                           lines_[address] = line.line;
                           ++cellCount_;
                       });
}

int ProgramLayout::LineAt(int address) const
{
    return address >= 0 && address < MemoryCells ? lines_[address] : 0;
}

CellSet ProgramLayout::CellsOf(const std::vector<int>& lines) const
{
    CellSet cells;
    for (int address = 0; address < MemoryCells; ++address) {
        const int line = lines_[address];
        cells[address] = line > 0 && std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    return cells;
}

void ProgramLayout::MoveLines(int firstLine, int delta)
{
    for (int& line : lines_) {
        if (line >= firstLine) {
            line = delta < 0 && line < firstLine - delta ? 0 : line + delta;
        }
    }
}

std::vector<LineCode> ProgramLayout::CodeOfLines(const std::array<int, MemoryCells>& memory) const
{
    std::map<int, LineCode> code;
    ForEachCell([&memory, &code](int address, int line) {
        if (line <= 0) {
            return;
        }
        LineCode& lineCode = code[line];
        if (lineCode.bytes.empty()) {
            lineCode = {line, address, {}};
        }
        lineCode.bytes.push_back(memory[address]);
    });
    std::vector<LineCode> lines;
    for (auto& [line, lineCode] : code) {
        lines.push_back(std::move(lineCode));
    }
    return lines;
}
