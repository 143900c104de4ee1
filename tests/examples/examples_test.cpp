#include "assembler/assembler.h"
#include "assembler/program_image.h"
#include "assembler/source_file.h"
#include "machine/cpu.h"
#include "tests/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int, int>> errors; // sub-code and number of every Error event

void RecordErrors(int code, int value, int index)
{
    if (code == MachineEvent::Error) {
        errors.emplace_back(value, index);
    }
}

struct Example {
    const char* file;
    std::vector<std::pair<int, int>> registers; // number, value after HALT
    std::vector<std::pair<int, int>> memory;    // address, value after HALT
};

const std::vector<Example> examples = {
    {"add.asm", {{3, 0x3C}}, {{0x0C, 0x3C}}},
    {"count.asm", {{1, 0x0A}, {3, 0x37}}, {{0x14, 0x37}}},
    {"copy.asm", {{1, 0x04}}, {{0x22, 0x4D}, {0x23, 0x49}, {0x24, 0x52}, {0x25, 0x41}}},
    {"float.asm", {{4, 0x6C}}, {{0x31, 0x6C}}},
    {"rotate.asm", {{2, 0x5A}, {3, 0xD2}}, {{0x10, 0x5A}, {0x11, 0xD2}}},
};

class ExampleProgram : public ::testing::TestWithParam<Example> {};

} // namespace

TEST(Examples, EveryProgramInTheFolderIsChecked)
{
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(MIRA_EXAMPLES_DIR)) {
        if (entry.path().extension() == ".asm") {
            found.insert(entry.path().filename().string());
        }
    }
    std::set<std::string> checked;
    for (const Example& example : examples) {
        checked.insert(example.file);
    }
    EXPECT_EQ(found, checked);
}

TEST_P(ExampleProgram, RunsToHaltWithItsResult)
{
    const Example& example = GetParam();
    const std::string text = ReadText(std::filesystem::path(MIRA_EXAMPLES_DIR) / example.file);
    const SourceDocument document = ParseSourceText(text);
    ASSERT_TRUE(document.hasStart);
    EXPECT_EQ(FormatSourceText(document.start, document.rows), text) << "not in the saved layout";

    errors.clear();
    CAssembler assembler(&RecordErrors);
    for (std::size_t i = 0; i < document.rows.size(); ++i) {
        const SourceRow& row = document.rows[i];
        ASSERT_TRUE(assembler.AddLine(static_cast<int>(i) + 1, row.label.c_str(),
                                      row.mnemonic.c_str(), row.operand.c_str()));
    }
    ASSERT_TRUE(assembler.Assemble(document.start));

    CCpu cpu(&RecordErrors);
    int entry = -1;
    int lineCount = 0;
    const SourceLine* lines = assembler.GetResult(entry, lineCount);
    cpu.SetStartAddress(entry);
    cpu.SetPc(entry);
    for (const CellWrite& write : ProgramImage(lines, lineCount, document.start)) {
        cpu.SetMemory(write.address, write.value);
    }
    for (int step = 0; step < 1000 && cpu.State() != static_cast<int>(CycleState::Halted); ++step) {
        cpu.Step();
    }
    ASSERT_EQ(cpu.State(), static_cast<int>(CycleState::Halted));
    EXPECT_TRUE(errors.empty());
    for (const auto& [number, value] : example.registers) {
        EXPECT_EQ(cpu.GetRegister(number), value) << "R" << number;
    }
    for (const auto& [address, value] : example.memory) {
        EXPECT_EQ(cpu.GetMemory(address), value) << "cell " << address;
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleProgram, ::testing::ValuesIn(examples),
                         [](const ::testing::TestParamInfo<Example>& info) {
                             const std::string file = info.param.file;
                             return file.substr(0, file.find('.'));
                         });
