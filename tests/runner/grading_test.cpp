// mira-run --grade as a teacher runs it: odd folders, signals, limited memory, the processors.
#include "tests/runner/runner_process.h"
#include "tests/sanitized.h"

#include <nlohmann/json.hpp>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <set>

namespace {

// Long enough to outlive any test.
const std::string Forever = "1000000000000";

// Every kind of entry a folder of submissions may hold.
class ClassFolder : public RunnerProcess {
protected:
    void SetUp() override
    {
        RunnerProcess::SetUp();
        Write("single.asm", Adding);
        fs::create_symlink("single.asm", folder_ / "link-to-single.asm");
        Write("class/a-wrong.asm", Tiny);
        Write("class/b-right.asm", Adding);
        fs::create_symlink("b-right.asm", folder_ / "class/link.asm");
        Write("class/c-broken.asm", "       FOO\n");
        // An error that does not halt the machine, then one that does.
        Write("class/d-halts.asm", "       ROTATE R1,1\n       DB     E0\n       DB     00\n");
        Write("class/late/endless.ASM", EndlessLoop);
        fs::create_directories(folder_ / "class/folder.asm");
        Write("class/notes.txt", "not a program");
        Write("class/\xE8.asm", Adding);
        Write("class/\xE9.asm", Adding);
        Write("class/new\nline.asm", Adding);
        Write("class/.asm", Tiny);
        fs::create_symlink("nowhere.asm", folder_ / "class/gone.asm");
        ASSERT_EQ(mkfifo((folder_ / "class/pipe.asm").c_str(), 0600), 0);
        Write("class/locked/x.asm", Adding);
        fs::permissions(folder_ / "class/locked", fs::perms::none);
    }

    Outcome Grade(std::vector<std::string> options)
    {
        std::vector<std::string> arguments = {"--grade",
                                              "class",
                                              "./single.asm",
                                              "absent.asm",
                                              "single.asm",
                                              "link-to-single.asm",
                                              "class//b-right.asm",
                                              "--expect",
                                              "R3=08",
                                              "--max-steps",
                                              "50"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        // Root reads every folder; without these capabilities it reads as its owner does.
        const char* asOwner =
            geteuid() == 0 ? "setpriv --bounding-set -dac_override,-dac_read_search" : "";
        return Run(arguments, ">out.txt 2>err.txt", asOwner);
    }
};

} // namespace

TEST_F(ClassFolder, EveryEntryOnceOnItsOwnLine)
{
    const Outcome plain = Grade({});
    EXPECT_EQ(plain.status, 5);
    EXPECT_EQ(plain.out,
              "pass  ./single.asm\n"
              "FAIL  absent.asm  status 1: cannot read absent.asm: No such file or directory\n"
              "FAIL  class/.asm  status 4: R3: expected 08, found --\n"
              "pass  class//b-right.asm\n"
              "FAIL  class/a-wrong.asm  status 4: R3: expected 08, found --\n"
              "FAIL  class/c-broken.asm  status 1: class/c-broken.asm:1: Opcode設定錯誤(Line:1)\n"
              "FAIL  class/d-halts.asm  status 2: Decode錯誤，指令未定義(Pc:02)\n"
              "FAIL  class/gone.asm  status 1: cannot read class/gone.asm: No such file or "
              "directory\n"
              "FAIL  class/late/endless.ASM  status 3: no halt within 50 steps\n"
              "FAIL  class/locked  status 1: cannot read folder class/locked: Permission denied\n"
              "pass  \"class/new\\nline.asm\"\n"
              "FAIL  class/pipe.asm  status 1: cannot read class/pipe.asm: Not a regular file\n"
              "pass  \"class/\\350.asm\"\n"
              "pass  \"class/\\351.asm\"\n"
              "5 passed, 9 failed\n");
    EXPECT_EQ(plain.err, "");
}

TEST_F(ClassFolder, JsonKeepsTheBytesOfEveryName)
{
    const Outcome json = Grade({"--json"});
    EXPECT_EQ(json.status, 5);
    const nlohmann::json programs = nlohmann::json::parse(json.out);
    ASSERT_EQ(programs.size(), 14u);
    std::set<std::string> quoted;
    for (const nlohmann::json& program : programs) {
        if (program.contains("program_quoted")) {
            quoted.insert(program["program_quoted"].get<std::string>());
        }
    }
    EXPECT_EQ(quoted, (std::set<std::string>{"\"class/\\350.asm\"", "\"class/\\351.asm\"",
                                             "\"class/new\\nline.asm\""}));
    EXPECT_EQ(programs[0]["program"], "./single.asm");
    EXPECT_EQ(programs[12]["program"], "class/\xEF\xBF\xBD.asm");
}

namespace {

struct EndCase {
    const char* name;
    int signal; // sent to mira-run alone; 0: its reader goes away (| head -1)
};

void PrintTo(const EndCase& test, std::ostream* out)
{
    *out << test.name;
}

// Anything a test left running in its folder (its own processes) is ended.
class CleanedUp : public RunnerProcess {
protected:
    void TearDown() override
    {
        for (const pid_t pid : ProcessesInFolder()) {
            kill(pid, SIGKILL);
        }
        RunnerProcess::TearDown();
    }
};

class Ending : public CleanedUp, public testing::WithParamInterface<EndCase> {};

} // namespace

// However mira-run ends, its workers end with it, and every line decided is out.
TEST_P(Ending, EndsTheWorkersAndKeepsTheLinesDecided)
{
    Write("a.asm", Tiny);
    Write("e1.asm", EndlessLoop);
    Write("e2.asm", EndlessLoop);
    const std::vector<std::string> grade = {"--grade", "a.asm",       "e1.asm",
                                            "e2.asm",  "--max-steps", Forever};
    if (GetParam().signal == 0) {
        Run(grade, "| head -1 >out.txt 2>err.txt", "timeout 20");
    } else {
        const pid_t pid = Start(grade);
        // mira-run and an endless worker; the first program was decided long before.
        ASSERT_TRUE(WaitFor([&] { return ProcessesInFolder().size() >= 2; }));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        kill(pid, GetParam().signal);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status));
    }
    EXPECT_TRUE(WaitFor([&] { return ProcessesInFolder().empty(); }, 5));
    EXPECT_EQ(ReadText(folder_ / "out.txt"), "pass  a.asm\n");
}

INSTANTIATE_TEST_SUITE_P(Grade, Ending,
                         testing::Values(EndCase{"Terminated", SIGTERM},
                                         EndCase{"Interrupted", SIGINT}, EndCase{"HungUp", SIGHUP},
                                         EndCase{"ReaderGone", 0}),
                         [](const testing::TestParamInfo<EndCase>& info) {
                             return info.param.name;
                         });

namespace {

struct WorkerCase {
    const char* name;
    std::string prefix;
    std::vector<std::string> options;
    std::size_t workers;
};

void PrintTo(const WorkerCase& test, std::ostream* out)
{
    *out << test.name;
}

class Workers : public CleanedUp, public testing::WithParamInterface<WorkerCase> {};

} // namespace

TEST_P(Workers, AsManyAsTheProcessorsOrAsAsked)
{
    std::vector<std::string> grade = {"--grade", "--max-steps", Forever};
    for (int i = 0; i < 4; ++i) {
        Write("e" + std::to_string(i) + ".asm", EndlessLoop);
        grade.push_back("e" + std::to_string(i) + ".asm");
    }
    grade.insert(grade.end(), GetParam().options.begin(), GetParam().options.end());
    const pid_t pid = Start(grade, GetParam().prefix);
    const std::size_t expected = GetParam().workers + 1;
    EXPECT_TRUE(WaitFor([&] { return ProcessesInFolder().size() == expected; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(ProcessesInFolder().size(), expected);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

INSTANTIATE_TEST_SUITE_P(Grade, Workers,
                         testing::Values(WorkerCase{"FollowTheAffinity", "taskset -c 0", {}, 1},
                                         WorkerCase{"AsAsked", "", {"-j", "3"}, 3},
                                         WorkerCase{"AsAskedInOneWord", "", {"-j2"}, 2}),
                         [](const testing::TestParamInfo<WorkerCase>& info) {
                             return info.param.name;
                         });

namespace {

struct MemoryCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string limit; // of virtual memory, in kilobytes
    int status;
    std::string out;
    std::string errEnd;
};

void PrintTo(const MemoryCase& test, std::ostream* out)
{
    *out << test.name;
}

class Memory : public RunnerProcess, public testing::WithParamInterface<MemoryCase> {};

} // namespace

// 8 MB of rows that can never fit into memory: a few megabytes, not hundreds,
// and a limit that cannot be met is reported as running out of memory.
TEST_P(Memory, StaysSmallOrSaysSo)
{
    if (Sanitized) {
        GTEST_SKIP() << "the sanitizers reserve more address space than any limit";
    }
    std::string rows;
    for (int i = 0; i < 4000000; ++i) {
        rows += "X\n";
    }
    Write("x.asm", rows);
    const MemoryCase& test = GetParam();
    const Outcome outcome =
        Run(test.arguments, ">out.txt 2>err.txt", "ulimit -v " + test.limit + ";");
    EXPECT_EQ(outcome.status, test.status);
    EXPECT_EQ(outcome.out, test.out);
    EXPECT_TRUE(outcome.err.ends_with(test.errEnd)) << outcome.err;
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    EXPECT_LT(usage.ru_maxrss, 48 * 1024) << "kilobytes";
}

INSTANTIATE_TEST_SUITE_P(
    LargeProgram, Memory,
    testing::Values(
        MemoryCase{"Run",
                   {"x.asm", "--dump", "40"},
                   "300000",
                   1,
                   "",
                   "x.asm:128: 指令數過多，記憶體不足(Line:128)\n"},
        MemoryCase{"Graded",
                   {"--grade", "x.asm"},
                   "300000",
                   5,
                   "FAIL  x.asm  status 1: x.asm:2: Symbol重複或無法設定(Line:2)\n"
                   "0 passed, 1 failed\n",
                   ""},
        MemoryCase{
            "RunOutOfMemory", {"x.asm"}, "10000", 1, "", "cannot run x.asm: out of memory\n"},
        MemoryCase{"GradedOutOfMemory",
                   {"--grade", "x.asm"},
                   "10000",
                   5,
                   "FAIL  x.asm  status 1: cannot run x.asm: out of memory\n0 passed, 1 failed\n",
                   ""}),
    [](const testing::TestParamInfo<MemoryCase>& info) { return info.param.name; });

// On a terminal, standard error tells how far the grading is.
TEST_F(RunnerProcess, ProgressOnATerminal)
{
    Write("a.asm", Tiny);
    Write("b.asm", Tiny);
    const std::string command = "script -qec " + Quoted(Command({"--grade", "a.asm", "b.asm"})) +
                                " /dev/null </dev/null >" + Quoted((folder_ / "tty.txt").string());
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_NE(ReadText(folder_ / "tty.txt").find("\rgraded 2 of 2"), std::string::npos);
}
