#include "assembler/program_image.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

void PrintTo(const CellWrite& write, std::ostream* out)
{
    *out << '{' << write.address << ", " << write.value << '}';
}

TEST(ProgramImage, PlacesWordsAndBytesAndWrapsAtTheEndOfMemory)
{
    SourceLine lines[4];
    lines[0].value = 0x2105; // LOAD R1,05
    lines[1].value = 0x05;   // DB 05
    lines[2].value = -1;     // DB without a value keeps its cell
    lines[3].value = 0xC000; // HALT
    const std::vector<CellWrite> expected = {
        {0xFE, 0x21}, {0xFF, 0x05}, {0x00, 0x05}, {0x02, 0xC0}, {0x03, 0x00}};
    EXPECT_EQ(ProgramImage(lines, 4, 0xFE), expected);
}
