// The program grid: rows of label, mnemonic and operand, their line numbers,
// the START field above them and the floating editors laid over a cell.
#include "editor_forms.h"
#include "event_hooks.h"
#include "key_filters.h"
#include "main_form.h"
#include "widget_support.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>

namespace {

constexpr int ShownRows = 11;

// Draws the line numbers of column 0 as header sections.
class LineNumberDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        if (index.column() != NumberColumn) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionHeader header;
        header.rect = option.rect;
        header.palette = option.palette;
        // The numbers follow the grid's text colour like its other cells.
        header.palette.setColor(QPalette::ButtonText,
                                option.widget->palette().color(QPalette::Text));
        header.fontMetrics = option.fontMetrics;
        header.state = QStyle::State_Enabled | QStyle::State_Raised;
        header.orientation = Qt::Vertical;
        header.text = index.data().toString();
        header.textAlignment = Qt::AlignCenter;
        painter->save(); // the style may leave a clip behind
        option.widget->style()->drawControl(QStyle::CE_Header, &header, painter, option.widget);
        painter->restore();
    }
};

bool Within(const QWidget* editor, const QWidget* widget)
{
    return widget && (widget == editor || editor->isAncestorOf(widget));
}

} // namespace

void TMainForm::CreateEditor()
{
    sgrdCode = new QTableWidget(1, GridColumnCount, this);
    sgrdCode->setObjectName(QStringLiteral("sgrdCode"));
    sgrdCode->horizontalHeader()->hide();
    sgrdCode->verticalHeader()->hide();
    sgrdCode->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgrdCode->setSelectionMode(QAbstractItemView::SingleSelection);
    sgrdCode->setSelectionBehavior(QAbstractItemView::SelectItems);
    sgrdCode->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    sgrdCode->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgrdCode->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgrdCode->setFrameShape(QFrame::NoFrame);
    sgrdCode->setTabKeyNavigation(false);
    sgrdCode->setItemDelegate(new LineNumberDelegate(sgrdCode));
    sgrdCode->setCurrentCell(0, LabelColumn);

    lblStart = new QLabel(QStringLiteral("START"), this);
    lblStart->setObjectName(QStringLiteral("lblStart"));
    txtStart = new QLineEdit(QStringLiteral("00"), this);
    txtStart->setObjectName(QStringLiteral("txtStart"));
    SetTag(txtStart, 0);

    txtLabel = new QLineEdit(this);
    txtLabel->setObjectName(QStringLiteral("txtLabel"));
    // Typed keys meet the key filter first; the validator keeps pasted text
    // to what could have been typed.
    txtLabel->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9A-Z_]{0,6}")), txtLabel));
    txtLabel->hide();
    cboOpcode = new QComboBox(this);
    cboOpcode->setObjectName(QStringLiteral("cboOpcode"));
    cboOpcode->addItems({QStringLiteral("LOADA"), QStringLiteral("LOAD"), QStringLiteral("STORE"),
                         QStringLiteral("MOVE"), QStringLiteral("ADD"), QStringLiteral("ADDF"),
                         QStringLiteral("OR"), QStringLiteral("AND"), QStringLiteral("XOR"),
                         QStringLiteral("ROTATE"), QStringLiteral("JUMP"), QStringLiteral("HALT"),
                         QStringLiteral("DB")});
    cboOpcode->setMaxVisibleItems(cboOpcode->count());
    cboOpcode->setCurrentIndex(-1);
    cboOpcode->hide();
    AttachFloatingEditors();
}

// Column widths follow the font: line number, a six-character label, the
// longest mnemonic, and the operand taking the rest. Each column is at least
// as wide as the editor laid over it needs, so nothing in an editor is cut off.
void TMainForm::LayOutEditor()
{
    const QFontMetrics metrics(sgrdCode->font());
    const int edges = 2 * qMax(2, style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int gridLine = sgrdCode->showGrid() ? 1 : 0; // a cell is its section less the line
    const int operandPanelWidth =
        qMax(3 * cboR1->width(), cboR1->width() + lblAddr->width() + 1 + txtAddress->width());
    const int widths[] = {
        metrics.horizontalAdvance(QStringLiteral("000")) + edges,
        qMax(metrics.horizontalAdvance(QStringLiteral("GGGGGG")) + edges,
             LineEditWidthFor(txtLabel, QStringLiteral("GGGGGG")) + gridLine),
        qMax(metrics.horizontalAdvance(QStringLiteral("ROTATE")) + edges,
             cboOpcode->sizeHint().width() + gridLine),
        qMax(metrics.horizontalAdvance(QStringLiteral("R0,@GGGGGG+1")) + edges,
             operandPanelWidth + gridLine),
    };
    int gridWidth = scrollBar + edges;
    for (int width : widths) {
        gridWidth += width;
    }
    gridWidth = qMax(gridWidth, 272);
    sgrdCode->horizontalHeader()->setMinimumSectionSize(0); // the font decides, not the style
    for (int column = 0; column < OperandColumn; ++column) {
        sgrdCode->setColumnWidth(column, widths[column]);
    }
    sgrdCode->setColumnWidth(OperandColumn,
                             gridWidth - widths[0] - widths[1] - widths[2] - scrollBar - edges);

    // A cell is as high as the label field; its section adds the grid line.
    const int cellHeight = txtLabel->sizeHint().height();
    const int rowHeight = cellHeight + gridLine;
    sgrdCode->verticalHeader()->setMinimumSectionSize(rowHeight);
    sgrdCode->verticalHeader()->setDefaultSectionSize(rowHeight);
    sgrdCode->setFixedSize(gridWidth, ShownRows * rowHeight);
    for (QWidget* editor : {static_cast<QWidget*>(txtLabel), static_cast<QWidget*>(cboOpcode),
                            static_cast<QWidget*>(pnlOperand)}) {
        editor->setFixedHeight(cellHeight);
    }
    for (QWidget* field : pnlOperand->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        field->setFixedHeight(cellHeight);
    }

    lblStart->setFixedWidth(widths[MnemonicColumn]);
    lblStart->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblStart->setContentsMargins(0, 0, edges, 0);
    txtStart->setFixedWidth(LineEditWidthFor(txtStart, QStringLiteral("000")));
    startLabelIndent_ = widths[NumberColumn] + widths[LabelColumn] + edges;
}

int TMainForm::StartLabelIndent() const
{
    return startLabelIndent_;
}

void TMainForm::AttachFloatingEditors()
{
    hooks_->On(sgrdCode->viewport(), QEvent::MouseButtonRelease,
               [this](QEvent* event) { return sgrdCodeMouseUp(static_cast<QMouseEvent*>(event)); });
    for (QScrollBar* bar : {sgrdCode->verticalScrollBar(), sgrdCode->horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, &TMainForm::sgrdCodeTopLeftChanged);
    }

    hooks_->On(txtLabel, QEvent::FocusIn, [this](QEvent* event) {
        if (LeavesWithinWindow(static_cast<QFocusEvent*>(event))) {
            txtLabelEnter();
        }
        return false;
    });
    hooks_->On(txtLabel, QEvent::KeyPress,
               [this](QEvent* event) { return txtLabelKeyPress(static_cast<QKeyEvent*>(event)); });
    hooks_->On(txtLabel, QEvent::FocusOut, [this](QEvent* event) {
        if (LeavesWithinWindow(static_cast<QFocusEvent*>(event)) && !closingEditor_) {
            txtLabelExit();
        }
        return false;
    });

    hooks_->On(cboOpcode, QEvent::FocusIn, [this](QEvent* event) {
        if (LeavesWithinWindow(static_cast<QFocusEvent*>(event))) {
            cboR1Enter(cboOpcode);
        }
        return false;
    });
    hooks_->On(cboOpcode, QEvent::KeyPress,
               [this](QEvent* event) { return cboOpcodeKeyPress(static_cast<QKeyEvent*>(event)); });
    // Esc in the open list closes the box as well, not only the list.
    hooks_->On(cboOpcode->view(), QEvent::KeyPress, [this](QEvent* event) {
        return TypedCharacter(static_cast<QKeyEvent*>(event)) == Escape &&
               cboOpcodeKeyPress(static_cast<QKeyEvent*>(event));
    });
    hooks_->On(cboOpcode, QEvent::FocusOut, [this](QEvent* event) {
        if (LeavesWithinWindow(static_cast<QFocusEvent*>(event)) && !closingEditor_) {
            cboOpcodeExit();
        }
        return false;
    });
    connect(cboOpcode, &QComboBox::activated, this, &TMainForm::cboOpcodeClick);
}

QString TMainForm::CellText(int row, int column) const
{
    const QTableWidgetItem* item = sgrdCode->item(row, column);
    return item ? item->text() : QString();
}

void TMainForm::SetCellText(int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = sgrdCode->item(row, column)) {
        item->setText(text);
        return;
    }
    auto* item = new QTableWidgetItem(text);
    if (column == NumberColumn) {
        item->setFlags(Qt::NoItemFlags); // never current, never selected
    }
    sgrdCode->setItem(row, column, item);
}

bool TMainForm::IsEmptyRow(int row) const
{
    return CellText(row, LabelColumn).isEmpty() && CellText(row, MnemonicColumn).isEmpty() &&
           CellText(row, OperandColumn).isEmpty();
}

void TMainForm::RenumberRows(int firstRow)
{
    for (int row = firstRow; row < sgrdCode->rowCount(); ++row) {
        SetCellText(row, NumberColumn, QString::number(row + 1));
    }
    if (sgrdCode->rowCount() == 1 && IsEmptyRow(0)) {
        SetState(StateNew);
    }
}

void TMainForm::UpdateLineActions()
{
    const int row = sgrdCode->currentRow();
    const int rows = sgrdCode->rowCount();
    actEditDeleteLine->setEnabled(row >= 0 && row != rows - 1);
    actEditInsertLine->setEnabled(row >= 0 && !IsEmptyRow(row) &&
                                  (row == 0 || !IsEmptyRow(row - 1)));
}

void TMainForm::CommitEdits()
{
    txtLabelExit();
    if (cboOpcode->isVisible()) {
        cboOpcodeExit();
    }
    if (pnlOperand->isVisible()) {
        pnlOperandExit();
    }
    if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        field && DisplayFieldOf(field)) {
        CommitNumberField(field);
    }
}

int TMainForm::TopRow() const
{
    return sgrdCode->verticalScrollBar()->value();
}

int TMainForm::VisibleRowCount() const
{
    const int fit =
        sgrdCode->viewport()->height() / sgrdCode->verticalHeader()->defaultSectionSize();
    return qMin(fit, sgrdCode->rowCount() - TopRow());
}

void TMainForm::sgrdCodeTopLeftChanged()
{
    CommitEdits();
}

bool TMainForm::sgrdCodeMouseUp(QMouseEvent* event)
{
    CommitEdits();
    const QModelIndex cell = sgrdCode->indexAt(event->position().toPoint());
    if (cell.isValid()) {
        const int column = cell.column() >= LabelColumn
                               ? cell.column()
                               : qMax(+LabelColumn, sgrdCode->currentColumn());
        sgrdCode->setCurrentCell(cell.row(), column);
    }
    if (event->button() == Qt::RightButton) {
        return false;
    }
    UpdateLineActions();
    if (!cell.isValid()) {
        return false;
    }
    const int row = cell.row();
    switch (cell.column()) {
    case LabelColumn:
        PlaceOverCell(txtLabel, row, LabelColumn);
        txtLabel->setText(CellText(row, LabelColumn).toUpper());
        SetTag(txtLabel, row);
        txtLabel->show();
        txtLabel->setFocus();
        break;
    case MnemonicColumn:
        PlaceOverCell(cboOpcode, row, MnemonicColumn);
        cboOpcode->setCurrentIndex(
            cboOpcode->findText(CellText(row, MnemonicColumn), Qt::MatchFixedString));
        SetTag(cboOpcode, row);
        cboOpcode->show();
        cboOpcode->update();
        cboOpcode->setFocus();
        break;
    case OperandColumn:
        PlaceOverCell(pnlOperand, row, OperandColumn);
        SetTag(pnlOperand, row);
        ShowOperandEditor();
        break;
    default:
        break;
    }
    return false;
}

// Floating editors are children of the window, laid over the cell and raised
// above the grid.
void TMainForm::PlaceOverCell(QWidget* editor, int row, int column)
{
    const QRect cell = sgrdCode->visualRect(sgrdCode->model()->index(row, column));
    editor->setGeometry(QRect(sgrdCode->viewport()->mapTo(this, cell.topLeft()), cell.size()));
    editor->raise();
}

// Hides an editor; when it held the focus, the focus goes back to the grid
// rather than on to the next control.
void TMainForm::HideFloatingEditor(QWidget* editor)
{
    const QScopedValueRollback closing(closingEditor_, true);
    if (Within(editor, QApplication::focusWidget())) {
        sgrdCode->setFocus(Qt::OtherFocusReason);
    }
    editor->hide();
}

void TMainForm::txtLabelEnter()
{
    txtLabel->selectAll();
}

bool TMainForm::txtLabelKeyPress(QKeyEvent* event)
{
    const QChar typed = TypedCharacter(event);
    if (typed.isNull() || typed == Backspace) {
        return false;
    }
    if (typed == Enter) {
        CommitLabel();
        txtLabel->clear();
        return true;
    }
    if (typed == Escape) {
        HideFloatingEditor(txtLabel);
        txtLabel->clear();
        return true;
    }
    return ApplyKeyVerdict(txtLabel, LabelKey(typed, EditStateOf(txtLabel)));
}

void TMainForm::txtLabelExit()
{
    if (txtLabel->isVisible()) {
        CommitLabel();
    }
    txtLabel->clear();
}

void TMainForm::CommitLabel()
{
    const int row = TagOf(txtLabel);
    const QString label = txtLabel->text();
    if (IsAcceptedLabel(label) && row < sgrdCode->rowCount() &&
        label != CellText(row, LabelColumn)) {
        SetCellText(row, LabelColumn, label);
        UpdateLineActions();
        SetState(StateModified);
    }
    HideFloatingEditor(txtLabel);
}

void TMainForm::cboR1Enter(QComboBox* box)
{
    // After the focus change has settled, so that the list opening does not
    // interleave with it.
    QTimer::singleShot(0, box, [box] {
        if (box->isVisible() && box->hasFocus() && !box->view()->isVisible()) {
            box->showPopup();
        }
    });
}

void TMainForm::cboOpcodeClick()
{
    const int row = TagOf(cboOpcode);
    const QString mnemonic = cboOpcode->currentText();
    if (row < sgrdCode->rowCount() && mnemonic != CellText(row, MnemonicColumn)) {
        SetCellText(row, MnemonicColumn, mnemonic);
        if (row == sgrdCode->rowCount() - 1) {
            sgrdCode->setRowCount(row + 2);
            sgrdCode->doItemsLayout(); // the scroll range must know the new row
            if (VisibleRowCount() < sgrdCode->rowCount()) {
                sgrdCode->verticalScrollBar()->setValue(TopRow() + 1);
            }
            RenumberRows(row);
        }
        UpdateLineActions();
        SetState(StateModified);
    }
    cboOpcode->setCurrentIndex(-1);
    cboOpcodeExit();
}

bool TMainForm::cboOpcodeKeyPress(QKeyEvent* event)
{
    const QChar typed = TypedCharacter(event);
    if (typed.isNull()) {
        return false;
    }
    if (typed == Escape) {
        cboOpcodeExit();
    }
    return true;
}

void TMainForm::cboOpcodeExit()
{
    cboOpcode->hidePopup();
    HideFloatingEditor(cboOpcode);
}

void TMainForm::actEditInsertLineExecute()
{
    CommitEdits();
    const int current = sgrdCode->currentRow();
    if (current < 0) {
        return;
    }
    const int last = sgrdCode->rowCount();
    sgrdCode->setRowCount(last + 1);
    for (int row = last; row > current; --row) {
        for (int column = LabelColumn; column < GridColumnCount; ++column) {
            SetCellText(row, column, CellText(row - 1, column));
        }
    }
    for (int column = LabelColumn; column < GridColumnCount; ++column) {
        SetCellText(current, column, QString());
    }
    RenumberRows(current);
    actEditInsertLine->setEnabled(false);
    actEditDeleteLine->setEnabled(true);
}

void TMainForm::actEditDeleteLineExecute()
{
    CommitEdits();
    const int current = sgrdCode->currentRow();
    const int last = sgrdCode->rowCount() - 1;
    // The last row stays: the grid never runs out of rows.
    if (current < 0 || current >= last) {
        UpdateLineActions();
        return;
    }
    const bool wasEmpty = IsEmptyRow(current);
    for (int row = current; row < last; ++row) {
        for (int column = LabelColumn; column < GridColumnCount; ++column) {
            SetCellText(row, column, CellText(row + 1, column));
        }
    }
    sgrdCode->setRowCount(last);
    if (!wasEmpty) {
        SetState(StateModified);
    }
    RenumberRows(current);
    UpdateLineActions();
}
