#include "editor_test.h"

#include <QAbstractItemView>
#include <QFrame>

class OperandPanelTest : public EditorTest {
protected:
    QFrame* Panel() const { return form->pnlOperand; }

    // Opens the operand panel of a one-line program.
    void Open(const QString& mnemonic, const QString& operand = {})
    {
        Load({{"", mnemonic, operand}});
        form->SetState(StateSaved);
        ClickCell(0, 3);
    }
    // Picks one register after the other, each in the box that drops down.
    void PickRegisters(const QStringList& registers)
    {
        for (const QString& name : registers) {
            Pick(DroppedBox(), name);
        }
    }
    // Ends the edit as a click outside the panel does.
    void Leave()
    {
        for (QComboBox* box : {form->cboR1, form->cboR2, form->cboR3}) {
            box->hidePopup();
        }
        ClickCell(1, 0);
    }
    QString Operand() const { return form->CellText(0, 3); }
};

TEST_F(OperandPanelTest, ComposesTheFormOfEachMnemonic)
{
    struct Case {
        const char* mnemonic;
        QStringList registers;
        const char* typed; // then Enter; without typing, Tab leaves the panel
        const char* operand;
    };
    for (const Case& c : {
             Case{"LOADA", {"R1"}, "20", "R1,@20"},
             Case{"STORE", {"RF"}, "loop+1", "RF,@LOOP+1"},
             Case{"JUMP", {"R0"}, "go", "R0,@GO"},
             Case{"LOAD", {"R1"}, "20", "R1,20"},
             Case{"MOVE", {"R3", "RA"}, "", "R3,RA"},
             Case{"ADD", {"R1", "R2", "R3"}, "", "R1,R2,R3"},
             Case{"XOR", {"RD", "RE", "RF"}, "", "RD,RE,RF"},
             Case{"ROTATE", {"R2"}, "3", "R2,3"},
             Case{"DB", {}, "7f", "7F"},
         }) {
        Open(QString::fromLatin1(c.mnemonic));
        PickRegisters(c.registers);
        if (*c.typed) {
            Type(QString::fromLatin1(c.typed));
            Press(Qt::Key_Return);
        } else {
            Press(Qt::Key_Tab);
        }
        EXPECT_FALSE(Panel()->isVisible()) << c.mnemonic;
        EXPECT_EQ(Operand(), QString::fromLatin1(c.operand)) << c.mnemonic;
        EXPECT_EQ(form->RecordedState(), StateModified) << c.mnemonic;
    }
}

TEST_F(OperandPanelTest, AnIncompleteOperandLeavesTheCellAlone)
{
    Open("LOADA");
    PickRegisters({"R1"});
    EXPECT_EQ(QApplication::focusWidget(), form->txtAddress);
    Press(Qt::Key_Return);
    EXPECT_FALSE(Panel()->isVisible());
    EXPECT_EQ(Operand(), "");
    EXPECT_EQ(form->RecordedState(), StateSaved);

    Open("ADD", "OLD");
    PickRegisters({"R1", "R2"});
    Leave();
    EXPECT_EQ(Operand(), "OLD");
    EXPECT_EQ(form->RecordedState(), StateSaved);
}

TEST_F(OperandPanelTest, EscapeInAnyFieldCancels)
{
    struct Case {
        const char* mnemonic;
        const char* operand;
        QStringList registers;
        const char* typed;
    };
    for (const Case& c : {Case{"ADD", "R1,R2,R3", {"R4"}, ""}, Case{"LOADA", "R1,@20", {"R2"}, "1"},
                          Case{"ROTATE", "R2,3", {"R5"}, "\b4"}, Case{"DB", "7F", {}, "\b0"}}) {
        Open(QString::fromLatin1(c.mnemonic), QString::fromLatin1(c.operand));
        PickRegisters(c.registers);
        if (*c.typed) {
            Type(QString::fromLatin1(c.typed));
        } else {
            ASSERT_NE(DroppedBox(), nullptr); // Esc in the open list of the next box
        }
        Press(Qt::Key_Escape);
        EXPECT_FALSE(Panel()->isVisible()) << c.mnemonic;
        EXPECT_EQ(Operand(), QString::fromLatin1(c.operand)) << c.mnemonic;
        EXPECT_EQ(form->RecordedState(), StateSaved) << c.mnemonic;
    }
}

TEST_F(OperandPanelTest, RegisterChoicesLeadFromBoxToBox)
{
    Open("ADD", "R1,R2,R3");
    EXPECT_EQ(form->cboR2->currentText(), "R2");
    PickRegisters({"R4"});
    EXPECT_EQ(DroppedBox(), form->cboR2);
    PickRegisters({"R5", "R6"});
    EXPECT_EQ(QApplication::focusWidget(), form->cboR3);
    Press(Qt::Key_Return);
    EXPECT_TRUE(Panel()->isVisible());
    Leave();
    EXPECT_EQ(Operand(), "R4,R5,R6");
}

TEST_F(OperandPanelTest, LeavingRecomposesForTheNewMnemonic)
{
    struct Case {
        const char* before;
        const char* operand;
        const char* after;
        const char* recomposed;
    };
    for (const Case& c :
         {Case{"ADD", "R1,R2,R3", "MOVE", "R1,R2"}, Case{"LOAD", "R1,20", "LOADA", "R1,@20"},
          Case{"LOADA", "R1,@20", "LOAD", "R1,20"},
          Case{"ADD", "R1,R2,R3,R4,R5", "ADD", "R1,R2,R3"}}) {
        Load({{"", QString::fromLatin1(c.before), QString::fromLatin1(c.operand)}});
        if (qstrcmp(c.before, c.after) != 0) {
            ChooseMnemonic(0, QString::fromLatin1(c.after));
            EXPECT_EQ(Operand(), QString::fromLatin1(c.operand)); // kept as it was
        }
        ClickCell(0, 3);
        Leave();
        EXPECT_EQ(Operand(), QString::fromLatin1(c.recomposed)) << c.before << " to " << c.after;
    }
}

TEST_F(OperandPanelTest, HaltAndRowsWithoutMnemonicOpenNothing)
{
    for (const char* mnemonic : {"HALT", "", "halt"}) {
        Open(QString::fromLatin1(mnemonic), "X");
        EXPECT_FALSE(Panel()->isVisible()) << mnemonic;
        EXPECT_EQ(Operand(), "X");
    }
}

TEST_F(OperandPanelTest, FieldsAdmitOnlyWhatTheirOperandCanHold)
{
    struct Case {
        const char* mnemonic;
        const char* keys;
        const char* shown;
    };
    for (const Case& c : {
             Case{"LOAD", "loop+1", "LOOP+1"},
             Case{"LOAD", "LOOP+2", "LOOP+"},
             Case{"LOAD", "1A+", "1A"},
             Case{"LOAD", "GA+", "GA+"},
             Case{"LOAD", "+A+", "A"},
             Case{"LOAD", "ABCDEFG", "ABCDEF"},
             Case{"LOAD", "ABCDEF+1X", "ABCDEF+1"},
             Case{"LOAD", "a.b", "AB"},
             Case{"ROTATE", "0895", "5"},
             Case{"ROTATE", "35", "3"},
             Case{"ROTATE", ".", ""},
             Case{"DB", "ff0", "FF"},
             Case{"DB", "G.a", "A"},
         }) {
        Open(QString::fromLatin1(c.mnemonic));
        if (qstrcmp(c.mnemonic, "DB") != 0) {
            PickRegisters({"R1"});
        }
        auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(field, nullptr) << c.mnemonic;
        Type(QString::fromLatin1(c.keys));
        EXPECT_EQ(field->text(), QString::fromLatin1(c.shown)) << c.mnemonic << " " << c.keys;
        Press(Qt::Key_Escape);
    }
}

TEST_F(OperandPanelTest, TabGoesOnThroughTheGridAndKeepsAPartlyFilledOperand)
{
    struct Case {
        const char* mnemonic;
        const char* operand;
        QStringList registers;
        const char* typed;
        Qt::Key key;
        const char* written;
        std::pair<int, int> cell; // current afterwards; row -1 while the panel stays open
    };
    for (const Case& c : {
             Case{"LOADA", "", {"R1"}, "x1", Qt::Key_Tab, "R1,@X1", {1, 1}},
             Case{"LOADA", "", {"R1"}, "", Qt::Key_Tab, "", {-1, 0}},
             Case{"ADD", "", {"R1", "R2", "R3"}, "", Qt::Key_Tab, "R1,R2,R3", {1, 1}},
             Case{"LOAD", "R1,20", {}, "", Qt::Key_Backtab, "R1,20", {0, 2}},
         }) {
        SCOPED_TRACE(c.mnemonic);
        Open(QString::fromLatin1(c.mnemonic), QString::fromLatin1(c.operand));
        PickRegisters(c.registers);
        Type(QString::fromLatin1(c.typed));
        Press(c.key);
        EXPECT_EQ(Operand(), QString::fromLatin1(c.written));
        if (c.cell.first < 0) {
            EXPECT_TRUE(Panel()->isVisible());
            EXPECT_EQ(QApplication::focusWidget(), form->txtAddress);
            EXPECT_EQ(form->cboR1->currentText(), "R1");
            Press(Qt::Key_Escape);
            continue;
        }
        EXPECT_FALSE(Panel()->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), Grid());
        EXPECT_EQ(std::pair(Grid()->currentRow(), Grid()->currentColumn()), c.cell);
    }
    // The mnemonic box closes unchanged on Tab, its list dropped down or not.
    ClickCell(0, 2);
    ASSERT_TRUE(QTest::qWaitFor([this] { return form->cboOpcode->view()->isVisible(); }));
    QTest::keyClick(form->cboOpcode->view(), Qt::Key_Tab);
    EXPECT_FALSE(form->cboOpcode->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), Grid());
    EXPECT_EQ(Grid()->currentColumn(), 3);
    EXPECT_EQ(form->CellText(0, 2), "LOAD");
}
