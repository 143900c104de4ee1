#pragma once

#include "window_test.h"
#include "workbench/editor/program_editor.h"
#include "workbench/window/window_states.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

// Drives the program grid of a window and its floating editors as a user would.
class GridUser {
protected:
    virtual ~GridUser() = default;
    virtual QWidget* Window() const = 0;

    QTableWidget* Grid() const;
    QRect CellRect(int row, int column) const;
    void ClickCell(int row, int column, Qt::MouseButton button = Qt::LeftButton);
    QStringList Row(int row) const; // label, mnemonic, operand

    // Waits for the box's list to drop down and clicks the item in it.
    static void Pick(QComboBox* box, const QString& item);
    void ChooseMnemonic(int row, const QString& mnemonic);
    // The register box whose list has dropped down.
    QComboBox* DroppedBox() const;
    // Types into whichever field holds the focus.
    static void Type(const QString& keys);
    static void Press(Qt::Key key);
};

// Stands in for the main window around a program editor, without a machine:
// it records the states the editor asks for and offers the line commands,
// undo and redo, whose availability the editor reports, as the window does.
class EditorHost : public QWidget {
public:
    EditorHost();

    int RecordedState() const { return state_; }
    void SetState(int state) { state_ = state; }
    void CommitEdits() { editor->CommitEdits(); }
    QString CellText(int row, int column) const { return editor->CellText(row, column); }
    bool IsEmptyRow(int row) const { return editor->IsEmptyRow(row); }

    TProgramEditor* editor;
    QAction* actEditInsertLine;
    QAction* actEditDeleteLine;
    QAction* actEditUndo;
    QAction* actEditRedo;
    QLineEdit* txtLabel;
    QComboBox* cboOpcode;
    QFrame* pnlOperand;
    QComboBox* cboR1;
    QComboBox* cboR2;
    QComboBox* cboR3;
    QLineEdit* txtAddress;

private:
    int state_ = StateNew;
};

// A program editor on a bare window of its own, shown and active.
class EditorTest : public ::testing::Test, protected GridUser {
protected:
    void SetUp() override;
    void TearDown() override { form.reset(); }
    QWidget* Window() const override { return form.get(); }

    // Fills the grid as a loaded source file does: one row per line and an
    // empty row at the end.
    void Load(const QList<QStringList>& lines);
    int Tag(const QString& name) const;

    std::unique_ptr<EditorHost> form;
};

// The whole window, driven through its program grid.
class WindowEditorTest : public WindowTest, protected GridUser {
protected:
    QWidget* Window() const override { return form.get(); }
};
