#pragma once

#include "window_test.h"

#include <QComboBox>
#include <QTableWidget>

// Drives the program grid and its floating editors as a user would.
class EditorTest : public WindowTest {
protected:
    QTableWidget* Grid() const { return form->sgrdCode; }
    QRect CellRect(int row, int column) const;
    void ClickCell(int row, int column, Qt::MouseButton button = Qt::LeftButton);

    // Fills the grid as a loaded source file does: one row per line and an
    // empty row at the end.
    void Load(const QList<QStringList>& lines);
    QStringList Row(int row) const; // label, mnemonic, operand

    // Waits for the box's list to drop down and clicks the item in it.
    void Pick(QComboBox* box, const QString& item);
    void ChooseMnemonic(int row, const QString& mnemonic);
    // The register box whose list has dropped down.
    QComboBox* DroppedBox() const;
    // Types into whichever field holds the focus.
    void Type(const QString& keys);
    void Press(Qt::Key key);
};
