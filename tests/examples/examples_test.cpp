#include "assembler/assembler.h"
#include "assembler/instruction_table.h"
#include "assembler/program_image.h"
#include "assembler/source_file.h"
#include "machine/cpu.h"
#include "tests/text_file.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
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

void PrintTo(const Example& example, std::ostream* out)
{
    *out << example.file;
}

const std::vector<Example> examples = {
    {"add.asm", {{3, 0x3C}}, {{0x0C, 0x3C}}},
    {"count.asm", {{1, 0x0A}, {3, 0x37}}, {{0x14, 0x37}}},
    {"copy.asm", {{1, 0x04}}, {{0x2A, 0x4D}, {0x2B, 0x49}, {0x2C, 0x52}, {0x2D, 0x41}}},
    {"float.asm", {{4, 0x6C}}, {{0x31, 0x6C}}},
    {"rotate.asm", {{2, 0x5A}, {3, 0xD2}}, {{0x10, 0x5A}, {0x11, 0xD2}}},
    {"sum-table.asm", {{3, 0x7B}}, {{0x22, 0x7B}}},
    {"multiply.asm", {{4, 0x2A}}, {{0x18, 0x2A}}},
    {"max-list.asm", {{6, 0x5A}}, {{0x32, 0x5A}}},
    {"bit-masks.asm",
     {{3, 0x6F}, {4, 0x0C}, {5, 0x63}},
     {{0x14, 0x6F}, {0x15, 0x0C}, {0x16, 0x63}}},
    {"count-bits.asm", {{1, 0xB6}, {5, 0x05}}, {{0x1D, 0x05}}},
    {"sum-float.asm", {{3, 0x4F}}, {{0x22, 0x4F}}},
};

const std::filesystem::path folder = MIRA_EXAMPLES_DIR;

std::set<std::string> ProgramsInFolder()
{
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".asm") {
            found.insert(entry.path().filename().string());
        }
    }
    return found;
}

bool ConvertsToBig5(std::string text)
{
    iconv_t converter = iconv_open("BIG5", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv has no BIG5";
        return false;
    }
    char* in = text.data();
    std::size_t inLeft = text.size();
    std::string out(text.size() * 2, '\0');
    char* outPointer = out.data();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
    iconv_close(converter);
    return result != static_cast<std::size_t>(-1) && inLeft == 0;
}

// Every register, then every memory cell.
std::vector<int> Contents(CCpu& cpu)
{
    std::vector<int> values;
    for (int number = 0; number < CCpu::RegisterCount; ++number) {
        values.push_back(cpu.GetRegister(number));
    }
    for (int address = 0; address < CCpu::MemorySize; ++address) {
        values.push_back(cpu.GetMemory(address));
    }
    return values;
}

class ExampleProgram : public ::testing::TestWithParam<Example> {};

} // namespace

TEST(Examples, EveryProgramInTheFolderIsChecked)
{
    std::set<std::string> checked;
    for (const Example& example : examples) {
        checked.insert(example.file);
    }
    EXPECT_EQ(ProgramsInFolder(), checked);
}

// The index gives the menu its order and a Chinese title for each program.
TEST(Examples, TheIndexTitlesEveryProgramOnceInBig5)
{
    std::istringstream index(ReadText(folder / "examples.txt"));
    std::multiset<std::string> listed;
    for (std::string line; std::getline(index, line);) {
        const std::size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        const std::string title = line.substr(tab + 1);
        EXPECT_FALSE(title.empty()) << line;
        EXPECT_TRUE(ConvertsToBig5(title)) << line;
        listed.insert(line.substr(0, tab));
    }
    const std::set<std::string> programs = ProgramsInFolder();
    EXPECT_EQ(listed, std::multiset<std::string>(programs.begin(), programs.end()));
}

TEST(Examples, TogetherTheyUseEveryMnemonic)
{
    std::set<std::string> used;
    for (const Example& example : examples) {
        for (const SourceRow& row : ParseSourceText(ReadText(folder / example.file)).rows) {
            used.insert(row.mnemonic);
        }
    }
    for (std::string_view mnemonic : Mnemonics) {
        EXPECT_TRUE(used.contains(std::string(mnemonic))) << mnemonic;
    }
}

TEST_P(ExampleProgram, RunsToHaltWithItsResult)
{
    const Example& example = GetParam();
    const std::string text = ReadText(folder / example.file);
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
    const auto runToHalt = [&cpu] {
        for (int step = 0; step < 1000 && cpu.State() != static_cast<int>(CycleState::Halted);
             ++step) {
            cpu.Step();
        }
        return cpu.State() == static_cast<int>(CycleState::Halted);
    };
    ASSERT_TRUE(runToHalt());
    EXPECT_TRUE(errors.empty());
    for (const auto& [number, value] : example.registers) {
        EXPECT_EQ(cpu.GetRegister(number), value) << "R" << number;
    }
    for (const auto& [address, value] : example.memory) {
        EXPECT_EQ(cpu.GetMemory(address), value) << "cell " << address;
    }

    // A class runs an example again after Reset, without loading it anew.
    const std::vector<int> afterFirstRun = Contents(cpu);
    cpu.Reset();
    ASSERT_TRUE(runToHalt());
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(Contents(cpu), afterFirstRun) << "the run after Reset ends differently";
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleProgram, ::testing::ValuesIn(examples),
                         [](const ::testing::TestParamInfo<Example>& info) {
                             std::string name = info.param.file;
                             name.erase(name.find('.'));
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });
