#include "assembler/program_image.h"
#include "assembler/program_layout.h"

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

TEST(ProgramLayout, NamesTheLineOfEveryCellAndFollowsMovedRows)
{
    std::vector<SourceLine> lines = LinesWithValues({0x2105, -1, 0x07});
    for (const auto& [index, line] : {std::pair{0, 1}, std::pair{1, 3}, std::pair{2, 4}}) {
        lines[index].line = line;
    }
    ProgramLayout layout(lines.data(), 3, 0xFE);
    const auto linesAt = [&layout] {
        std::vector<int> found;
        for (const int address : {0xFD, 0xFE, 0xFF, 0x00, 0x01, 0x02}) {
            found.push_back(layout.LineAt(address));
        }
        return found;
    };
    EXPECT_EQ(linesAt(), (std::vector<int>{0, 1, 1, 3, 4, 0}));
    EXPECT_EQ(layout.LastAddress(), 0x01);
    const std::bitset<256> cells = layout.CellsOf({1, 4});
    EXPECT_EQ(cells.count(), 3u);
    EXPECT_TRUE(cells[0xFE] && cells[0xFF] && cells[0x01]);

    layout.MoveLines(2, 1); // a row inserted before line 2
    EXPECT_EQ(linesAt(), (std::vector<int>{0, 1, 1, 4, 5, 0}));
    layout.MoveLines(4, -1); // line 4 deleted
    EXPECT_EQ(linesAt(), (std::vector<int>{0, 1, 1, 0, 4, 0}));
    EXPECT_TRUE(ProgramLayout().IsEmpty());
}
