#include "line_number_delegate.h"

#include "editor_forms.h"

#include <QPainter>

void LineNumberDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    if (index.column() != NumberColumn) {
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
    header.text = index.data().toString();
    header.textAlignment = Qt::AlignCenter;
    painter->save(); // the style may leave a clip behind
    option.widget->style()->drawControl(QStyle::CE_Header, &header, painter, option.widget);
    painter->restore();
}
