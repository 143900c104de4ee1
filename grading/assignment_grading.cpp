#include "grading/assignment_grading.h"

#include "grading/assembled_program.h"

#include <algorithm>

namespace {

RuleResult ForbiddenRule(const std::vector<std::string>& forbidden, const ProgramSource& program)
{
    RuleResult rule{"forbid", true, {}};
    for (const ProgramSource::Row& row : program.rows) {
        if (std::find(forbidden.begin(), forbidden.end(), row.text.mnemonic) != forbidden.end()) {
            rule.kept = false;
            rule.problem = "使用了禁止的指令 " + row.text.mnemonic + " (第 " +
                           std::to_string(row.fileLine) + " 行)";
            break;
        }
    }
    return rule;
}

// A program that did not assemble has no size; its cases fail all the same.
RuleResult SizeRule(int maxSize, const AssembledProgram& program)
{
    RuleResult rule{"max_size", true, {}};
    if (program.assembled && program.size > maxSize) {
        rule.kept = false;
        rule.problem = "程式佔用 " + std::to_string(program.size) + " 個位元組，上限為 " +
                       std::to_string(maxSize) + " 個位元組";
    }
    return rule;
}

CaseResult CaseOf(const TestCase& test)
{
    CaseResult result;
    result.name = test.name;
    result.points = test.points;
    result.hidden = test.hidden;
    return result;
}

} // namespace

bool ProgramGrade::AllPassed() const
{
    return std::all_of(rules.begin(), rules.end(), [](const RuleResult& r) { return r.kept; }) &&
           std::all_of(cases.begin(), cases.end(), [](const CaseResult& c) { return c.passed; });
}

ProgramGrade GradeProgram(const Assignment& assignment, const ProgramSource& program,
                          const std::string& programName)
{
    ProgramGrade grade;
    grade.total = assignment.TotalPoints();
    const AssembledProgram assembled =
        AssembleProgram(program, StartAddressOf(program), programName, {});
    if (!assignment.forbidden.empty()) {
        grade.rules.push_back(ForbiddenRule(assignment.forbidden, program));
    }
    if (assignment.maxSize) {
        grade.rules.push_back(SizeRule(*assignment.maxSize, assembled));
    }
    const bool rulesKept = std::all_of(grade.rules.begin(), grade.rules.end(),
                                       [](const RuleResult& rule) { return rule.kept; });
    for (const TestCase& test : assignment.cases) {
        const RunReport report = RunAssembled(assembled, test.setup, programName, {});
        CaseResult result = CaseOf(test);
        result.status = report.status;
        result.steps = report.steps;
        result.passed = report.status == RunStatus::Halted &&
                        (!report.differences || report.differences->empty());
        result.earned = result.passed && rulesKept ? test.points : 0;
        if (!test.hidden) {
            result.comparisons = report.comparisons;
        }
        if (!result.passed && !test.hidden) {
            result.problems = report.differences && !report.differences->empty()
                                  ? *report.differences
                                  : std::vector<std::string>{FirstProblem(report, test.setup)};
        }
        grade.score += result.earned;
        grade.cases.push_back(std::move(result));
    }
    return grade;
}

ProgramGrade FailedGrade(const Assignment& assignment, const std::string& reason)
{
    ProgramGrade grade;
    grade.total = assignment.TotalPoints();
    for (const TestCase& test : assignment.cases) {
        CaseResult result = CaseOf(test);
        if (!test.hidden) {
            result.problems = {reason};
        }
        grade.cases.push_back(std::move(result));
    }
    return grade;
}
