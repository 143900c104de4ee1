// Long sessions keep memory use flat: a million micro-steps at the fastest
// run setting, a run that reports an error at every step, and a thousand
// Assemble and Load cycles. The resident and peak
// resident sizes are reported before, half-way and after; the peak may not
// grow in the second half. Under the sanitizers, which keep freed memory
// aside, the figures are reported only, for fewer micro-steps.
#include "window_test.h"

#include "machine/cpu.h"
#include "tests/sanitized.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTimer>

#include <initializer_list>
#include <iostream>

namespace {

constexpr bool sanitized = Sanitized;
constexpr int microSteps = Sanitized ? 200000 : 1000000;
constexpr int cycles = 1000;
constexpr long allowedGrowthKiB = 1024;

// A field of /proc/self/status, in KiB.
long StatusKiB(const char* field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

struct Memory {
    long resident = StatusKiB("VmRSS:");
    long peak = StatusKiB("VmHWM:");
};

void Report(const char* session, const char* when, const Memory& memory)
{
    std::cout << session << ", " << when << ": resident " << memory.resident / 1024.0
              << " MiB, peak " << memory.peak / 1024.0 << " MiB\n";
}

} // namespace

class LongSessionTest : public WindowTest {
protected:
    // The program from address 0, ready to run at the fastest setting.
    void LoadForFastestRun(std::initializer_list<int> program)
    {
        CCpu& machine = form->Machine();
        int address = 0;
        for (const int value : program) {
            machine.SetMemory(address++, value);
        }
        machine.SetStartAddress(0);
        machine.Reset();
        form->SetState(StateLoaded);
        Field("txtInterval")->selectAll();
        TypeInto("txtInterval", "0", false);
        clock.start();
    }

    // Lets the run go on until the count in R3:R1 reaches n (at most ten minutes). The
    // event loop runs with time to spare: qWaitFor would sleep between single
    // events and starve the run.
    bool RunUntil(int n)
    {
        while (Count() < n && clock.elapsed() < 600000) {
            QTest::qWait(20);
        }
        return Count() >= n;
    }

    // Both programs count in R3:R1.
    int Count() { return form->Machine().GetRegister(3) * 256 + form->Machine().GetRegister(1); }

    QElapsedTimer clock;

    void ExpectFlat(const Memory& middle, const Memory& after)
    {
        if (middle.peak < 0) {
            GTEST_SKIP() << "no /proc/self/status";
        }
        if (!sanitized) {
            EXPECT_LE(after.peak - middle.peak, allowedGrowthKiB);
        }
    }
};

// Counts in R3:R1 for ever; each count takes 6 instructions (18 micro-steps),
// a carry into R3 4 instructions.
TEST_F(LongSessionTest, AMillionMicroStepsAtTheFastestSettingKeepMemoryFlat)
{
    LoadForFastestRun({
        0x20, 0x00, 0x22, 0x01,       // 00 LOAD R0,00; LOAD R2,01
        0x51, 0x12, 0xB1, 0x10,       // 04 ADD R1,R1,R2; JUMP R1,@10 (carry)
        0x40, 0x45, 0x40, 0x45, 0x40, // 08 MOVE R4,R5 three times
        0x45, 0xB0, 0x04,             // 0E JUMP R0,@04
        0x53, 0x32, 0xB0, 0x04,       // 10 ADD R3,R3,R2; JUMP R0,@04
    });
    form->Machine().SetRegister(1, 0);
    form->Machine().SetRegister(3, 0);
    const auto stepsAt = [](int n) { return 6 + 18 * (n - n / 256) + 12 * (n / 256); };
    int target = 1;
    while (stepsAt(target) < microSteps) {
        ++target;
    }
    const Memory before;
    Action("actCpuRun")->trigger();
    ASSERT_TRUE(RunUntil(target / 2));
    const Memory middle;
    ASSERT_TRUE(RunUntil(target));
    Action("actCpuRun")->trigger(); // pause
    const double seconds = clock.elapsed() / 1000.0;
    const Memory after;

    EXPECT_FALSE(Find<QTimer>("tmrRunCpu")->isActive());
    std::cout << stepsAt(Count()) << " micro-steps in " << seconds << " s, "
              << stepsAt(Count()) / seconds << " per second\n";
    Report("run", "before", before);
    Report("run", "half-way", middle);
    Report("run", "after", after);
    ExpectFlat(middle, after);
}

// ROTATE of an empty register reports an error and goes on: a line in the
// log at every count of R3:R1, for as long as the program runs.
TEST_F(LongSessionTest, ARunThatReportsAnErrorAtEveryStepKeepsMemoryFlat)
{
    form->Machine().ClearRegisters(-1);
    for (const auto& [number, value] : {std::pair{0, 0}, {1, 0}, {2, 1}, {3, 0}}) {
        form->Machine().SetRegister(number, value);
    }
    LoadForFastestRun({
        0xA5, 0x01, 0x51, 0x12, // 00 ROTATE R5,1; ADD R1,R1,R2
        0xB1, 0x08, 0xB0, 0x00, // 04 JUMP R1,@08 (carry); JUMP R0,@00
        0x53, 0x32, 0xB0, 0x00, // 08 ADD R3,R3,R2; JUMP R0,@00
    });
    const int kept = Find<QPlainTextEdit>("mmMessage")->maximumBlockCount();
    const Memory before;
    Action("actCpuRun")->trigger();
    ASSERT_TRUE(RunUntil(kept + kept / 10)); // the log is full from here on
    const Memory middle;
    ASSERT_TRUE(RunUntil(kept + kept / 2));
    Action("actCpuRun")->trigger();
    const Memory after;

    EXPECT_EQ(Find<QPlainTextEdit>("mmMessage")->blockCount(), kept);
    std::cout << Count() << " error lines in " << clock.elapsed() / 1000.0 << " s\n";
    Report("errors", "before", before);
    Report("errors", "log full", middle);
    Report("errors", "after", after);
    ExpectFlat(middle, after);
}

TEST_F(LongSessionTest, AThousandAssembleAndLoadCyclesKeepMemoryFlat)
{
    const QStringList program[] = {
        {"", "LOAD", "R1,05"},    {"", "LOAD", "R2,COUNT"}, {"LOOP", "ADD", "R3,R1,R2"},
        {"", "STORE", "R3,@SUM"}, {"", "JUMP", "R0,@LOOP"}, {"", "HALT", ""},
        {"COUNT", "DB", "03"},    {"SUM", "DB", ""},
    };
    Find<QTableWidget>("sgrdCode")->setRowCount(int(std::size(program)) + 1);
    for (int row = 0; row < int(std::size(program)); ++row) {
        for (int column = 1; column <= 3; ++column) {
            form->SetCellText(row, column, program[row].value(column - 1));
        }
    }
    form->RenumberRows(0);
    form->SetState(StateModified);

    const auto cycle = [this] {
        Action("actAssemblyRun")->trigger();
        ASSERT_TRUE(Action("actAssemblyLoad")->isEnabled());
        Action("actAssemblyLoad")->trigger();
    };
    const Memory before;
    for (int i = 0; i < cycles / 2; ++i) {
        cycle();
    }
    QTest::qWait(0);
    const Memory middle;
    for (int i = 0; i < cycles / 2; ++i) {
        cycle();
    }
    QTest::qWait(0);
    const Memory after;
    Report("assemble and load", "before", before);
    Report("assemble and load", "half-way", middle);
    Report("assemble and load", "after", after);
    EXPECT_EQ(form->Machine().GetMemory(0), 0x21);
    ExpectFlat(middle, after);
}
