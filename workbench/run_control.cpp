#include "run_control.h"

#include "event_hooks.h"
#include "key_filters.h"
#include "machine/cpu.h"
#include "machine_view.h"
#include "up_down.h"
#include "widget_support.h"
#include "window_states.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
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
      udInterval(new TUpDown(0, 20, 10, window))
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
    const QChar typed = TypedCharacter(event);
    if (typed.isNull() || typed == Backspace) {
        return false;
    }
    return ApplyKeyVerdict(txtInterval, IntervalKey(typed, EditStateOf(txtInterval)));
}

int TRunControl::RunInterval() const
{
    return udInterval->Position() * 33 + 1;
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
    const bool running = IsRunning();
    emit runningChanged(!running);
    if (running) {
        emit stateRequested(StatePaused);
        tmrRunCpu->stop();
    } else {
        emit stateRequested(StateRunning);
        tmrRunCpu->start(RunInterval());
    }
    view_.ReleaseSync(true);
}

void TRunControl::tmrRunCpuTimer()
{
    if (tmrRunCpu->interval() != FastestInterval) {
        machine_.MicroStep();
        return;
    }
    if (!IsRunning()) {
        return;
    }
    view_.HoldSync();
    machine_.MicroStep();
    view_.ReleaseSync(!IsRunning());
    // One run message of our own at a time: neither timer ticks nor run
    // messages from elsewhere start a second chain.
    if (IsRunning() && !pendingRunMessage_) {
        pendingRunMessage_ = new QEvent(RunMessage);
        QCoreApplication::postEvent(window_, pendingRunMessage_);
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
    emit stateRequested(StatePaused);
    machine_.Step();
}

void TRunControl::MicroStep()
{
    emit stateRequested(StatePaused);
    machine_.MicroStep();
}

void TRunControl::Halt()
{
    machine_.Halt();
}

void TRunControl::Reset()
{
    emit stateRequested(StateReset);
    machine_.Reset();
}

void TRunControl::ClearRegisters()
{
    machine_.ClearRegisters(-1);
    emit stateRequested(StateRegistersCleared);
}

void TRunControl::Stop()
{
    tmrRunCpu->stop();
}
