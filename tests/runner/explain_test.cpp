// mira-run --explain: the sentence of each micro-step, for every opcode and
// every error a micro-step can raise.
#include "runner_process.h"

#include "tests/big5.h"

#include <sstream>

namespace {

// --explain tells every micro-step; a row gives the program (at 00 unless
// it says otherwise, ending in "END HALT"), the presets and the sentences
// looked for.
struct ExplainCase {
    const char* name;
    std::string program;
    std::vector<std::string> presets = {};
    int status = 0;
    std::vector<std::string> sentences = {}; // each appears as whole lines of standard output
};

void PrintTo(const ExplainCase& test, std::ostream* out)
{
    *out << test.name;
}

std::string Program(std::vector<SourceRow> rows, int start = 0x00)
{
    rows.push_back({"END", "HALT", ""});
    return FormatSourceText(start, rows);
}

const std::string FloatAdd = Program({{"", "ADDF", "R3,R1,R2"}});

} // namespace

class Explained : public RunnerProcess, public testing::WithParamInterface<ExplainCase> {};

TEST_P(Explained, TellsEachMicroStep)
{
    const ExplainCase& test = GetParam();
    Write("p.asm", test.program);
    std::vector<std::string> arguments = {"p.asm", "--explain"};
    for (const std::string& preset : test.presets) {
        arguments.insert(arguments.end(), {"--set", preset});
    }
    const Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.status, test.status) << outcome.err;
    for (const std::string& lines : test.sentences) {
        EXPECT_TRUE(HasLines(outcome.out, lines)) << "missing: " << lines << "\n" << outcome.out;
    }
    std::istringstream lines(outcome.out);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(ConvertsToBig5(line)) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sentences, Explained,
    testing::Values(
        ExplainCase{
            .name = "JumpNotTakenAndHalt",
            .program = Program({{"", "JUMP", "R1,@0C"}}, 0x06),
            .presets = {"R0=0A", "R1=05"},
            .sentences = {"擷取：從記憶體 06、07 讀出 B1 0C 放入指令暫存器，PC 由 06 變成 08\n"
                          "解碼：B10C 是 JUMP：若 R1 等於 R0 則跳到 0C\n"
                          "執行：R1 = 05 不等於 R0 = 0A，不跳，PC 仍為 08\n"
                          "擷取：從記憶體 08、09 讀出 C0 00 放入指令暫存器，PC 由 08 變成 0A\n"
                          "解碼：C000 是 HALT：停止機器\n"
                          "執行：HALT，機器停止\n"
                          "status: halted"}},
        ExplainCase{.name = "JumpTaken",
                    .program = Program({{"", "JUMP", "R1,@END"}, {"", "DB", "FF"}}),
                    .presets = {"R0=0A", "R1=0A"},
                    .sentences = {"執行：R1 = 0A 等於 R0 = 0A，跳躍，PC 由 02 變成 03"}},
        ExplainCase{.name = "JumpOnR0WithoutValue",
                    .program = Program({{"", "JUMP", "R0,@END"}, {"", "DB", "FF"}}),
                    .sentences = {"解碼：B003 是 JUMP：R0 一定等於自己，跳到 03\n"
                                  "執行：R0 沒有數值，當作 -1 計算；R0 一定等於自己，跳躍，PC 由 "
                                  "02 變成 03"}},
        ExplainCase{.name = "Loada",
                    .program = Program({{"", "LOADA", "R5,@40"}}),
                    .presets = {"40=07"},
                    .sentences = {"解碼：1540 是 LOADA：把記憶體 40 的內容載入 R5\n"
                                  "執行：R5 ← 記憶體 40 = 07"}},
        ExplainCase{.name = "LoadaOfACellWithoutValue",
                    .program = Program({{"", "LOADA", "R5,@40"}}),
                    .status = 2,
                    .sentences = {"執行：記憶體 40 沒有數值，無法載入 R5，機器停止"}},
        ExplainCase{.name = "Load",
                    .program = Program({{"", "LOAD", "R5,6C"}}),
                    .sentences = {"解碼：256C 是 LOAD：把數值 6C 載入 R5\n執行：R5 ← 6C"}},
        ExplainCase{.name = "Store",
                    .program = Program({{"", "STORE", "R3,@40"}}),
                    .presets = {"R3=08"},
                    .sentences = {"解碼：3340 是 STORE：把 R3 存入記憶體 40\n"
                                  "執行：記憶體 40 ← R3 = 08"}},
        ExplainCase{.name = "StoreOfARegisterWithoutValue",
                    .program = Program({{"", "STORE", "R3,@40"}}),
                    .status = 2,
                    .sentences = {"執行：R3 沒有數值，無法存入記憶體 40，機器停止"}},
        ExplainCase{.name = "Move",
                    .program = Program({{"", "MOVE", "R1,R2"}}),
                    .presets = {"R1=07"},
                    .sentences = {"解碼：4012 是 MOVE：把 R1 複製到 R2\n執行：R2 ← R1 = 07"}},
        ExplainCase{.name = "MoveOfARegisterWithoutValue",
                    .program = Program({{"", "MOVE", "R1,R2"}}),
                    .status = 2,
                    .sentences = {"執行：R1 沒有數值，無法複製到 R2，機器停止"}},
        ExplainCase{.name = "Add",
                    .program = Program({{"", "ADD", "R3,R1,R2"}}),
                    .presets = {"R1=05", "R2=03"},
                    .sentences = {"解碼：5312 是 ADD：R3 ← R1 + R2，整數相加\n"
                                  "執行：R3 ← R1 + R2 = 05 + 03 = 08"}},
        // The operands are those before the sum replaced R1.
        ExplainCase{.name = "AddIntoAnOperandWithACarry",
                    .program = Program({{"", "ADD", "R1,R1,R1"}}),
                    .presets = {"R1=80"},
                    .sentences = {"執行：R1 ← R1 + R1 = 80 + 80 = 00（超過 8 位元，進位捨去）"}},
        ExplainCase{
            .name = "AddOfARegisterWithoutValue",
            .program = Program({{"", "ADD", "R3,R1,R2"}}),
            .presets = {"R1=05"},
            .sentences = {"執行：R2 沒有數值，當作 -1 計算；R3 ← R1 + R2 = 05 + (-1) = 04"}},
        ExplainCase{.name = "AddOfTwoRegistersWithoutValue",
                    .program = Program({{"", "ADD", "R3,R1,R2"}}),
                    .status = 2,
                    .sentences = {"執行：R1、R2 沒有數值，當作 -1 計算；R1 + R2 的結果不在 00 到 "
                                  "FF 之間，無法寫入 R3，機器停止"}},
        ExplainCase{.name = "BitwiseOperations",
                    .program = Program(
                        {{"", "OR", "R3,R1,R2"}, {"", "AND", "R4,R1,R2"}, {"", "XOR", "R5,R1,R2"}}),
                    .presets = {"R1=05", "R2=03"},
                    .sentences = {"解碼：7312 是 OR：R3 ← R1 OR R2，逐位元做 OR\n"
                                  "執行：R3 ← R1 OR R2 = 05 OR 03 = 07（二進位 00000101 OR "
                                  "00000011 = 00000111）",
                                  "解碼：8412 是 AND：R4 ← R1 AND R2，逐位元做 AND\n"
                                  "執行：R4 ← R1 AND R2 = 05 AND 03 = 01（二進位 00000101 AND "
                                  "00000011 = 00000001）",
                                  "解碼：9512 是 XOR：R5 ← R1 XOR R2，逐位元做 XOR\n"
                                  "執行：R5 ← R1 XOR R2 = 05 XOR 03 = 06（二進位 00000101 XOR "
                                  "00000011 = 00000110）"}},
        ExplainCase{
            .name = "AndStoresTheOtherOperandAndOrFails",
            .program = Program({{"", "AND", "R3,R1,R2"}, {"", "OR", "R3,R1,R2"}}),
            .presets = {"R1=05"},
            .status = 2,
            .sentences = {"執行：R2 沒有數值，當作 -1 計算；R3 ← R1 AND R2 = 05 AND (-1) = 05",
                          "執行：R2 沒有數值，當作 -1 計算；R1 OR R2 的結果不在 00 到 FF "
                          "之間，無法寫入 R3，機器停止"}},
        ExplainCase{.name = "AndOfTwoRegistersWithoutValue",
                    .program = Program({{"", "AND", "R3,R1,R2"}}),
                    .status = 2,
                    .sentences = {"執行：R1、R2 沒有數值，當作 -1 計算；R1 AND R2 的結果不在 00 到 "
                                  "FF 之間，無法寫入 R3，機器停止"}},
        ExplainCase{.name = "XorOfARegisterWithoutValue",
                    .program = Program({{"", "XOR", "R3,R1,R2"}}),
                    .presets = {"R2=05"},
                    .status = 2,
                    .sentences = {"執行：R1 沒有數值，當作 -1 計算；R1 XOR R2 的結果不在 00 到 FF "
                                  "之間，無法寫入 R3，機器停止"}},
        ExplainCase{.name = "AddfAlignsAndCutsABit",
                    .program = FloatAdd,
                    .presets = {"R1=48", "R2=39"},
                    .sentences = {"解碼：6312 是 ADDF：R3 ← R1 + R2，浮點數相加\n"
                                  "執行：R3 ← R1 + R2 = 48 + 39 = 4C（浮點數）。48 為正、指數 4、"
                                  "尾數 1000，39 為正、指數 3、尾數 1001；39 的尾數右移 1 位對齊"
                                  "指數：1001 → 0100，移出的位元捨去（截斷）；尾數相加：1000 + "
                                  "0100 = 1100；結果 4C 為正、指數 4、尾數 1100"}},
        ExplainCase{.name = "AddfNormalisesAndCutsABit",
                    .program = FloatAdd,
                    .presets = {"R1=4F", "R2=42"},
                    .sentences = {"執行：R3 ← R1 + R2 = 4F + 42 = 58（浮點數）。4F 為正、指數 4、"
                                  "尾數 1111，42 為正、指數 4、尾數 0010；尾數相加：1111 + 0010 "
                                  "= 10001；正規化：尾數右移 1 位，指數加 1，移出的位元捨去（截斷）"
                                  "；結果 58 為正、指數 5、尾數 1000"}},
        ExplainCase{.name = "AddfOfOppositeSigns",
                    .program = FloatAdd,
                    .presets = {"R1=C8", "R2=4C"},
                    .sentences = {"執行：R3 ← R1 + R2 = C8 + 4C = 38（浮點數）。C8 為負、指數 4、"
                                  "尾數 1000，4C 為正、指數 4、尾數 1100；符號不同，尾數相減："
                                  "1000 - 1100 = -0100，取絕對值，符號取自 4C；正規化：尾數左移 1 "
                                  "位，指數減 1；結果 38 為正、指數 3、尾數 1000"}},
        ExplainCase{.name = "AddfBeyondTheLargestExponent",
                    .program = FloatAdd,
                    .presets = {"R1=7F", "R2=7F"},
                    .status = 2,
                    .sentences = {"執行：R3 ← R1 + R2 = 7F + 7F（浮點數）。7F 為正、指數 7、尾數 "
                                  "1111，7F 為正、指數 7、尾數 1111；尾數相加：1111 + 1111 = "
                                  "11110；正規化：尾數右移 1 位，指數加 1；指數 8 超出 0 到 7，"
                                  "無法表示，機器停止"}},
        ExplainCase{.name = "Rotate",
                    .program = Program({{"", "ROTATE", "R1,4"}}),
                    .presets = {"R1=5A"},
                    .sentences = {"解碼：A104 是 ROTATE：把 R1 向右旋轉 4 位元\n"
                                  "執行：R1 向右旋轉 4 位元：5A → A5（二進位 01011010 → "
                                  "10100101）"}},
        ExplainCase{
            .name = "RotateOfARegisterWithoutValueGoesOn",
            .program = Program({{"", "ROTATE", "R1,1"}}),
            .sentences = {"執行：R1 沒有數值，無法旋轉，機器繼續執行下一個指令\n"
                          "擷取：從記憶體 02、03 讀出 C0 00 放入指令暫存器，PC 由 02 變成 04"}},
        ExplainCase{
            .name = "UndefinedOpcode",
            .program = FormatSourceText(0x00, {{"", "DB", "E5"}, {"", "DB", "00"}}),
            .status = 2,
            .sentences = {"擷取：從記憶體 00、01 讀出 E5 00 放入指令暫存器，PC 由 00 變成 02\n"
                          "解碼：E500 的運算碼 E 沒有定義，機器停止\n"
                          "status: machine-error"}},
        ExplainCase{
            .name = "FetchOfACellWithoutValue",
            .program = FormatSourceText(0xFE, {{"", "LOAD", "R1,05"}}),
            .status = 2,
            .sentences = {"擷取：從記憶體 FE、FF 讀出 21 05 放入指令暫存器，PC 由 FE 變成 00",
                          "執行：R1 ← 05\n"
                          "擷取：記憶體 00 沒有數值，無法擷取指令，機器停止\n"
                          "status: machine-error"}}),
    [](const testing::TestParamInfo<ExplainCase>& info) { return info.param.name; });
