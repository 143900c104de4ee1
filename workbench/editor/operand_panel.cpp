#include "workbench/editor/operand_panel.h"

#include "assembler/instruction_table.h"
#include "workbench/rules/key_filters.h"
#include "workbench/widgets/event_hooks.h"
#include "workbench/widgets/widget_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int ByteDigits = 2;
constexpr int RegisterCount = 16;
// The address field's key filter takes at most this many characters.
constexpr int AddressLength = 8;

QLineEdit* NewField(QWidget* panel, const char* name, std::function<bool(const QString&)> admits)
{
    auto* field = new QLineEdit(panel);
    field->setObjectName(QLatin1String(name));
    field->setValidator(new AdmittedTextValidator(field, std::move(admits)));
    field->hide();
    return field;
}

QComboBox* NewRegisterBox(QWidget* panel, const char* name)
{
    auto* box = new QComboBox(panel);
    box->setObjectName(QLatin1String(name));
    for (int n = 0; n < RegisterCount; ++n) {
        box->addItem(QStringLiteral("R%1").arg(n, 1, 16).toUpper());
    }
    box->setMaxVisibleItems(box->count());
    box->setCurrentIndex(-1);
    box->hide();
    return box;
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

TOperandPanel::TOperandPanel(QWidget* window)
    : QFrame(window), hooks_(new EventHooks(this)), cboR1(NewRegisterBox(this, "cboR1")),
      cboR2(NewRegisterBox(this, "cboR2")), cboR3(NewRegisterBox(this, "cboR3")),
      lblAddr(new QLabel(QStringLiteral("@"), this)),
      txtAddress(NewField(this, "txtAddress", AdmitsAddress)),
      txtRotate(NewField(this, "txtRotate", AdmitsRotateCount)),
      txtNumber(NewField(this, "txtNumber",
                         [](const QString& text) { return AdmitsByte(text, ByteDigits); }))
{
    setObjectName(QStringLiteral("pnlOperand"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setFocusPolicy(Qt::TabFocus);
    hide();
    lblAddr->setObjectName(QStringLiteral("lblAddr"));
    lblAddr->setAlignment(Qt::AlignCenter);
    lblAddr->hide();
    SetTag(txtAddress, AddressLength);
    SetTag(txtNumber, ByteDigits);
    LayOut();
    AttachFields();
}

// A register box takes "RB" beside its arrow; where the style needs more than
// the frame and scroll-bar measures allow, the box's own size wins.
void TOperandPanel::LayOut()
{
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
    RenewSizeHint(lblAddr);
    lblAddr->resize(lblAddr->sizeHint().width(), lblAddr->height());
    txtAddress->resize(qMax(metrics.horizontalAdvance(QStringLiteral("GGGGGG+1")) + edges,
                            LineEditWidthFor(txtAddress, QStringLiteral("GGGGGG+1"))),
                       txtAddress->height());
}

int TOperandPanel::WidestFormWidth() const
{
    return qMax(3 * cboR1->width(), cboR1->width() + lblAddr->width() + 1 + txtAddress->width());
}

void TOperandPanel::SetCellHeight(int height)
{
    setFixedHeight(height);
    for (QWidget* field : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        field->setFixedHeight(height);
    }
}

void TOperandPanel::AttachFields()
{
    for (QComboBox* box : {cboR1, cboR2, cboR3}) {
        hooks_->On(box, QEvent::FocusIn, [box](QEvent* event) {
            if (LeavesWithinWindow(static_cast<QFocusEvent*>(event))) {
                DropDownOnFocus(box);
            }
            return false;
        });
        hooks_->On(box, QEvent::KeyPress, [this, box](QEvent* event) {
            return cboR1KeyPress(box, static_cast<QKeyEvent*>(event));
        });
        // Esc and Tab in the open list act as they do in the box.
        hooks_->On(box->view(), QEvent::KeyPress, [this, box](QEvent* event) {
            const auto* key = static_cast<QKeyEvent*>(event);
            return (TypedCharacter(key) == Escape || TabDirection(key)) &&
                   cboR1KeyPress(box, static_cast<QKeyEvent*>(event));
        });
    }
    connect(cboR1, &QComboBox::activated, this, &TOperandPanel::cboR1Click);
    connect(cboR2, &QComboBox::activated, this, &TOperandPanel::cboR2Click);
    for (QLineEdit* field : {txtAddress, txtRotate, txtNumber}) {
        hooks_->On(field, QEvent::KeyPress, [this, field](QEvent* event) {
            return OperandFieldKeyPress(field, static_cast<QKeyEvent*>(event));
        });
    }
    for (QWidget* part :
         {static_cast<QWidget*>(this), static_cast<QWidget*>(cboR1), static_cast<QWidget*>(cboR2),
          static_cast<QWidget*>(cboR3), static_cast<QWidget*>(txtAddress),
          static_cast<QWidget*>(txtRotate), static_cast<QWidget*>(txtNumber)}) {
        hooks_->On(part, QEvent::FocusOut, [this](QEvent* event) {
            pnlOperandFocusOut(event);
            return false;
        });
    }
}

void TOperandPanel::ShowOperandEditor(int row, const QString& mnemonic, const QString& operand)
{
    row_ = row;
    SetTag(this, row);
    const auto fields = SplitOperand(operand);
    form_ = OperandFormOf(OpcodeOf(mnemonic.toStdString()));
    if (form_ == OperandForm::None) {
        hide();
        return;
    }
    show();
    const int cellHeight = height();
    switch (form_) {
    case OperandForm::RegisterAtAddress:
        lblAddr->move(cboR1->width(), 0);
        lblAddr->show();
        txtAddress->move(lblAddr->x() + lblAddr->width() + 1, 0);
        resize(txtAddress->x() + txtAddress->width(), cellHeight);
        ShowRegister(cboR1, fields[0]);
        ShowText(txtAddress, fields[1]);
        break;
    case OperandForm::RegisterAddress:
        txtAddress->move(cboR1->width(), 0);
        resize(txtAddress->x() + txtAddress->width(), cellHeight);
        ShowRegister(cboR1, fields[0]);
        ShowText(txtAddress, fields[1]);
        break;
    case OperandForm::TwoRegisters:
        ShowRegister(cboR1, fields[0]);
        ShowRegister(cboR2, fields[1]);
        break;
    case OperandForm::ThreeRegisters:
        resize(cboR3->x() + cboR3->width(), cellHeight);
        ShowRegister(cboR1, fields[0]);
        ShowRegister(cboR2, fields[1]);
        ShowRegister(cboR3, fields[2]);
        break;
    case OperandForm::RegisterCount:
        txtRotate->setGeometry(cboR1->width(), 0, width() - cboR1->width(), cellHeight);
        ShowRegister(cboR1, fields[0]);
        ShowText(txtRotate, fields[1]);
        break;
    case OperandForm::Byte:
        txtNumber->setGeometry(0, 0, width(), cellHeight);
        ShowText(txtNumber, fields[0]);
        break;
    case OperandForm::None:
        break;
    }
    update();
    (form_ == OperandForm::Byte ? static_cast<QWidget*>(txtNumber) : cboR1)->setFocus();
}

void TOperandPanel::cboR1Click()
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

void TOperandPanel::cboR2Click()
{
    if (!cboR2->currentText().isEmpty() && cboR3->isVisible()) {
        cboR3->setFocus(Qt::OtherFocusReason);
    }
}

// A register is only ever picked from the list; Esc cancels the edit by
// leaving a required field empty.
bool TOperandPanel::cboR1KeyPress(QComboBox* box, QKeyEvent* event)
{
    if (const std::optional<bool> backwards = TabDirection(event)) {
        box->hidePopup();
        TabKeyPress(box, *backwards);
        return true;
    }
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

bool TOperandPanel::OperandFieldKeyPress(QLineEdit* field, QKeyEvent* event)
{
    if (const std::optional<bool> backwards = TabDirection(event)) {
        TabKeyPress(field, *backwards);
        return true;
    }
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

// Tab goes from field to field of the panel in its tab order; past the last
// (or, backwards, the first) it commits and moves on through the grid. An
// operand partly filled in keeps the focus in its first empty field, so that
// Tab never throws a choice away.
void TOperandPanel::TabKeyPress(QWidget* field, bool backwards)
{
    QList<QWidget*> shown;
    for (QWidget* part :
         std::initializer_list<QWidget*>{cboR1, cboR2, cboR3, txtAddress, txtRotate, txtNumber}) {
        if (part->isVisible()) {
            shown.append(part);
        }
    }
    const qsizetype next = shown.indexOf(field) + (backwards ? -1 : 1);
    if (next >= 0 && next < shown.size()) {
        shown[next]->setFocus(Qt::TabFocusReason);
        return;
    }
    if (ComposedOperand().isEmpty()) {
        auto isEmpty = [](const QWidget* part) {
            const auto* box = qobject_cast<const QComboBox*>(part);
            return box ? box->currentText().isEmpty()
                       : static_cast<const QLineEdit*>(part)->text().isEmpty();
        };
        const auto empty = std::find_if(shown.begin(), shown.end(), isEmpty);
        if (empty != shown.end() && !std::all_of(shown.begin(), shown.end(), isEmpty)) {
            (*empty)->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    pnlOperandExit();
    emit tabbedOut(backwards);
}

QString TOperandPanel::ComposedOperand() const
{
    return ComposeOperand(form_, {cboR1->currentText(), cboR2->currentText(), cboR3->currentText(),
                                  txtAddress->text(), txtRotate->text(), txtNumber->text()});
}

void TOperandPanel::pnlOperandFocusOut(QEvent* event)
{
    if (!LeavesWithinWindow(static_cast<QFocusEvent*>(event)) || closing_) {
        return;
    }
    const QWidget* next = QApplication::focusWidget();
    if (!next || (next != this && !isAncestorOf(next))) {
        pnlOperandExit();
    }
}

void TOperandPanel::pnlOperandExit()
{
    if (!isVisible()) {
        return;
    }
    const QString operand = ComposedOperand();
    if (!operand.isEmpty()) {
        emit operandComposed(row_, operand);
    }
    Close();
}

// Hides the panel and empties its fields; when it held the focus, the focus
// goes back where it came from rather than on to the next control.
void TOperandPanel::Close()
{
    {
        const QScopedValueRollback closing(closing_, true);
        const QWidget* focus = QApplication::focusWidget();
        if (focusReturn_ && focus && (focus == this || isAncestorOf(focus))) {
            focusReturn_->setFocus(Qt::OtherFocusReason);
        }
        hide();
    }
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
