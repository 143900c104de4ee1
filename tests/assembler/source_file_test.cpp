#include "assembler/source_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string crlfFile = "       START  10\r\n"
                             "LOOP   LOAD   R1,@20\r\n"
                             "       HALT\r\n"
                             "DATA\r\n"
                             "       DB     05\r\n";

const std::vector<SourceRow> crlfRows = {
    {"LOOP", "LOAD", "R1,@20"}, {"", "HALT", ""}, {"DATA", "", ""}, {"", "DB", "05"}};

} // namespace

void PrintTo(const SourceRow& row, std::ostream* out)
{
    *out << '{' << ::testing::PrintToString(row.label) << ", "
         << ::testing::PrintToString(row.mnemonic) << ", " << ::testing::PrintToString(row.operand)
         << '}';
}

TEST(FormatSourceText, WritesFixedColumnsAndCrLf)
{
    std::vector<SourceRow> rows = crlfRows;
    rows.insert(rows.begin() + 2, SourceRow{});
    EXPECT_EQ(FormatSourceText(0x10, rows), crlfFile);
}

TEST(FormatSourceText, WritesTheStartValueInUppercaseHexadecimal)
{
    EXPECT_EQ(FormatSourceText(0xAB, {}), "       START  AB\r\n");
    EXPECT_EQ(FormatSourceText(5, {}), "       START  05\r\n");
    EXPECT_EQ(FormatSourceText(-1, {}), "       START  \r\n");
    EXPECT_EQ(FormatSourceText(256, {}), "       START  \r\n");
    EXPECT_EQ(FormatSourceText(0, {{"", "", "R1"}, {"A", "B", ""}, {"ABCDEFG", "ROTATEX", "R1"}}),
              "       START  00\r\n"
              "              R1\r\n"
              "A      B\r\n"
              "ABCDEFGROTATEXR1\r\n");
}

TEST(ParseSourceText, ReadsTheWrittenLayout)
{
    const SourceDocument document = ParseSourceText(crlfFile);
    EXPECT_EQ(document.rows, crlfRows);
    EXPECT_TRUE(document.hasStart);
    EXPECT_EQ(document.start, 0x10);
}

TEST(ParseSourceText, FollowsTheReadingRules)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<SourceRow> rows;
        int start; // -2: no START line
    };
    const Case cases[] = {
        {"blank ends a field's text", "AB CD  HALT\r\n", {{"AB", "HALT", ""}}, -2},
        {"full-width fields",
         "ABCDEFGROTATEXR1,2XXXXXXXX\r\n",
         {{"ABCDEFG", "ROTATEX", "R1,2XXXXXXXX"}},
         -2},
        {"long line goes on",
         "       LOAD   R1,@20ABCDEFXY\r\n",
         {{"", "LOAD", "R1,@20ABCDEF"}, {"XY", "", ""}},
         -2},
        {"comment after operand", "       DB     05 five\r\n", {{"", "DB", "05"}}, -2},
        {"empty lines skipped", "A\r\n\r\n\r\nB", {{"A", "", ""}, {"B", "", ""}}, -2},
        {"blank line is a row", "   \r\nA\r\n", {{"", "", ""}, {"A", "", ""}}, -2},
        {"leading line end", "\r\nA\r\n", {{"", "", ""}, {"A", "", ""}}, -2},
        {"bytes kept", "\xA4\xA4\t    DB     \x80\x01\r\n", {{"\xA4\xA4\t", "DB", "\x80\x01"}}, -2},
        {"last START counts",
         "       START  10\r\n       HALT\r\n       START  20\r\n",
         {{"", "HALT", ""}},
         0x20},
        {"START value 1F", "       START  1F\r\n", {}, 31},
        {"START value 1FZ", "       START  1FZ\r\n", {}, 31},
        {"START value F", "       START  F\r\n", {}, 15},
        {"START value 1f", "       START  1f\r\n", {}, -1},
        {"START value ZZ", "       START  ZZ\r\n", {}, -1},
        {"START value empty", "       START\r\n", {}, -1},
        {"START with a label", "X      START  30", {}, 0x30},
        {"empty file", "", {}, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SourceDocument document = ParseSourceText(c.bytes);
        EXPECT_EQ(document.rows, c.rows);
        EXPECT_EQ(document.hasStart, c.start != -2);
        EXPECT_EQ(document.start, c.start == -2 ? -1 : c.start);
    }
}

TEST(ParseSourceText, ReadsLineFeedOnlyFilesLikeCrLfFiles)
{
    std::string lfFile;
    for (const char c : crlfFile) {
        if (c != '\r') {
            lfFile += c;
        }
    }
    const SourceDocument document = ParseSourceText(lfFile);
    EXPECT_EQ(document.rows, crlfRows);
    EXPECT_EQ(document.start, 0x10);
}

TEST(SourceFile, RoundTripsRowsAndStart)
{
    const std::vector<SourceRow> rows = {{"ABCDEF", "ROTATE", "R1,8"},
                                         {"A", "", "R1,R2,R3"},
                                         {"", "", "R0,@FF"},
                                         {"", "", ""},
                                         {"ABCDEFG", "LOADAXY", "R1,@ABCDEF+1"},
                                         {"LABEL", "", ""}};
    for (const int start : {0, 0x7F, 0xFF, -1}) {
        const SourceDocument document = ParseSourceText(FormatSourceText(start, rows));
        std::vector<SourceRow> expected = rows;
        std::erase_if(expected, [](const SourceRow& row) { return row.IsEmpty(); });
        EXPECT_EQ(document.rows, expected);
        EXPECT_EQ(document.start, start);
    }
    EXPECT_EQ(FormatSourceText(0x10, ParseSourceText(crlfFile).rows), crlfFile);
}
