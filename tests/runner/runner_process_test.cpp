// Runs the mira-run executable on small programs and checks its output and exit status.
#include "assembler/source_file.h"
#include "tests/big5.h"
#include "tests/sanitized.h"
#include "tests/text_file.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string Adding = FormatSourceText(0x20, {
                                                      {"", "LOAD", "R1,05"},
                                                      {"", "LOAD", "R2,03"},
                                                      {"", "ADD", "R3,R1,R2"},
                                                      {"", "STORE", "R3,@40"},
                                                      {"", "HALT", ""},
                                                  });

const std::string AddingOutput =
    "status: halted\n"
    "steps: 5\n"
    "R0=-- R1=05 R2=03 R3=08 R4=-- R5=-- R6=-- R7=--\n"
    "R8=-- R9=-- RA=-- RB=-- RC=-- RD=-- RE=-- RF=--\n"
    "PC=2A\n"
    "memory:\n"
    "32 33\n33 5\n34 34\n35 3\n36 83\n37 18\n38 51\n39 64\n40 192\n41 0\n"
    "64 8\n";

// Doubles the value of cell 50 into cell 51.
const std::string Doubling = FormatSourceText(0x00, {
                                                        {"", "LOADA", "R1,@50"},
                                                        {"", "ADD", "R2,R1,R1"},
                                                        {"", "STORE", "R2,@51"},
                                                        {"", "HALT", ""},
                                                    });

const std::string EndlessLoop = FormatSourceText(0x00, {
                                                           {"", "LOAD", "R0,00"},
                                                           {"LOOP", "JUMP", "R0,@LOOP"},
                                                       });

// Reads the empty register R1 at every step.
const std::string EndlessFlood = FormatSourceText(0x00, {
                                                            {"", "LOAD", "R0,00"},
                                                            {"LOOP", "ROTATE", "R1,1"},
                                                            {"", "JUMP", "R0,@LOOP"},
                                                        });

const std::string Tiny = FormatSourceText(0x00, {{"", "LOAD", "R1,05"}, {"", "HALT", ""}});

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

struct RunCase {
    const char* name;
    std::string program; // written as p.asm, the first argument
    std::vector<std::string> options = {};
    int status = 0;
    std::vector<std::string> outLines = {}; // each appears as whole lines of standard output
    std::string err = {};                   // standard error, exactly
    std::map<std::string, std::string> files = {};
};

void PrintTo(const RunCase& test, std::ostream* out)
{
    *out << test.name;
}

bool HasLines(const std::string& text, std::string lines)
{
    if (!lines.ends_with('\n')) {
        lines += '\n';
    }
    return ("\n" + text).find("\n" + lines) != std::string::npos;
}

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

class RunnerProcess : public testing::Test {
protected:
    void SetUp() override
    {
        // Each test runs in a process of its own, so the process number keeps folders apart.
        folder_ = fs::temp_directory_path() / ("mira-runner-" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Write(const std::string& name, const std::string& text)
    {
        WriteText(folder_ / name, text);
    }

    // Runs mira-run in the test's folder, so that file names in messages are as given.
    Outcome Run(const std::vector<std::string>& arguments,
                const std::string& redirections = ">out.txt 2>err.txt")
    {
        WriteText(folder_ / "out.txt", "");
        WriteText(folder_ / "err.txt", "");
        std::string command = "cd " + Quoted(folder_.string()) + " && " + Quoted(MIRA_RUN_PATH);
        for (const std::string& argument : arguments) {
            command += " " + Quoted(argument);
        }
        command += " " + redirections;
        Outcome outcome;
        const int result = std::system(command.c_str());
        if (result != -1 && WIFEXITED(result)) {
            outcome.status = WEXITSTATUS(result);
        }
        outcome.out = ReadText(folder_ / "out.txt");
        outcome.err = ReadText(folder_ / "err.txt");
        return outcome;
    }

    fs::path folder_;
};

class RunnerCase : public RunnerProcess, public testing::WithParamInterface<RunCase> {};

} // namespace

TEST_P(RunnerCase, PrintsTheResultAndExits)
{
    const RunCase& test = GetParam();
    Write("p.asm", test.program);
    for (const auto& [name, text] : test.files) {
        Write(name, text);
    }
    std::vector<std::string> arguments = {"p.asm"};
    arguments.insert(arguments.end(), test.options.begin(), test.options.end());

    const Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.status, test.status);
    EXPECT_EQ(outcome.err, test.err);
    for (const std::string& lines : test.outLines) {
        EXPECT_TRUE(HasLines(outcome.out, lines)) << "missing: " << lines << "\n" << outcome.out;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Programs, RunnerCase,
    testing::Values(
        RunCase{.name = "AddsAndHalts", .program = Adding, .outLines = {AddingOutput}},
        RunCase{.name = "ReadsLineFeedsAndStartsAtZeroWithoutStart",
                .program = "       LOAD   R1,05\n       HALT\n",
                .outLines = {"PC=04", "0 33", "1 5"}},
        RunCase{.name = "StartOptionOverridesTheFile",
                .program = Tiny,
                .options = {"--start", "80"},
                .outLines = {"PC=84", "128 33"}},
        RunCase{.name = "StartThatIsNotHexadecimal",
                .program = "       START  XY\r\n       HALT\r\n",
                .status = 1,
                .outLines = {"status: not-assembled"},
                .err = "設定啟始位址錯誤\n"},
        RunCase{.name = "UnknownMnemonicOnItsFileLine",
                .program = "       START  00\r\n       HALT\r\n   \r\n       FOO    R1,05\r\n",
                .status = 1,
                .err = "p.asm:4: Opcode設定錯誤(Line:3)\n"},
        RunCase{
            .name = "UnknownLabelGivesTwoLines",
            .program = "       JUMP   R0,@NOWHERE\n",
            .status = 1,
            .err = "p.asm:1: 位址欄位設定錯誤(Line:1)\np.asm:1: 　　Label不存在或數值設定錯誤\n"},
        RunCase{.name = "UndefinedOpcodeHaltsWithError",
                .program =
                    "       START  20\n       LOAD   R1,05\n       DB     E0\n       DB     00\n",
                .status = 2,
                .outLines = {"status: machine-error", "steps: 2",
                             "R0=-- R1=05 R2=-- R3=-- R4=-- R5=-- R6=-- R7=--"},
                .err = "Decode錯誤，指令未定義(Pc:22)\n"},
        RunCase{.name = "RotateOfAnEmptyRegisterThenHalt",
                .program = "       ROTATE R1,1\n       HALT\n",
                .outLines = {"status: halted", "steps: 2"},
                .err = "指令ROTATE無法執行(Pc:00)\n"},
        RunCase{.name = "RotateOfAnEmptyRegisterThenHaltStrict",
                .program = "       ROTATE R1,1\n       HALT\n",
                .options = {"--strict"},
                .status = 2,
                .outLines = {"status: machine-error", "steps: 2"},
                .err = "指令ROTATE無法執行(Pc:00)\n"},
        RunCase{.name = "JumpOnAnEmptyR0ThenHaltAndCompare",
                .program = "       JUMP   R0,@NEXT\n       DB     00\nNEXT   HALT\n",
                .options = {"--expect", "PC=05"},
                .outLines = {"status: halted"},
                .err = "暫存器 No:00未設定數值\n暫存器 No:00未設定數值\n"},
        RunCase{.name = "AddOfAnEmptyRegisterThenHaltWithADifference",
                .program = "       LOAD   R1,05\n       ADD    R3,R1,R2\n       HALT\n",
                .options = {"--expect", "R3=05"},
                .status = 4,
                .outLines = {"R3: expected 05, found 04"},
                .err = "暫存器 No:02未設定數值\n"},
        RunCase{.name = "AddOfAnEmptyRegisterStrictIsNotCompared",
                .program = "       LOAD   R1,05\n       ADD    R3,R1,R2\n       HALT\n",
                .options = {"--expect", "R3=05", "--strict"},
                .status = 2,
                .outLines = {"status: machine-error"},
                .err = "暫存器 No:02未設定數值\n"},
        RunCase{
            .name = "RepeatedErrorIsCounted",
            .program = EndlessFlood,
            .options = {"--max-steps", "100"},
            .status = 3,
            .err =
                "指令ROTATE無法執行(Pc:02)\n指令ROTATE無法執行(Pc:02)\n"
                "指令ROTATE無法執行(Pc:02)\nrepeated 47 more times: 指令ROTATE無法執行(Pc:02)\n"},
        RunCase{.name = "EndlessLoopStopsAtTheStepLimit",
                .program = EndlessLoop,
                .options = {"--max-steps", "50"},
                .status = 3,
                .outLines = {"status: step-limit", "steps: 50"}},
        RunCase{.name = "PresetCell",
                .program = Doubling,
                .options = {"--set", "50=07"},
                .outLines = {"80 7", "81 14"}},
        RunCase{.name = "MemoryImageBeforeThePresets",
                .program = Doubling,
                .options = {"--memory", "in.mm", "--set", "R3=0C"},
                .outLines = {"R0=-- R1=07 R2=0E R3=0C R4=-- R5=-- R6=-- R7=--", "80 7", "81 14"},
                .files = {{"in.mm", "80 7\n"}}},
        RunCase{.name = "MissingMemoryImageRunsNothing",
                .program = Doubling,
                .options = {"--memory", "none.mm"},
                .status = 64,
                .err = "mira-run: cannot read none.mm: No such file or directory\n"},
        RunCase{.name = "BadPairInMemoryImageRunsNothing",
                .program = Doubling,
                .options = {"--memory", "in.mm"},
                .status = 64,
                .err = "從檔案in.mm載入記憶體 No:50錯誤\n",
                .files = {{"in.mm", "80 x\n"}}},
        RunCase{.name = "EmptyExpectedImageRunsNothing",
                .program = Adding,
                .options = {"--check", "expected.mm"},
                .status = 64,
                .err = "mira-run: expected.mm lists no cell to compare\n",
                .files = {{"expected.mm", " \n\n"}}},
        RunCase{.name = "ExpectedImageWithAByteOrderMark",
                .program = Adding,
                .options = {"--check", "expected.mm"},
                .files = {{"expected.mm", "\xEF\xBB\xBF"
                                          "64 8\n"}}},
        RunCase{.name = "CheckThatMatches",
                .program = Adding,
                .options = {"--check", "expected.mm", "--expect", "R3=08", "--expect", "PC=2A"},
                .outLines = {"64 8"},
                .files = {{"expected.mm", "64 8\n32 33\n"}}},
        RunCase{.name = "CheckThatDiffers",
                .program = Adding,
                .options = {"--check", "expected.mm", "--expect", "R3=09", "--expect", "R4=--"},
                .status = 4,
                .outLines = {"differences:", "memory 40 (64): expected 09, found 08",
                             "memory 50 (80): expected 01, found --", "R3: expected 09, found 08"},
                .files = {{"expected.mm", "64 9 80 1"}}},
        RunCase{.name = "UnreadableExpectedImageRunsNothing",
                .program = Adding,
                .options = {"--check", "expected.mm"},
                .status = 64,
                .err = "從檔案expected.mm載入記憶體 No:40錯誤\n",
                .files = {{"expected.mm", "64 256\n"}}},
        RunCase{.name = "NoComparisonAfterAnError",
                .program = EndlessLoop,
                .options = {"--max-steps", "3", "--expect", "R0=01"},
                .status = 3},
        RunCase{.name = "TraceBeforeEachInstruction",
                .program = Tiny,
                .options = {"--trace"},
                .outLines = {"00  2105  LOAD R1,05", "02  C000  HALT"}},
        RunCase{.name = "TraceBetweenDecodeAndExecuteWhenExplained",
                .program = Tiny,
                .options = {"--trace", "--explain"},
                .outLines = {"解碼：2105 是 LOAD：把數值 05 載入 R1\n"
                             "00  2105  LOAD R1,05\n"
                             "執行：R1 ← 05"}},
        RunCase{
            .name = "Json",
            .program = Tiny,
            .options = {"--json"},
            .outLines = {"{\"status\":\"halted\",\"steps\":2,\"pc\":4,\"registers\":[null,5,"
                         "null,null,null,null,null,null,null,null,null,null,null,null,null,"
                         "null],\"memory\":{\"0\":33,\"1\":5,\"2\":192,\"3\":0},\"errors\":[]}"}},
        RunCase{.name = "JsonWithErrorsTraceAndDifferences",
                .program = "       ROTATE R1,1\n       HALT\n",
                .options = {"--json", "--trace", "--expect", "R1=00"},
                .status = 4,
                .outLines = {"{\"trace\":[\"00  A101  ROTATE R1,01\",\"02  C000  HALT\"],"
                             "\"status\":\"halted\",\"steps\":2,\"pc\":4,\"registers\":["
                             "null,null,null,null,null,null,null,null,null,null,null,null,null,"
                             "null,null,null],\"memory\":{\"0\":161,\"1\":1,\"2\":192,\"3\":0},"
                             "\"errors\":[\"指令ROTATE無法執行(Pc:00)\"],"
                             "\"differences\":[\"R1: expected 00, found --\"]}"},
                .err = "指令ROTATE無法執行(Pc:00)\n"}),
    [](const testing::TestParamInfo<RunCase>& info) { return info.param.name; });

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

struct ConventionCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string redirections = ">out.txt 2>err.txt";
    int status = 0;
    std::string outStart = {}; // the beginning of standard output
    std::string err = {};      // standard error, exactly
};

void PrintTo(const ConventionCase& test, std::ostream* out)
{
    *out << test.name;
}

class Convention : public RunnerProcess, public testing::WithParamInterface<ConventionCase> {};

TEST_P(Convention, IsFollowed)
{
    const ConventionCase& test = GetParam();
    Write("p.asm", Tiny);
    Write("-odd.asm", Tiny);
    ASSERT_EQ(mkfifo((folder_ / "fifo.asm").c_str(), 0600), 0);
    const Outcome outcome = Run(test.arguments, test.redirections);
    EXPECT_EQ(outcome.status, test.status);
    EXPECT_TRUE(outcome.out.starts_with(test.outStart)) << outcome.out;
    EXPECT_EQ(outcome.out.empty(), test.outStart.empty()) << outcome.out;
    EXPECT_EQ(outcome.err, test.err);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, Convention,
    testing::Values(
        ConventionCase{.name = "Help",
                       .arguments = {"--help"},
                       .outStart = "Usage: mira-run [options] PROGRAM.asm\n"},
        ConventionCase{
            .name = "ShortHelp", .arguments = {"-h"}, .outStart = "Usage: mira-run [options]"},
        ConventionCase{.name = "Version", .arguments = {"--version"}, .outStart = "mira-run 1."},
        ConventionCase{.name = "UsageErrorInOneLine",
                       .arguments = {"p.asm", "--fast"},
                       .status = 64,
                       .err = "mira-run: unknown option: --fast (see mira-run --help)\n"},
        ConventionCase{.name = "OptionInsteadOfAValue",
                       .arguments = {"p.asm", "--memory", "--json"},
                       .status = 64,
                       .err = "mira-run: option needs a value: --memory (see mira-run --help)\n"},
        ConventionCase{.name = "ProgramFromStandardInput",
                       .arguments = {"-"},
                       .redirections = "<p.asm >out.txt 2>err.txt",
                       .outStart = "status: halted\n"},
        ConventionCase{.name = "ProgramNamedLikeAnOption",
                       .arguments = {"--", "-odd.asm"},
                       .outStart = "status: halted\n"},
        ConventionCase{.name = "MissingProgram",
                       .arguments = {"absent.asm"},
                       .status = 1,
                       .err = "mira-run: cannot read absent.asm: No such file or directory\n"},
        ConventionCase{.name = "PipeAsProgramDoesNotWait",
                       .arguments = {"fifo.asm"},
                       .status = 1,
                       .err = "mira-run: cannot read fifo.asm: Not a regular file\n"},
        ConventionCase{.name = "EndlessDeviceAsProgram",
                       .arguments = {"/dev/zero"},
                       .status = 1,
                       .err = "mira-run: cannot read /dev/zero: Not a regular file\n"},
        ConventionCase{
            .name = "FullStandardOutput",
            .arguments = {"p.asm"},
            .redirections = ">/dev/full 2>err.txt",
            .status = 74,
            .err = "mira-run: cannot write to standard output: No space left on device\n"},
        ConventionCase{.name = "FullStandardError",
                       .arguments = {"p.asm", "--fast"},
                       .redirections = ">out.txt 2>/dev/full",
                       .status = 74}),
    [](const testing::TestParamInfo<ConventionCase>& info) { return info.param.name; });

// The expected image of a model solution grades the students by the cells that matter.
TEST_F(RunnerProcess, DumpOfAModelSolutionChecksStudents)
{
    Write("model.asm", Adding);
    const Outcome model = Run({"model.asm", "--dump", "40-4F"});
    ASSERT_EQ(model.status, 0);
    EXPECT_EQ(model.out, "64 8\n");
    Write("expected.mm", model.out);

    Write(
        "right.asm",
        FormatSourceText(0x80, {{"", "LOAD", "R3,08"}, {"", "STORE", "R3,@40"}, {"", "HALT", ""}}));
    EXPECT_EQ(Run({"right.asm", "--check", "expected.mm"}).status, 0);
    Write(
        "wrong.asm",
        FormatSourceText(0x80, {{"", "LOAD", "R3,09"}, {"", "STORE", "R3,@40"}, {"", "HALT", ""}}));
    const Outcome wrong = Run({"wrong.asm", "--check", "expected.mm"});
    EXPECT_EQ(wrong.status, 4);
    EXPECT_TRUE(HasLines(wrong.out, "memory 40 (64): expected 08, found 09")) << wrong.out;
}

TEST_F(RunnerProcess, GradeGivesOneLinePerProgramInPathOrder)
{
    fs::create_directories(folder_ / "class" / "late");
    fs::create_directories(folder_ / "class" / "folder.asm");
    Write("class/b-right.asm", Adding);
    Write("class/a-wrong.asm", Tiny);
    Write("class/late/endless.ASM", EndlessLoop);
    Write("class/c-broken.asm", "       FOO\n");
    Write("class/notes.txt", "not a program");
    Write("class/\xE9.asm", Adding);
    Write("single.asm", Adding);
    ASSERT_EQ(mkfifo((folder_ / "class" / "pipe.asm").c_str(), 0600), 0);

    const std::vector<std::string> grade = {"--grade",  "class", "single.asm",  "absent.asm",
                                            "--expect", "R3=08", "--max-steps", "50"};
    const Outcome plain = Run(grade);
    EXPECT_EQ(plain.status, 5);
    EXPECT_EQ(plain.out,
              "FAIL  absent.asm  status 1: cannot read absent.asm: No such file or directory\n"
              "FAIL  class/a-wrong.asm  status 4: R3: expected 08, found --\n"
              "pass  class/b-right.asm\n"
              "FAIL  class/c-broken.asm  status 1: class/c-broken.asm:1: Opcode設定錯誤(Line:1)\n"
              "FAIL  class/late/endless.ASM  status 3: no halt within 50 steps\n"
              "pass  class/\xE9.asm\n"
              "pass  single.asm\n"
              "3 passed, 4 failed\n");
    EXPECT_EQ(plain.err, "");

    std::vector<std::string> json = grade;
    json.push_back("--json");
    const Outcome array = Run(json);
    EXPECT_EQ(array.status, 5);
    EXPECT_TRUE(array.out.starts_with("[{\"program\":\"absent.asm\",\"exit\":1,")) << array.out;
    EXPECT_NE(array.out.find("{\"program\":\"class/\xEF\xBF\xBD.asm\",\"exit\":0,"),
              std::string::npos)
        << array.out;
    EXPECT_EQ(array.out.find("\xE9.asm"), std::string::npos);
    EXPECT_TRUE(array.out.ends_with("}]\n"));
}

// An endless loop that fails at every step: a few lines out, and memory that
// does not grow with the step limit (it grew by about 180 bytes a step).
TEST_F(RunnerProcess, FloodOfErrorsIsBounded)
{
    const long steps = Sanitized ? 200000 : 2000000;
    Write("p.asm", EndlessFlood);
    const Outcome outcome =
        Run({"p.asm", "--max-steps", std::to_string(steps), "--json", "--trace"},
            ">/dev/null 2>err.txt");
    EXPECT_EQ(outcome.status, 3);
    EXPECT_EQ(outcome.err, "指令ROTATE無法執行(Pc:02)\n指令ROTATE無法執行(Pc:02)\n"
                           "指令ROTATE無法執行(Pc:02)\n"
                           "repeated " +
                               std::to_string(steps / 2 - 3) +
                               " more times: 指令ROTATE無法執行(Pc:02)\n");
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    if (!Sanitized) {
        EXPECT_LT(usage.ru_maxrss, 64 * 1024) << "kilobytes";
    }
}
