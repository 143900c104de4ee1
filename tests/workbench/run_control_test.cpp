#include "window_test.h"

#include "machine/cpu.h"
#include "tests/text_file.h"
#include "workbench/machine_view/machine_view.h"
#include "workbench/run/run_control.h"
#include "workbench/widgets/up_down.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

#include <initializer_list>

namespace {

constexpr int Halted = static_cast<int>(CycleState::Halted);

bool ShowsIcon(const QAction* action, int index)
{
    const QIcon expected(QStringLiteral(":/icons/%1.png").arg(index));
    return action->icon().pixmap(16).toImage() == expected.pixmap(16).toImage();
}

} // namespace

class RunControlTest : public WindowTest {
protected:
    CCpu& Machine() { return form->Machine(); }
    QTimer* Timer() { return Find<QTimer>("tmrRunCpu"); }

    // Puts bytes into memory from address 0 and makes the program ready to run.
    void LoadProgram(std::initializer_list<int> bytes)
    {
        int address = 0;
        for (int byte : bytes) {
            Machine().SetMemory(address++, byte);
        }
        form->SetState(StateLoaded);
    }

    // LOAD R1,01; ADD R2,R2,R1; JUMP R0,@02: runs for ever.
    void LoadEndlessLoop() { LoadProgram({0x21, 0x01, 0x52, 0x21, 0xB0, 0x02}); }

    void SetSpeed(int position)
    {
        Field("txtInterval")->selectAll();
        TypeInto("txtInterval", QString::number(position), false);
        ASSERT_EQ(Find<TUpDown>("udInterval")->Position(), position);
    }

    bool WaitUntilHalted()
    {
        return QTest::qWaitFor([this] { return !Timer()->isActive(); }, 5000);
    }

    QString Availability() const
    {
        QString bits;
        for (const char* name :
             {"actCpuRun", "actCpuStep", "actCpuMicroStep", "actCpuHalt", "actCpuReset"}) {
            bits += Action(name)->isEnabled() ? u'1' : u'0';
        }
        return bits;
    }
};

TEST_F(RunControlTest, AHaltInstructionEndsTheRunAtEverySpeed)
{
    for (int position : {0, 1}) {
        LoadProgram({0x21, 0x05, 0xC0, 0x00}); // LOAD R1,05; HALT
        Machine().SetRegister(1, 0);
        Machine().Reset();
        SetSpeed(position);
        Action("actCpuRun")->trigger();
        EXPECT_EQ(Timer()->interval(), position * 33 + 1);
        EXPECT_EQ(Action("actCpuRun")->text(), "暫停(&P)");
        EXPECT_EQ(Action("actCpuRun")->toolTip(), "暫停");
        EXPECT_TRUE(ShowsIcon(Action("actCpuRun"), 11));
        EXPECT_EQ(Availability(), "10010");
        ASSERT_TRUE(WaitUntilHalted()) << "position " << position;
        EXPECT_EQ(Machine().GetRegister(1), 5);
        EXPECT_EQ(Machine().State(), Halted);
        EXPECT_EQ(Availability(), "00001");
        EXPECT_EQ(Action("actCpuRun")->text(), "執行(&R)");
        EXPECT_TRUE(ShowsIcon(Action("actCpuRun"), 10));
        EXPECT_EQ(Text("txtRegister1"), "05");
        form->SetState(StateReset);
    }
}

TEST_F(RunControlTest, PauseStopsTheFastestRunAtOnceAndRunResumesIt)
{
    LoadEndlessLoop();
    Machine().Reset();
    SetSpeed(0);
    Action("actCpuRun")->trigger();
    QTest::qWait(50);
    Action("actCpuRun")->trigger();
    EXPECT_FALSE(Timer()->isActive());
    EXPECT_EQ(form->RecordedState(), StatePaused);
    EXPECT_EQ(Action("actCpuRun")->text(), "執行(&R)");
    EXPECT_EQ(Availability(), "11110");
    const int sum = Machine().GetRegister(2);
    const int state = Machine().State();
    QTest::qWait(30);
    EXPECT_EQ(Machine().GetRegister(2), sum); // no run message is left running
    EXPECT_EQ(Machine().State(), state);
    EXPECT_EQ(Text("txtRegister2"), form->FormatNumber(sum)); // the view caught up

    // Run, Pause and Run again in quick succession leave one running chain.
    Action("actCpuRun")->trigger();
    Action("actCpuRun")->trigger();
    Action("actCpuRun")->trigger();
    QTest::qWait(30);
    Action("actCpuHalt")->trigger();
    EXPECT_FALSE(Timer()->isActive());
    EXPECT_EQ(Availability(), "00001");
    EXPECT_NE(Machine().GetRegister(2), sum);
}

TEST_F(RunControlTest, PausingKeepsThePlaceWithinAnInstruction)
{
    LoadProgram({0x21, 0x07, 0xC0, 0x00});
    Machine().Reset();
    Action("actCpuMicroStep")->trigger(); // fetch
    Action("actCpuMicroStep")->trigger(); // decode
    EXPECT_EQ(form->RecordedState(), StatePaused);
    SetSpeed(20);
    Action("actCpuRun")->trigger();
    Action("actCpuRun")->trigger();
    EXPECT_EQ(Machine().State(), static_cast<int>(CycleState::AwaitExecute));
    Action("actCpuMicroStep")->trigger(); // execute
    EXPECT_EQ(Machine().GetRegister(1), 7);
    Action("actCpuStep")->trigger();
    EXPECT_EQ(Machine().State(), Halted);
    EXPECT_EQ(Availability(), "00001");
}

TEST_F(RunControlTest, ResetReturnsToTheStartAndEmptiesTheLog)
{
    LoadProgram({0xD0, 0x00}); // an undefined opcode
    Machine().SetStartAddress(0);
    Action("actCpuStep")->trigger();
    EXPECT_EQ(Log(), "Decode錯誤，指令未定義(Pc:00)");
    EXPECT_EQ(Availability(), "00001");
    Action("actCpuReset")->trigger();
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(Machine().Pc(), 0);
    EXPECT_EQ(Text("txtIRH"), "00");
    EXPECT_EQ(Availability(), "11100");
}

TEST_F(RunControlTest, ClearRegistersEmptiesEveryRegisterWithoutAsking)
{
    Action("actCpuClearRegister")->trigger();
    for (int n = 0; n < 16; ++n) {
        EXPECT_EQ(Text(QStringLiteral("txtRegister%1").arg(n)), "");
        EXPECT_EQ(Machine().GetRegister(n), -1);
    }
    EXPECT_EQ(form->RecordedState(), StateRegistersCleared);
}

TEST_F(RunControlTest, ClearMemoryAsksAboutUnsavedMemory)
{
    QTemporaryDir folder;
    Machine().SetMemory(0x50, 1);
    ASSERT_TRUE(Action("actFileSaveMemory")->isEnabled());

    AnswerMessageBox(QMessageBox::Cancel);
    Action("actCpuClearMemory")->trigger();
    EXPECT_EQ(Machine().GetMemory(0x50), 1);

    AnswerMessageBox(QMessageBox::Yes); // then the save dialog is cancelled: nothing is lost
    AnswerFileDialog(QString());
    Action("actCpuClearMemory")->trigger();
    EXPECT_EQ(Machine().GetMemory(0x50), 1);

    AnswerMessageBox(QMessageBox::Yes);
    AnswerFileDialog(folder.filePath("kept"));
    Action("actCpuClearMemory")->trigger();
    EXPECT_TRUE(ReadText(folder.filePath("kept.mm").toStdString()).find("80 1\n") !=
                std::string::npos);
    EXPECT_EQ(Machine().GetMemory(0x50), -1);
    EXPECT_EQ(form->windowTitle(), "MIRA - ");
    EXPECT_EQ(Text("txtMemory0"), "");
    EXPECT_FALSE(Action("actFileSaveMemory")->isEnabled());

    Machine().SetMemory(0x50, 2);
    AnswerMessageBox(QMessageBox::No);
    Action("actCpuClearMemory")->trigger();
    EXPECT_EQ(Machine().GetMemory(0x50), -1);
    EXPECT_EQ(Availability(), "00000");
}

TEST_F(RunControlTest, SaveMemoryWritesTheImageAndNamesItInTheTitle)
{
    QTemporaryDir folder;
    Machine().ClearMemory(-1);
    Machine().SetMemory(2, 3);
    Machine().SetMemory(0, 1);
    AnswerFileDialog(folder.filePath("image"));
    Action("actFileSaveMemory")->trigger();
    const QString saved = folder.filePath("image.mm");
    EXPECT_EQ(ReadText(saved.toStdString()), "0 1\n2 3\n");
    EXPECT_EQ(form->windowTitle(), "MIRA -  (" + saved + ")");
    EXPECT_FALSE(Action("actFileSaveMemory")->isEnabled());
    EXPECT_EQ(Find<QFileDialog>("SaveDialog")->windowTitle(), "Save Memory File");
    EXPECT_EQ(Find<QFileDialog>("SaveDialog")->nameFilters(),
              QStringList({"Memory files(*.mm)", "All Files (*.*)"}));

    // A name that ends in ".mm" keeps it; the file it replaces becomes the backup.
    Machine().SetMemory(1, 2);
    AnswerFileDialog(saved, true);
    Action("actFileSaveMemory")->trigger();
    EXPECT_EQ(ReadText(saved.toStdString()), "0 1\n1 2\n2 3\n");
    EXPECT_EQ(ReadText(folder.filePath("image.bak").toStdString()), "0 1\n2 3\n");
    EXPECT_FALSE(QFile::exists(saved + ".mm"));

    // With a backup already there, the file is overwritten and the backup stays.
    Machine().SetMemory(1, 9);
    AnswerFileDialog(saved, true);
    Action("actFileSaveMemory")->trigger();
    EXPECT_EQ(ReadText(saved.toStdString()), "0 1\n1 9\n2 3\n");
    EXPECT_EQ(ReadText(folder.filePath("image.bak").toStdString()), "0 1\n2 3\n");

    // Saving twice in a row under another name still names the new file.
    form->SetState(StateMemoryChanged);
    AnswerFileDialog(folder.filePath("other.mm"));
    Action("actFileSaveMemory")->trigger();
    EXPECT_EQ(form->windowTitle(), "MIRA -  (" + folder.filePath("other.mm") + ")");
}

TEST_F(RunControlTest, AFailedSaveRecordsNothing)
{
    QTemporaryDir folder;
    WriteText(folder.filePath("plain").toStdString(), "not a folder");
    const QString impossible = folder.filePath("plain/image.mm");
    Machine().SetMemory(0, 1);
    AnswerFileDialog(impossible);
    Action("actFileSaveMemory")->trigger();
    EXPECT_EQ(Log(), "無法建立檔案：" + impossible);
    EXPECT_TRUE(Action("actFileSaveMemory")->isEnabled());
    EXPECT_EQ(form->windowTitle(), "MIRA - ");
}

TEST_F(RunControlTest, LoadMemoryChangesOnlyTheCellsOfTheFile)
{
    QTemporaryDir folder;
    const QString image = folder.filePath("part.mm");
    WriteText(image.toStdString(), "5 7\n200 9\n");
    Find<QTabBar>("tabMM")->setCurrentIndex(3);
    const int before = Machine().GetMemory(6);
    form->SetState(StateMemorySaved); // nothing unsaved: no question
    AnswerFileDialog(image);
    Action("actFileLoadMemory")->trigger();
    EXPECT_EQ(Machine().GetMemory(5), 7);
    EXPECT_EQ(Machine().GetMemory(200), 9);
    EXPECT_EQ(Machine().GetMemory(6), before);
    EXPECT_EQ(Find<QTabBar>("tabMM")->currentIndex(), 3); // the page does not jump
    EXPECT_EQ(form->windowTitle(), "MIRA -  (" + image + ")");
    EXPECT_EQ(Find<QFileDialog>("OpenDialog")->windowTitle(), "Load Memory File");
    EXPECT_FALSE(Action("actFileSaveMemory")->isEnabled());
}

TEST_F(RunControlTest, LoadMemoryAsksAboutUnsavedMemoryFirst)
{
    QTemporaryDir folder;
    const QString image = folder.filePath("one.mm");
    WriteText(image.toStdString(), "1 1\n");
    Machine().SetMemory(1, 0);

    AnswerMessageBox(QMessageBox::Cancel);
    Action("actFileLoadMemory")->trigger();
    EXPECT_EQ(Machine().GetMemory(1), 0);

    AnswerMessageBox(QMessageBox::No);
    AnswerFileDialog(image);
    Action("actFileLoadMemory")->trigger();
    EXPECT_EQ(Machine().GetMemory(1), 1);
}

TEST_F(RunControlTest, ALoadThatFailsKeepsTheCellsReadAndReportsTheFile)
{
    QTemporaryDir folder;
    const QString image = folder.filePath("bad.mm");
    WriteText(image.toStdString(), "4 44\n300 1\n");
    form->SetState(StateMemorySaved);
    const QString title = form->windowTitle();
    AnswerFileDialog(image);
    Action("actFileLoadMemory")->trigger();
    EXPECT_EQ(Machine().GetMemory(4), 44);
    EXPECT_EQ(Log(), "從檔案" + image + "載入記憶體 No:300錯誤");
    EXPECT_EQ(form->windowTitle(), title);
}

TEST_F(RunControlTest, TheIntervalFieldTakesTwoDigitsAndShowsWhatTheRunUses)
{
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {
        {"1a23", "12"}, // a letter and a third digit are refused
        {"25", "20"},   // above the slowest speed: the slowest
        {"0", "0"},
    };
    QLineEdit* interval = Field("txtInterval");
    for (const auto& c : cases) {
        interval->selectAll();
        TypeInto("txtInterval", c.typed, false);
        EXPECT_EQ(interval->text(), c.shown) << c.typed;
        EXPECT_EQ(Find<TUpDown>("udInterval")->Position(), QString(c.shown).toInt()) << c.typed;
    }
    Find<TUpDown>("udInterval")->stepBy(-1); // wraps from 0 to 20
    EXPECT_EQ(interval->text(), "20");
    Find<TUpDown>("udInterval")->stepBy(1);
    EXPECT_EQ(interval->text(), "0");
    EXPECT_EQ(interval->toolTip(), "速度");
    EXPECT_EQ(interval->statusTip(), "0 最快，20 最慢（每個微指令 1 + 33 × 數值 毫秒）");
}

TEST_F(RunControlTest, ASpeedChangedWhileRunningTakesEffectAtTheNextTick)
{
    LoadEndlessLoop();
    Machine().Reset();
    SetSpeed(20);
    Action("actCpuRun")->trigger();
    for (const int position : {0, 3, 0, 20}) {
        SetSpeed(position);
        EXPECT_TRUE(Timer()->isActive());
        EXPECT_EQ(Timer()->interval(), position * 33 + 1);
    }
    // From the fastest speed to a slow one, the chain of run messages ends
    // with the message already posted.
    QCoreApplication::processEvents();
    const int pc = Machine().Pc();
    const int state = Machine().State();
    for (int turn = 0; turn < 3; ++turn) {
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(Machine().Pc(), pc);
    EXPECT_EQ(Machine().State(), state);
    Action("actCpuHalt")->trigger();
}

// Back through every micro-step of a program that writes a register, a cell
// on another page and PC, and halts: each step back leaves machine and view as
// they were before that micro-step, the restored fields shown plainly.
TEST_F(RunControlTest, SteppingBackRestoresEveryFieldAlsoOutOfAHalt)
{
    // LOAD R1,07; STORE R1,@40; JUMP R0,@08; (06: HALT); 08: ROTATE R1,4; HALT
    LoadProgram({0x21, 0x07, 0x31, 0x40, 0xB0, 0x08, 0xC0, 0x00, 0xA1, 0x04, 0xC0, 0x00});
    Machine().SetRegister(0, 0);
    Machine().SetRegister(1, 0x33);
    Machine().SetMemory(0x40, 0x99);
    Machine().Reset();
    const auto view = [this] {
        QStringList texts;
        for (const char* name :
             {"txtPC", "txtIRH", "txtIRL", "txtInstr", "txtR1", "txtR2", "txtR3"}) {
            texts << Text(name);
        }
        texts << Find<QLabel>("lblInstruction")->text();
        for (const char* lamp : {"sbtnFetch", "sbtnDecode", "sbtnExecute"}) {
            texts << (Find(lamp)->isEnabled() ? "lit" : "dark");
        }
        for (int n = 0; n < 16; ++n) {
            texts << Text(QStringLiteral("txtRegister%1").arg(n));
        }
        for (int row = 0; row < 8; ++row) {
            texts << Text(QStringLiteral("txtPcWindow%1").arg(row));
        }
        return texts;
    };
    std::vector<std::pair<CpuState, QStringList>> before;
    EXPECT_FALSE(Action("actCpuMicroStepBack")->isEnabled());
    while (Machine().State() != Halted) {
        before.emplace_back(Machine().GetState(), view());
        Action("actCpuMicroStep")->trigger();
    }
    ASSERT_EQ(before.size(), 15u);
    EXPECT_EQ(Availability(), "00001");

    // Each step back undoes one micro-step: the restored value not highlighted.
    const std::vector<std::pair<std::size_t, const char*>> restored = {
        {11, "txtRegister1"}, {8, "txtPC"}, {5, "txtMemory0"}, {2, "txtRegister1"}, {0, "txtPC"}};
    for (std::size_t step = before.size(); step-- > 0;) {
        ASSERT_TRUE(Action("actCpuMicroStepBack")->isEnabled()) << step;
        Action("actCpuMicroStepBack")->trigger();
        EXPECT_EQ(Machine().GetState(), before[step].first) << step;
        EXPECT_EQ(view(), before[step].second) << step;
        const int page = Find<QTabBar>("tabMM")->currentIndex(); // the page of the last write
        for (int offset = 0; offset < 32; ++offset) {
            EXPECT_EQ(Text(QStringLiteral("txtMemory%1").arg(offset)),
                      form->FormatNumber(Machine().GetMemory(32 * page + offset)));
        }
        for (const auto& [at, field] : restored) {
            if (at == step) {
                EXPECT_EQ(TextColour(field), TextColour("txtRegister9")) << field;
            }
        }
        if (step == before.size() - 1) {
            EXPECT_EQ(Availability(), "11110"); // out of the halt, paused
        }
    }
    EXPECT_FALSE(Action("actCpuMicroStepBack")->isEnabled());

    // Step back from the halt returns to before the HALT's fetch; not while running.
    SetSpeed(0);
    Action("actCpuRun")->trigger();
    EXPECT_FALSE(Action("actCpuStepBack")->isEnabled());
    ASSERT_TRUE(WaitUntilHalted());
    Action("actCpuStepBack")->trigger();
    EXPECT_EQ(Machine().GetState(), before[12].first);
}

// Typing into memory after a halt makes Run available, but the halted machine
// ignores micro-steps: running it ends at once.
TEST_F(RunControlTest, ARunStepOrMicroStepOfAHaltedMachineEndsAtOnce)
{
    for (const char* command : {"actCpuRun", "actCpuStep", "actCpuMicroStep"}) {
        LoadProgram({0xC0, 0x00});
        Machine().Reset();
        Action("actCpuStep")->trigger();
        ASSERT_EQ(Machine().State(), Halted);
        Field("txtMemory5")->selectAll();
        TypeInto("txtMemory5", form->FormatNumber((Machine().GetMemory(5) + 1) % 256));
        ASSERT_TRUE(Action(command)->isEnabled()) << command;
        Action(command)->trigger();
        EXPECT_FALSE(Timer()->isActive()) << command;
        EXPECT_EQ(form->RecordedState(), StateHalted) << command;
        EXPECT_EQ(Availability(), "00001") << command;
        EXPECT_EQ(Action("actCpuRun")->text(), "執行(&R)");
        form->SetState(StateReset);
    }
}

namespace {

const QEvent::Type RunMessage = static_cast<QEvent::Type>(1025);

// A bare window that hands its run message to run control, as the main
// window does.
class RunHost : public QWidget {
public:
    TRunControl* runControl = nullptr;

protected:
    void customEvent(QEvent* event) override { runControl->RunMessageArrived(event); }
};

TMachineView* shownView = nullptr;
TRunControl* shownRunControl = nullptr;

// The view shows each event and run control records it, as in the window.
void ShowEvent(int code, int value, int index)
{
    shownView->HandleMachineEvent(code, value, index);
    if (shownRunControl) {
        shownRunControl->HandleMachineEvent(code, value, index);
    }
}

} // namespace

// Run control with a machine and its view, and no other part of the window.
class BareRunControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shownView = view = new TMachineView(&window);
        machine = std::make_unique<CCpu>(&ShowEvent);
        view->SetMachine(machine.get());
        shownRunControl = window.runControl = runControl =
            new TRunControl(*machine, *view, &window);
        // The halted state ends the run, as the window's does.
        QObject::connect(runControl, &TRunControl::stateRequested, [this](int state) {
            states.push_back(state);
            if (state == StateHalted) {
                runControl->Stop();
            }
        });
    }
    void TearDown() override
    {
        shownView = nullptr;
        shownRunControl = nullptr;
    }

    // LOAD R1,07; HALT, ready to run from 0.
    void LoadProgram()
    {
        for (int address = 0; const int byte : {0x21, 0x07, 0xC0, 0x00}) {
            machine->SetMemory(address++, byte);
        }
        machine->Reset();
        states.clear();
    }
    void SetSpeed(int position)
    {
        auto* field = window.findChild<QLineEdit*>("txtInterval");
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QString::number(position));
    }

    RunHost window;
    TMachineView* view = nullptr;
    std::unique_ptr<CCpu> machine;
    TRunControl* runControl = nullptr;
    std::vector<int> states;
};

TEST_F(BareRunControlTest, AHaltEndsTheRunAtEverySpeed)
{
    for (const int position : {0, 1}) {
        LoadProgram();
        SetSpeed(position);
        runControl->RunOrPause();
        EXPECT_EQ(window.findChild<QTimer*>("tmrRunCpu")->interval(), position * 33 + 1);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !runControl->IsRunning(); }, 5000));
        EXPECT_EQ(machine->GetRegister(1), 7) << "position " << position;
        EXPECT_EQ(states, (std::vector<int>{StateRunning, StateHalted}));
        EXPECT_EQ(window.findChild<QLineEdit*>("txtRegister1")->text(), "07");
    }
}

TEST_F(BareRunControlTest, TheRunMessageIsOneTick)
{
    LoadProgram();
    QCoreApplication::postEvent(&window, new QEvent(RunMessage));
    QCoreApplication::sendPostedEvents(&window);
    EXPECT_EQ(machine->State(), static_cast<int>(CycleState::AwaitDecode));

    // While the fastest run goes on, a message from elsewhere adds a tick but
    // never a second chain: pausing still stops the machine at once.
    SetSpeed(0);
    runControl->RunOrPause();
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::postEvent(&window, new QEvent(RunMessage));
    }
    QTest::qWait(20);
    ASSERT_FALSE(runControl->IsRunning()); // the program halted
    EXPECT_EQ(machine->GetRegister(1), 7);
}

TEST_F(RunControlTest, ArrowKeysInTheSpeedFieldStepItAsItsArrowsDo)
{
    QLineEdit* speed = Field("txtInterval");
    speed->setFocus();
    for (const auto& [key, shown] : {std::pair{Qt::Key_Up, "11"}, std::pair{Qt::Key_Down, "10"},
                                     std::pair{Qt::Key_Down, "9"}}) {
        QTest::keyClick(speed, key);
        EXPECT_EQ(speed->text(), shown);
    }
    SetSpeed(20);
    QTest::keyClick(speed, Qt::Key_Up);
    EXPECT_EQ(speed->text(), "0"); // the arrows wrap
}
