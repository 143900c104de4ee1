#include "editor_test.h"

#include <QAbstractItemView>

QRect EditorTest::CellRect(int row, int column) const
{
    return Grid()->visualRect(Grid()->model()->index(row, column));
}

void EditorTest::ClickCell(int row, int column, Qt::MouseButton button)
{
    QTest::mouseClick(Grid()->viewport(), button, {}, CellRect(row, column).center());
}

void EditorTest::Load(const QList<QStringList>& lines)
{
    Grid()->setRowCount(lines.size() + 1);
    for (int row = 0; row < lines.size(); ++row) {
        for (int column = 1; column <= 3; ++column) {
            form->SetCellText(row, column, lines[row].value(column - 1));
        }
    }
    form->RenumberRows(0);
}

QStringList EditorTest::Row(int row) const
{
    return {form->CellText(row, 1), form->CellText(row, 2), form->CellText(row, 3)};
}

void EditorTest::Pick(QComboBox* box, const QString& item)
{
    ASSERT_NE(box, nullptr);
    QAbstractItemView* list = box->view();
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->isVisible(); })) << "list not dropped down";
    const QRect rect = list->visualRect(box->model()->index(box->findText(item), 0));
    const QPoint centre(list->viewport()->width() / 2, rect.center().y());
    QTest::mouseMove(list->viewport(), centre);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    ASSERT_TRUE(QTest::qWaitFor([list] { return !list->isVisible(); })) << "list still down";
}

void EditorTest::ChooseMnemonic(int row, const QString& mnemonic)
{
    ClickCell(row, 2);
    Pick(form->cboOpcode, mnemonic);
}

QComboBox* EditorTest::DroppedBox() const
{
    QComboBox* dropped = nullptr;
    (void)QTest::qWaitFor([this, &dropped] {
        for (QComboBox* box : {form->cboR1, form->cboR2, form->cboR3}) {
            if (box->view()->isVisible()) {
                dropped = box;
            }
        }
        return dropped != nullptr;
    });
    return dropped;
}

void EditorTest::Type(const QString& keys)
{
    QTest::keyClicks(QApplication::focusWidget(), keys);
}

void EditorTest::Press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}
