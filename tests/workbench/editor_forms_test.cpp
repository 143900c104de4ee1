#include "assembler/instruction_table.h"
#include "workbench/rules/editor_forms.h"

#include <gtest/gtest.h>

TEST(EditorFormsTest, LabelsThatReadAsANumberAreRefused)
{
    for (const char* refused : {"A", "FF", "12", "0C"}) {
        EXPECT_FALSE(IsAcceptedLabel(QString::fromLatin1(refused))) << refused;
    }
    for (const char* accepted : {"", "G", "FG", "ABC", "A_", "LOOP1", "123"}) {
        EXPECT_TRUE(IsAcceptedLabel(QString::fromLatin1(accepted))) << accepted;
    }
}

TEST(EditorFormsTest, SplitKeepsThreeFieldsOfNineCharacters)
{
    struct Case {
        const char* text;
        std::array<const char*, 3> fields;
    };
    for (const Case& c : {
             Case{"R1,@20", {"R1", "20", ""}},
             Case{"R1,R2,R3", {"R1", "R2", "R3"}},
             Case{"", {"", "", ""}},
             Case{",,X", {"", "", "X"}},
             Case{"R1,R2,R3,R4", {"R1", "R2", "R3"}},
             Case{"ABCDEFGHIJKL,@@1234567890", {"ABCDEFGHI", "123456789", ""}},
         }) {
        const auto fields = SplitOperand(QString::fromLatin1(c.text));
        for (int n = 0; n < 3; ++n) {
            EXPECT_EQ(fields[n], QString::fromLatin1(c.fields[n])) << c.text << " field " << n;
        }
    }
}

TEST(EditorFormsTest, ComposesTheFormOfEachMnemonicOnlyWhenComplete)
{
    const OperandFields all{"R1", "R2", "R3", "20", "3", "7F"};
    struct Case {
        const char* mnemonic;
        const char* composed;
    };
    for (const Case& c : {Case{"LOADA", "R1,@20"}, Case{"STORE", "R1,@20"}, Case{"JUMP", "R1,@20"},
                          Case{"LOAD", "R1,20"}, Case{"MOVE", "R1,R2"}, Case{"ADD", "R1,R2,R3"},
                          Case{"ADDF", "R1,R2,R3"}, Case{"OR", "R1,R2,R3"}, Case{"AND", "R1,R2,R3"},
                          Case{"XOR", "R1,R2,R3"}, Case{"ROTATE", "R1,3"}, Case{"DB", "7F"},
                          Case{"HALT", ""}, Case{"load", ""}, Case{"", ""}}) {
        const OperandForm form = OperandFormOf(OpcodeOf(c.mnemonic));
        EXPECT_EQ(ComposeOperand(form, all), QString::fromLatin1(c.composed)) << c.mnemonic;
    }
    const auto without = [&all](QString OperandFields::*field) {
        OperandFields fields = all;
        fields.*field = QString();
        return fields;
    };
    EXPECT_EQ(ComposeOperand(OperandForm::RegisterAtAddress, without(&OperandFields::address)), "");
    EXPECT_EQ(ComposeOperand(OperandForm::RegisterAddress, without(&OperandFields::r1)), "");
    EXPECT_EQ(ComposeOperand(OperandForm::TwoRegisters, without(&OperandFields::r2)), "");
    EXPECT_EQ(ComposeOperand(OperandForm::TwoRegisters, without(&OperandFields::r3)), "R1,R2");
    EXPECT_EQ(ComposeOperand(OperandForm::ThreeRegisters, without(&OperandFields::r3)), "");
    EXPECT_EQ(ComposeOperand(OperandForm::RegisterCount, without(&OperandFields::count)), "");
    EXPECT_EQ(ComposeOperand(OperandForm::Byte, without(&OperandFields::byte)), "");
}
