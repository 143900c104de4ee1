// The operand panel: the fields that one mnemonic's operand takes, laid over
// the operand cell, and the operand text composed from them.
#include "assembler/instruction_table.h"
#include "editor_forms.h"
#include "event_hooks.h"
#include "key_filters.h"
#include "main_form.h"
#include "widget_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTableWidget>

namespace {

QLineEdit* NewField(QWidget* panel, const char* name, const QString& admitted)
{
    auto* field = new QLineEdit(panel);
    field->setObjectName(QLatin1String(name));
    // Typed keys meet the key filter first; the validator keeps pasted text
    // to characters that could have been typed.
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(admitted), field));
    field->hide();
    return field;
}

void ShowRegister(QComboBox* box, const QString& name)
{
    box->setCurrentIndex(box->findText(name, Qt::MatchFixedString));
    box->show();
}

void ShowText(QLineEdit* field, const QString& text)
{
    field->setText(text.toUpper());
    field->show();
}

} // namespace

void TMainForm::CreateOperandPanel()
{
    pnlOperand = new QFrame(this);
    pnlOperand->setObjectName(QStringLiteral("pnlOperand"));
    pnlOperand->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlOperand->setAutoFillBackground(true);
    pnlOperand->setBackgroundRole(QPalette::Window);
    pnlOperand->setFocusPolicy(Qt::TabFocus);
    pnlOperand->hide();

    QStringList registers;
    for (int n = 0; n < 16; ++n) {
        registers << QStringLiteral("R%1").arg(n, 1, 16).toUpper();
    }
    auto registerBox = [this, &registers](const char* name) {
        auto* box = new QComboBox(pnlOperand);
        box->setObjectName(QLatin1String(name));
        box->addItems(registers);
        box->setMaxVisibleItems(box->count());
        box->setCurrentIndex(-1);
        box->hide();
        return box;
    };
    cboR1 = registerBox("cboR1");
    cboR2 = registerBox("cboR2");
    cboR3 = registerBox("cboR3");
    lblAddr = new QLabel(QStringLiteral("@"), pnlOperand);
    lblAddr->setObjectName(QStringLiteral("lblAddr"));
    lblAddr->setAlignment(Qt::AlignCenter);
    lblAddr->hide();
    txtAddress = NewField(pnlOperand, "txtAddress", QStringLiteral("[0-9A-Z_+]{0,8}"));
    SetTag(txtAddress, 8);
    txtRotate = NewField(pnlOperand, "txtRotate", QStringLiteral("[1-7]?"));
    txtNumber = NewField(pnlOperand, "txtNumber", QStringLiteral("[0-9A-F]{0,2}"));
    SetTag(txtNumber, 2);

    // A register box takes "RB" beside its arrow; where the style needs more
    // than the frame and scroll-bar measures allow, the box's own size wins.
    const QFontMetrics metrics(font());
    const int edges = 2 * qMax(2, style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int boxWidth =
        qMax(metrics.horizontalAdvance(QStringLiteral("RB")) + scrollBar + 2 * edges,
             cboR1->sizeHint().width());
    int left = 0;
    for (QComboBox* box : {cboR1, cboR2, cboR3}) {
        box->setGeometry(left, 0, boxWidth, box->height());
        left += boxWidth;
    }
    lblAddr->resize(lblAddr->sizeHint().width(), lblAddr->height());
    txtAddress->resize(qMax(metrics.horizontalAdvance(QStringLiteral("GGGGGG+1")) + edges,
                            LineEditWidthFor(txtAddress, QStringLiteral("GGGGGG+1"))),
                       txtAddress->height());
    AttachOperandFields();
}

void TMainForm::AttachOperandFields()
{
    for (QComboBox* box : {cboR1, cboR2, cboR3}) {
        hooks_->On(box, QEvent::FocusIn, [this, box](QEvent* event) {
            if (LeavesWithinWindow(static_cast<QFocusEvent*>(event))) {
                cboR1Enter(box);
            }
            return false;
        });
        hooks_->On(box, QEvent::KeyPress, [this, box](QEvent* event) {
            return cboR1KeyPress(box, static_cast<QKeyEvent*>(event));
        });
        // Esc in the open list cancels as it does in the box.
        hooks_->On(box->view(), QEvent::KeyPress, [this, box](QEvent* event) {
            return TypedCharacter(static_cast<QKeyEvent*>(event)) == Escape &&
                   cboR1KeyPress(box, static_cast<QKeyEvent*>(event));
        });
    }
    connect(cboR1, &QComboBox::activated, this, &TMainForm::cboR1Click);
    connect(cboR2, &QComboBox::activated, this, &TMainForm::cboR2Click);
    for (QLineEdit* field : {txtAddress, txtRotate, txtNumber}) {
        hooks_->On(field, QEvent::KeyPress, [this, field](QEvent* event) {
            return OperandFieldKeyPress(field, static_cast<QKeyEvent*>(event));
        });
    }
    for (QWidget* part : {static_cast<QWidget*>(pnlOperand), static_cast<QWidget*>(cboR1),
                          static_cast<QWidget*>(cboR2), static_cast<QWidget*>(cboR3),
                          static_cast<QWidget*>(txtAddress), static_cast<QWidget*>(txtRotate),
                          static_cast<QWidget*>(txtNumber)}) {
        hooks_->On(part, QEvent::FocusOut, [this](QEvent* event) {
            pnlOperandFocusOut(event);
            return false;
        });
    }
}

void TMainForm::ShowOperandEditor()
{
    const int row = TagOf(pnlOperand);
    const auto fields = SplitOperand(CellText(row, OperandColumn));
    const OperandForm form = OperandFormOf(OpcodeOf(CellText(row, MnemonicColumn).toStdString()));
    if (form == OperandForm::None) {
        pnlOperand->hide();
        return;
    }
    pnlOperand->show();
    const int height = pnlOperand->height();
    switch (form) {
    case OperandForm::RegisterAtAddress:
        lblAddr->move(cboR1->width(), 0);
        lblAddr->show();
        txtAddress->move(lblAddr->x() + lblAddr->width() + 1, 0);
        pnlOperand->resize(txtAddress->x() + txtAddress->width(), height);
        ShowRegister(cboR1, fields[0]);
        ShowText(txtAddress, fields[1]);
        break;
    case OperandForm::RegisterAddress:
        txtAddress->move(cboR1->width(), 0);
        pnlOperand->resize(txtAddress->x() + txtAddress->width(), height);
        ShowRegister(cboR1, fields[0]);
        ShowText(txtAddress, fields[1]);
        break;
    case OperandForm::TwoRegisters:
        ShowRegister(cboR1, fields[0]);
        ShowRegister(cboR2, fields[1]);
        break;
    case OperandForm::ThreeRegisters:
        pnlOperand->resize(cboR3->x() + cboR3->width(), height);
        ShowRegister(cboR1, fields[0]);
        ShowRegister(cboR2, fields[1]);
        ShowRegister(cboR3, fields[2]);
        break;
    case OperandForm::RegisterCount:
        txtRotate->setGeometry(cboR1->width(), 0, pnlOperand->width() - cboR1->width(), height);
        ShowRegister(cboR1, fields[0]);
        ShowText(txtRotate, fields[1]);
        break;
    case OperandForm::Byte:
        txtNumber->setGeometry(0, 0, pnlOperand->width(), height);
        ShowText(txtNumber, fields[0]);
        break;
    case OperandForm::None:
        break;
    }
    pnlOperand->update();
    (form == OperandForm::Byte ? static_cast<QWidget*>(txtNumber) : cboR1)->setFocus();
}

void TMainForm::cboR1Click()
{
    if (cboR1->currentText().isEmpty()) {
        return;
    }
    for (QWidget* next : {static_cast<QWidget*>(cboR2), static_cast<QWidget*>(txtAddress),
                          static_cast<QWidget*>(txtRotate)}) {
        if (next->isVisible()) {
            next->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void TMainForm::cboR2Click()
{
    if (!cboR2->currentText().isEmpty() && cboR3->isVisible()) {
        cboR3->setFocus(Qt::OtherFocusReason);
    }
}

// A register is only ever picked from the list; Esc cancels the edit by
// leaving a required field empty.
bool TMainForm::cboR1KeyPress(QComboBox* box, QKeyEvent* event)
{
    const QChar typed = TypedCharacter(event);
    if (typed.isNull()) {
        return false;
    }
    if (typed == Escape) {
        box->hidePopup();
        box->setCurrentIndex(-1);
        pnlOperandExit();
    }
    return true;
}

bool TMainForm::OperandFieldKeyPress(QLineEdit* field, QKeyEvent* event)
{
    const QChar typed = TypedCharacter(event);
    if (typed.isNull() || typed == Backspace) {
        return false;
    }
    if (typed == Escape) {
        field->clear();
        pnlOperandExit();
        return true;
    }
    if (typed == Enter) {
        pnlOperandExit();
        return true;
    }
    const EditState state = EditStateOf(field);
    const KeyVerdict verdict = field == txtAddress  ? AddressKey(typed, state)
                               : field == txtRotate ? RotateKey(typed, state)
                                                    : ByteKey(typed, state, TagOf(txtNumber));
    return ApplyKeyVerdict(field, verdict);
}

void TMainForm::pnlOperandFocusOut(QEvent* event)
{
    if (!LeavesWithinWindow(static_cast<QFocusEvent*>(event)) || closingEditor_) {
        return;
    }
    const QWidget* next = QApplication::focusWidget();
    if (!next || (next != pnlOperand && !pnlOperand->isAncestorOf(next))) {
        pnlOperandExit();
    }
}

void TMainForm::pnlOperandExit()
{
    if (!pnlOperand->isVisible()) {
        return;
    }
    const int row = TagOf(pnlOperand);
    const OperandForm form = OperandFormOf(OpcodeOf(CellText(row, MnemonicColumn).toStdString()));
    const QString operand =
        ComposeOperand(form, {cboR1->currentText(), cboR2->currentText(), cboR3->currentText(),
                              txtAddress->text(), txtRotate->text(), txtNumber->text()});
    if (!operand.isEmpty() && row < sgrdCode->rowCount() &&
        operand != CellText(row, OperandColumn)) {
        SetCellText(row, OperandColumn, operand);
        UpdateLineActions();
        SetState(StateModified);
    }
    HideFloatingEditor(pnlOperand);
    for (QComboBox* box : {cboR1, cboR2, cboR3}) {
        box->hidePopup();
        box->hide();
        box->setCurrentIndex(-1);
    }
    lblAddr->hide();
    for (QLineEdit* field : {txtAddress, txtNumber, txtRotate}) {
        field->hide();
        field->clear();
    }
}
