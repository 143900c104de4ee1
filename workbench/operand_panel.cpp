// The operand panel: the fields that one mnemonic's operand takes.
#include "main_form.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

void TMainForm::CreateOperandPanel()
{
    pnlOperand = new QFrame(this);
    pnlOperand->setObjectName(QStringLiteral("pnlOperand"));
    pnlOperand->hide();
}

void TMainForm::ShowOperandEditor() {}
void TMainForm::pnlOperandExit() {}
