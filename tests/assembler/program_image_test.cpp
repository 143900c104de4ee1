#include "assembler/program_image.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<SourceLine> LinesWithValues(const std::vector<int>& values)
{
    std::vector<SourceLine> lines;
    for (const int value : values) {
        SourceLine line;
        line.value = value;
        lines.push_back(line);
    }
    return lines;
}

struct LoadCase {
    const char* name;
    int startAddress;
    std::vector<int> values;
    std::vector<CellWrite> writes;
};

void PrintTo(const LoadCase& test, std::ostream* out)
{
    *out << test.name;
}

class ProgramImageTest : public testing::TestWithParam<LoadCase> {};

} // namespace

TEST_P(ProgramImageTest, PlacesTheLinesFromTheStartAddress)
{
    const LoadCase& test = GetParam();
    const std::vector<SourceLine> lines = LinesWithValues(test.values);
    EXPECT_EQ(ProgramImage(lines.data(), static_cast<int>(lines.size()), test.startAddress),
              test.writes);
}

INSTANTIATE_TEST_SUITE_P(
    Load, ProgramImageTest,
    testing::Values(
        LoadCase{"InstructionTakesTwoCellsHighFirst", 0x10, {0x2105}, {{0x10, 0x21}, {0x11, 0x05}}},
        LoadCase{"DataByteTakesOneCell",
                 0x10,
                 {0x05, 0xC000},
                 {{0x10, 0x05}, {0x11, 0xC0}, {0x12, 0x00}}},
        LoadCase{"ZeroByteIsWritten", 0, {0x00}, {{0, 0}}},
        LoadCase{"ReservedByteKeepsItsCell", 0x10, {-1, 0x2105}, {{0x11, 0x21}, {0x12, 0x05}}},
        LoadCase{"ValueAboveFFFFKeepsItsCell", 0, {0x10000, 0x07}, {{1, 0x07}}},
        LoadCase{"AddressesWrapAfterFF",
                 0xFF,
                 {0x2105, 0x07},
                 {{0xFF, 0x21}, {0x00, 0x05}, {0x01, 0x07}}},
        LoadCase{"NoLinesNoCells", 0x40, {}, {}}),
    [](const testing::TestParamInfo<LoadCase>& info) { return info.param.name; });
