#include "document_test.h"
#include "editor_test.h"

#include "machine/cpu.h"
#include "workbench/editor/program_editor.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>

#include <set>
#include <tuple>

using AssembleLoadTest = DocumentTest;

TEST_F(AssembleLoadTest, ErrorsCarryTheGridLineNumbersOfOnlyThisAssembly)
{
    Find<QPlainTextEdit>("mmMessage")->appendPlainText(QStringLiteral("earlier"));
    SetRows({{"", "NOP", ""}, {"", "NOP", ""}, {"", "NOP", ""}, {}, {}, {"", "NOP", ""}});
    Trigger("actAssemblyRun");
    EXPECT_EQ(Log(), "Opcode設定錯誤(Line:1)\nOpcode設定錯誤(Line:2)\n"
                     "Opcode設定錯誤(Line:3)\nOpcode設定錯誤(Line:6)");
    EXPECT_EQ(form->RecordedState(), StateModified);
    EXPECT_FALSE(Action("actAssemblyLoad")->isEnabled());
}

TEST_F(AssembleLoadTest, LoadPutsTheProgramIntoMemoryAndItRunsToHalt)
{
    Find<QPlainTextEdit>("mmMessage")->appendPlainText(QStringLiteral("earlier"));
    SetRows({{"", "LOADA", "R1,@DATA"}, {}, {"", "HALT", ""}, {"DATA", "DB", "07"}});
    SetStart("20");
    Trigger("actAssemblyRun");
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(form->RecordedState(), StateAssembled);

    Trigger("actAssemblyLoad");
    CCpu& cpu = form->Machine();
    const int expected[] = {0x11, 0x24, 0xC0, 0x00, 0x07};
    for (int offset = 0; offset < 5; ++offset) {
        EXPECT_EQ(cpu.GetMemory(0x20 + offset), expected[offset]) << offset;
    }
    EXPECT_EQ(cpu.StartAddress(), 0x20);
    EXPECT_EQ(cpu.Pc(), 0x20);
    EXPECT_EQ(Text("txtStart"), "20");
    EXPECT_EQ(Tag("txtStart"), 0x20);
    EXPECT_EQ(Text("txtPC"), "20");
    EXPECT_EQ(form->RecordedState(), StateLoaded);
    for (const char* name : {"actCpuRun", "actCpuStep", "actCpuMicroStep", "actFileSaveMemory"}) {
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    }
    EXPECT_FALSE(Action("actCpuHalt")->isEnabled());
    EXPECT_FALSE(Action("actCpuReset")->isEnabled());

    Field("txtInterval")->setText("0"); // the fastest run
    Trigger("actCpuRun");
    EXPECT_TRUE(QTest::qWaitFor([this] { return form->RecordedState() == StateHalted; }));
    EXPECT_EQ(Text("txtRegister1"), "07");
}

TEST_F(AssembleLoadTest, AProgramBeginningWithDataStartsAtItsFirstInstruction)
{
    SetRows({{"", "DB", "07"}, {"", "LOAD", "R1,05"}});
    SetStart("10");
    Trigger("actAssemblyRun");
    Trigger("actAssemblyLoad");
    CCpu& cpu = form->Machine();
    EXPECT_EQ(cpu.GetMemory(0x10), 0x07);
    EXPECT_EQ(cpu.GetMemory(0x11), 0x21);
    EXPECT_EQ(cpu.GetMemory(0x12), 0x05);
    EXPECT_EQ(cpu.StartAddress(), 0x11);
    EXPECT_EQ(cpu.Pc(), 0x11);
    EXPECT_EQ(Text("txtStart"), "11");
    EXPECT_EQ(Tag("txtStart"), 0x11);

    // Loading again writes the same cells, although START now shows 11.
    cpu.SetMemory(0x10, 0xEE);
    Trigger("actAssemblyLoad");
    EXPECT_EQ(cpu.GetMemory(0x10), 0x07);
    EXPECT_EQ(cpu.GetMemory(0x11), 0x21);
    EXPECT_EQ(cpu.Pc(), 0x11);

    // A new assembly starts from what START shows.
    Trigger("actAssemblyRun");
    Trigger("actAssemblyLoad");
    EXPECT_EQ(cpu.GetMemory(0x11), 0x07);
    EXPECT_EQ(cpu.GetMemory(0x12), 0x21);
    EXPECT_EQ(cpu.StartAddress(), 0x12);
}

TEST_F(AssembleLoadTest, ADataLineWithoutValueKeepsItsCell)
{
    form->Machine().SetMemory(0x02, 0x99);
    SetRows({{"", "HALT", ""}, {"", "DB", ""}, {"", "DB", "07"}});
    Trigger("actAssemblyRun");
    Trigger("actAssemblyLoad");
    EXPECT_EQ(form->Machine().GetMemory(0x02), 0x99);
    EXPECT_EQ(form->Machine().GetMemory(0x03), 0x07);
}

TEST_F(AssembleLoadTest, AProgramOfDataOnlyReportsTheMissingEntryAndStillLoads)
{
    SetRows({{"", "DB", "01"}, {"", "DB", "02"}});
    Trigger("actAssemblyRun");
    EXPECT_EQ(Log(), "");
    Trigger("actAssemblyLoad");
    EXPECT_EQ(Log(), "設定啟始位址錯誤\n設定Pointer Counter錯誤");
    EXPECT_EQ(form->Machine().GetMemory(0x00), 0x01);
    EXPECT_EQ(form->Machine().GetMemory(0x01), 0x02);
    EXPECT_EQ(form->RecordedState(), StateLoaded);
}

TEST_F(AssembleLoadTest, LoadWhileRunningHaltsTheMachineFirst)
{
    SetRows({{"LOOP", "JUMP", "R0,@LOOP"}});
    Trigger("actAssemblyRun");
    Trigger("actAssemblyLoad");
    Trigger("actCpuRun");
    auto* timer = Find<QTimer>("tmrRunCpu");
    ASSERT_TRUE(timer->isActive());
    Trigger("actAssemblyLoad");
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(Action("actCpuRun")->text(), "執行(&R)");
    EXPECT_EQ(form->RecordedState(), StateLoaded);
    EXPECT_FALSE(Action("actCpuHalt")->isEnabled());
    EXPECT_TRUE(Action("actCpuStep")->isEnabled());
}

// Following the loaded program in the grid: the executing row, log lines that
// lead to rows, breakpoints.
class FollowTest : public DocumentTest, protected GridUser {
protected:
    QWidget* Window() const override { return form.get(); }
    int ExecutingRow() const { return form->findChild<TProgramEditor*>()->Marks().executingRow; }
    std::set<int> Breakpoints() const
    {
        return form->findChild<TProgramEditor*>()->Marks().breakpoints;
    }
    QString Feedback() const { return Find<QLabel>("lblFeedback")->text(); }
    void AssembleAndLoad()
    {
        Trigger("actAssemblyRun");
        Trigger("actAssemblyLoad");
    }
    void RunUntilPaused()
    {
        Field("txtInterval")->setText("0");
        Trigger("actCpuRun");
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Find<QTimer>("tmrRunCpu")->isActive(); }));
    }
    // Double-clicks a line of the log, or puts the caret on it and presses Enter.
    void ChooseLogLine(int line, bool byKey)
    {
        auto* log = Find<QPlainTextEdit>("mmMessage");
        const QTextCursor cursor(log->document()->findBlockByNumber(line));
        if (byKey) {
            log->setFocus();
            log->setTextCursor(cursor);
            QTest::keyClick(log, Qt::Key_Return);
        } else {
            QTest::mouseDClick(log->viewport(), Qt::LeftButton, {},
                               log->cursorRect(cursor).center());
        }
    }
};

TEST_F(FollowTest, AssembleTellsItsLinesAndTheAddressesTheyTake)
{
    const struct {
        std::vector<::Row> rows;
        const char* feedback;
    } cases[] = {
        {{{"", "LOAD", "R1,05"}, {}, {"", "HALT", ""}, {"", "DB", "07"}},
         "組譯完成：共 3 行，位址 20-24"},
        {{{}, {}}, "組譯完成：共 0 行"}, // nothing takes an address
    };
    for (const auto& c : cases) {
        SetRows(c.rows);
        SetStart("20");
        Trigger("actAssemblyRun");
        EXPECT_EQ(Feedback(), QString(c.feedback));
    }
}

TEST_F(FollowTest, TheExecutingRowFollowsASteppedLoop)
{
    SetRows({{"", "LOAD", "R0,02"},
             {"", "LOAD", "R1,01"},
             {"", "LOAD", "R3,00"},
             {},
             {"LOOP", "ADD", "R3,R3,R1"},
             {"", "JUMP", "R3,@DONE"},
             {"", "JUMP", "R0,@LOOP"},
             {"DONE", "HALT", ""}});
    AssembleAndLoad();
    EXPECT_EQ(ExecutingRow(), 0);
    const std::pair<const char*, int> steps[] =
        {
            {"actCpuStep", 1},      {"actCpuStep", 2},      {"actCpuStep", 4},
            {"actCpuStep", 5},      {"actCpuMicroStep", 5}, {"actCpuMicroStep", 5},
            {"actCpuMicroStep", 6}, {"actCpuStep", 4},      {"actCpuStep", 5},
            {"actCpuStep", 7},      {"actCpuStep", 7}, // the HALT halted the machine
        };
    for (const auto& [command, row] : steps) {
        Trigger(command);
        EXPECT_EQ(ExecutingRow(), row) << command << " to row " << row;
    }
    EXPECT_EQ(Feedback(), "執行 HALT 指令而停止，共執行 9 個指令");

    // The mark holds only while the grid and memory hold the loaded program.
    ClickCell(0, 1);
    Type("first");
    Press(Qt::Key_Return);
    EXPECT_EQ(ExecutingRow(), -1);
    AssembleAndLoad();
    EXPECT_EQ(ExecutingRow(), 0);
    AnswerMessageBox(QMessageBox::No);
    Trigger("actCpuClearMemory");
    EXPECT_EQ(ExecutingRow(), -1);
}

TEST_F(FollowTest, ErrorLinesLeadToTheirRows)
{
    SetRows({{"", "LOAD", "R1,05"}, {}, {"", "NOP", ""}});
    Trigger("actAssemblyRun");
    EXPECT_EQ(Grid()->currentRow(), 2); // the first error at once
    ClickCell(0, 1);
    ChooseLogLine(0, false);
    EXPECT_EQ(Grid()->currentRow(), 2);

    // LOADA from a cell without value: the cell's line leads to its DB row,
    // the instruction's to the LOADA row, in either radix.
    SetRows({{"", "LOADA", "R1,@EMPTY"}, {"", "HALT", ""}, {"EMPTY", "DB", ""}});
    for (const bool decimal : {false, true}) {
        if (Action("actFileSaveMemory")->isEnabled()) {
            AnswerMessageBox(QMessageBox::No);
        }
        Trigger("actCpuClearMemory");
        if (decimal) {
            Trigger("actCpuRadix");
        }
        AssembleAndLoad();
        Trigger("actCpuStep");
        ASSERT_EQ(Log().count('\n'), 2) << Log().toStdString();
        for (const auto& [line, row, byKey] : {std::tuple{0, 2, false}, std::tuple{2, 0, false},
                                               std::tuple{0, 2, true}, std::tuple{2, 0, true}}) {
            ClickCell(1, 1);
            ChooseLogLine(line, byKey);
            EXPECT_EQ(Grid()->currentRow(), row) << Log().toStdString();
        }
    }

    // Lines that name no place lead to the row of what reported them: an
    // assembler error's second line, a register error of the instruction
    // under way. The status bar names the row.
    const struct {
        std::vector<::Row> rows;
        const char* command;
        int line;
        int row;
        const char* feedback;
    } unnamed[] = {
        {{{"", "HALT", ""}, {"", "LOADA", "R1,@NOWHERE"}},
         "actAssemblyRun",
         1,
         1,
         "第 2 行：Label不存在或數值設定錯誤"},
        {{{"", "LOAD", "R1,01"}, {"", "ADD", "R3,R1,R2"}, {"", "HALT", ""}},
         "actCpuRun",
         0,
         1,
         "第 2 行：暫存器 No:02未設定數值"},
    };
    Trigger("actCpuRadix");
    Trigger("actCpuClearRegister");
    for (const auto& c : unnamed) {
        SetRows(c.rows);
        Trigger("actAssemblyRun");
        if (QLatin1String(c.command) == "actCpuRun") {
            Trigger("actAssemblyLoad");
            RunUntilPaused();
        }
        ClickCell(0, 1);
        ChooseLogLine(c.line, false);
        EXPECT_EQ(Grid()->currentRow(), c.row) << Log().toStdString();
        EXPECT_EQ(Feedback(), QString(c.feedback));
    }
}

// What the rows cannot show is said in the status bar: a program in memory
// that is not the grid's, a record of steps a typed value ended.
TEST_F(FollowTest, TheStatusBarSaysWhenTheRowsNoLongerFollowTheMachine)
{
    SetRows(
        {{"", "LOAD", "R1,01"}, {"", "LOAD", "R2,02"}, {"", "LOAD", "R3,03"}, {"", "HALT", ""}});
    AssembleAndLoad();
    Trigger("actCpuStep");
    EXPECT_EQ(Feedback(), "");
    Field("txtRegister5")->selectAll();
    TypeInto("txtRegister5", "12");
    EXPECT_FALSE(Action("actCpuStepBack")->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([this] { return Feedback() == "手動修改後無法回到先前的步驟"; }));
    Field("txtRegister6")->selectAll();
    TypeInto("txtRegister6", "13"); // nothing more to lose
    QTest::qWait(20);
    EXPECT_EQ(Feedback(), "");

    SetRows({{"", "NOP", ""}, {"", "HALT", ""}});
    Trigger("actAssemblyRun");
    for (const char* command : {"actCpuStep", "actCpuMicroStep"}) {
        Trigger(command);
        EXPECT_EQ(Feedback(), "記憶體中的程式不是表格中的程式：請先組譯並載入") << command;
        EXPECT_EQ(ExecutingRow(), -1);
    }
}

// Back before the first instruction the view is as Load left it: an earlier
// run's listing is not shown again.
TEST_F(FollowTest, SteppingBackToTheStartShowsTheViewAsLoadLeftIt)
{
    SetRows({{"", "LOAD", "R1,A5"}, {"", "HALT", ""}});
    AssembleAndLoad();
    RunUntilPaused();
    Trigger("actAssemblyLoad");
    const auto decoded = [this] {
        QStringList texts = {Find<QLabel>("lblInstruction")->text()};
        for (const char* name : {"txtInstr", "txtR1", "txtR2", "txtR3"}) {
            texts << Text(name);
        }
        return texts;
    };
    const QStringList loaded = decoded();
    for (const char* command : {"actCpuMicroStep", "actCpuStep"}) {
        Trigger(command);
        Trigger("actCpuStepBack");
        EXPECT_EQ(decoded(), loaded) << command;
    }
}

// The commands added beside the specified ones: their keys, and availability
// in the states loaded, running, paused and halted.
TEST_F(FollowTest, AddedCommandsHaveTheirKeysAndFollowTheCommandsTheyExtend)
{
    const struct {
        const char* action;
        const char* key;
        const char* available; // in states 12, 13, 14, 15
    } commands[] = {
        {"actAssemblyRunLoad", "F7", "1111"},
        {"actAssemblyRun", "Ctrl+F7", "1111"},
        {"actAssemblyLoad", "Shift+F7", "1111"},
        {"actCpuReset", "Ctrl+F5", "0001"},
        {"actCpuRunToCursor", "Ctrl+F10", "1010"},
        {"actCpuClearBreakpoints", "Ctrl+Shift+F9", "0000"},
    };
    form->SetState(StateModified);
    form->SetState(StateAssembled);
    QStringList available(std::size(commands));
    for (const int state : {StateLoaded, StateRunning, StatePaused, StateHalted}) {
        form->SetState(state);
        for (std::size_t i = 0; i < std::size(commands); ++i) {
            available[i] += Action(commands[i].action)->isEnabled() ? u'1' : u'0';
        }
    }
    for (std::size_t i = 0; i < std::size(commands); ++i) {
        EXPECT_EQ(Action(commands[i].action)->shortcut(), QKeySequence(commands[i].key));
        EXPECT_EQ(available[i], commands[i].available) << commands[i].action;
    }
}

TEST_F(FollowTest, RunToCursorClearBreakpointsAndAssembleWithLoadInOneKey)
{
    SetRows({{"", "LOAD", "R1,01"},
             {"", "LOAD", "R2,00"},
             {"LOOP", "ADD", "R2,R2,R1"},
             {"", "JUMP", "R0,@LOOP"},
             {"DATA", "DB", "07"}});
    Trigger("actAssemblyRunLoad");
    EXPECT_EQ(form->RecordedState(), StateLoaded);
    // Each run to the cursor, at the fastest speed whatever the speed field
    // says, passes the row it stands before.
    ClickCell(2, 1);
    Field("txtInterval")->setText("20");
    for (int sum : {0, 1, 2}) {
        Trigger("actCpuRunToCursor");
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Find<QTimer>("tmrRunCpu")->isActive(); }));
        EXPECT_EQ(form->Machine().GetRegister(2), sum);
        EXPECT_EQ(Feedback(), "已執行到第 3 行");
    }
    // Data never runs: no breakpoint there; Clear takes every breakpoint away.
    ClickCell(4, 1);
    EXPECT_FALSE(Action("actCpuToggleBreakpoint")->isEnabled());
    for (const int row : {1, 2}) {
        form->findChild<TProgramEditor*>()->ToggleBreakpoint(row);
    }
    EXPECT_TRUE(Action("actCpuClearBreakpoints")->isEnabled());
    Trigger("actCpuClearBreakpoints");
    EXPECT_TRUE(Breakpoints().empty());
    EXPECT_FALSE(Action("actCpuClearBreakpoints")->isEnabled());
}

TEST_F(FollowTest, ABreakpointInALoopPausesTheFastestRunAndMovesWithItsRow)
{
    SetRows({{"", "LOAD", "R1,01"},
             {"", "LOAD", "R2,00"},
             {"LOOP", "ADD", "R2,R2,R1"},
             {"", "JUMP", "R0,@LOOP"}});
    AssembleAndLoad();
    QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, CellRect(2, 0).center());
    EXPECT_EQ(Breakpoints(), std::set<int>{2});
    CCpu& cpu = form->Machine();
    // Each run stops before the ADD, the first time before it ever ran.
    for (int sum = 0; sum < 2; ++sum) {
        RunUntilPaused();
        EXPECT_EQ(cpu.GetRegister(2), sum);
        EXPECT_EQ(form->RecordedState(), StatePaused);
        EXPECT_EQ(ExecutingRow(), 2);
        EXPECT_EQ(Feedback(), "在第 3 行的中斷點暫停");
    }

    ClickCell(2, 1);
    Trigger("actEditInsertLine");
    EXPECT_EQ(Breakpoints(), std::set<int>{3});
    EXPECT_EQ(ExecutingRow(), 3);
    for (const auto& [command, row] : {std::pair{"actEditUndo", 2}, std::pair{"actEditRedo", 3}}) {
        Trigger(command);
        EXPECT_EQ(Breakpoints(), std::set<int>{row}) << command;
        EXPECT_EQ(ExecutingRow(), row) << command;
    }
    RunUntilPaused();
    EXPECT_EQ(cpu.GetRegister(2), 2);
    EXPECT_EQ(Feedback(), "在第 4 行的中斷點暫停");

    // The breakpoint stays through Assemble and Load; F9 takes it away.
    AssembleAndLoad();
    RunUntilPaused();
    EXPECT_EQ(cpu.GetRegister(2), 0);
    ClickCell(3, 1);
    QTest::keyClick(form.get(), Qt::Key_F9);
    EXPECT_TRUE(Breakpoints().empty());
    Trigger("actCpuRun");
    QTest::qWait(50);
    EXPECT_TRUE(Find<QTimer>("tmrRunCpu")->isActive());
    Trigger("actCpuHalt");
}
