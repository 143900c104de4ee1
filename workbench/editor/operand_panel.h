#pragma once

#include "workbench/rules/editor_forms.h"

#include <QFrame>

class EventHooks;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;

// The operand editor laid over an operand cell: the fields that the row's
// mnemonic takes, composed into the operand text when the edit ends.
class TOperandPanel : public QFrame {
    Q_OBJECT

public:
    explicit TOperandPanel(QWidget* window);

    // Opens the fields of the mnemonic's form over `row`, filled from the
    // operand text; a mnemonic without operand leaves the panel hidden.
    void ShowOperandEditor(int row, const QString& mnemonic, const QString& operand);
    // Ends the edit: reports the composed operand, when complete, and closes.
    void pnlOperandExit();

    // Lays the fields out from the font.
    void LayOut();
    // The width of the widest form, which the operand cell must allow.
    int WidestFormWidth() const;
    void SetCellHeight(int height);
    // Where the focus goes when the panel closes while holding it.
    void SetFocusReturn(QWidget* widget) { focusReturn_ = widget; }

signals:
    void operandComposed(int row, const QString& operand);
    // Tab (or Shift+Tab, `backwards`) went past the panel's last (first) field.
    void tabbedOut(bool backwards);

private:
    void AttachFields();
    void cboR1Click();
    void cboR2Click();
    bool cboR1KeyPress(QComboBox* box, QKeyEvent* event);
    bool OperandFieldKeyPress(QLineEdit* field, QKeyEvent* event);
    void TabKeyPress(QWidget* field, bool backwards);
    QString ComposedOperand() const;
    void pnlOperandFocusOut(QEvent* event);
    void Close();

    EventHooks* hooks_;
    QComboBox* cboR1;
    QComboBox* cboR2;
    QComboBox* cboR3;
    QLabel* lblAddr;
    QLineEdit* txtAddress;
    QLineEdit* txtRotate;
    QLineEdit* txtNumber;
    OperandForm form_ = OperandForm::None;
    int row_ = 0; // the row being edited; the panel's tag mirrors it
    QWidget* focusReturn_ = nullptr;
    bool closing_ = false; // the focus leaving a closing panel is no edit's end
};
