#include "workbench/window/window_states.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The availabilities as a string of 0 and 1 in the order of StateCommand:
// Save, SaveAs, Assemble, Load, Run, Step, MicroStep, Halt, Reset, SaveMemory.
std::string Bits(const CommandAvailability& available)
{
    std::string bits;
    for (bool on : available) {
        bits += on ? '1' : '0';
    }
    return bits;
}

CommandAvailability FromBits(const std::string& bits)
{
    CommandAvailability available{};
    for (std::size_t i = 0; i < available.size(); ++i) {
        available[i] = bits[i] == '1';
    }
    return available;
}

struct StateCase {
    int state;
    const char* before;
    const char* after;
    TitleRule title;
    bool halted;
};

void PrintTo(const StateCase& c, std::ostream* out)
{
    *out << "state " << c.state << " from " << c.before;
}

class WindowStateTest : public ::testing::TestWithParam<StateCase> {};

} // namespace

TEST_P(WindowStateTest, SwitchesOnlyTheCommandsOfItsRow)
{
    const StateCase& c = GetParam();
    CommandAvailability available = FromBits(c.before);
    const StateEffects effects = ApplyWindowState(c.state, available);
    EXPECT_EQ(Bits(available), c.after) << "state " << c.state;
    EXPECT_EQ(effects.title, c.title);
    EXPECT_EQ(effects.halted, c.halted);
    EXPECT_EQ(TitleRuleOf(c.state), c.title);
}

using enum TitleRule;

// Each row: state, availabilities before, after, title rule, halted effects.
const StateCase StateRows[] = {
    StateCase{0, "1111111111", "0000111111", SourceAndMemoryIfAny, false},
    StateCase{1, "1111111111", "0111111111", SourceAndMemoryIfAny, false},
    StateCase{2, "1001000000", "0110000000", SourceAndMemoryIfAny, false},
    StateCase{3, "0001000000", "1110000000", Unchanged, false},
    StateCase{4, "0000000000", "0000111001", Unchanged, false},
    StateCase{5, "0101010101", "0101010101", Unchanged, false},
    StateCase{6, "0000100000", "0000100010", Unchanged, false},
    StateCase{6, "0000000000", "0000000000", Unchanged, false},
    StateCase{7, "1111111111", "1111111110", SourceAndMemory, false},
    StateCase{8, "0000000001", "0000000000", SourceAndMemory, false},
    StateCase{9, "1111111111", "1111000000", SourceOnly, false},
    StateCase{10, "1010101010", "1010101010", Unchanged, false},
    StateCase{11, "0000000000", "0001000000", Unchanged, false},
    StateCase{12, "0000000110", "0000111001", Unchanged, false},
    StateCase{13, "0000111001", "0000100101", Unchanged, false},
    StateCase{14, "0000000010", "0000011100", Unchanged, false},
    StateCase{15, "0000111101", "0000000011", Unchanged, true},
    StateCase{16, "0000000110", "0000111000", Unchanged, false},
    StateCase{17, "1010101010", "1010101010", Unchanged, false},
    StateCase{-1, "1010101010", "1010101010", Unchanged, false},
};

INSTANTIATE_TEST_SUITE_P(Table, WindowStateTest, ::testing::ValuesIn(StateRows));

TEST(WindowTitleTest, FollowsItsRule)
{
    EXPECT_EQ(WindowTitle(SourceAndMemoryIfAny, "", ""), "MIRA - ");
    EXPECT_EQ(WindowTitle(SourceAndMemoryIfAny, "/a/p.asm", ""), "MIRA - /a/p.asm");
    EXPECT_EQ(WindowTitle(SourceAndMemoryIfAny, "", "/m.mm"), "MIRA -  (/m.mm)");
    EXPECT_EQ(WindowTitle(SourceAndMemoryIfAny, "/a/p.asm", "/m.mm"), "MIRA - /a/p.asm (/m.mm)");
    EXPECT_EQ(WindowTitle(SourceAndMemory, "/a/p.asm", ""), "MIRA - /a/p.asm ()");
    EXPECT_EQ(WindowTitle(SourceOnly, "/a/p.asm", "/m.mm"), "MIRA - /a/p.asm");
}
