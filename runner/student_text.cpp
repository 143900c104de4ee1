#include "runner/student_text.h"

#include "runner/text_safety.h"

#include <algorithm>

namespace {

std::string Score(const ProgramGrade& grade)
{
    return std::to_string(grade.score) + '/' + std::to_string(grade.total);
}

const char* Verdict(bool passed)
{
    return passed ? "pass  " : "FAIL  ";
}

} // namespace

std::string ClassLine(const StudentResult& student)
{
    const ProgramGrade& grade = student.grade;
    const std::string name = QuotedName(student.program);
    switch (student.outcome) {
    case StudentResult::Outcome::Missing:
        return "MISSING  " + name + "  " + Score(grade);
    case StudentResult::Outcome::NotGraded:
        return "FAIL  " + name + "  " + Score(grade) + "  " + student.problem;
    case StudentResult::Outcome::Graded:
        break;
    }
    std::string line = Verdict(grade.AllPassed()) + name + "  " + Score(grade);
    const char* separator = "  failed: ";
    for (const RuleResult& rule : grade.rules) {
        if (!rule.kept) {
            line += separator + rule.name;
            separator = ", ";
        }
    }
    for (const CaseResult& result : grade.cases) {
        if (!result.passed) {
            line += separator + result.name;
            separator = ", ";
        }
    }
    return line;
}

void WriteStudentDetail(std::ostream& out, const StudentResult& student, std::size_t problemsShown)
{
    const ProgramGrade& grade = student.grade;
    if (student.outcome != StudentResult::Outcome::Graded) {
        out << (student.outcome == StudentResult::Outcome::Missing ? "MISSING" : student.problem)
            << '\n';
    }
    for (const RuleResult& rule : grade.rules) {
        out << Verdict(rule.kept) << rule.name << (rule.kept ? "" : "  " + rule.problem) << '\n';
    }
    for (const CaseResult& result : grade.cases) {
        out << Verdict(result.passed) << result.name << "  " << result.earned << '/'
            << result.points << (result.hidden ? "  hidden" : "") << '\n';
        if (student.outcome != StudentResult::Outcome::Graded) {
            continue;
        }
        for (std::size_t i = 0; i < result.problems.size() && i < problemsShown; ++i) {
            out << "      " << result.problems[i] << '\n';
        }
        if (result.problems.size() > problemsShown) {
            out << "      and " << result.problems.size() - problemsShown << " more\n";
        }
    }
    out << "score " << Score(grade);
    const bool ruleBroken = std::any_of(grade.rules.begin(), grade.rules.end(),
                                        [](const RuleResult& rule) { return !rule.kept; });
    out << (ruleBroken ? " (a rule was broken: no points)" : "") << '\n';
}
