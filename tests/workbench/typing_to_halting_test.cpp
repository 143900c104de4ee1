// The program grid inside the window: an edit that the window's menus commit,
// the clipboard, and the whole road of a program typed into the grid with
// mouse and keyboard, assembled, loaded, run at full speed to its HALT.
#include "editor_test.h"

#include "machine/cpu.h"

#include <QClipboard>
#include <QMenu>
#include <QTimer>

class TypingToHaltingTest : public WindowEditorTest {
protected:
    void EnterLabel(int row, const QString& label)
    {
        ClickCell(row, 1);
        Type(label);
        Press(Qt::Key_Return);
    }

    // Picks the registers box by box, then types into the field that follows.
    void EnterOperand(int row, const QStringList& registers, const QString& typed = {})
    {
        ClickCell(row, 3);
        for (const QString& name : registers) {
            Pick(DroppedBox(), name);
        }
        if (!typed.isEmpty()) {
            Type(typed);
            Press(Qt::Key_Return);
        }
    }
};

TEST_F(TypingToHaltingTest, AProgramTypedIntoTheGridRunsToItsHalt)
{
    const QStringList program[] = {
        {"", "LOAD", "R1,05"},       {"", "LOAD", "R2,03"}, {"", "ADD", "R3,R1,R2"},
        {"", "STORE", "R3,@RESULT"}, {"", "HALT", ""},      {"RESULT", "DB", "00"},
    };
    ChooseMnemonic(0, "LOAD");
    EnterOperand(0, {"R1"}, "05");
    ChooseMnemonic(1, "LOAD");
    EnterOperand(1, {"R2"}, "03");
    ChooseMnemonic(2, "ADD");
    EnterOperand(2, {"R3", "R1", "R2"});
    ChooseMnemonic(3, "STORE");
    EnterOperand(3, {"R3"}, "result");
    ChooseMnemonic(4, "HALT");
    ChooseMnemonic(5, "DB");
    EnterOperand(5, {}, "0");
    ClickCell(5, 3);
    Type("00");
    Press(Qt::Key_Return);
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(Row(row), program[row]) << "row " << row + 1;
    }
    EXPECT_EQ(Grid()->rowCount(), 7);

    // The label is still missing: the error names the line the grid shows.
    Action("actAssemblyRun")->trigger();
    EXPECT_EQ(Log(), "位址欄位設定錯誤(Line:4)\n\u3000\u3000Label不存在或數值設定錯誤");
    EXPECT_FALSE(Action("actAssemblyLoad")->isEnabled());

    EnterLabel(5, "result");
    EXPECT_EQ(Row(5), program[5]);
    Action("actAssemblyRun")->trigger();
    EXPECT_EQ(Log(), "");
    ASSERT_TRUE(Action("actAssemblyLoad")->isEnabled());

    Action("actAssemblyLoad")->trigger();
    CCpu& machine = form->Machine();
    EXPECT_EQ(machine.GetMemory(0), 0x21);
    EXPECT_EQ(machine.GetMemory(6), 0x33);
    EXPECT_EQ(machine.GetMemory(7), 0x0A);
    EXPECT_EQ(Text("txtPC"), "00");

    Field("txtInterval")->selectAll();
    TypeInto("txtInterval", "0", false);
    Action("actCpuRun")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Find<QTimer>("tmrRunCpu")->isActive(); }, 5000));
    EXPECT_EQ(machine.GetRegister(3), 8);
    EXPECT_EQ(machine.GetMemory(0x0A), 8);
    EXPECT_EQ(Text("txtRegister3"), "08");
    EXPECT_EQ(Text("txtMemory10"), "08");
    EXPECT_EQ(Text("txtPC"), "0A");
    EXPECT_TRUE(Action("actCpuReset")->isEnabled());
    EXPECT_FALSE(Action("actCpuRun")->isEnabled());
}

TEST_F(WindowEditorTest, OpeningAMenuCommitsTheLabel)
{
    ClickCell(0, 1);
    Type("abc");
    form->mnuOption->popup(form->mapToGlobal(QPoint(10, 10)));
    EXPECT_TRUE(Field("txtLabel")->isVisible()); // the options commit nothing
    form->mnuOption->close();
    form->mnuFile->popup(form->mapToGlobal(QPoint(10, 10)));
    EXPECT_FALSE(Field("txtLabel")->isVisible());
    EXPECT_EQ(form->CellText(0, 1), "ABC");
    form->mnuFile->close();
}

TEST_F(WindowEditorTest, PastedTextMustBeTypableToo)
{
    ClickCell(0, 1);
    for (const auto& [pasted, shown] : {std::pair{"A.B", ""}, std::pair{"SEVENCH", ""},
                                        std::pair{"loop", ""}, std::pair{"LOOP_1", "LOOP_1"}}) {
        Field("txtLabel")->clear();
        QApplication::clipboard()->setText(QString::fromLatin1(pasted));
        form->actEditPaste->trigger();
        EXPECT_EQ(Field("txtLabel")->text(), QString::fromLatin1(shown)) << pasted;
    }
}

TEST_F(WindowEditorTest, TheUndoKeysUndoAFieldsTypingBeforeTheProgram)
{
    ClickCell(0, 1);
    Type("abc");
    Press(Qt::Key_Return);
    ClickCell(0, 1);
    Type("xy");
    QTest::keyClick(Field("txtLabel"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Field("txtLabel")->text(), "ABC");
    EXPECT_TRUE(Field("txtLabel")->isVisible());
    Press(Qt::Key_Escape);
    EXPECT_EQ(form->CellText(0, 1), "ABC");

    for (const auto& [keys, label] : {std::pair{"Ctrl+Z", ""}, std::pair{"Ctrl+Shift+Z", "ABC"},
                                      std::pair{"Ctrl+Z", ""}, std::pair{"Ctrl+Y", "ABC"}}) {
        QTest::keySequence(Grid(), QKeySequence(QLatin1String(keys)));
        EXPECT_EQ(form->CellText(0, 1), QString::fromLatin1(label)) << keys;
    }
}
