#pragma once

#include <QString>

#include <array>

// The columns of a program row in the grid.
enum GridColumn { NumberColumn = 0, LabelColumn, MnemonicColumn, OperandColumn, GridColumnCount };
// Beside the grid's own columns, while the loaded program's code is shown.
enum CodeColumns { AddressColumn = GridColumnCount, CodeColumn };

// Whether a committed label may stand in the grid: one or two characters that
// are all hexadecimal digits would read as a number, not as a label.
bool IsAcceptedLabel(const QString& label);

// The operand fields that the operand panel offers for a mnemonic.
enum class OperandForm {
    None,              // HALT, or no mnemonic: the panel does not open
    RegisterAtAddress, // Rr,@aa (LOADA, STORE, JUMP)
    RegisterAddress,   // Rr,aa (LOAD)
    TwoRegisters,      // Rr,Rs (MOVE)
    ThreeRegisters,    // Rr,Rs,Rt (ADD, ADDF, OR, AND, XOR)
    RegisterCount,     // Rr,n (ROTATE)
    Byte,              // vv (DB)
};

// The form for a mnemonic number as OpcodeOf gives it.
OperandForm OperandFormOf(int mnemonic);

// The texts of the panel's fields.
struct OperandFields {
    QString r1, r2, r3;
    QString address;
    QString count;
    QString byte;
};

// The operand text of a form; empty when a field that the form needs is empty.
QString ComposeOperand(OperandForm form, const OperandFields& fields);

inline constexpr int SplitFieldCount = 3;
inline constexpr int SplitFieldLength = 9;

// An operand text split at its commas into at most three fields of at most
// nine characters, "@" dropped. What lies beyond is ignored.
std::array<QString, SplitFieldCount> SplitOperand(const QString& text);
