#include "window_test.h"

#include <QPlainTextEdit>
#include <QTextBlock>

class MessageLogTest : public WindowTest {
protected:
};

TEST_F(MessageLogTest, ErrorEventsAppendTheirLinesInTheCurrentRadix)
{
    form->HandleMachineEvent(13, 9, 10);
    Action("actCpuRadix")->trigger();
    form->HandleMachineEvent(13, 9, 10);
    form->HandleMachineEvent(13, 102, 7);
    form->HandleMachineEvent(13, 26, 1);
    EXPECT_EQ(Log(), "暫存器 No:0A未設定數值\n"
                     "暫存器 No:010未設定數值\n"
                     "位址欄位設定錯誤(Line:7)\n"
                     "\u3000\u3000Label不存在或數值設定錯誤");
    Action("actEditClearMessage")->trigger();
    EXPECT_EQ(Log(), "");
}

// A program that reports an error at every instruction may run for hours: the
// log keeps its newest lines, as many as it holds.
TEST_F(MessageLogTest, ALogWithoutEndKeepsItsNewestLines)
{
    auto* log = Find<QPlainTextEdit>("mmMessage");
    const int kept = log->maximumBlockCount();
    ASSERT_GT(kept, 1000);
    for (int line = 1; line <= kept + 5; ++line) {
        form->HandleMachineEvent(13, 101, line);
    }
    EXPECT_EQ(log->blockCount(), kept);
    EXPECT_EQ(log->document()->firstBlock().text(), "暫存器欄位設定錯誤(Line:6)");
    EXPECT_EQ(log->document()->lastBlock().text(),
              QString("暫存器欄位設定錯誤(Line:%1)").arg(kept + 5));
}
