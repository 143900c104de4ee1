#include "workbench/editor/line_number_delegate.h"

#include "workbench/rules/editor_forms.h"

#include <QPainter>

namespace {

const QColor ExecutingRowColour(255, 240, 165);
const QColor ExecutingArrowColour(225, 120, 0);
const QColor BreakpointColour(210, 30, 30);

} // namespace

void LineNumberDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    if (index.column() != NumberColumn) {
        if (index.row() == marks_.executingRow) {
            painter->fillRect(option.rect, ExecutingRowColour);
        }
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionHeader header;
    header.rect = option.rect;
    header.palette = option.palette;
    // The numbers follow the grid's text colour like its other cells.
    header.palette.setColor(QPalette::ButtonText, option.widget->palette().color(QPalette::Text));
    header.fontMetrics = option.fontMetrics;
    header.state = QStyle::State_Enabled | QStyle::State_Raised;
    header.orientation = Qt::Vertical;
    if (!marks_.breakpoints.contains(index.row())) {
        header.text = index.data().toString();
    }
    header.textAlignment = Qt::AlignCenter;
    painter->save(); // the style may leave a clip behind
    option.widget->style()->drawControl(QStyle::CE_Header, &header, painter, option.widget);
    painter->restore();
    painter->save();
    PaintMarks(painter, option, index);
    painter->restore();
}

// The dot is as high as the cell allows and as wide as the number in it; the
// arrow points at the executing row over a tint of its background.
void LineNumberDelegate::PaintMarks(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    const QRectF cell = option.rect;
    const bool executing = index.row() == marks_.executingRow;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    if (executing) {
        QColor tint = ExecutingRowColour;
        tint.setAlpha(150); // the section's edges show through
        painter->fillRect(cell, tint);
    }
    if (marks_.breakpoints.contains(index.row())) {
        const QString number = index.data().toString();
        const qreal height = qMin(cell.height(), cell.width()) - 4;
        const qreal width =
            qBound(height, option.fontMetrics.horizontalAdvance(number) + 4.0, cell.width() - 2);
        QRectF dot(0, 0, width, height);
        dot.moveCenter(cell.center());
        painter->setBrush(BreakpointColour);
        painter->drawRoundedRect(dot, height / 2, height / 2);
        painter->setPen(Qt::white);
        painter->drawText(cell, Qt::AlignCenter, number);
        painter->setPen(Qt::NoPen);
    }
    if (executing) {
        const qreal half = cell.height() / 5;
        const qreal left = cell.left() + 1;
        painter->setBrush(ExecutingArrowColour);
        painter->drawPolygon(QPolygonF({QPointF(left, cell.center().y() - half),
                                        QPointF(left + 1.2 * half, cell.center().y()),
                                        QPointF(left, cell.center().y() + half)}));
    }
}
