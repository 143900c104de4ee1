#pragma once

#include <QFrame>

#include <array>

class MachineDisplay;
struct DisplayField;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabBar;
class QToolButton;
class TUpDown;

// The right-hand panel: PC, instruction register and its decoded fields, the
// phase lamps, the registers, one memory page and the cells around PC.
class TMachineView : public QFrame {
    Q_OBJECT

public:
    explicit TMachineView(QWidget* parent);

    // Makes the widgets show what the display holds; touches only what changed.
    void Sync(MachineDisplay& display);

    // Number fields the user may edit: PC, registers and the memory page.
    bool IsNumberField(const QObject* object) const;
    DisplayField* FieldOf(const QObject* object, MachineDisplay& display) const;
    int MemoryOffsetOf(const QObject* object) const; // -1 when not a memory field
    int RegisterOf(const QObject* object) const;     // -1 when not a register field

    static void ShowField(QLineEdit* widget, DisplayField& field);

    QLineEdit* txtPC = nullptr;
    TUpDown* udPC = nullptr;
    QLineEdit* txtIRH = nullptr;
    QLineEdit* txtIRL = nullptr;
    std::array<QLineEdit*, 4> decodedFields{}; // txtInstr, txtR1, txtR2, txtR3
    QLabel* lblInstruction = nullptr;
    std::array<QToolButton*, 3> lamps{}; // sbtnFetch, sbtnDecode, sbtnExecute
    std::array<QLineEdit*, 16> registers{};
    QTabBar* tabMM = nullptr;
    std::array<QLineEdit*, 32> memory{};
    std::array<QLabel*, 32> memoryLabels{};
    QGroupBox* grpMemoryPc = nullptr;
    std::array<QLineEdit*, 8> pcWindowFields{};
    std::array<QLabel*, 8> pcWindowLabels{};

private:
    QWidget* CreateInstructionRow();
    QWidget* CreateRegisters();
    QWidget* CreateMemoryPage();
    QWidget* CreatePcWindow();
    QLineEdit* NewValueField(const QString& name, int digits, QWidget* parent);
};
