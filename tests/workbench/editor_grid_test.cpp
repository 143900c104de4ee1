#include "editor_test.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QMenu>
#include <QScrollBar>

class EditorGridTest : public EditorTest {
protected:
    bool CanInsert() const { return form->actEditInsertLine->isEnabled(); }
    bool CanDelete() const { return form->actEditDeleteLine->isEnabled(); }
    QStringList Numbers() const
    {
        QStringList numbers;
        for (int row = 0; row < Grid()->rowCount(); ++row) {
            numbers << form->CellText(row, 0);
        }
        return numbers;
    }
    // Opens the label field of a row and types into it.
    void TypeLabel(int row, const QString& keys)
    {
        ClickCell(row, 1);
        Type(keys);
    }
};

TEST_F(EditorGridTest, AFreshGridHasOneEmptyNumberedRow)
{
    EXPECT_EQ(Grid()->columnCount(), 4);
    EXPECT_EQ(Numbers(), QStringList{"1"});
    EXPECT_TRUE(form->IsEmptyRow(0));
    EXPECT_FALSE(CanInsert());
    EXPECT_FALSE(CanDelete());
    ClickCell(0, 0); // the line number selects the row only
    EXPECT_EQ(Grid()->currentColumn(), 1);
    for (QWidget* editor :
         {static_cast<QWidget*>(form->txtLabel), static_cast<QWidget*>(form->cboOpcode),
          static_cast<QWidget*>(form->pnlOperand)}) {
        EXPECT_FALSE(editor->isVisible()) << editor->objectName().toStdString();
    }
}

TEST_F(EditorGridTest, EachEditorCoversItsCellExactly)
{
    Load({{"", "DB", "7F"}});
    for (int column = 1; column <= 3; ++column) {
        ClickCell(0, column);
        QWidget* editor = QApplication::focusWidget();
        while (editor && editor->parentWidget() != form.get()) {
            editor = editor->parentWidget();
        }
        ASSERT_NE(editor, nullptr);
        const QRect cell = CellRect(0, column);
        EXPECT_EQ(editor->geometry(),
                  QRect(Grid()->viewport()->mapTo(form.get(), cell.topLeft()), cell.size()))
            << editor->objectName().toStdString();
        form->cboOpcode->hidePopup();
        form->CommitEdits();
    }
}

TEST_F(EditorGridTest, ChoosingAMnemonicOnTheLastRowAppendsARow)
{
    ChooseMnemonic(0, "LOAD");
    EXPECT_EQ(Row(0), QStringList({"", "LOAD", ""}));
    EXPECT_EQ(Numbers(), QStringList({"1", "2"}));
    EXPECT_EQ(form->RecordedState(), StateModified);
    EXPECT_FALSE(form->cboOpcode->isVisible());

    form->SetState(StateSaved);
    ChooseMnemonic(0, "LOAD");
    EXPECT_EQ(Grid()->rowCount(), 2);
    EXPECT_EQ(form->RecordedState(), StateSaved);
}

TEST_F(EditorGridTest, AppendingScrollsOnlyWhenAllElevenRowsShow)
{
    for (const auto& [rows, topRow] : {std::pair{5, 0}, std::pair{11, 1}}) {
        Load(QList<QStringList>(rows - 1, {"", "HALT", ""}));
        ChooseMnemonic(rows - 1, "HALT");
        EXPECT_EQ(Grid()->rowCount(), rows + 1);
        EXPECT_EQ(Grid()->verticalScrollBar()->value(), topRow) << rows << " rows";
    }
}

TEST_F(EditorGridTest, TheLabelFieldTakesSixUpperCaseCharacters)
{
    TypeLabel(0, "loop1");
    EXPECT_EQ(form->txtLabel->text(), "LOOP1");
    Type("23");
    EXPECT_EQ(form->txtLabel->text(), "LOOP12");
    Press(Qt::Key_Backspace);
    Type("- @.");
    EXPECT_EQ(form->txtLabel->text(), "LOOP1");
    Press(Qt::Key_Return);
    EXPECT_FALSE(form->txtLabel->isVisible());
    EXPECT_EQ(Row(0), QStringList({"LOOP1", "", ""}));
    EXPECT_EQ(Grid()->rowCount(), 1); // a label alone appends nothing
    EXPECT_EQ(form->RecordedState(), StateModified);
}

TEST_F(EditorGridTest, LabelsThatReadAsNumbersAreDroppedAtCommit)
{
    struct Case {
        const char* typed;
        const char* cell;
    };
    for (const Case& c : {Case{"AB", "OLD"}, Case{"0c", "OLD"}, Case{"ABC", "ABC"},
                          Case{"AG", "AG"}, Case{"", ""}}) {
        Load({{"OLD", "HALT", ""}});
        TypeLabel(0, QString::fromLatin1(c.typed)); // replaces the selected old text
        if (QString::fromLatin1(c.typed).isEmpty()) {
            Press(Qt::Key_Backspace);
        }
        Press(Qt::Key_Return);
        EXPECT_EQ(form->CellText(0, 1), QString::fromLatin1(c.cell)) << c.typed;
        EXPECT_TRUE(form->txtLabel->text().isEmpty());
    }
}

TEST_F(EditorGridTest, EscapeDropsTheLabelAndAnotherClickCommitsIt)
{
    Load({{"OLD", "HALT", ""}});
    TypeLabel(0, "NEW");
    Press(Qt::Key_Escape);
    EXPECT_FALSE(form->txtLabel->isVisible());
    EXPECT_EQ(form->CellText(0, 1), "OLD");

    TypeLabel(0, "NEW");
    ClickCell(1, 1);
    EXPECT_EQ(form->CellText(0, 1), "NEW");
    EXPECT_TRUE(form->txtLabel->isVisible());
    EXPECT_EQ(Tag("txtLabel"), 1);
}

TEST_F(EditorGridTest, ARightClickSelectsACellAndOpensNothing)
{
    Load({{"A", "HALT", ""}, {"B", "HALT", ""}});
    ClickCell(0, 0);
    ASSERT_TRUE(CanDelete());
    ClickCell(2, 2, Qt::RightButton);
    EXPECT_EQ(Grid()->currentRow(), 2);
    EXPECT_EQ(Grid()->currentColumn(), 2);
    EXPECT_FALSE(form->cboOpcode->isVisible());
    EXPECT_TRUE(CanDelete()); // not recomputed for the last row
}

TEST_F(EditorGridTest, InsertLineOpensAnEmptyRowWithoutModifying)
{
    Load({{"L1"}, {"L2"}, {"L3"}, {"L4"}, {"L5"}});
    form->SetState(StateSaved);
    ClickCell(2, 0);
    ASSERT_TRUE(CanInsert());
    form->actEditInsertLine->trigger();
    EXPECT_EQ(Numbers(), QStringList({"1", "2", "3", "4", "5", "6", "7"}));
    QStringList labels;
    for (int row = 0; row < Grid()->rowCount(); ++row) {
        labels << form->CellText(row, 1);
    }
    EXPECT_EQ(labels, QStringList({"L1", "L2", "", "L3", "L4", "L5", ""}));
    EXPECT_EQ(Grid()->currentRow(), 2);
    EXPECT_FALSE(CanInsert());
    EXPECT_TRUE(CanDelete());
    EXPECT_EQ(form->RecordedState(), StateSaved);
}

TEST_F(EditorGridTest, InsertLineNeverPutsTwoEmptyRowsTogether)
{
    Load({{"L1"}, {"L2"}, {}, {"L4"}, {"L5"}});
    for (const auto& [row, available] :
         {std::pair{0, true}, std::pair{2, false}, std::pair{3, false}, std::pair{4, true}}) {
        ClickCell(row, 0);
        EXPECT_EQ(CanInsert(), available) << "row " << row + 1;
    }
}

TEST_F(EditorGridTest, DeleteLineMovesTheRowsBelowUp)
{
    Load({{"L1"}, {"L2"}, {"L3"}});
    form->SetState(StateSaved);
    ClickCell(3, 0);
    EXPECT_FALSE(CanDelete());
    ClickCell(1, 0);
    Grid()->setCurrentCell(3, 1); // moved by keyboard: the availability is stale
    form->actEditDeleteLine->trigger();
    EXPECT_EQ(Grid()->rowCount(), 4); // the last row is never deleted
    ClickCell(1, 0);
    form->actEditDeleteLine->trigger();
    EXPECT_EQ(Numbers(), QStringList({"1", "2", "3"}));
    EXPECT_EQ(Row(1), QStringList({"L3", "", ""}));
    EXPECT_EQ(form->RecordedState(), StateModified);

    Load({{"L1"}, {}, {"L3"}});
    form->SetState(StateSaved);
    ClickCell(1, 0);
    form->actEditDeleteLine->trigger();
    EXPECT_EQ(Row(1), QStringList({"L3", "", ""}));
    EXPECT_EQ(form->RecordedState(), StateSaved);
}

TEST_F(EditorGridTest, DeletingTheOnlyLineReturnsToTheNewState)
{
    Load({{"ONLY", "HALT", ""}});
    form->SetState(StateModified);
    ClickCell(0, 0);
    form->actEditDeleteLine->trigger();
    EXPECT_EQ(Grid()->rowCount(), 1);
    EXPECT_TRUE(form->IsEmptyRow(0));
    EXPECT_EQ(form->RecordedState(), StateNew);
    EXPECT_FALSE(CanDelete());
}

TEST_F(EditorGridTest, TheMnemonicBoxTakesNoTypingAndEscapeClosesIt)
{
    Load({{"", "ADD", ""}});
    for (bool inList : {false, true}) {
        ClickCell(0, 2);
        QAbstractItemView* list = form->cboOpcode->view();
        ASSERT_TRUE(QTest::qWaitFor([list] { return list->isVisible(); }));
        if (!inList) {
            form->cboOpcode->hidePopup();
            Type("x1");
            EXPECT_EQ(form->cboOpcode->currentText(), "ADD");
        }
        Press(Qt::Key_Escape);
        EXPECT_FALSE(form->cboOpcode->isVisible()) << "in list " << inList;
        EXPECT_FALSE(list->isVisible());
        EXPECT_EQ(Row(0), QStringList({"", "ADD", ""}));
    }
}

TEST_F(EditorGridTest, ScrollingCommitsTheLabel)
{
    Load(QList<QStringList>(20, {"", "HALT", ""}));
    TypeLabel(0, "xy");
    Grid()->verticalScrollBar()->setValue(3);
    EXPECT_FALSE(form->txtLabel->isVisible());
    EXPECT_EQ(form->CellText(0, 1), "XY");
}

TEST_F(EditorGridTest, EachStepIsUndoneAndRedoneWithItsRowsAndBreakpoints)
{
    // Each step: a cell clicked, then keys typed, a mnemonic picked or a line
    // command given. Inserting or deleting an empty row changes no saved line.
    const struct {
        const char* step;
        int row;
        int column;
        const char* typed;
        const char* mnemonic;
        QAction* command;
        bool changes;
    } cases[] = {
        {"label", 0, 1, "new\r", "", nullptr, true},
        {"mnemonic on the last row", 4, 2, "", "ADD", nullptr, true},
        {"operand", 3, 3, "\b\b7f\r", "", nullptr, true},
        {"Insert Line", 3, 0, "", "", form->actEditInsertLine, false},
        {"Delete Line", 0, 0, "", "", form->actEditDeleteLine, true},
        {"Delete Line of an empty row", 1, 0, "", "", form->actEditDeleteLine, false},
    };
    auto program = [this] {
        QList<QStringList> rows;
        for (int row = 0; row < Grid()->rowCount(); ++row) {
            rows << QStringList{form->CellText(row, 0)} + Row(row);
        }
        return std::pair{rows, form->editor->Marks().breakpoints};
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        Load({{"A", "LOAD", "R1,05"}, {}, {"B", "HALT", ""}, {"", "DB", "07"}});
        EXPECT_FALSE(form->actEditUndo->isEnabled()); // a loaded program starts afresh
        form->editor->ToggleBreakpoint(0);
        form->editor->ToggleBreakpoint(2);
        const auto before = program();
        ClickCell(c.row, c.column);
        Type(QString::fromLatin1(c.typed));
        if (*c.mnemonic) {
            Pick(form->cboOpcode, QString::fromLatin1(c.mnemonic));
        } else if (c.command) {
            c.command->trigger();
        }
        const auto after = program();
        ASSERT_NE(after, before);
        ASSERT_TRUE(form->actEditUndo->isEnabled());
        for (const bool undo : {true, false, true, false}) {
            form->SetState(StateAssembled);
            (undo ? form->actEditUndo : form->actEditRedo)->trigger();
            EXPECT_EQ(program(), undo ? before : after) << "undo " << undo;
            EXPECT_EQ(Grid()->currentRow(), c.row) << "undo " << undo; // shown
            EXPECT_EQ(form->RecordedState(), !c.changes ? StateAssembled
                                             : undo     ? StateSaved
                                                        : StateModified)
                << "undo " << undo;
            EXPECT_EQ(form->actEditUndo->isEnabled(), !undo);
            EXPECT_EQ(form->actEditRedo->isEnabled(), undo);
        }
    }
}

TEST_F(EditorGridTest, ARowTakenAwayAndBroughtBackKeepsItsLastBreakpoint)
{
    // Row 1's breakpoint is toggled while the row is there; then steps undone
    // or redone take the row away and bring it back.
    auto deleteRow = [this] {
        ClickCell(1, 1);
        Press(Qt::Key_Escape);
        form->actEditDeleteLine->trigger();
        form->actEditUndo->trigger();
    };
    const struct {
        const char* step;
        bool breakpoint; // before the toggle
        std::function<void()> bringRow;
        QList<QAction*> takeAway;
        QList<QAction*> bringBack;
    } cases[] = {
        {"Delete Line undone, breakpoint set",
         false,
         deleteRow,
         {form->actEditRedo},
         {form->actEditUndo}},
        {"Delete Line undone, breakpoint taken",
         true,
         deleteRow,
         {form->actEditRedo},
         {form->actEditUndo}},
        {"Insert Line and a label",
         false,
         [this] {
             ClickCell(1, 1);
             Press(Qt::Key_Escape);
             form->actEditInsertLine->trigger();
             ClickCell(1, 1);
             Type("x\r");
         },
         {form->actEditUndo, form->actEditUndo},
         {form->actEditRedo, form->actEditRedo}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        Load({{"A", "HALT", ""}, {"B", "HALT", ""}, {"C", "HALT", ""}});
        if (c.breakpoint) {
            form->editor->ToggleBreakpoint(1);
        }
        c.bringRow();
        const QStringList row = Row(1);
        form->editor->ToggleBreakpoint(1);
        for (QAction* command : c.takeAway + c.bringBack) {
            command->trigger();
        }
        EXPECT_EQ(Row(1), row);
        EXPECT_EQ(form->editor->Marks().breakpoints.contains(1), !c.breakpoint);
    }
}

TEST_F(EditorGridTest, AWholeRowIsEnteredByKeyboard)
{
    Load({{"", "HALT", ""}});
    ClickCell(1, 0);
    auto current = [this] { return std::pair{Grid()->currentRow(), Grid()->currentColumn()}; };
    ASSERT_EQ(current(), std::pair(1, 1));
    Type("@"); // not a label's character: nothing opens
    EXPECT_FALSE(form->txtLabel->isVisible());
    Type("l");
    EXPECT_TRUE(form->txtLabel->isVisible());
    EXPECT_EQ(form->txtLabel->text(), "L");
    Type("oop");
    Press(Qt::Key_Tab);
    EXPECT_EQ(Row(1), QStringList({"LOOP", "", ""}));
    EXPECT_EQ(current(), std::pair(1, 2));

    Press(Qt::Key_Return);
    QAbstractItemView* list = form->cboOpcode->view();
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->isVisible(); }));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(Row(1), QStringList({"LOOP", "LOAD", ""}));
    EXPECT_EQ(Grid()->rowCount(), 3);

    Press(Qt::Key_Tab);
    Press(Qt::Key_F2);
    QComboBox* box = DroppedBox();
    ASSERT_EQ(box, form->cboR1);
    QTest::keyClick(box->view(), Qt::Key_Down);
    QTest::keyClick(box->view(), Qt::Key_Return);
    Type("20");
    Press(Qt::Key_Return);
    EXPECT_EQ(Row(1), QStringList({"LOOP", "LOAD", "R1,20"}));
    EXPECT_EQ(form->RecordedState(), StateModified);

    Press(Qt::Key_Tab); // on to the next row
    EXPECT_EQ(current(), std::pair(2, 1));
    Press(Qt::Key_Backtab);
    Press(Qt::Key_Backtab);
    Press(Qt::Key_F2);
    EXPECT_TRUE(form->cboOpcode->isVisible());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(form->cboOpcode->isVisible());
    EXPECT_EQ(Row(1), QStringList({"LOOP", "LOAD", "R1,20"}));
}
