#include "window_test.h"

#include "machine/cpu.h"

#include <QTabBar>

class MachineViewTest : public WindowTest {};

TEST_F(MachineViewTest, ShowsTheRandomMemoryAndRegistersOfTheMachine)
{
    for (int n = 0; n < 16; ++n) {
        const QString name = QStringLiteral("txtRegister%1").arg(n);
        EXPECT_EQ(Tag(name), form->Machine().GetRegister(n));
        EXPECT_EQ(Text(name), form->FormatNumber(form->Machine().GetRegister(n)));
        EXPECT_EQ(TextColour(name), form->palette().color(QPalette::Text));
    }
    for (int offset = 0; offset < 32; ++offset) {
        EXPECT_EQ(Tag(QStringLiteral("txtMemory%1").arg(offset)),
                  form->Machine().GetMemory(offset));
    }
    EXPECT_EQ(Find<QTabBar>("tabMM")->currentIndex(), 0);
    EXPECT_EQ(Text("txtPC"), "00");
    EXPECT_EQ(Text("txtStart"), "00");
}
