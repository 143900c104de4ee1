#pragma once

#include <QStyledItemDelegate>

// Draws the line numbers of the grid's first column as header sections.
class LineNumberDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
