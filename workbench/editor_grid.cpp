// The program grid: rows of label, mnemonic and operand, their line numbers,
// the START field above them and the floating editors laid over a cell.
#include "event_hooks.h"
#include "main_form.h"
#include "widget_support.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTableWidget>

namespace {

enum GridColumn { NumberColumn = 0, LabelColumn, MnemonicColumn, OperandColumn, ColumnCount };

} // namespace

void TMainForm::CreateEditor()
{
    sgrdCode = new QTableWidget(1, ColumnCount, this);
    sgrdCode->setObjectName(QStringLiteral("sgrdCode"));
    sgrdCode->horizontalHeader()->hide();
    sgrdCode->verticalHeader()->hide();
    sgrdCode->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgrdCode->setSelectionMode(QAbstractItemView::SingleSelection);
    sgrdCode->setSelectionBehavior(QAbstractItemView::SelectItems);
    sgrdCode->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgrdCode->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgrdCode->setFrameShape(QFrame::NoFrame);
    sgrdCode->setTabKeyNavigation(false);

    lblStart = new QLabel(QStringLiteral("START"), this);
    lblStart->setObjectName(QStringLiteral("lblStart"));
    txtStart = new QLineEdit(QStringLiteral("00"), this);
    txtStart->setObjectName(QStringLiteral("txtStart"));
    SetTag(txtStart, 0);

    txtLabel = new QLineEdit(this);
    txtLabel->setObjectName(QStringLiteral("txtLabel"));
    txtLabel->hide();
    cboOpcode = new QComboBox(this);
    cboOpcode->setObjectName(QStringLiteral("cboOpcode"));
    cboOpcode->addItems({QStringLiteral("LOADA"), QStringLiteral("LOAD"), QStringLiteral("STORE"),
                         QStringLiteral("MOVE"), QStringLiteral("ADD"), QStringLiteral("ADDF"),
                         QStringLiteral("OR"), QStringLiteral("AND"), QStringLiteral("XOR"),
                         QStringLiteral("ROTATE"), QStringLiteral("JUMP"), QStringLiteral("HALT"),
                         QStringLiteral("DB")});
    cboOpcode->setMaxVisibleItems(13);
    cboOpcode->hide();

    // Column widths follow the font: line number, a six-character label, the
    // longest mnemonic, and the operand taking the rest.
    const QFontMetrics metrics(sgrdCode->font());
    const int edges = 2 * qMax(2, style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int widths[] = {
        metrics.horizontalAdvance(QStringLiteral("000")) + edges,
        metrics.horizontalAdvance(QStringLiteral("GGGGGG")) + edges,
        metrics.horizontalAdvance(QStringLiteral("ROTATE")) + edges,
        metrics.horizontalAdvance(QStringLiteral("R0,@GGGGGG+1")) + edges,
    };
    int gridWidth = scrollBar + edges;
    for (int column = 0; column < ColumnCount; ++column) {
        gridWidth += widths[column];
    }
    gridWidth = qMax(gridWidth, 272);
    for (int column = 0; column < OperandColumn; ++column) {
        sgrdCode->setColumnWidth(column, widths[column]);
    }
    sgrdCode->setColumnWidth(OperandColumn, gridWidth - widths[0] - widths[1] - widths[2] -
                                                scrollBar - edges);
    const int rowHeight = txtLabel->sizeHint().height();
    sgrdCode->verticalHeader()->setMinimumSectionSize(rowHeight);
    sgrdCode->verticalHeader()->setDefaultSectionSize(rowHeight);
    sgrdCode->setFixedSize(gridWidth, 11 * rowHeight);
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
        item->setFlags(Qt::ItemIsEnabled);
        item->setTextAlignment(Qt::AlignCenter);
        item->setBackground(palette().button());
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
    actEditDeleteLine->setEnabled(row != rows - 1);
    actEditInsertLine->setEnabled(!IsEmptyRow(row) && (row == 0 || !IsEmptyRow(row - 1)));
}

void TMainForm::CommitEdits()
{
    // Filled in with the floating editors.
    if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        field && DisplayFieldOf(field)) {
        CommitNumberField(field);
    }
}

void TMainForm::actEditInsertLineExecute() {}
void TMainForm::actEditDeleteLineExecute() {}
