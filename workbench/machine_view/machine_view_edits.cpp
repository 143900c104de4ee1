// The machine view's side of the machine: its events, the user's edits of the
// number fields, the radix and the colours.
#include "workbench/machine_view/machine_view.h"

#include "machine/cpu.h"
#include "texts/number_text.h"
#include "workbench/rules/key_filters.h"
#include "workbench/widgets/event_hooks.h"
#include "workbench/widgets/up_down.h"
#include "workbench/widgets/widget_support.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>

namespace {

constexpr int FrameMilliseconds = 16;

} // namespace

void TMachineView::HandleMachineEvent(int code, int value, int index)
{
    display_.HandleEvent(code, value, index);
    Sync();
}

void TMachineView::ReleaseSync(bool now)
{
    syncHeld_ = false;
    if (now || frameClock_.elapsed() >= FrameMilliseconds) {
        Sync();
    }
}

QString TMachineView::FormatNumber(int value) const
{
    return display_.Format(value);
}

int TMachineView::ParseNumber(const QString& text) const
{
    return ::ParseNumber(text.toStdString(), display_.radix);
}

int TMachineView::ReadMemory(int address)
{
    return machine_ ? machine_->GetMemory(address) : -1;
}

void TMachineView::ClearHighlights()
{
    display_.ClearHighlights();
    Sync();
}

void TMachineView::ShowMemoryNearPc(int first)
{
    display_.ShowMemoryNearPc(first);
    Sync();
}

void TMachineView::tabMMChange()
{
    display_.RefillPage();
    Sync();
}

void TMachineView::EmptyListing()
{
    display_.instruction.clear();
    display_.instructionDirty = true;
    Sync();
}

void TMachineView::ClearPhase()
{
    display_.ClearHighlights();
    display_.lamps = {false, false, false};
    Sync();
}

void TMachineView::StartMarkingChanges()
{
    display_.StartMarking();
    Sync();
}

void TMachineView::ClearChangeMarks()
{
    display_.ClearMarks();
    Sync();
}

void TMachineView::RememberRestartView()
{
    restartDecoded_ = display_.decoded;
    restartListing_ = display_.instruction;
}

void TMachineView::RecallRestartView()
{
    display_.decoded = restartDecoded_;
    for (DisplayField& field : display_.decoded) {
        field.dirty = true;
    }
    display_.instruction = restartListing_;
    display_.instructionDirty = true;
}

void TMachineView::ShowStartAddress(int address, const QString& text)
{
    display_.start.tag = address;
    display_.start.text = text;
    display_.start.highlighted = false;
    display_.start.dirty = true;
    Sync();
}

void TMachineView::ToggleRadix()
{
    display_.SetRadix(display_.radix == HexRadix ? DecimalRadix : HexRadix);
    Sync();
}

QColor TMachineView::WriteColour() const
{
    return QColor::fromRgb(display_.setColour);
}

QColor TMachineView::ReadColour() const
{
    return QColor::fromRgb(display_.getColour);
}

void TMachineView::SetWriteColour(const QColor& colour)
{
    display_.setColour = colour.rgba();
}

void TMachineView::SetReadColour(const QColor& colour)
{
    display_.getColour = colour.rgba();
}

void TMachineView::SetTextColour(const QColor& colour)
{
    display_.textColour = colour.rgba();
}

void TMachineView::AttachStartField(QLineEdit* field)
{
    txtStart = field;
    AttachNumberField(field);
    Sync();
}

void TMachineView::AttachNumberField(QLineEdit* field)
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

bool TMachineView::NumberFieldKeyPress(QLineEdit* field, QKeyEvent* event)
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
            Sync();
        }
        return true;
    }
    return ApplyKeyVerdict(field, NumberFieldKey(typed, EditStateOf(field), display_.radix));
}

void TMachineView::CommitFocusedField()
{
    if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        CommitNumberField(field);
    }
}

void TMachineView::CommitNumberField(QLineEdit* field)
{
    DisplayField* shown = DisplayFieldOf(field);
    if (!shown || !machine_) {
        return;
    }
    const int value = ParseNumber(field->text());
    // An unreadable text gives way to the value also in a field that holds
    // none (tag -1), where it would otherwise stay as if it were the value.
    if (value == -1) {
        display_.Restore(*shown);
        Sync();
        return;
    }
    if (value == shown->tag) {
        return;
    }
    const QScopedValueRollback committing(committingUserEdit_, true);
    ClearHighlights();
    if (const int offset = MemoryOffsetOf(field); offset >= 0) {
        machine_->SetMemory(display_.page * MachineDisplay::PageSize + offset, value);
        emit memoryEdited();
    } else if (const int n = RegisterOf(field); n >= 0) {
        machine_->SetRegister(n, value);
        emit registerEdited();
    } else if (field == txtPC) {
        udPC->SetPosition(value);
        machine_->SetPc(value);
    } else if (field == txtStart) {
        emit startTyped(value);
    }
}
