#include "workbench/run/run_control.h"

#include "machine/cpu.h"
#include "workbench/machine_view/machine_view.h"
#include "workbench/rules/key_filters.h"
#include "workbench/widgets/event_hooks.h"
#include "workbench/widgets/up_down.h"
#include "workbench/widgets/widget_support.h"
#include "workbench/window/window_states.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTimer>
#include <QToolBar>

namespace {

// The window's private run message, number 1025: one more micro-step of the
// fastest run.
const QEvent::Type RunMessage = static_cast<QEvent::Type>(1025);

constexpr int FastestInterval = 1;

} // namespace

TRunControl::TRunControl(CCpu& machine, TMachineView& view, QWidget* window)
    : QObject(window), machine_(machine), view_(view), window_(window),
      hooks_(new EventHooks(this)), tmrRunCpu(new QTimer(this)),
      txtInterval(new QLineEdit(QStringLiteral("10"), window)),
      udInterval(new TUpDown(0, 20, 10, window)), recorder_(machine)
{
    tmrRunCpu->setObjectName(QStringLiteral("tmrRunCpu"));
    connect(tmrRunCpu, &QTimer::timeout, this, &TRunControl::tmrRunCpuTimer);

    txtInterval->setObjectName(QStringLiteral("txtInterval"));
    txtInterval->setFocusPolicy(Qt::ClickFocus);
    txtInterval->setAlignment(Qt::AlignRight);
    udInterval->setObjectName(QStringLiteral("udInterval"));
    LayOut();
    for (QWidget* speed : {static_cast<QWidget*>(txtInterval), static_cast<QWidget*>(udInterval)}) {
        speed->setToolTip(QStringLiteral("速度"));
        speed->setStatusTip(QStringLiteral("0 最快，20 最慢（每個微指令 1 + 33 × 數值 毫秒）"));
    }
    connect(udInterval, &TUpDown::clicked, this,
            [this](int position) { txtInterval->setText(QString::number(position)); });
    connect(txtInterval, &QLineEdit::textChanged, this, [this](const QString& text) {
        bool number = false;
        const int position = text.toInt(&number);
        // Shown as the run uses it: the slowest speed for any larger number.
        if (number && position > udInterval->maximum()) {
            txtInterval->setText(QString::number(udInterval->maximum()));
            return;
        }
        if (number && position >= udInterval->minimum()) {
            udInterval->SetPosition(position);
            ApplyInterval();
        }
    });
    hooks_->On(txtInterval, QEvent::KeyPress, [this](QEvent* event) {
        return txtIntervalKeyPress(static_cast<QKeyEvent*>(event));
    });
}

void TRunControl::LayOut()
{
    txtInterval->setFixedWidth(LineEditWidthFor(txtInterval, QStringLiteral("20")));
    udInterval->setFixedHeight(txtInterval->sizeHint().height());
}

void TRunControl::AddIntervalField(QToolBar* toolBar)
{
    toolBar->addWidget(txtInterval);
    toolBar->addWidget(udInterval);
}

bool TRunControl::txtIntervalKeyPress(QKeyEvent* event)
{
    // The arrow keys step the speed as the up-down's arrows do.
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        udInterval->stepBy(event->key() == Qt::Key_Up ? 1 : -1);
        return true;
    }
    const QChar typed = TypedCharacter(event);
    if (typed.isNull() || typed == Backspace) {
        return false;
    }
    return ApplyKeyVerdict(txtInterval, IntervalKey(typed, EditStateOf(txtInterval)));
}

int TRunControl::RunInterval() const
{
    return cursor_.any() ? FastestInterval : udInterval->Position() * 33 + 1;
}

// A run takes a new speed from its next tick on.
void TRunControl::ApplyInterval()
{
    if (IsRunning() && tmrRunCpu->interval() != RunInterval()) {
        tmrRunCpu->setInterval(RunInterval());
    }
}

bool TRunControl::IsRunning() const
{
    return tmrRunCpu->isActive();
}

void TRunControl::RunOrPause()
{
    if (IsRunning()) {
        Pause();
        return;
    }
    if (EndIfHalted()) {
        return;
    }
    StartRun();
}

void TRunControl::RunTo(const CellSet& addresses)
{
    if (IsRunning() || EndIfHalted()) {
        return;
    }
    cursor_ = addresses;
    resumeAddress_ = machine_.Pc();
    StartRun();
}

void TRunControl::StartRun()
{
    view_.StartMarkingChanges();
    emit runningChanged(true);
    emit stateRequested(StateRunning);
    emit machineStarted();
    tmrRunCpu->start(RunInterval());
    view_.ReleaseSync(true);
    UpdateStepBack();
}

void TRunControl::Pause()
{
    view_.StopMarkingChanges();
    cursor_.reset();
    emit runningChanged(false);
    emit stateRequested(StatePaused);
    tmrRunCpu->stop();
    view_.ReleaseSync(true);
    UpdateStepBack();
}

// A halted machine ignores micro-steps: a command that would run it ends at
// once, as the halt did.
bool TRunControl::EndIfHalted()
{
    if (machine_.Control().cycle != CycleState::Halted) {
        return false;
    }
    emit stateRequested(StateHalted);
    return true;
}

void TRunControl::tmrRunCpuTimer()
{
    if (tmrRunCpu->interval() != FastestInterval) {
        RunMicroStep();
        view_.ReleaseSync(true); // the cycle state, too, has moved on since the last event
        return;
    }
    if (!IsRunning()) {
        return;
    }
    view_.HoldSync();
    RunMicroStep();
    view_.ReleaseSync(!IsRunning());
    // One run message of our own at a time: neither timer ticks nor run
    // messages from elsewhere start a second chain.
    if (IsRunning() && !pendingRunMessage_) {
        pendingRunMessage_ = new QEvent(RunMessage);
        QCoreApplication::postEvent(window_, pendingRunMessage_);
    }
}

void TRunControl::RunMicroStep()
{
    if (AtBreakpoint()) {
        const int address = machine_.Pc();
        const bool atCursor = AboutToFetchFrom(cursor_);
        Pause();
        resumeAddress_ = address;
        if (atCursor) {
            emit cursorReached(address);
        } else {
            emit breakpointReached(address);
        }
        return;
    }
    RecordedMicroStep();
}

// Run passes the breakpoint it paused at.
bool TRunControl::AtBreakpoint() const
{
    return AboutToFetchFrom(breakpoints_ | cursor_) && machine_.Pc() != resumeAddress_;
}

bool TRunControl::AboutToFetchFrom(const CellSet& addresses) const
{
    const CpuControl now = machine_.Control();
    const bool fetches = now.cycle == CycleState::AwaitFetch || now.cycle == CycleState::Restarted;
    return fetches && addresses.test(static_cast<std::size_t>(now.pc));
}

void TRunControl::RecordedMicroStep()
{
    resumeAddress_ = -1;
    const QScopedValueRollback inProgress(inProgress_, InstructionAddressOf(machine_.Control()));
    collector_.Begin(machine_.GetState());
    recorder_.MicroStep();
    lastMicroStep_ = collector_.Finish();
    lastMade_ = true;
    if (microStepListener_) {
        microStepListener_(lastMicroStep_);
    }
    if (machine_.Control().cycle == CycleState::Halted) {
        haltedAt_ = InstructionAddressOf(recorder_.LastBefore());
        emit halted(recorder_.LastExecutedHalt() ? HaltCause::Instruction : HaltCause::Error);
    }
}

bool TRunControl::RunMessageArrived(QEvent* event)
{
    if (event->type() != RunMessage) {
        return false;
    }
    if (event == pendingRunMessage_) {
        pendingRunMessage_ = nullptr;
    }
    tmrRunCpuTimer();
    return true;
}

void TRunControl::Step()
{
    if (EndIfHalted()) {
        return;
    }
    emit stateRequested(StatePaused);
    emit machineStarted();
    view_.ClearChangeMarks();
    CycleState cycle = CycleState::AwaitFetch;
    do {
        RecordedMicroStep();
        cycle = machine_.Control().cycle;
    } while (cycle != CycleState::AwaitFetch && cycle != CycleState::Halted);
    view_.ReleaseSync(true);
    UpdateStepBack();
}

void TRunControl::MicroStep()
{
    if (EndIfHalted()) {
        return;
    }
    emit stateRequested(StatePaused);
    emit machineStarted();
    view_.ClearChangeMarks();
    RecordedMicroStep();
    view_.ReleaseSync(true);
    UpdateStepBack();
}

void TRunControl::Halt()
{
    if (machine_.Control().cycle != CycleState::Halted) {
        haltedAt_ = InstructionAddress();
    }
    machine_.Halt();
    emit halted(HaltCause::Command);
}

void TRunControl::Reset()
{
    emit stateRequested(StateReset);
    machine_.Reset();
    recorder_.Restart();
    lastMade_ = false;
    view_.ClearChangeMarks();
    view_.RememberRestartView();
    view_.ReleaseSync(true);
}

void TRunControl::ClearRegisters()
{
    machine_.ClearRegisters(-1);
    emit stateRequested(StateRegistersCleared);
}

void TRunControl::Stop()
{
    view_.StopMarkingChanges();
    cursor_.reset();
    tmrRunCpu->stop();
    UpdateStepBack();
}

void TRunControl::HandleMachineEvent(int code, int value, int index)
{
    collector_.Observe(code, value, index);
    if (code == MachineEvent::Phase && value == MachinePhase::Halted) {
        emit stateRequested(StateHalted);
    }
    const bool hadSteps = recorder_.Size() > 0;
    if (recorder_.Observe(code, value, index)) {
        resumeAddress_ = -1;
        UpdateStepBack();
        if (hadSteps && view_.CommittingUserEdit()) {
            emit stepsForgotten();
        }
    }
}

void TRunControl::ProgramLoaded()
{
    recorder_.Restart();
    lastMade_ = false;
    view_.ClearChangeMarks();
    view_.RememberRestartView();
    UpdateStepBack();
}

int TRunControl::InstructionAddress() const
{
    const CpuControl now = machine_.Control();
    return now.cycle == CycleState::Halted ? haltedAt_ : InstructionAddressOf(now);
}

void TRunControl::StepBack()
{
    GoBack(true);
}

void TRunControl::MicroStepBack()
{
    GoBack(false);
}

// The machine leaves a halt it goes back from: Run, Step and Micro-step
// become available as after Reset, and it is paused.
void TRunControl::GoBack(bool toFetch)
{
    if (IsRunning() || recorder_.Size() == 0) {
        return;
    }
    const bool wasHalted = machine_.Control().cycle == CycleState::Halted;
    resumeAddress_ = -1;
    view_.ClearPhase();
    if (toFetch) {
        recorder_.InstructionBack();
    } else {
        recorder_.MicroStepsBack(1);
    }
    lastMade_ = false;
    view_.ClearChangeMarks();
    // Restored fields show plainly, not as if the program had just written them.
    if (machine_.Control().cycle == CycleState::Restarted) {
        view_.RecallRestartView();
    }
    view_.ClearHighlights();
    if (wasHalted) {
        emit stateRequested(StateReset);
    }
    emit stateRequested(StatePaused);
    view_.ReleaseSync(true);
    UpdateStepBack();
}

void TRunControl::UpdateStepBack()
{
    const bool available = !IsRunning() && recorder_.Size() > 0;
    if (available != stepBackShown_) {
        stepBackShown_ = available;
        emit stepBackAvailable(available);
    }
}
