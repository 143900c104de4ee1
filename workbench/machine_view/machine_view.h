#pragma once

#include "workbench/machine_view/machine_display.h"

#include "machine/cpu.h"

#include <QColor>
#include <QElapsedTimer>
#include <QFrame>
#include <QScopedValueRollback>

#include <array>

class EventHooks;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTabBar;
class QToolButton;
class QVBoxLayout;
class TUpDown;

// The right-hand panel: PC, instruction register and its decoded fields, the
// phase lamps, the registers, one memory page and the cells around PC, all
// driven by the machine's events; and the START field beside the program. The
// user may type new values into PC, START, registers and memory cells.
class TMachineView : public QFrame, private MachineDisplayHost {
    Q_OBJECT

public:
    explicit TMachineView(QWidget* parent);

    // The machine whose memory the view reads and to which user edits go; the
    // view shows events before it has one.
    void SetMachine(CCpu* machine) { machine_ = machine; }
    // The START field stands beside the program, but shows and takes in its
    // value like the view's own fields.
    void AttachStartField(QLineEdit* field);

    // Lays the fields out from the font.
    void LayOut();
    // Puts a widget into the room below the memory page, which it takes.
    void AddBelowMemory(QWidget* widget, int stretch);

    void HandleMachineEvent(int code, int value, int index);
    QString FormatNumber(int value) const;
    int ParseNumber(const QString& text) const;
    void ClearHighlights();
    void ShowMemoryNearPc(int first);
    void tabMMChange();
    // Commits the number field that holds the focus, if any.
    void CommitFocusedField();

    int Radix() const { return display_.radix; }
    void ToggleRadix();
    // While the returned guard lives, memory written on another page does not
    // turn the page.
    [[nodiscard]] QScopedValueRollback<bool> BulkWrites()
    {
        return QScopedValueRollback<bool>(display_.bulk, true);
    }
    void EmptyListing();
    // No highlight and no lamp, as before a restarted machine's first micro-step.
    void ClearPhase();
    // What a run writes is marked until the next run or step starts.
    void StartMarkingChanges();
    void StopMarkingChanges() { display_.StopMarking(); }
    void ClearChangeMarks();
    // The decoded fields and listing as they show when the machine restarts,
    // shown again when it is taken back there: the machine's own decoded
    // fields are then those of an earlier run.
    void RememberRestartView();
    void RecallRestartView();
    // Whether a value the user typed (or an arrow clicked) is going to the machine.
    bool CommittingUserEdit() const { return committingUserEdit_; }

    // START shown plainly with the text given.
    void ShowStartAddress(int address, const QString& text);

    QColor WriteColour() const;
    QColor ReadColour() const;
    void SetWriteColour(const QColor& colour);
    void SetReadColour(const QColor& colour);
    // The colour of every field that is not highlighted.
    void SetTextColour(const QColor& colour);

    // During a fast run the widgets follow the events at most once a frame:
    // between HoldSync and ReleaseSync only the display model changes.
    void HoldSync() { syncHeld_ = true; }
    void ReleaseSync(bool now);

signals:
    // The user typed a value into a field.
    void memoryEdited();
    void registerEdited();
    void startTyped(int address);
    // The widgets were brought up to date with the machine.
    void synced();

private:
    // MachineDisplayHost
    int ReadMemory(int address) override;

    QWidget* CreateInstructionRow();
    QWidget* CreateRegisters();
    QWidget* CreateMemoryPage();
    QWidget* CreatePcWindow();
    QLineEdit* NewValueField(const QString& name, QWidget* parent);
    void AttachNumberField(QLineEdit* field);
    bool NumberFieldKeyPress(QLineEdit* field, QKeyEvent* event);
    void CommitNumberField(QLineEdit* field);
    DisplayField* DisplayFieldOf(const QObject* field);
    int MemoryOffsetOf(const QObject* field) const; // -1 when not a memory field
    int RegisterOf(const QObject* field) const;     // -1 when not a register field
    void Sync();

    MachineDisplay display_{*this};
    CCpu* machine_ = nullptr;
    EventHooks* hooks_;
    bool syncHeld_ = false;
    bool committingUserEdit_ = false;
    std::array<DisplayField, 4> restartDecoded_;
    QString restartListing_;
    QElapsedTimer frameClock_; // since the widgets were last brought up to date

    QVBoxLayout* below_ = nullptr;
    QLineEdit* txtStart = nullptr;
    QLineEdit* txtPC = nullptr;
    TUpDown* udPC = nullptr;
    QLineEdit* txtIRH = nullptr;
    QLineEdit* txtIRL = nullptr;
    std::array<QLineEdit*, 4> decodedFields{}; // txtInstr, txtR1, txtR2, txtR3
    QLabel* lblInstruction = nullptr;
    std::array<QToolButton*, 3> lamps{}; // sbtnFetch, sbtnDecode, sbtnExecute
    std::array<QLineEdit*, CCpu::RegisterCount> registers{};
    QTabBar* tabMM = nullptr;
    std::array<QLineEdit*, MachineDisplay::PageSize> memory{};
    std::array<QLabel*, MachineDisplay::PageSize> memoryLabels{};
    QGroupBox* grpMemoryPc = nullptr;
    std::array<QLineEdit*, MachineDisplay::PcWindowRows> pcWindowFields{};
    std::array<QLabel*, MachineDisplay::PcWindowRows> pcWindowLabels{};
};
