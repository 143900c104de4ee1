// mira-run --assignment: a class graded against weighted cases, its reports read back.
#include "tests/runner/runner_process.h"

#include <nlohmann/json.hpp>

#include <map>

namespace {

const std::string AssignmentText = R"(title = "兩數相加"
max_steps = 200
forbid = ["ADDF"]
max_size = 12

[[case]]
name = "小的數"
points = 2
set = { "50" = "05", "51" = "03" }
expect = { R3 = "08", "40" = "08" }

[[case]]
name = "大的數"
points = 3
memory = "inputs/big.mm"
check = "expected/big.mm"

[[case]]
name = "隱藏"
points = 4
hidden = true
set = { "50" = "FF", "51" = "01" }
expect = { "40" = "00", R3 = "00" }

[[case]]
name = "時間"
time_limit = 0.2
max_steps = 1000000000000
set = { "50" = "01", "51" = "01" }
expect = { R3 = "02" }
)";

// Adds the cells 50 and 51 into R3 and cell 40.
const std::string Right = "       LOADA  R1,@50\n       LOADA  R2,@51\n       ADD    R3,R1,R2\n"
                          "       STORE  R3,@40\n       HALT\n";

const std::string ClassText = "MISSING  carol.asm  0/10\n"
                              "FAIL  class/addf.asm  0/10  failed: forbid, 大的數, 隱藏, 時間\n"
                              "FAIL  class/big.asm  0/10  failed: max_size\n"
                              "FAIL  class/endless.asm  0/10  failed: 小的數, 大的數, 隱藏, 時間\n"
                              "FAIL  class/partly.asm  2/10  failed: 大的數, 隱藏, 時間\n"
                              "pass  class/right.asm  10/10\n"
                              "6 students: mean 2 of 10, median 0, 1 with full marks\n";

// A right, a partly right, a wrong and an endless student, one who uses a
// forbidden instruction, one whose program is too large and one who handed nothing in.
class AssignmentClass : public RunnerProcess {
protected:
    void SetUp() override
    {
        RunnerProcess::SetUp();
        Write("add.toml", AssignmentText);
        Write("inputs/big.mm", "80 112\n81 15\n");
        Write("expected/big.mm", "64 127\n");
        Write("class/right.asm", Right);
        Write("class/addf.asm", "       LOADA  R1,@50\n       LOADA  R2,@51\n"
                                "       ADDF   R3,R1,R2\n       STORE  R3,@40\n       HALT\n");
        Write("class/big.asm", Right + "       DB     00\n       DB     00\n       DB     00\n");
        Write("class/partly.asm",
              "       LOADA  R1,@50\n       LOAD   R3,08\n       STORE  R3,@40\n       HALT\n");
        Write("class/endless.asm", EndlessLoop);
        Write("roster.txt", "\xEF\xBB\xBF"
                            "carol.asm\r\nright.asm\r\n");
    }

    Outcome Grade(std::vector<std::string> options)
    {
        std::vector<std::string> arguments = {"--assignment", "add.toml", "--grade",
                                              "class",        "--roster", "roster.txt"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return Run(arguments);
    }
};

} // namespace

TEST_F(AssignmentClass, OneProgramCaseByCase)
{
    const Outcome partly = Run({"--assignment", "add.toml", "class/partly.asm"});
    EXPECT_EQ(partly.status, 5);
    EXPECT_EQ(partly.out, "pass  forbid\npass  max_size\npass  小的數  2/2\nFAIL  大的數  0/3\n"
                          "      memory 40 (64): expected 7F, found 08\nFAIL  隱藏  0/4  hidden\n"
                          "FAIL  時間  0/1\n      R3: expected 02, found 08\nscore 2/10\n");
    const Outcome endless = Run({"--assignment", "add.toml", "class/endless.asm"});
    EXPECT_TRUE(HasLines(endless.out, "FAIL  時間  0/1\n      no halt within 0.2 s"))
        << endless.out;
    const Outcome big = Run({"--assignment", "add.toml", "class/big.asm"});
    EXPECT_TRUE(HasLines(big.out, "FAIL  max_size  程式佔用 13 個位元組，上限為 12 個位元組"));
    EXPECT_TRUE(HasLines(big.out, "score 0/10 (a rule was broken: no points)"));
    const Outcome addf = Run({"--assignment", "add.toml", "class/addf.asm"});
    EXPECT_TRUE(HasLines(addf.out, "FAIL  forbid  使用了禁止的指令 ADDF (第 3 行)")) << addf.out;
    EXPECT_EQ(Run({"--assignment", "add.toml", "class/right.asm"}).status, 0);
}

TEST_F(AssignmentClass, ClassSummaryAndFeedback)
{
    const Outcome text = Grade({"--feedback", "feedback"});
    EXPECT_EQ(text.status, 5);
    EXPECT_EQ(text.out, ClassText);
    EXPECT_EQ(text.err, "");
    // Visible cases in full, hidden ones pass or fail only; nothing for the missing.
    EXPECT_EQ(ReadText(folder_ / "feedback/class/partly.asm.txt"),
              "兩數相加: class/partly.asm\n" +
                  Run({"--assignment", "add.toml", "class/partly.asm"}).out);
    EXPECT_FALSE(fs::exists(folder_ / "feedback/carol.asm.txt"));
}

// Each report is read back by a reader of its format.
TEST_F(AssignmentClass, ReportsReadBack)
{
    ASSERT_EQ(Grade({"--report", "csv"}).status, 5);
    fs::rename(folder_ / "out.txt", folder_ / "report.csv");
    ASSERT_EQ(Grade({"--report", "junit"}).status, 5);
    fs::rename(folder_ / "out.txt", folder_ / "report.xml");
    const Outcome json = Grade({"--report", "json"});
    ASSERT_EQ(json.status, 5);

    EXPECT_TRUE(ReadText(folder_ / "report.csv").starts_with("\xEF\xBB\xBF"));
    const std::string read = "cd " + Quoted(folder_.string()) + R"( && /usr/bin/python3 -c '
import csv, json, xml.etree.ElementTree as tree
rows = list(csv.reader(open("report.csv", encoding="utf-8-sig", newline="")))
suites = {suite.get("name"): [case.get("name") for case in suite if case.find("failure") is not None]
          for suite in tree.parse("report.xml").getroot()}
print(json.dumps({"csv": rows, "junit": suites}))' >read.json)";
    ASSERT_EQ(std::system(read.c_str()), 0);
    const nlohmann::json readBack = nlohmann::json::parse(ReadText(folder_ / "read.json"));
    EXPECT_EQ(readBack["csv"], nlohmann::json::parse(R"([
        ["student", "total", "小的數", "大的數", "隱藏", "時間"],
        ["carol.asm", "0", "0", "0", "0", "0"], ["class/addf.asm", "0", "0", "0", "0", "0"],
        ["class/big.asm", "0", "0", "0", "0", "0"], ["class/endless.asm", "0", "0", "0", "0", "0"],
        ["class/partly.asm", "2", "2", "0", "0", "0"], ["class/right.asm", "10", "2", "3", "4", "1"]
    ])"));
    EXPECT_EQ(readBack["junit"]["class/addf.asm"],
              nlohmann::json::parse(R"(["forbid", "大的數", "隱藏", "時間"])"));
    EXPECT_EQ(readBack["junit"]["class/right.asm"], nlohmann::json::array());

    const nlohmann::json report = nlohmann::json::parse(json.out);
    EXPECT_EQ(report["summary"],
              nlohmann::json::parse(R"({"students":6,"mean":2.0,"median":0.0,"full_marks":1})"));
    const nlohmann::json& partly = report["students"][4];
    EXPECT_EQ(partly["program"], "class/partly.asm");
    EXPECT_EQ(partly["cases"][1]["problems"][0], "memory 40 (64): expected 7F, found 08");
    // A hidden case never shows its values.
    EXPECT_EQ(partly["cases"][2]["problems"], nlohmann::json::array());
}

namespace {

// The steps a case ran until its time limit depend on the machine's speed.
nlohmann::json WithoutClockedSteps(const std::string& report)
{
    nlohmann::json json = nlohmann::json::parse(report);
    for (nlohmann::json& student : json["students"]) {
        for (nlohmann::json& result : student["cases"]) {
            if (result["status"] == "time-limit") {
                result["steps"] = 0;
            }
        }
    }
    return json;
}

} // namespace

// Shares graded apart and merged give what one run gives.
TEST_F(AssignmentClass, SharesMergedAsOneRun)
{
    const std::string oneRun = Grade({"--report", "json"}).out;
    std::vector<std::string> shares;
    for (const char* share : {"1/3", "2/3", "3/3"}) {
        Grade({"--report", "json", "--shard", share});
        shares.push_back("share" + std::to_string(shares.size() + 1) + ".json");
        fs::rename(folder_ / "out.txt", folder_ / shares.back());
    }
    std::vector<std::string> merge = {"--merge"};
    merge.insert(merge.end(), shares.begin(), shares.end());
    const Outcome text = Run(merge);
    EXPECT_EQ(text.status, 5);
    EXPECT_EQ(text.out, ClassText);
    merge.insert(merge.end(), {"--report", "json"});
    EXPECT_EQ(WithoutClockedSteps(Run(merge).out), WithoutClockedSteps(oneRun));

    const Outcome incomplete = Run({"--merge", shares[0], shares[2]});
    EXPECT_EQ(incomplete.status, 64);
    EXPECT_EQ(incomplete.err, "mira-run: share 2 of 3 is missing\n");
}

namespace {

struct FileCase {
    const char* name;
    std::string text;
    std::string err;
};

void PrintTo(const FileCase& test, std::ostream* out)
{
    *out << test.name;
}

class AssignmentFile : public RunnerProcess, public testing::WithParamInterface<FileCase> {};

} // namespace

// A mistake in the assignment file is found, with its place, before anything runs.
TEST_P(AssignmentFile, NamesTheMistakeAndRunsNothing)
{
    Write("a.toml", GetParam().text);
    Write("p.asm", Right);
    const Outcome outcome = Run({"--assignment", "a.toml", "--grade", "p.asm"});
    EXPECT_EQ(outcome.status, 64);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "mira-run: a.toml:" + GetParam().err + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, AssignmentFile,
    testing::Values(
        FileCase{"NotToml", "[[case]\n",
                 "1:8: Error while parsing table header: expected ']', "
                 "saw '\\n'"},
        FileCase{"UnknownKey", "[[case]]\nname = \"a\"\nexpcet = { R1 = \"01\" }\n",
                 "3:1: unknown key expcet"},
        FileCase{"BadTarget", "[[case]]\nname = \"a\"\nexpect = { RG = \"01\" }\n",
                 "3:12: expect: RG is not a register or cell with a value in quotes, such as R1 "
                 "= \"05\", PC = \"12\" or R2 = \"--\""},
        FileCase{"NothingCompared", "[[case]]\nname = \"a\"\nset = { R1 = \"01\" }\n",
                 "1:1: case a compares nothing: give expect or check"},
        FileCase{"MissingImage", "[[case]]\nname = \"a\"\ncheck = \"none.mm\"\n",
                 "3:9: check: cannot read none.mm: No such file or directory"},
        FileCase{"UnknownMnemonic",
                 "forbid = [\"ADDX\"]\n[[case]]\nname = \"a\"\n"
                 "expect = { R1 = \"01\" }\n",
                 "1:11: forbid: ADDX is not a mnemonic"},
        FileCase{"TwoCasesOfOneName",
                 "[[case]]\nname = \"a\"\nexpect = { R1 = \"01\" }\n"
                 "[[case]]\nname = \"a\"\nexpect = { R1 = \"02\" }\n",
                 "4:1: two cases are named a"},
        FileCase{"NoCase", "title = \"x\"\n", "1:1: expected one or more [[case]] tables"}),
    [](const testing::TestParamInfo<FileCase>& info) { return info.param.name; });
