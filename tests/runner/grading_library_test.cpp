// The grading library as the window calls it: the rows of its grid against
// the visible cases of an assignment file, on machines of its own.
#include "grading/assignment_file.h"
#include "grading/assignment_grading.h"
#include "tests/text_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

struct GridCase {
    const char* name;
    std::vector<SourceRow> rows;
    int score;
    std::vector<std::vector<std::string>> problems; // of each visible case
    std::vector<int> foundInB;                      // what case b compared R2 with
};

void PrintTo(const GridCase& test, std::ostream* out)
{
    *out << test.name;
}

class GridGrading : public testing::TestWithParam<GridCase> {};

} // namespace

TEST_P(GridGrading, RunsTheVisibleCases)
{
    const fs::path file = fs::temp_directory_path() / ("mira-grid-" + std::to_string(getpid()));
    WriteText(file, "[[case]]\nname = \"a\"\nset = { R1 = \"02\" }\nexpect = { R2 = \"04\" }\n"
                    "[[case]]\nname = \"b\"\npoints = 2\nset = { R1 = \"10\" }\n"
                    "expect = { R2 = \"20\" }\n"
                    "[[case]]\nname = \"hidden\"\nhidden = true\nexpect = { R2 = \"00\" }\n");
    std::string problem;
    const std::optional<Assignment> assignment = ReadAssignmentFile(file.string(), problem);
    fs::remove(file);
    ASSERT_TRUE(assignment) << problem;

    const ProgramGrade grade = GradeProgram(WithoutHiddenCases(*assignment),
                                            ProgramSourceOf(GetParam().rows, 0x10), "grid");
    EXPECT_EQ(grade.total, 3);
    EXPECT_EQ(grade.score, GetParam().score);
    ASSERT_EQ(grade.cases.size(), 2u);
    for (std::size_t i = 0; i < grade.cases.size(); ++i) {
        EXPECT_EQ(grade.cases[i].problems, GetParam().problems[i]) << grade.cases[i].name;
    }
    std::vector<int> found;
    for (const Comparison& comparison : grade.cases[1].comparisons) {
        EXPECT_EQ(comparison.expected, (TargetValue{Target::Register, 2, 0x20}));
        found.push_back(comparison.found);
    }
    EXPECT_EQ(found, GetParam().foundInB);
}

INSTANTIATE_TEST_SUITE_P(
    Grid, GridGrading,
    testing::Values(
        GridCase{"Right", {{"", "ADD", "R2,R1,R1"}, {}, {"", "HALT", ""}}, 3, {{}, {}}, {0x20}},
        GridCase{"Wrong",
                 {{"", "LOAD", "R2,04"}, {"", "HALT", ""}},
                 1,
                 {{}, {"R2: expected 20, found 04"}},
                 {4}},
        GridCase{"NotAssembled",
                 {{}, {}, {"", "FOO", ""}},
                 0,
                 {{"grid:3: Opcode設定錯誤(Line:3)"}, {"grid:3: Opcode設定錯誤(Line:3)"}},
                 {}}),
    [](const testing::TestParamInfo<GridCase>& info) { return info.param.name; });
