#include "workbench/editor/program_editor.h"

#include "assembler/instruction_table.h"
#include "texts/cell_description.h"
#include "texts/number_text.h"
#include "workbench/editor/line_number_delegate.h"
#include "workbench/editor/operand_panel.h"
#include "workbench/rules/editor_forms.h"
#include "workbench/rules/key_filters.h"
#include "workbench/widgets/event_hooks.h"
#include "workbench/widgets/widget_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSpacerItem>
#include <QStyle>
#include <QTableWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <utility>

namespace {

// The grid is never narrower than at 100 % in the window's own font.
constexpr int LeastGridWidth = 272;

bool Within(const QWidget* editor, const QWidget* widget)
{
    return widget && (widget == editor || editor->isAncestorOf(widget));
}

// Source files are bytes: each maps to the character of the same number, so
// whatever a file holds comes back unchanged when it is saved.
std::string Bytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

QString Characters(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

TProgramEditor::TProgramEditor(QWidget* window)
    : QWidget(window), window_(window), hooks_(new EventHooks(this)),
      lblStart(new QLabel(QStringLiteral("START"), this)),
      txtStart(new QLineEdit(QStringLiteral("00"), this)),
      sgrdCode(new QTableWidget(1, GridColumnCount, this))
{
    sgrdCode->setObjectName(QStringLiteral("sgrdCode"));
    sgrdCode->setHorizontalHeaderLabels(
        {QString(), QStringLiteral("標號"), QStringLiteral("指令"), QStringLiteral("運算元")});
    sgrdCode->horizontalHeader()->setSectionsClickable(false);
    sgrdCode->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgrdCode->verticalHeader()->hide();
    sgrdCode->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgrdCode->setSelectionMode(QAbstractItemView::SingleSelection);
    sgrdCode->setSelectionBehavior(QAbstractItemView::SelectItems);
    sgrdCode->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    sgrdCode->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgrdCode->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgrdCode->setFrameShape(QFrame::NoFrame);
    sgrdCode->setTabKeyNavigation(true);
    sgrdCode->setItemDelegate(new LineNumberDelegate(marks_, sgrdCode));
    sgrdCode->setCurrentCell(0, LabelColumn);

    lblStart->setObjectName(QStringLiteral("lblStart"));
    txtStart->setObjectName(QStringLiteral("txtStart"));
    SetTag(txtStart, 0);
    CreateFloatingEditors();
    BuildLayout();
    LayOut();
    AttachFloatingEditors();
    history_ = std::make_unique<QUndoStack>();
    connect(history_.get(), &QUndoStack::canUndoChanged, this, &TProgramEditor::undoAvailable);
    connect(history_.get(), &QUndoStack::canRedoChanged, this, &TProgramEditor::redoAvailable);
}

TProgramEditor::~TProgramEditor() = default;

void TProgramEditor::CreateFloatingEditors()
{
    txtLabel = new QLineEdit(window_);
    txtLabel->setObjectName(QStringLiteral("txtLabel"));
    txtLabel->setValidator(new AdmittedTextValidator(txtLabel, AdmitsLabel));
    txtLabel->hide();
    cboOpcode = new QComboBox(window_);
    cboOpcode->setObjectName(QStringLiteral("cboOpcode"));
    for (const std::string_view mnemonic : Mnemonics) {
        cboOpcode->addItem(QString::fromLatin1(mnemonic.data(), qsizetype(mnemonic.size())));
    }
    cboOpcode->setMaxVisibleItems(cboOpcode->count());
    cboOpcode->setCurrentIndex(-1);
    cboOpcode->hide();
    pnlOperand = new TOperandPanel(window_);
    pnlOperand->SetFocusReturn(sgrdCode);
    connect(pnlOperand, &TOperandPanel::operandComposed, this, &TProgramEditor::CommitOperand);
    connect(pnlOperand, &TOperandPanel::tabbedOut, this, &TProgramEditor::MoveToNextCell);
}

void TProgramEditor::BuildLayout()
{
    lblStart->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    startIndent_ = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    auto* startRow = new QHBoxLayout;
    startRow->setSpacing(0);
    startRow->addSpacerItem(startIndent_);
    startRow->addWidget(lblStart);
    startRow->addWidget(txtStart);
    startRow->addStretch();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addLayout(startRow);
    column->addWidget(sgrdCode);
}

// Column widths follow the font: line number, a six-character label, the
// longest mnemonic, and the operand taking the rest. Each column is at least
// as wide as the editor laid over it needs, so nothing in an editor is cut off.
void TProgramEditor::LayOut()
{
    pnlOperand->LayOut();
    const QFontMetrics metrics(sgrdCode->font());
    const int edges = 2 * qMax(2, style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int gridLine = sgrdCode->showGrid() ? 1 : 0; // a cell is its section less the line
    const int widths[] = {
        metrics.horizontalAdvance(QStringLiteral("000")) + edges,
        qMax(metrics.horizontalAdvance(QStringLiteral("GGGGGG")) + edges,
             LineEditWidthFor(txtLabel, QStringLiteral("GGGGGG")) + gridLine),
        qMax(metrics.horizontalAdvance(QStringLiteral("ROTATE")) + edges,
             cboOpcode->sizeHint().width() + gridLine),
        qMax(metrics.horizontalAdvance(QStringLiteral("R0,@GGGGGG+1")) + edges,
             pnlOperand->WidestFormWidth() + gridLine),
    };
    int gridWidth = scrollBar + edges;
    for (int width : widths) {
        gridWidth += width;
    }
    gridWidth = qMax(gridWidth, LeastGridWidth);
    // The code columns come on top of the grid's own width.
    const int codeWidths[] = {metrics.horizontalAdvance(QStringLiteral("000")) + edges,
                              metrics.horizontalAdvance(QStringLiteral("00 00")) + edges};
    if (codeShown_) {
        sgrdCode->setColumnWidth(AddressColumn, codeWidths[0]);
        sgrdCode->setColumnWidth(CodeColumn, codeWidths[1]);
    }
    const int codeWidth = codeShown_ ? codeWidths[0] + codeWidths[1] : 0;
    sgrdCode->horizontalHeader()->setMinimumSectionSize(0); // the font decides, not the style
    for (int column = 0; column < OperandColumn; ++column) {
        sgrdCode->setColumnWidth(column, widths[column]);
    }
    sgrdCode->setColumnWidth(OperandColumn,
                             gridWidth - widths[0] - widths[1] - widths[2] - scrollBar - edges);
    gridWidth += codeWidth;

    // A cell is as high as the label field; its section adds the grid line.
    const int cellHeight = txtLabel->sizeHint().height();
    const int rowHeight = cellHeight + gridLine;
    // A lower row needs a lower minimum before the rows can take it.
    sgrdCode->verticalHeader()->setMinimumSectionSize(qMin(rowHeight, RowHeight()));
    sgrdCode->verticalHeader()->setDefaultSectionSize(rowHeight);
    sgrdCode->verticalHeader()->setMinimumSectionSize(rowHeight);
    sgrdCode->setFixedWidth(gridWidth);
    SetShownRows(shownRows_);
    txtLabel->setFixedHeight(cellHeight);
    cboOpcode->setFixedHeight(cellHeight);
    pnlOperand->SetCellHeight(cellHeight);

    // START stands above the mnemonic column, its field above the operands.
    startIndent_->changeSize(widths[NumberColumn] + widths[LabelColumn] + edges, 0,
                             QSizePolicy::Fixed, QSizePolicy::Minimum);
    lblStart->setFixedWidth(widths[MnemonicColumn]);
    lblStart->setContentsMargins(0, 0, edges, 0);
    txtStart->setFixedWidth(LineEditWidthFor(txtStart, QStringLiteral("000")));
    layout()->invalidate(); // a spacer does not tell its layout of a new size
}

int TProgramEditor::RowHeight() const
{
    return sgrdCode->verticalHeader()->defaultSectionSize();
}

void TProgramEditor::SetShownRows(int rows)
{
    shownRows_ = rows;
    sgrdCode->setFixedHeight(sgrdCode->horizontalHeader()->sizeHint().height() +
                             rows * RowHeight());
}

void TProgramEditor::AttachFloatingEditors()
{
    hooks_->On(sgrdCode->viewport(), QEvent::MouseButtonRelease,
               [this](QEvent* event) { return sgrdCodeMouseUp(static_cast<QMouseEvent*>(event)); });
    hooks_->On(sgrdCode->viewport(), QEvent::MouseButtonDblClick, [this](QEvent* event) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex cell = sgrdCode->indexAt(mouse->position().toPoint());
        if (mouse->button() != Qt::LeftButton || cell.column() != NumberColumn) {
            return false;
        }
        ToggleBreakpoint(cell.row());
        return true;
    });
    hooks_->On(sgrdCode, QEvent::KeyPress,
               [this](QEvent* event) { return sgrdCodeKeyPress(static_cast<QKeyEvent*>(event)); });
    for (QScrollBar* bar : {sgrdCode->verticalScrollBar(), sgrdCode->horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, &TProgramEditor::sgrdCodeTopLeftChanged);
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
            DropDownOnFocus(cboOpcode);
        }
        return false;
    });
    hooks_->On(cboOpcode, QEvent::KeyPress,
               [this](QEvent* event) { return cboOpcodeKeyPress(static_cast<QKeyEvent*>(event)); });
    // Esc and Tab in the open list close the box as well, not only the list.
    hooks_->On(cboOpcode->view(), QEvent::KeyPress, [this](QEvent* event) {
        const auto* key = static_cast<QKeyEvent*>(event);
        return (TypedCharacter(key) == Escape || TabDirection(key)) &&
               cboOpcodeKeyPress(static_cast<QKeyEvent*>(event));
    });
    hooks_->On(cboOpcode, QEvent::FocusOut, [this](QEvent* event) {
        if (LeavesWithinWindow(static_cast<QFocusEvent*>(event)) && !closingEditor_) {
            cboOpcodeExit();
        }
        return false;
    });
    connect(cboOpcode, &QComboBox::activated, this, &TProgramEditor::cboOpcodeClick);
}

int TProgramEditor::RowCount() const
{
    return sgrdCode->rowCount();
}

QString TProgramEditor::CellText(int row, int column) const
{
    const QTableWidgetItem* item = sgrdCode->item(row, column);
    return item ? item->text() : QString();
}

void TProgramEditor::SetCellText(int row, int column, const QString& text)
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

bool TProgramEditor::IsEmptyRow(int row) const
{
    return CellText(row, LabelColumn).isEmpty() && CellText(row, MnemonicColumn).isEmpty() &&
           CellText(row, OperandColumn).isEmpty();
}

bool TProgramEditor::HasProgram() const
{
    for (int row = 0; row < RowCount(); ++row) {
        if (!IsEmptyRow(row)) {
            return true;
        }
    }
    return false;
}

std::vector<SourceRow> TProgramEditor::Rows() const
{
    std::vector<SourceRow> rows;
    for (int row = 0; row < RowCount(); ++row) {
        rows.push_back({Bytes(CellText(row, LabelColumn)), Bytes(CellText(row, MnemonicColumn)),
                        Bytes(CellText(row, OperandColumn))});
    }
    return rows;
}

void TProgramEditor::SetRows(const std::vector<SourceRow>& rows)
{
    EmptyGrid();
    sgrdCode->setRowCount(static_cast<int>(rows.size()) + 1);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const SourceRow& source = rows[static_cast<std::size_t>(row)];
        SetCellText(row, LabelColumn, Characters(source.label));
        SetCellText(row, MnemonicColumn, Characters(source.mnemonic));
        SetCellText(row, OperandColumn, Characters(source.operand));
    }
}

void TProgramEditor::Clear()
{
    EmptyGrid();
    RenumberRows(0);
}

void TProgramEditor::EmptyGrid()
{
    sgrdCode->clearContents();
    sgrdCode->setRowCount(1);
    marks_ = {};
    emit breakpointsChanged();
    history_->clear();
}

void TProgramEditor::RenumberRows(int firstRow)
{
    NumberRows(firstRow);
    if (RowCount() == 1 && IsEmptyRow(0)) {
        emit emptied();
    }
}

void TProgramEditor::NumberRows(int firstRow)
{
    for (int row = firstRow; row < RowCount(); ++row) {
        SetCellText(row, NumberColumn, QString::number(row + 1));
    }
}

void TProgramEditor::UpdateLineActions()
{
    const int row = sgrdCode->currentRow();
    emit lineCommandsChanged(row >= 0 && !IsEmptyRow(row) && (row == 0 || !IsEmptyRow(row - 1)),
                             row >= 0 && row != RowCount() - 1);
}

void TProgramEditor::CommitEdits()
{
    txtLabelExit();
    if (cboOpcode->isVisible()) {
        cboOpcodeExit();
    }
    pnlOperandExit();
}

int TProgramEditor::TopRow() const
{
    return sgrdCode->verticalScrollBar()->value();
}

int TProgramEditor::VisibleRowCount() const
{
    const int fit = sgrdCode->viewport()->height() / RowHeight();
    return qMin(fit, RowCount() - TopRow());
}

void TProgramEditor::sgrdCodeTopLeftChanged()
{
    CommitEdits();
}

bool TProgramEditor::sgrdCodeMouseUp(QMouseEvent* event)
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
    if (cell.isValid()) {
        OpenCellEditor(cell.row(), cell.column());
    }
    return false;
}

void TProgramEditor::OpenCellEditor(int row, int column)
{
    switch (column) {
    case LabelColumn:
        PlaceOverCell(txtLabel, row, LabelColumn);
        txtLabel->setText(CellText(row, LabelColumn).toUpper());
        labelRow_ = row;
        SetTag(txtLabel, row);
        txtLabel->show();
        txtLabel->setFocus();
        break;
    case MnemonicColumn:
        PlaceOverCell(cboOpcode, row, MnemonicColumn);
        cboOpcode->setCurrentIndex(
            cboOpcode->findText(CellText(row, MnemonicColumn), Qt::MatchFixedString));
        mnemonicRow_ = row;
        SetTag(cboOpcode, row);
        cboOpcode->show();
        cboOpcode->update();
        cboOpcode->setFocus();
        break;
    case OperandColumn:
        PlaceOverCell(pnlOperand, row, OperandColumn);
        operandRow_ = row;
        ShowOperandEditor();
        break;
    default:
        break;
    }
}

// Enter or F2 opens the current cell's editor as a click does; a character
// that a label admits opens the label field with it.
bool TProgramEditor::sgrdCodeKeyPress(QKeyEvent* event)
{
    const int row = sgrdCode->currentRow();
    const int column = sgrdCode->currentColumn();
    const QChar typed = TypedCharacter(event);
    const bool opens = typed == Enter || event->key() == Qt::Key_F2;
    const bool startsLabel = column == LabelColumn && typed.isPrint() &&
                             LabelKey(typed, {}).action != KeyVerdict::Swallow;
    if (row < 0 || column < LabelColumn || !(opens || startsLabel)) {
        return false;
    }
    CommitEdits();
    UpdateLineActions();
    OpenCellEditor(row, column);
    if (startsLabel) {
        QApplication::sendEvent(txtLabel, event);
    }
    return true;
}

void TProgramEditor::ShowOperandEditor()
{
    const int row = operandRow_;
    pnlOperand->ShowOperandEditor(row, CellText(row, MnemonicColumn), CellText(row, OperandColumn));
}

void TProgramEditor::pnlOperandExit()
{
    pnlOperand->pnlOperandExit();
}

void TProgramEditor::CommitOperand(int row, const QString& operand)
{
    if (row < RowCount() && operand != CellText(row, OperandColumn)) {
        EditCell(row, OperandColumn, operand);
        UpdateLineActions();
        emit modified();
    }
}

// Tab from a floating editor goes on from cell to cell within the grid, as on
// the grid itself, and stops at its first and last cells.
void TProgramEditor::MoveToNextCell(bool backwards)
{
    int row = sgrdCode->currentRow();
    int column = sgrdCode->currentColumn() + (backwards ? -1 : 1);
    if (column > OperandColumn) {
        column = LabelColumn;
        ++row;
    } else if (column < LabelColumn) {
        column = OperandColumn;
        --row;
    }
    if (row >= 0 && row < RowCount()) {
        sgrdCode->setCurrentCell(row, column);
    }
    sgrdCode->setFocus(Qt::TabFocusReason);
}

// Floating editors are children of the window, laid over the cell and raised
// above the grid.
void TProgramEditor::PlaceOverCell(QWidget* editor, int row, int column)
{
    const QRect cell = sgrdCode->visualRect(sgrdCode->model()->index(row, column));
    editor->setGeometry(QRect(sgrdCode->viewport()->mapTo(window_, cell.topLeft()), cell.size()));
    editor->raise();
}

// Hides an editor; when it held the focus, the focus goes back to the grid
// rather than on to the next control.
void TProgramEditor::HideFloatingEditor(QWidget* editor)
{
    const QScopedValueRollback closing(closingEditor_, true);
    if (Within(editor, QApplication::focusWidget())) {
        sgrdCode->setFocus(Qt::OtherFocusReason);
    }
    editor->hide();
}

void TProgramEditor::txtLabelEnter()
{
    txtLabel->selectAll();
}

bool TProgramEditor::txtLabelKeyPress(QKeyEvent* event)
{
    // Tab takes the label in and moves on through the grid, as it does there.
    if (const std::optional<bool> backwards = TabDirection(event)) {
        CommitLabel();
        txtLabel->clear();
        MoveToNextCell(*backwards);
        return true;
    }
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

void TProgramEditor::txtLabelExit()
{
    if (txtLabel->isVisible()) {
        CommitLabel();
    }
    txtLabel->clear();
}

void TProgramEditor::CommitLabel()
{
    const int row = labelRow_;
    const QString label = txtLabel->text();
    if (IsAcceptedLabel(label) && row < RowCount() && label != CellText(row, LabelColumn)) {
        EditCell(row, LabelColumn, label);
        UpdateLineActions();
        emit modified();
    }
    HideFloatingEditor(txtLabel);
}

void TProgramEditor::cboOpcodeClick()
{
    const int row = mnemonicRow_;
    const QString mnemonic = cboOpcode->currentText();
    if (row < RowCount() && mnemonic != CellText(row, MnemonicColumn)) {
        const bool appendsRow = row == RowCount() - 1;
        EditCell(row, MnemonicColumn, mnemonic, appendsRow);
        if (appendsRow) {
            sgrdCode->doItemsLayout(); // the scroll range must know the new row
            if (VisibleRowCount() < RowCount()) {
                sgrdCode->verticalScrollBar()->setValue(TopRow() + 1);
            }
        }
        UpdateLineActions();
        emit modified();
    }
    cboOpcode->setCurrentIndex(-1);
    cboOpcodeExit();
}

bool TProgramEditor::cboOpcodeKeyPress(QKeyEvent* event)
{
    if (const std::optional<bool> backwards = TabDirection(event)) {
        cboOpcodeExit();
        MoveToNextCell(*backwards);
        return true;
    }
    const QChar typed = TypedCharacter(event);
    if (typed.isNull()) {
        return false;
    }
    if (typed == Escape) {
        cboOpcodeExit();
    }
    return true;
}

void TProgramEditor::cboOpcodeExit()
{
    cboOpcode->hidePopup();
    HideFloatingEditor(cboOpcode);
}

void TProgramEditor::InsertLine()
{
    const int current = sgrdCode->currentRow();
    if (current < 0) {
        return;
    }
    const auto breakpoint = std::make_shared<bool>(false);
    Record(
        current, -1, false, [this, current, breakpoint] { InsertRowAt(current, {}, *breakpoint); },
        [this, current, breakpoint] { *breakpoint = RemoveRowAt(current); });
    emit lineCommandsChanged(false, true);
}

void TProgramEditor::DeleteLine()
{
    const int current = sgrdCode->currentRow();
    const int last = RowCount() - 1;
    // The last row stays: the grid never runs out of rows.
    if (current < 0 || current >= last) {
        UpdateLineActions();
        return;
    }
    const bool wasEmpty = IsEmptyRow(current);
    const auto breakpoint = std::make_shared<bool>(false);
    Record(
        current, -1, !wasEmpty, [this, current, breakpoint] { *breakpoint = RemoveRowAt(current); },
        [this, current, texts = RowTexts(current), breakpoint] {
            InsertRowAt(current, texts, *breakpoint);
        });
    if (!wasEmpty) {
        emit modified();
    }
    RenumberRows(current);
    UpdateLineActions();
}

// Rows move as a whole: their texts, breakpoints and line numbers. A row
// taken away by a step comes back with the breakpoint it had when it went,
// whatever was toggled since the step was first done.
void TProgramEditor::InsertRowAt(int at, const QStringList& texts, bool breakpoint)
{
    const int count = RowCount();
    sgrdCode->setRowCount(count + 1);
    for (int row = count; row > at; --row) {
        for (int column = LabelColumn; column < GridColumnCount; ++column) {
            SetCellText(row, column, CellText(row - 1, column));
        }
    }
    for (int column = LabelColumn; column < GridColumnCount; ++column) {
        SetCellText(at, column, texts.value(column - LabelColumn));
    }
    NumberRows(at);
    MoveMarks(at, 1);
    if (breakpoint) {
        marks_.breakpoints.insert(at);
        emit breakpointsChanged();
    }
}

bool TProgramEditor::RemoveRowAt(int at)
{
    const bool breakpoint = marks_.breakpoints.contains(at);
    const int last = RowCount() - 1;
    for (int row = at; row < last; ++row) {
        for (int column = LabelColumn; column < GridColumnCount; ++column) {
            SetCellText(row, column, CellText(row + 1, column));
        }
    }
    sgrdCode->setRowCount(last);
    NumberRows(at);
    MoveMarks(at, -1);
    return breakpoint;
}

QStringList TProgramEditor::RowTexts(int row) const
{
    return {CellText(row, LabelColumn), CellText(row, MnemonicColumn),
            CellText(row, OperandColumn)};
}

int TProgramEditor::CurrentRow() const
{
    return sgrdCode->currentRow();
}

void TProgramEditor::MarkExecutingRow(int row)
{
    if (row == marks_.executingRow) {
        return;
    }
    // Only the two rows are drawn anew: during a run the mark moves every frame.
    UpdateRow(std::exchange(marks_.executingRow, row));
    UpdateRow(row);
    if (row >= 0 && row < RowCount()) {
        sgrdCode->scrollTo(sgrdCode->model()->index(row, NumberColumn));
    }
}

// A DB row holds data, which is never fetched as an instruction.
bool TProgramEditor::CanToggleBreakpoint(int row) const
{
    if (row < 0 || row >= RowCount()) {
        return false;
    }
    const bool data = OpcodeOf(Bytes(CellText(row, MnemonicColumn))) == OpcodeOf("DB");
    return (!IsEmptyRow(row) && !data) || marks_.breakpoints.contains(row);
}

void TProgramEditor::ClearBreakpoints()
{
    if (!marks_.breakpoints.empty()) {
        marks_.breakpoints.clear();
        sgrdCode->viewport()->update();
        emit breakpointsChanged();
    }
}

void TProgramEditor::ToggleBreakpoint(int row)
{
    if (!CanToggleBreakpoint(row)) {
        return;
    }
    if (!marks_.breakpoints.erase(row)) {
        marks_.breakpoints.insert(row);
    }
    sgrdCode->viewport()->update();
    emit breakpointsChanged();
}

void TProgramEditor::UpdateRow(int row)
{
    const QAbstractItemModel* model = sgrdCode->model();
    sgrdCode->viewport()->update(
        sgrdCode->visualRect(model->index(row, NumberColumn))
            .united(sgrdCode->visualRect(model->index(row, OperandColumn))));
}

std::vector<int> TProgramEditor::BreakpointRows() const
{
    return {marks_.breakpoints.begin(), marks_.breakpoints.end()};
}

void TProgramEditor::SelectRow(int row)
{
    CommitEdits();
    if (row < 0 || row >= RowCount()) {
        return;
    }
    sgrdCode->setCurrentCell(row, qMax(+LabelColumn, sgrdCode->currentColumn()));
    sgrdCode->scrollTo(sgrdCode->model()->index(row, NumberColumn));
    UpdateLineActions();
}

void TProgramEditor::ShowMachineCode(const std::vector<LineCode>& code)
{
    code_ = code;
    if (codeShown_) {
        FillMachineCode();
    }
}

void TProgramEditor::SetMachineCodeShown(bool shown)
{
    if (shown == codeShown_) {
        return;
    }
    codeShown_ = shown;
    rowsWithCode_.clear();
    sgrdCode->setColumnCount(shown ? CodeColumn + 1 : GridColumnCount);
    if (shown) {
        sgrdCode->setHorizontalHeaderItem(AddressColumn,
                                          new QTableWidgetItem(QStringLiteral("位址")));
        sgrdCode->setHorizontalHeaderItem(CodeColumn,
                                          new QTableWidgetItem(QStringLiteral("機器碼")));
        FillMachineCode();
    }
    LayOut();
}

// Hexadecimal, as listings are; "--" for a cell that a DB reserved.
void TProgramEditor::FillMachineCode()
{
    for (const int row : std::exchange(rowsWithCode_, {})) {
        for (const int column : {+AddressColumn, +CodeColumn}) {
            if (QTableWidgetItem* item = sgrdCode->item(row, column)) {
                item->setText(QString());
                item->setToolTip(QString());
            }
        }
    }
    for (const LineCode& line : code_) {
        const int row = line.line - 1;
        if (row >= RowCount()) {
            continue;
        }
        QStringList bytes;
        for (const int byte : line.bytes) {
            bytes << (byte < 0 ? QStringLiteral("--")
                               : QString::fromLatin1(FormatNumber(byte, HexRadix)));
        }
        const int second = line.bytes.size() > 1 ? line.bytes[1] : -1;
        const QString description =
            QString::fromStdString(CellDescription(line.bytes.front(), second));
        const QString texts[] = {QString::fromLatin1(FormatNumber(line.address, HexRadix)),
                                 bytes.join(u' ')};
        for (const int column : {+AddressColumn, +CodeColumn}) {
            auto* item = new QTableWidgetItem(texts[column - AddressColumn]);
            item->setFlags(Qt::ItemIsEnabled); // never current, never edited
            item->setToolTip(description);
            sgrdCode->setItem(row, column, item);
        }
        rowsWithCode_.push_back(row);
    }
}

// A deleted row takes its breakpoint with it.
void TProgramEditor::MoveMarks(int firstRow, int delta)
{
    std::set<int> moved;
    for (const int row : marks_.breakpoints) {
        if (row < firstRow) {
            moved.insert(row);
        } else if (delta > 0 || row >= firstRow - delta) {
            moved.insert(row + delta);
        }
    }
    marks_.breakpoints = moved;
    sgrdCode->viewport()->update();
    emit rowsMoved(firstRow, delta);
}
