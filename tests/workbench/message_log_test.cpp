#include "window_test.h"

#include <QPlainTextEdit>

class MessageLogTest : public WindowTest {
protected:
    QString Log() const { return Find<QPlainTextEdit>("mmMessage")->toPlainText(); }
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
