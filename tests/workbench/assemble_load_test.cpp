#include "document_test.h"

#include "machine/cpu.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTimer>

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
