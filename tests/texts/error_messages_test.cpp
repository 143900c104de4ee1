#include "texts/error_messages.h"
#include "texts/message_target.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct MessageCase {
    int subCode;
    int number;
    int radix;
    std::vector<std::string> lines;
};

void PrintTo(const MessageCase& c, std::ostream* out)
{
    *out << "sub-code " << c.subCode << ", number " << c.number << ", radix " << c.radix;
}

class ErrorMessageTest : public ::testing::TestWithParam<MessageCase> {};

} // namespace

TEST_P(ErrorMessageTest, BuildsTheLinesOfTheSubCode)
{
    const MessageCase& c = GetParam();
    EXPECT_EQ(ErrorMessageLines(c.subCode, c.number, c.radix, "/in/a.mm", "/out/b.mm"), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ErrorMessageTest,
    ::testing::Values(
        MessageCase{0, 5, 16, {"無法開啟檔案：/in/a.mm"}},
        MessageCase{1, 5, 16, {"無法建立檔案：/out/b.mm"}},
        MessageCase{2, 31, 16, {"無法儲存記憶體 No:1F到檔案"}},
        MessageCase{3, 300, 16, {"從檔案/in/a.mm載入記憶體 No:300錯誤"}},
        MessageCase{4, 300, 16, {"無法設定記憶體 No:300"}},
        MessageCase{4, -1, 10, {"無法設定記憶體 No:-1"}},
        MessageCase{5, 256, 10, {"無法讀取記憶體 No:256"}},
        MessageCase{6, 3, 10, {"數值錯誤，無法設定記憶體 No:003"}},
        MessageCase{7, 144, 16, {"記憶體 No:90未設定數值"}},
        MessageCase{8, 2, 16, {"數值錯誤，無法設定暫存器 No:02"}},
        MessageCase{9, 10, 16, {"暫存器 No:0A未設定數值"}},
        MessageCase{9, 10, 10, {"暫存器 No:010未設定數值"}},
        MessageCase{10, 16, 16, {"無法設定暫存器 No:10"}},
        MessageCase{11, 16, 10, {"無法讀取暫存器 No:016"}},
        MessageCase{12, 999, 16, {"設定啟始位址錯誤"}},
        MessageCase{13, -3, 16, {"設定Pointer Counter錯誤"}},
        MessageCase{14, 255, 16, {"Fetch錯誤，記憶體沒有數值(Pc:FF)"}},
        MessageCase{15, 64, 10, {"Decode錯誤，指令未定義(Pc:064)"}},
        MessageCase{16, 64, 16, {"指令LOADA無法執行(Pc:40)"}},
        MessageCase{17, 0, 16, {"指令LOAD無法執行(Pc:00)"}},
        MessageCase{18, 1, 16, {"指令STORE無法執行(Pc:01)"}},
        MessageCase{19, 2, 16, {"指令MOVE無法執行(Pc:02)"}},
        MessageCase{20, 3, 16, {"指令ADD無法執行(Pc:03)"}},
        MessageCase{21, 4, 16, {"指令ADDF無法執行(Pc:04)"}},
        MessageCase{22, 5, 16, {"指令OR無法執行(Pc:05)"}},
        MessageCase{23, 6, 16, {"指令AND無法執行(Pc:06)"}},
        MessageCase{24, 7, 16, {"指令XOR無法執行(Pc:07)"}},
        MessageCase{25, 8, 16, {"指令ROTATE無法執行(Pc:08)"}},
        MessageCase{100, 3, 16, {"無法配置記憶體"}},
        MessageCase{101, 7, 16, {"暫存器欄位設定錯誤(Line:7)"}},
        MessageCase{
            102, 12, 10, {"位址欄位設定錯誤(Line:12)", "\u3000\u3000Label不存在或數值設定錯誤"}},
        MessageCase{103, 128, 16, {"指令數過多，記憶體不足(Line:128)"}},
        MessageCase{104, 5, 16, {"數值欄位設定錯誤(Line:5)"}},
        MessageCase{105, 300, 16, {"Symbol重複或無法設定(Line:300)"}},
        MessageCase{106, 1, 16, {"Opcode設定錯誤(Line:1)"}}, MessageCase{26, 1, 16, {}},
        MessageCase{99, 1, 16, {}}, MessageCase{107, 1, 16, {}}, MessageCase{-1, 1, 16, {}}));

TEST(ErrorMessageFileNameTest, EmptyNamesLeaveNothingBetweenTheTexts)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(ErrorMessageLines(0, 0, 16, "", ""), Lines{"無法開啟檔案："});
    EXPECT_EQ(ErrorMessageLines(1, 0, 16, "", ""), Lines{"無法建立檔案："});
    EXPECT_EQ(ErrorMessageLines(3, 5, 16, "", ""), Lines{"從檔案載入記憶體 No:05錯誤"});
}

namespace {

struct TargetCase {
    int subCode;
    int number;
    int radix;
    MessageTarget target;
};

void PrintTo(const TargetCase& c, std::ostream* out)
{
    *out << "sub-code " << c.subCode << ", number " << c.number << ", radix " << c.radix;
}

class MessageTargetTest : public ::testing::TestWithParam<TargetCase> {};

} // namespace

// The first line of each error, as the log shows it, read back.
TEST_P(MessageTargetTest, ALineNamesItsSourceLineOrAddress)
{
    const TargetCase& c = GetParam();
    EXPECT_EQ(
        TargetOfMessage(ErrorMessageLines(c.subCode, c.number, c.radix, "(Line:9)", "").front()),
        c.target);
}

INSTANTIATE_TEST_SUITE_P(Targets, MessageTargetTest,
                         ::testing::Values(TargetCase{101, 12, 16, {MessageTarget::Line, 12}},
                                           TargetCase{102, 345, 10, {MessageTarget::Line, 345}},
                                           TargetCase{15, 0x2C, 16, {MessageTarget::Address, 0x2C}},
                                           TargetCase{20, 255, 10, {MessageTarget::Address, 255}},
                                           TargetCase{7, 0xA0, 16, {MessageTarget::Address, 0xA0}},
                                           TargetCase{3, 200, 10, {MessageTarget::Address, 200}},
                                           TargetCase{4, 300, 16, {}},  // no such cell
                                           TargetCase{9, 0x0A, 16, {}}, // a register, not a cell
                                           TargetCase{12, 5, 16, {}}));
