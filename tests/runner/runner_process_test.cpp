// Runs the mira-run executable on small programs and checks its output and exit status.
#include "assembler/source_file.h"
#include "tests/text_file.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
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
    Outcome Run(const std::vector<std::string>& arguments)
    {
        std::string command = "cd " + Quoted(folder_.string()) + " && " + Quoted(MIRA_RUN_PATH);
        for (const std::string& argument : arguments) {
            command += " " + Quoted(argument);
        }
        command += " >out.txt 2>err.txt";
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
                .err = "Opcode設定錯誤(Line:3)\n"},
        RunCase{.name = "UnknownLabelGivesTwoLines",
                .program = "       JUMP   R0,@NOWHERE\n",
                .status = 1,
                .err = "位址欄位設定錯誤(Line:1)\n　　Label不存在或數值設定錯誤\n"},
        RunCase{.name = "UndefinedOpcodeHaltsWithError",
                .program =
                    "       START  20\n       LOAD   R1,05\n       DB     E0\n       DB     00\n",
                .status = 2,
                .outLines = {"status: machine-error", "steps: 2",
                             "R0=-- R1=05 R2=-- R3=-- R4=-- R5=-- R6=-- R7=--"},
                .err = "Decode錯誤，指令未定義(Pc:22)\n"},
        RunCase{.name = "ErrorThatDoesNotHaltStillFails",
                .program = "       ROTATE R1,1\n       HALT\n",
                .status = 2,
                .outLines = {"status: machine-error", "steps: 2"},
                .err = "指令ROTATE無法執行(Pc:00)\n"},
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
        RunCase{.name = "MissingMemoryImage",
                .program = Doubling,
                .options = {"--memory", "none.mm"},
                .status = 2,
                .err = "無法開啟檔案：none.mm\n記憶體 No:50未設定數值\n"
                       "數值錯誤，無法設定暫存器 No:01\n指令LOADA無法執行(Pc:00)\n"},
        RunCase{.name = "CheckThatMatches",
                .program = Adding,
                .options = {"--check", "expected.mm", "--expect", "R3=08", "--expect", "PC=2A"},
                .outLines = {"64 8"},
                .files = {{"expected.mm", "64 8\n32 33\n"}}},
        RunCase{.name = "CheckThatDiffers",
                .program = Adding,
                .options = {"--check", "expected.mm", "--expect", "R3=09", "--expect", "R4=--"},
                .status = 4,
                .outLines = {"differences:", "memory 40: expected 09, found 08",
                             "memory 50: expected 01, found --", "R3: expected 09, found 08"},
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
                .status = 2,
                .outLines = {"{\"status\":\"machine-error\",\"steps\":2,\"pc\":4,\"registers\":["
                             "null,null,null,null,null,null,null,null,null,null,null,null,null,"
                             "null,null,null],\"memory\":{\"0\":161,\"1\":1,\"2\":192,\"3\":0},"
                             "\"errors\":[\"指令ROTATE無法執行(Pc:00)\"],\"trace\":[\"00  A101  "
                             "ROTATE R1,01\",\"02  C000  HALT\"]}"},
                .err = "指令ROTATE無法執行(Pc:00)\n"}),
    [](const testing::TestParamInfo<RunCase>& info) { return info.param.name; });

TEST_F(RunnerProcess, HelpPrintsTheUsage)
{
    const Outcome outcome = Run({"--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(outcome.out.starts_with("Usage: mira-run PROGRAM.asm [options]\n"));
    EXPECT_EQ(outcome.err, "");
}

TEST_F(RunnerProcess, WrongUsageShowsTheProblemAndTheUsage)
{
    const Outcome outcome = Run({"p.asm", "--fast"});
    EXPECT_EQ(outcome.status, 64);
    EXPECT_TRUE(outcome.err.starts_with("mira-run: unknown option: --fast\n\nUsage: mira-run"));
    EXPECT_EQ(outcome.out, "");
}

TEST_F(RunnerProcess, MissingProgramDoesNotAssemble)
{
    const Outcome outcome = Run({"absent.asm"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "mira-run: cannot read absent.asm: No such file or directory\n");
}
