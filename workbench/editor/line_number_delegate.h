#pragma once

#include <QStyledItemDelegate>

#include <set>

// The marks by which the grid follows the loaded program.
struct RowMarks {
    int executingRow = -1; // the row of the instruction the machine works on
    std::set<int> breakpoints;
};

// Draws the line numbers of the grid's first column as header sections, with
// a red dot for a breakpoint and an arrow for the executing row, whose cells
// it also gives a background of their own.
class LineNumberDelegate : public QStyledItemDelegate {
public:
    LineNumberDelegate(const RowMarks& marks, QObject* parent)
        : QStyledItemDelegate(parent), marks_(marks)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    void PaintMarks(QPainter* painter, const QStyleOptionViewItem& option,
                    const QModelIndex& index) const;

    const RowMarks& marks_;
};
