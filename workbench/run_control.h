#pragma once

#include <QObject>

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
// micro-step at a time; and halts, resets and clears it.
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

signals:
    void stateRequested(int state);
    void runningChanged(bool running);

private:
    int RunInterval() const;
    void ApplyInterval();
    bool txtIntervalKeyPress(QKeyEvent* event);

    CCpu& machine_;
    TMachineView& view_;
    QWidget* window_;
    EventHooks* hooks_;
    QTimer* tmrRunCpu;
    QLineEdit* txtInterval;
    TUpDown* udInterval;
    QEvent* pendingRunMessage_ = nullptr; // posted, not yet handled
};
