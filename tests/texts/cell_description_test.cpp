#include "tests/big5.h"
#include "texts/cell_description.h"

#include <gtest/gtest.h>

namespace {

struct DescriptionCase {
    int value;
    int next;
    const char* text;
};

void PrintTo(const DescriptionCase& c, std::ostream* out)
{
    *out << c.value << " before " << c.next;
}

class CellDescriptionTest : public testing::TestWithParam<DescriptionCase> {};

} // namespace

TEST_P(CellDescriptionTest, TellsTheValueInEveryForm)
{
    EXPECT_EQ(CellDescription(GetParam().value, GetParam().next), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, CellDescriptionTest,
    testing::Values(DescriptionCase{0xB1, 0x0C,
                                    "十六進位：B1\n十進位：177，有號數 -79\n二進位：1011 0001\n"
                                    "浮點數：負、指數 3、尾數 0001 = -0.03125（未正規化）\n"
                                    "指令：B10C = JUMP R1,@0C"},
                    DescriptionCase{
                        0x48, 0x38,
                        "十六進位：48\n十進位：72，有號數 72\n二進位：0100 1000\n"
                        "浮點數：正、指數 4、尾數 1000 = +0.5\n指令：4838 = MOVE R3,R8"},
                    DescriptionCase{0x7F, -1,
                                    "十六進位：7F\n十進位：127，有號數 127\n二進位：0111 1111\n"
                                    "浮點數：正、指數 7、尾數 1111 = +7.5\n指令：下一格沒有數值"},
                    DescriptionCase{0x01, 0x00,
                                    "十六進位：01\n十進位：1，有號數 1\n二進位：0000 0001\n"
                                    "浮點數：正、指數 0、尾數 0001 = +0.00390625（未正規化）\n"
                                    "指令：0100 的運算碼 0 沒有定義"},
                    DescriptionCase{0x80, 0xFF,
                                    "十六進位：80\n十進位：128，有號數 -128\n二進位：1000 0000\n"
                                    "浮點數：負、指數 0、尾數 0000 = 0\n指令：80FF = AND R0,RF,RF"},
                    DescriptionCase{-1, 0x00, "沒有數值"}));

TEST(CellDescriptionTest, EveryValueInBig5)
{
    for (int value = 0; value < 256; ++value) {
        EXPECT_TRUE(ConvertsToBig5(CellDescription(value, 0x12))) << value;
    }
}
