// How fast the window runs a program at its fastest setting, measured against
// what its own event loop can do, and how long input waits meanwhile; what
// breakpoints and the record of micro-steps cost, and how long going back takes.
#include "machine/cpu.h"
#include "machine/step_recorder.h"
#include "workbench/editor/program_editor.h"
#include "workbench/machine_view/machine_view.h"
#include "workbench/widgets/up_down.h"
#include "workbench/window/main_form.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTableWidget>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const QEvent::Type Ping = static_cast<QEvent::Type>(QEvent::User + 100);

double Seconds(Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

// Answers each empty posted event by posting the next one.
class PingPong : public QObject {
public:
    long long count = 0;

protected:
    void customEvent(QEvent* event) override
    {
        if (event->type() == Ping) {
            ++count;
            QCoreApplication::postEvent(this, new QEvent(Ping));
        }
    }
};

void RunEventLoopFor(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

double EmptyEventsPerSecond(double seconds)
{
    PingPong pingPong;
    QCoreApplication::postEvent(&pingPong, new QEvent(Ping));
    const Clock::time_point start = Clock::now();
    RunEventLoopFor(seconds);
    const double elapsed = Seconds(Clock::now() - start);
    QCoreApplication::removePostedEvents(&pingPong);
    return pingPong.count / elapsed;
}

// A key press that remembers when it was posted.
class TimedKeyEvent : public QKeyEvent {
public:
    TimedKeyEvent() : QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier) {}
    Clock::time_point posted = Clock::now();
};

// Records how long each timed key press waited for the window.
class InputDelays : public QObject {
public:
    std::vector<double> milliseconds;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (auto* timed = dynamic_cast<TimedKeyEvent*>(event)) {
            milliseconds.push_back(Seconds(Clock::now() - timed->posted) * 1000);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Counts its loops in R2 (low), R3 and R4 (high); nine micro-steps a loop.
// The last three rows are never reached: the breakpoints go there.
const char* const CountingProgram[][3] = {
    {"", "LOAD", "R0,00"},       // 00
    {"", "LOAD", "R1,01"},       // 02
    {"LOOP", "ADD", "R2,R2,R1"}, // 04
    {"", "JUMP", "R2,@MID"},     // 06
    {"", "JUMP", "R0,@LOOP"},    // 08
    {"MID", "ADD", "R3,R3,R1"},  // 0A
    {"", "JUMP", "R3,@HIGH"},    // 0C
    {"", "JUMP", "R0,@LOOP"},    // 0E
    {"HIGH", "ADD", "R4,R4,R1"}, // 10
    {"", "JUMP", "R0,@LOOP"},    // 12
    {"", "HALT", ""},            // 14
    {"", "HALT", ""},            // 16
    {"", "HALT", ""},            // 18
};
constexpr int UnreachedRow = 10;

// Types nothing: the rows go into the grid as committed edits leave them.
void LoadCountingProgram(TMainForm& form, int breakpoints)
{
    auto* grid = form.findChild<QTableWidget*>("sgrdCode");
    const int rows = static_cast<int>(std::size(CountingProgram));
    grid->setRowCount(rows + 1);
    for (int row = 0; row < rows; ++row) {
        for (int column = 1; column <= 3; ++column) {
            form.SetCellText(row, column, QString::fromLatin1(CountingProgram[row][column - 1]));
        }
    }
    form.RenumberRows(0);
    form.actAssemblyRunExecute();
    form.actAssemblyLoadExecute();
    for (int n : {2, 3, 4}) {
        form.Machine().SetRegister(n, 0);
    }
    for (int row = UnreachedRow; row < UnreachedRow + breakpoints; ++row) {
        form.findChild<TProgramEditor*>()->ToggleBreakpoint(row);
    }
}

long long CountedLoops(CCpu& cpu)
{
    return cpu.GetRegister(4) * 65536LL + cpu.GetRegister(3) * 256LL + cpu.GetRegister(2);
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * (values.size() - 1));
    return values[index];
}

// The counting program's code, for a machine without a window.
void LoadCountingCode(CCpu& cpu)
{
    const int code[] = {0x20, 0x00, 0x21, 0x01, 0x52, 0x21, 0xB2, 0x0A, 0xB0, 0x04,
                        0x53, 0x31, 0xB3, 0x10, 0xB0, 0x04, 0x54, 0x41, 0xB0, 0x04};
    for (int address = 0; const int byte : code) {
        cpu.SetMemory(address++, byte);
    }
    cpu.Reset();
}

CStepRecorder* observer = nullptr;

void HandOn(int code, int value, int index)
{
    if (observer) {
        observer->Observe(code, value, index);
    }
}

// The time a micro-step of the counting program takes on a machine alone,
// with and without the record, in nanoseconds.
std::pair<double, double> MicroStepNanoseconds()
{
    CCpu cpu(&HandOn);
    CStepRecorder recorder(cpu);
    LoadCountingCode(cpu);
    const int count = 2000000;
    const auto time = [&](auto step) {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < count; ++i) {
            step();
        }
        return Seconds(Clock::now() - start) * 1e9 / count;
    };
    const double bare = time([&cpu] { cpu.MicroStep(); });
    observer = &recorder;
    const double recorded = time([&recorder] { recorder.MicroStep(); });
    observer = nullptr;
    return {bare, recorded};
}

void FastestRun(benchmark::State& state)
{
    const double seconds = state.range(0) / 1000.0;
    const int breakpoints = static_cast<int>(state.range(1));
    for (auto _ : state) {
        TMainForm form;
        form.show();
        RunEventLoopFor(0.2); // let the window settle before measuring
        const double emptyEvents = EmptyEventsPerSecond(seconds);

        LoadCountingProgram(form, breakpoints);
        form.findChild<TUpDown*>("udInterval")->SetPosition(0);
        InputDelays delays;
        form.installEventFilter(&delays);
        delete new TimedKeyEvent; // the keyboard device is made here, not in the poster's thread
        std::atomic<bool> posting{true};
        std::thread user([&form, &posting] {
            std::mt19937 random(1);
            std::uniform_int_distribution<int> pause(1, 10);
            while (posting) {
                std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
                QCoreApplication::postEvent(&form, new TimedKeyEvent);
            }
        });
        form.actCpuRun->trigger();
        const Clock::time_point start = Clock::now();
        RunEventLoopFor(seconds);
        const double elapsed = Seconds(Clock::now() - start);
        form.actCpuRun->trigger(); // pause
        posting = false;
        user.join();
        QCoreApplication::sendPostedEvents(&form);
        const double microSteps = 9.0 * CountedLoops(form.Machine()) / elapsed;

        const double worst =
            delays.milliseconds.empty()
                ? 0
                : *std::max_element(delays.milliseconds.begin(), delays.milliseconds.end());
        const double p99 = Percentile(delays.milliseconds, 0.99);
        state.counters["E_events_per_s"] = emptyEvents;
        state.counters["G_microsteps_per_s"] = microSteps;
        state.counters["G_over_E"] = microSteps / emptyEvents;
        state.counters["worst_input_ms"] = worst;
        state.counters["p99_input_ms"] = p99;
        std::printf("%d breakpoints: E %.0f empty events/s, G %.0f micro-steps/s, G/E %.3f, "
                    "input delay worst %.2f ms, 99th percentile %.2f ms (%zu inputs)\n",
                    breakpoints, emptyEvents, microSteps, microSteps / emptyEvents, worst, p99,
                    delays.milliseconds.size());
        const auto [bare, recorded] = MicroStepNanoseconds();
        const double share = (recorded - bare) * 1e-9 * microSteps;
        state.counters["record_share_of_G"] = share;
        std::printf("a micro-step alone %.1f ns, recorded %.1f ns: the record takes %.2f %% of "
                    "G; a full record of %d micro-steps holds %.2f MiB\n",
                    bare, recorded, share * 100, CStepRecorder::Capacity,
                    CStepRecorder::FullSize() / 1048576.0);
    }
}

TMachineView* shownView = nullptr;

void ShowEvent(int code, int value, int index)
{
    shownView->HandleMachineEvent(code, value, index);
    HandOn(code, value, index);
}

// Going back over `range(0)` micro-steps of the counting program, shown in the
// machine view as the window shows it.
void StepBack(benchmark::State& state)
{
    QWidget window;
    shownView = new TMachineView(&window);
    window.show();
    CCpu cpu(&ShowEvent);
    shownView->SetMachine(&cpu);
    CStepRecorder recorder(cpu);
    observer = &recorder;
    LoadCountingCode(cpu);
    const int back = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        shownView->HoldSync();
        while (recorder.Size() < back) {
            recorder.MicroStep();
        }
        shownView->ReleaseSync(true);
        state.ResumeTiming();
        recorder.MicroStepsBack(back);
        shownView->ReleaseSync(true);
    }
    observer = nullptr;
    shownView = nullptr;
}

} // namespace

// The first argument is how long each measurement runs, in milliseconds (the
// short one is what the test run uses to see that the benchmark still works);
// the second how many breakpoints the program has where the run never goes.
BENCHMARK(FastestRun)
    ->Args({200, 0})
    ->Args({2000, 0})
    ->Args({2000, 3})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(StepBack)->Arg(1)->Arg(1000)->Unit(benchmark::kMicrosecond);

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
