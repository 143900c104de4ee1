#include "texts/number_text.h"

#include <gtest/gtest.h>

struct FormatCase {
    int value;
    int radix;
    const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* out)
{
    *out << c.value << " in radix " << c.radix;
}

class FormatNumberTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, WritesPaddedUpperCaseDigits)
{
    EXPECT_EQ(FormatNumber(GetParam().value, GetParam().radix), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatNumberTest,
                         ::testing::Values(FormatCase{10, 16, "0A"}, FormatCase{255, 16, "FF"},
                                           FormatCase{0, 16, "00"}, FormatCase{10, 10, "010"},
                                           FormatCase{255, 10, "255"}, FormatCase{0, 10, "000"},
                                           FormatCase{-1, 16, ""}, FormatCase{-1, 10, ""},
                                           FormatCase{256, 16, ""}, FormatCase{999, 10, ""}));

struct ParseCase {
    const char* text;
    int radix;
    int value;
};

void PrintTo(const ParseCase& c, std::ostream* out)
{
    *out << '"' << c.text << "\" in radix " << c.radix;
}

class ParseNumberTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, ReadsUpToTheFieldWidth)
{
    EXPECT_EQ(ParseNumber(GetParam().text, GetParam().radix), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Values, ParseNumberTest,
                         ::testing::Values(ParseCase{"0A", 16, 10}, ParseCase{"A", 16, 10},
                                           ParseCase{"FF", 16, 255}, ParseCase{"1FZ", 16, 31},
                                           ParseCase{"1f", 16, -1}, ParseCase{"", 16, -1},
                                           ParseCase{".", 16, -1}, ParseCase{"G", 16, -1},
                                           ParseCase{"010", 10, 10}, ParseCase{"1A", 10, 20},
                                           ParseCase{"999", 10, 999}, ParseCase{"2551", 10, 255},
                                           ParseCase{"", 10, -1}, ParseCase{"-1", 10, -1}));
