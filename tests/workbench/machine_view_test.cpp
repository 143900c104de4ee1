#include "window_test.h"

#include "machine/cpu.h"
#include "workbench/widgets/up_down.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QToolButton>

namespace {

const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);
const QColor Fuchsia(255, 0, 255);

} // namespace

class MachineViewTest : public WindowTest {
protected:
    CCpu& Machine() { return form->Machine(); }
    QColor WindowText() const { return form->palette().color(QPalette::Text); }
    int Page() const { return Find<QTabBar>("tabMM")->currentIndex(); }
};

TEST_F(MachineViewTest, ShowsTheRandomMemoryAndRegistersOfTheMachine)
{
    for (int n = 0; n < 16; ++n) {
        const QString name = QStringLiteral("txtRegister%1").arg(n);
        EXPECT_EQ(Tag(name), Machine().GetRegister(n));
        EXPECT_EQ(Text(name), form->FormatNumber(Machine().GetRegister(n)));
        EXPECT_EQ(TextColour(name), WindowText());
    }
    for (int offset = 0; offset < 32; ++offset) {
        EXPECT_EQ(Tag(QStringLiteral("txtMemory%1").arg(offset)), Machine().GetMemory(offset));
        EXPECT_EQ(Find<QLabel>(QStringLiteral("lblMemory%1").arg(offset))->text(),
                  form->FormatNumber(offset));
    }
    EXPECT_EQ(Page(), 0);
    EXPECT_EQ(Text("txtPC"), "00");
    EXPECT_EQ(Text("txtStart"), "00");
    EXPECT_EQ(Find<QLabel>("lblPcWindow0")->text(), "FE");
    EXPECT_EQ(Text("txtPcWindow2"), form->FormatNumber(Machine().GetMemory(0)));
}

TEST_F(MachineViewTest, AMachineWriteTurnsToItsPageAndShowsInTheSetColour)
{
    Machine().SetMemory(45, 9);
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(Find<QTabBar>("tabMM")->tabText(1), "20-3F");
    EXPECT_EQ(Text("txtMemory13"), "09");
    EXPECT_EQ(Tag("txtMemory13"), 9);
    EXPECT_EQ(TextColour("txtMemory13"), Red);
    EXPECT_EQ(Find<QLabel>("lblMemory13")->text(), "2D");
    EXPECT_EQ(TextColour("txtMemory12"), WindowText());
    EXPECT_EQ(form->RecordedState(), StateMemoryChanged);
}

TEST_F(MachineViewTest, ClickingATabRefillsThePage)
{
    Machine().SetMemory(0xE3, 0x42);
    QTabBar* tabs = Find<QTabBar>("tabMM");
    tabs->setCurrentIndex(0);
    EXPECT_EQ(Find<QLabel>("lblMemory3")->text(), "03");
    tabs->setCurrentIndex(7);
    EXPECT_EQ(Find<QLabel>("lblMemory3")->text(), "E3");
    EXPECT_EQ(Text("txtMemory3"), "42");
    EXPECT_EQ(TextColour("txtMemory3"), WindowText());
}

TEST_F(MachineViewTest, RegistersWrittenThenReadShowTheMixedColour)
{
    form->HandleMachineEvent(7, 0x12, 4);
    form->HandleMachineEvent(8, 0, 4);
    form->HandleMachineEvent(8, 0, 5);
    EXPECT_EQ(TextColour("txtRegister4"), Fuchsia);
    EXPECT_EQ(TextColour("txtRegister5"), Blue);
    form->HandleMachineEvent(12, 1, 0);
    EXPECT_EQ(TextColour("txtRegister4"), WindowText());
}

TEST_F(MachineViewTest, PcEventsMoveThePcWindowAndTheUpDown)
{
    form->HandleMachineEvent(1, 0, 0);
    QStringList labels;
    for (int row = 0; row < 8; ++row) {
        labels << Find<QLabel>(QStringLiteral("lblPcWindow%1").arg(row))->text();
    }
    EXPECT_EQ(labels, QStringList({"FE", "FF", "00", "01", "02", "03", "04", "05"}));
    EXPECT_EQ(Tag("lblPcWindow0"), 254);
    EXPECT_EQ(TextColour("txtPcWindow2"), Fuchsia);
    EXPECT_EQ(TextColour("txtPcWindow3"), Fuchsia);
    EXPECT_EQ(Find("lblPcWindow2")->palette().color(QPalette::WindowText), Fuchsia);

    form->HandleMachineEvent(1, 0x80, 0);
    EXPECT_EQ(Text("txtPC"), "80");
    EXPECT_EQ(TextColour("txtPC"), Red);
    EXPECT_EQ(Find<TUpDown>("udPC")->Position(), 0x80);
    EXPECT_EQ(Find<QLabel>("lblPcWindow2")->text(), "80");
}

TEST_F(MachineViewTest, DecodeShowsDigitsAndTheListingWhichFetchAndHaltEmpty)
{
    for (auto [value, index] : {std::pair{1, 0}, {5, 1}, {2, 2}, {0, 3}}) {
        form->HandleMachineEvent(11, value, index);
    }
    EXPECT_EQ(Text("txtR1"), "5");
    EXPECT_EQ(TextColour("txtInstr"), Red);
    auto* listing = Find<QLabel>("lblInstruction");
    EXPECT_EQ(listing->text(), "LOAD R5,@20");
    form->HandleMachineEvent(12, 1, 0);
    EXPECT_EQ(listing->text(), "");
    EXPECT_TRUE(Find<QToolButton>("sbtnFetch")->isEnabled());
    EXPECT_FALSE(Find<QToolButton>("sbtnDecode")->isEnabled());
    form->HandleMachineEvent(11, 12, 0);
    form->HandleMachineEvent(11, 0, 3);
    EXPECT_EQ(listing->text(), "HALT");
    form->HandleMachineEvent(12, 0, 0);
    EXPECT_EQ(listing->text(), "");
    EXPECT_FALSE(Find<QToolButton>("sbtnFetch")->isEnabled());
    EXPECT_EQ(form->RecordedState(), StateHalted);
}

TEST_F(MachineViewTest, TypedValuesGoToTheMachine)
{
    Machine().SetMemory(40, 0); // page 1 now shows
    Field("txtMemory8")->selectAll();
    TypeInto("txtMemory8", "7f");
    EXPECT_EQ(Machine().GetMemory(40), 0x7F);
    EXPECT_EQ(Text("txtMemory8"), "7F");
    EXPECT_EQ(TextColour("txtMemory8"), Red);

    form->SetState(StateNew);
    Field("txtRegister3")->selectAll();
    TypeInto("txtRegister3", "a5");
    EXPECT_EQ(Machine().GetRegister(3), 0xA5);
    EXPECT_EQ(form->RecordedState(), StateRegisterChanged);

    Field("txtPC")->selectAll();
    TypeInto("txtPC", "3c");
    EXPECT_EQ(Machine().Pc(), 0x3C);
    EXPECT_EQ(Find<TUpDown>("udPC")->Position(), 0x3C);

    Field("txtStart")->selectAll();
    TypeInto("txtStart", "10");
    EXPECT_EQ(Machine().StartAddress(), 0x10);
    EXPECT_EQ(Tag("txtStart"), 0x10);
    EXPECT_EQ(form->RecordedState(), StateStartChanged);
    EXPECT_TRUE(Action("actFileSave")->isEnabled()); // modified came first
}

TEST_F(MachineViewTest, UnreadableOrUnchangedTextsSendNothing)
{
    Machine().SetRegister(2, 0x33);
    form->ClearHighlights();
    for (const char* typed : {"", ".", "33"}) {
        Field("txtRegister2")->selectAll();
        Field("txtRegister2")->del();
        TypeInto("txtRegister2", typed);
        EXPECT_EQ(Text("txtRegister2"), "33") << typed;
        EXPECT_EQ(TextColour("txtRegister2"), WindowText()) << typed;
    }
    Field("txtRegister2")->selectAll();
    TypeInto("txtRegister2", "4", false);
    QTest::keyClick(Field("txtRegister2"), Qt::Key_Escape);
    EXPECT_EQ(Text("txtRegister2"), "33");
    EXPECT_EQ(Machine().GetRegister(2), 0x33);
}

TEST_F(MachineViewTest, AnUnreadableTextGivesWayToTheValueAlsoInAnEmptyField)
{
    const struct {
        int value;
        const char* text; // pasted, so the key filter never saw it
        const char* shown;
    } cases[] = {{-1, ".", ""}, {-1, " 1", ""}, {0x05, "Z", "05"}, {0x05, "5", "5"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Machine().ClearRegisters(c.value);
        Field("txtRegister2")->setFocus();
        Field("txtRegister2")->setText(QString::fromUtf8(c.text));
        QTest::keyClick(Field("txtRegister2"), Qt::Key_Return);
        EXPECT_EQ(Text("txtRegister2"), c.shown);
        EXPECT_EQ(Machine().GetRegister(2), c.value);
    }
}

TEST_F(MachineViewTest, LeavingAFieldCommitsIt)
{
    Field("txtRegister0")->selectAll();
    TypeInto("txtRegister0", "99", false);
    Field("txtRegister1")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Machine().GetRegister(0), 0x99);
}

TEST_F(MachineViewTest, ADecimalValueTheMachineRefusesStaysAsTypedWithItsError)
{
    Action("actCpuRadix")->trigger();
    Field("txtPC")->setText(QStringLiteral("999")); // pasted: the key filter never saw it
    Field("txtPC")->setFocus();
    QTest::keyClick(Field("txtPC"), Qt::Key_Return);
    EXPECT_EQ(Text("txtPC"), "999");
    EXPECT_EQ(Machine().Pc(), 0);
    EXPECT_TRUE(Find<QPlainTextEdit>("mmMessage")->toPlainText().contains("Pointer Counter"));
}

TEST_F(MachineViewTest, TheUpDownSetsPcAndWraps)
{
    auto* upDown = Find<TUpDown>("udPC");
    upDown->stepBy(-1);
    EXPECT_EQ(Machine().Pc(), 255);
    EXPECT_EQ(Text("txtPC"), "FF");
    upDown->stepBy(1);
    EXPECT_EQ(Machine().Pc(), 0);
}

TEST_F(MachineViewTest, TogglingTheRadixRewritesEveryNumberAndBack)
{
    Machine().SetRegister(10, 10);
    Machine().SetPc(0x10);
    QAction* radix = Action("actCpuRadix");
    radix->trigger();
    EXPECT_FALSE(radix->isChecked());
    EXPECT_EQ(radix->text(), "十六進位顯示(&H)");
    EXPECT_EQ(radix->statusTip(), "將數字顯示為十六進位");
    EXPECT_EQ(Text("txtRegister10"), "010");
    EXPECT_EQ(Text("txtPC"), "016");
    EXPECT_EQ(Text("txtStart"), "000");
    EXPECT_EQ(Find<QLabel>("lblPcWindow0")->text(), "014");
    EXPECT_EQ(Find<QTabBar>("tabMM")->tabText(0), "00-1F");
    EXPECT_EQ(TextColour("txtRegister10"), Red); // colours stay

    radix->trigger();
    EXPECT_TRUE(radix->isChecked());
    EXPECT_EQ(radix->text(), "十進位顯示(&D)");
    EXPECT_EQ(Text("txtRegister10"), "0A");
    EXPECT_EQ(Text("txtPC"), "10");
    EXPECT_EQ(Find<QLabel>("lblPcWindow0")->text(), "0E");
}

TEST_F(MachineViewTest, DecimalFieldsRefuseValuesAbove255WhileTyping)
{
    Action("actCpuRadix")->trigger();
    Field("txtRegister7")->selectAll();
    TypeInto("txtRegister7", "256");
    EXPECT_EQ(Machine().GetRegister(7), 25);
    Field("txtRegister7")->selectAll();
    TypeInto("txtRegister7", "2a5");
    EXPECT_EQ(Machine().GetRegister(7), 25);
    EXPECT_EQ(Text("txtRegister7"), "25"); // the same value: nothing to do
}

// A field left with an unfinished value when the window closes is committed
// while every part of the window is still whole.
TEST_F(MachineViewTest, AFieldBeingTypedInWhenTheWindowCloses)
{
    for (const char* name : {"txtStart", "txtPC", "txtRegister1", "txtMemory3"}) {
        SCOPED_TRACE(name);
        QLineEdit* field = Field(name);
        field->setFocus(Qt::MouseFocusReason);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        ASSERT_EQ(field->text(), "");
        form.reset();
        SetUp();
    }
}

// The window's event sink acts where the view only shows: every memory write
// asks for the memory-changed state, a halt for the halted
// state, an error becomes a log line; unknown codes and indexes do nothing.
TEST_F(MachineViewTest, TheEventSinkActsOnMemoryWritesHaltsAndErrors)
{
    std::vector<int> states;
    QObject::connect(form.get(), &TMainForm::stateRequested,
                     [&states](int state) { states.push_back(state); });
    const struct {
        int code;
        int value;
        int index;
        std::vector<int> states;
        const char* log;
    } events[] = {
        {9, 9, 45, {StateMemoryChanged}, ""},
        {10, 0, 100, {}, ""},
        {12, 0, 0, {StateHalted}, ""},
        {12, 7, 0, {}, ""},
        {13, 9, 10, {}, "暫存器 No:0A未設定數值"},
        {14, 1, 1, {}, ""},
        {-1, 1, 1, {}, ""},
        {7, 1, 16, {}, ""},
    };
    for (const auto& event : events) {
        states.clear();
        Find<QPlainTextEdit>("mmMessage")->clear();
        form->HandleMachineEvent(event.code, event.value, event.index);
        EXPECT_EQ(states, event.states) << event.code;
        EXPECT_EQ(Log(), QString(event.log)) << event.code;
    }
}
