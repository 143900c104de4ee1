#include "runner/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

RunOptions ProgramOnly()
{
    RunOptions options;
    options.programs = {"p.asm"};
    return options;
}

struct ValidCase {
    const char* name;
    std::vector<std::string> arguments;
    RunOptions expected;
};

RunOptions With(void (*change)(RunOptions&))
{
    RunOptions options = ProgramOnly();
    change(options);
    return options;
}

class ValidCommandLine : public testing::TestWithParam<ValidCase> {};

struct WrongCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* problem;
};

class WrongCommandLine : public testing::TestWithParam<WrongCase> {};

void PrintTo(const ValidCase& test, std::ostream* out)
{
    *out << test.name;
}

void PrintTo(const WrongCase& test, std::ostream* out)
{
    *out << test.name;
}

template <typename Case> std::string CaseName(const testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

} // namespace

TEST_P(ValidCommandLine, GivesTheOptions)
{
    const CommandLine commandLine = ParseCommandLine(GetParam().arguments);
    ASSERT_EQ(commandLine.kind, CommandLine::Kind::Run) << commandLine.problem;
    EXPECT_EQ(commandLine.options, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Options, ValidCommandLine,
    testing::Values(
        ValidCase{"ProgramAlone", {"p.asm"}, ProgramOnly()},
        ValidCase{"OptionsBeforeTheProgram",
                  {"--json", "--trace", "p.asm"},
                  With([](RunOptions& o) { o.json = o.trace = true; })},
        ValidCase{"StartInEitherCase", {"p.asm", "--start", "aF"}, With([](RunOptions& o) {
                      o.start = 0xAF;
                  })},
        ValidCase{"ValueAfterEquals", {"p.asm", "--max-steps=12"}, With([](RunOptions& o) {
                      o.maxSteps = 12;
                  })},
        ValidCase{"PresetsInOrder",
                  {"p.asm", "--set", "R1=05", "--set", "40=ff", "--set", "rF=0"},
                  With([](RunOptions& o) {
                      o.presets = {{Target::Register, 1, 0x05},
                                   {Target::Memory, 0x40, 0xFF},
                                   {Target::Register, 15, 0}};
                  })},
        ValidCase{"ExpectationsWithPcAndNoValue",
                  {"p.asm", "--expect", "PC=12", "--expect", "R2=--", "--check", "e.mm"},
                  With([](RunOptions& o) {
                      o.expectations = {{Target::Pc, 0, 0x12}, {Target::Register, 2, -1}};
                      o.checkFile = "e.mm";
                  })},
        ValidCase{"MemoryFile", {"--memory", "m.mm", "p.asm"}, With([](RunOptions& o) {
                      o.memoryFile = "m.mm";
                  })},
        ValidCase{"DumpOfARangeAndStrict",
                  {"p.asm", "--dump", "40-4f", "--strict"},
                  With([](RunOptions& o) {
                      o.dump = CellRange{0x40, 0x4F};
                      o.strict = true;
                  })},
        ValidCase{"DumpOfOneCell", {"p.asm", "--dump=7"}, With([](RunOptions& o) {
                      o.dump = CellRange{7, 7};
                  })},
        ValidCase{
            "ProgramFromStandardInput", {"-"}, With([](RunOptions& o) { o.programs = {"-"}; })},
        ValidCase{"OptionsEndAtTwoDashes", {"--json", "--", "--trace"}, With([](RunOptions& o) {
                      o.programs = {"--trace"};
                      o.json = true;
                  })},
        ValidCase{"ClassAgainstAnAssignment",
                  {"--assignment", "a.toml", "--grade", "p.asm", "-j4", "--shard", "2/3",
                   "--report", "junit", "--roster", "r.txt", "--feedback", "f"},
                  With([](RunOptions& o) {
                      o.assignmentFile = "a.toml";
                      o.grade = true;
                      o.jobs = 4;
                      o.shard = Shard{2, 3};
                      o.report = ReportFormat::Junit;
                      o.rosterFile = "r.txt";
                      o.feedbackFolder = "f";
                  })},
        ValidCase{"GradeOfProgramsAndFolders",
                  {"--grade", "a", "p.asm", "--expect", "R1=01", "b"},
                  With([](RunOptions& o) {
                      o.programs = {"a", "p.asm", "b"};
                      o.grade = true;
                      o.expectations = {{Target::Register, 1, 1}};
                  })}),
    CaseName<ValidCase>);

TEST_P(WrongCommandLine, NamesTheProblem)
{
    const CommandLine commandLine = ParseCommandLine(GetParam().arguments);
    EXPECT_EQ(commandLine.kind, CommandLine::Kind::Wrong);
    EXPECT_EQ(commandLine.problem, GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Options, WrongCommandLine,
    testing::Values(
        WrongCase{"NoProgram", {"--json"}, "no program file given"},
        WrongCase{"TwoPrograms", {"a.asm", "b.asm"}, "more than one program file: b.asm"},
        WrongCase{"UnknownOption", {"p.asm", "--fast"}, "unknown option: --fast"},
        WrongCase{"MissingValue", {"p.asm", "--start"}, "option needs a value: --start"},
        WrongCase{
            "StartOfThreeDigits", {"p.asm", "--start", "100"}, "invalid value for --start: 100"},
        WrongCase{"NegativeStepLimit",
                  {"p.asm", "--max-steps", "-1"},
                  "invalid value for --max-steps: -1"},
        WrongCase{"StepLimitWithText",
                  {"p.asm", "--max-steps", "10x"},
                  "invalid value for --max-steps: 10x"},
        WrongCase{"PresetOfPc", {"p.asm", "--set", "PC=10"}, "invalid value for --set: PC=10"},
        WrongCase{
            "PresetWithoutValue", {"p.asm", "--set", "R1=--"}, "invalid value for --set: R1=--"},
        WrongCase{"RegisterBeyondRF",
                  {"p.asm", "--expect", "RG=00"},
                  "invalid value for --expect: RG=00"},
        WrongCase{"ExpectationWithoutEquals",
                  {"p.asm", "--expect", "R1"},
                  "invalid value for --expect: R1"},
        WrongCase{"RepeatedSingleOption",
                  {"p.asm", "--check", "a.mm", "--check", "b.mm"},
                  "option given more than once: --check"},
        WrongCase{"ValueForAFlag", {"p.asm", "--json=yes"}, "option takes no value: --json"},
        WrongCase{
            "OptionAsValue", {"p.asm", "--memory", "--json"}, "option needs a value: --memory"},
        WrongCase{"UnknownShortOption", {"p.asm", "-x"}, "unknown option: -x"},
        WrongCase{"UnknownOptionTwice", {"p.asm", "--x", "--x"}, "unknown option: --x"},
        WrongCase{"DumpBackwards", {"p.asm", "--dump", "4F-40"}, "invalid value for --dump: 4F-40"},
        WrongCase{"DumpAsJson",
                  {"p.asm", "--dump", "40", "--json"},
                  "--dump and --json cannot be combined"},
        WrongCase{"ExplainAsJson",
                  {"p.asm", "--explain", "--json"},
                  "--explain and --json cannot be combined"},
        WrongCase{"GradeWithExplain",
                  {"--grade", "p.asm", "--explain"},
                  "--explain cannot be used with --grade"},
        WrongCase{"GradeWithTrace",
                  {"--grade", "p.asm", "--trace"},
                  "--trace cannot be used with --grade"},
        WrongCase{"NoWorkers", {"--grade", "p.asm", "-j", "0"}, "invalid value for -j: 0"},
        WrongCase{"ShareBeyondTheCount",
                  {"--grade", "p.asm", "--shard", "4/3"},
                  "invalid value for --shard: 4/3"},
        WrongCase{"UnknownReport",
                  {"--assignment", "a.toml", "p.asm", "--report", "xml"},
                  "invalid value for --report: xml"},
        WrongCase{
            "ReportWithoutAssignment", {"p.asm", "--report", "csv"}, "--report needs --assignment"},
        WrongCase{"RunOptionWithAssignment",
                  {"--assignment", "a.toml", "p.asm", "--expect", "R1=01"},
                  "--expect cannot be used with --assignment"},
        WrongCase{"ShareWithoutGrade", {"p.asm", "--shard", "1/2"}, "--shard needs --grade"},
        WrongCase{"MergeOfAGrade",
                  {"--merge", "--grade", "a.json"},
                  "--merge takes no other option than --report and --feedback"},
        WrongCase{"GradeOfStandardInput",
                  {"--grade", "-"},
                  "--grade reads no program from standard input"}),
    CaseName<WrongCase>);

TEST(HelpAndVersion, AreRecognisedAmongOtherArguments)
{
    EXPECT_EQ(ParseCommandLine({"p.asm", "--help"}).kind, CommandLine::Kind::Help);
    EXPECT_EQ(ParseCommandLine({"p.asm", "-h", "--fast"}).kind, CommandLine::Kind::Help);
    EXPECT_EQ(ParseCommandLine({"--version"}).kind, CommandLine::Kind::Version);
}
