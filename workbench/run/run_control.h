#pragma once

#include "assembler/program_layout.h"
#include "machine/micro_step_record.h"
#include "machine/step_recorder.h"
#include "texts/message_target.h"
#include "workbench/window/window_states.h"

#include <QObject>

#include <bitset>
#include <functional>
#include <utility>

class CCpu;
class EventHooks;
class QEvent;
class QKeyEvent;
class QLineEdit;
class QTimer;
class QToolBar;
class QWidget;
class TMachineView;
class TUpDown;

// Runs the machine: continuously on the timer `tmrRunCpu`, one micro-step a
// tick at the interval the tool bar's field sets, or one instruction or
// micro-step at a time; and halts, resets and clears it. Every micro-step is
// recorded, so that the machine can go back; a run pauses at a breakpoint.
class TRunControl : public QObject {
    Q_OBJECT

public:
    // The fastest run chains the window's private run message, which the
    // window hands back to RunMessageArrived.
    TRunControl(CCpu& machine, TMachineView& view, QWidget* window);

    // Puts the interval field and its up-down into the tool bar.
    void AddIntervalField(QToolBar* toolBar);
    // Lays the interval field out from its font.
    void LayOut();

    void RunOrPause();
    // Runs at the fastest speed until the machine is about to fetch from one
    // of `addresses` (passing the one it may be about to fetch from now).
    void RunTo(const CellSet& addresses);
    void Step();
    void MicroStep();
    void Halt();
    void Reset();
    void ClearRegisters();
    // Ends a run without a word to the machine, as its halt does.
    void Stop();
    bool IsRunning() const;

    void tmrRunCpuTimer();
    // True when the event was the run message, which it then handles.
    bool RunMessageArrived(QEvent* event);

    // Every event of the machine, after the view has shown it. A halt asks
    // for the halted state, which ends the run.
    void HandleMachineEvent(int code, int value, int index);
    // Back to before the current instruction (or the previous one between
    // two), or before the last micro-step.
    void StepBack();
    void MicroStepBack();
    // A program was loaded: instructions are counted from here.
    void ProgramLoaded();
    // A run pauses before it fetches from one of these addresses.
    void SetBreakpoints(const CellSet& addresses) { breakpoints_ = addresses; }
    // The address of the instruction the machine works on, or halted at.
    int InstructionAddress() const;
    long long InstructionsRun() const { return recorder_.InstructionsRun(); }
    // The last micro-step made, or nothing since the machine was set back,
    // reset or loaded; and who is told of each micro-step as it is made.
    const MicroStepRecord* LastMicroStep() const { return lastMade_ ? &lastMicroStep_ : nullptr; }
    void TellEachMicroStep(std::function<void(const MicroStepRecord&)> listener)
    {
        microStepListener_ = std::move(listener);
    }
    // The instruction whose micro-step is being made, which reports what it
    // meets; none between micro-steps.
    MessageTarget ReportingInstruction() const
    {
        return inProgress_ >= 0 ? MessageTarget{MessageTarget::Address, inProgress_}
                                : MessageTarget{};
    }

    enum class HaltCause { Instruction, Error, Command };

signals:
    void stateRequested(WindowState state);
    void runningChanged(bool running);
    void stepBackAvailable(bool available);
    void breakpointReached(int address);
    void cursorReached(int address);
    void halted(TRunControl::HaltCause cause);
    // Run, Step or Micro-step set the machine going.
    void machineStarted();
    // A value the user typed emptied the record of micro-steps.
    void stepsForgotten();

private:
    int RunInterval() const;
    void ApplyInterval();
    bool txtIntervalKeyPress(QKeyEvent* event);
    void Pause();
    bool EndIfHalted();
    bool AtBreakpoint() const;
    bool AboutToFetchFrom(const CellSet& addresses) const;
    void StartRun();
    void RunMicroStep();
    void RecordedMicroStep();
    void GoBack(bool toFetch);
    void UpdateStepBack();

    CCpu& machine_;
    TMachineView& view_;
    QWidget* window_;
    EventHooks* hooks_;
    QTimer* tmrRunCpu;
    QLineEdit* txtInterval;
    TUpDown* udInterval;
    QEvent* pendingRunMessage_ = nullptr; // posted, not yet handled
    CStepRecorder recorder_;
    CellSet breakpoints_;
    CellSet cursor_; // where a run to the cursor pauses
    int inProgress_ = -1;
    int resumeAddress_ = -1; // the breakpoint a run paused at, passed when it runs on
    int haltedAt_ = -1;      // the instruction address of the last halt
    bool stepBackShown_ = false;
    CMicroStepCollector collector_;
    MicroStepRecord lastMicroStep_; // kept whole while the next one is collected
    bool lastMade_ = false;
    std::function<void(const MicroStepRecord&)> microStepListener_;
};
