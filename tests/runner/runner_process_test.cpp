// Runs the mira-run executable on small programs and checks its output and exit status.
#include "tests/runner/runner_process.h"
#include "tests/sanitized.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <map>

namespace {

// Doubles the value of cell 50 into cell 51.
const std::string Doubling = FormatSourceText(0x00, {
                                                        {"", "LOADA", "R1,@50"},
                                                        {"", "ADD", "R2,R1,R1"},
                                                        {"", "STORE", "R2,@51"},
                                                        {"", "HALT", ""},
                                                    });

// Reads the empty register R1 at every step.
const std::string EndlessFlood = FormatSourceText(0x00, {
                                                            {"", "LOAD", "R0,00"},
                                                            {"LOOP", "ROTATE", "R1,1"},
                                                            {"", "JUMP", "R0,@LOOP"},
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
