// The machine view's side of the window: machine events, user edits of the
// number fields and the radix toggle.
#include "event_hooks.h"
#include "key_filters.h"
#include "machine/cpu.h"
#include "machine_view.h"
#include "main_form.h"
#include "texts/number_text.h"
#include "up_down.h"
#include "widget_support.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabBar>
#include <QTimer>

QString TMainForm::FormatNumber(int value) const
{
    return display_.Format(value);
}

int TMainForm::ParseNumber(const QString& text) const
{
    return ::ParseNumber(text.toStdString(), display_.radix);
}

void TMainForm::HandleMachineEvent(int code, int value, int index)
{
    display_.HandleEvent(code, value, index);
    SyncView();
}

void TMainForm::SyncView()
{
    if (!pnlMemory || deferViewSync_) {
        return;
    }
    pnlMemory->Sync(display_);
    TMachineView::ShowField(txtStart, display_.start);
    frameClock_.start();
}

int TMainForm::ReadMemory(int address)
{
    return cpu_ ? cpu_->GetMemory(address) : -1;
}

void TMainForm::MachineHalted()
{
    tmrRunCpu->stop();
    SetState(StateHalted);
}

void TMainForm::MemoryChanged()
{
    SetState(StateMemoryChanged);
}

void TMainForm::ShowError(int subCode, int number)
{
    ShowErrorMessage(subCode, number);
}

void TMainForm::ClearHighlights()
{
    display_.ClearHighlights();
    SyncView();
}

void TMainForm::ShowMemoryNearPc(int first)
{
    display_.ShowMemoryNearPc(first);
    SyncView();
}

void TMainForm::tabMMChange()
{
    display_.RefillPage();
    SyncView();
}

void TMainForm::AttachNumberField(QLineEdit* field)
{
    hooks_->On(field, QEvent::KeyPress, [this, field](QEvent* event) {
        return NumberFieldKeyPress(field, static_cast<QKeyEvent*>(event));
    });
    hooks_->On(field, QEvent::FocusOut, [this, field](QEvent* event) {
        if (LeavesWithinWindow(static_cast<QFocusEvent*>(event))) {
            CommitNumberField(field);
        }
        return false;
    });
}

bool TMainForm::NumberFieldKeyPress(QLineEdit* field, QKeyEvent* event)
{
    const QChar typed = TypedCharacter(event);
    if (typed.isNull() || typed == Backspace) {
        return false;
    }
    if (typed == Enter) {
        CommitNumberField(field);
        return true;
    }
    if (typed == Escape) {
        if (DisplayField* shown = DisplayFieldOf(field)) {
            display_.Restore(*shown);
            SyncView();
        }
        return true;
    }
    return ApplyKeyVerdict(field, NumberFieldKey(typed, EditStateOf(field), display_.radix));
}

DisplayField* TMainForm::DisplayFieldOf(QLineEdit* field)
{
    return field == txtStart ? &display_.start : pnlMemory->FieldOf(field, display_);
}

void TMainForm::CommitNumberField(QLineEdit* field)
{
    DisplayField* shown = DisplayFieldOf(field);
    if (!shown) {
        return;
    }
    const int value = ParseNumber(field->text());
    // An unreadable text gives way to the value also in a field that holds
    // none (tag -1), where it would otherwise stay as if it were the value.
    if (value == -1) {
        display_.Restore(*shown);
        SyncView();
        return;
    }
    if (value == shown->tag) {
        return;
    }
    ClearHighlights();
    if (const int offset = pnlMemory->MemoryOffsetOf(field); offset >= 0) {
        cpu_->SetMemory(display_.page * MachineDisplay::PageSize + offset, value);
        SetState(StateMemoryChanged);
    } else if (const int n = pnlMemory->RegisterOf(field); n >= 0) {
        cpu_->SetRegister(n, value);
        SetState(StateRegisterChanged);
    } else if (field == pnlMemory->txtPC) {
        pnlMemory->udPC->SetPosition(value);
        cpu_->SetPc(value);
    } else if (field == txtStart) {
        cpu_->SetStartAddress(value);
        display_.start.tag = value;
        SetTag(txtStart, value);
        SetState(StateModified);
        SetState(StateStartChanged);
    }
}

void TMainForm::udPCClick(int position)
{
    cpu_->SetPc(position);
}

void TMainForm::actCpuRadixExecute()
{
    CommitEdits();
    const bool toDecimal = display_.radix == HexRadix;
    actCpuRadix->setChecked(!toDecimal);
    if (toDecimal) {
        actCpuRadix->setText(QStringLiteral("十六進位顯示(&H)"));
        SetHint(actCpuRadix, QStringLiteral("十六進位|將數字顯示為十六進位"));
    } else {
        actCpuRadix->setText(QStringLiteral("十進位顯示(&D)"));
        SetHint(actCpuRadix, QStringLiteral("十進位|將數字顯示為十進位"));
    }
    display_.SetRadix(toDecimal ? DecimalRadix : HexRadix);
    SyncView();
}
