#include "runner/student_result.h"

#include "runner/text_safety.h"

#include <array>

namespace {

constexpr std::array<std::pair<StudentResult::Outcome, const char*>, 3> OutcomeNames = {{
    {StudentResult::Outcome::Graded, "graded"},
    {StudentResult::Outcome::NotGraded, "not-graded"},
    {StudentResult::Outcome::Missing, "missing"},
}};

constexpr std::array<RunStatus, 6> Statuses = {
    RunStatus::Halted,       RunStatus::Unreadable, RunStatus::NotAssembled,
    RunStatus::MachineError, RunStatus::StepLimit,  RunStatus::TimeLimit,
};

std::optional<RunStatus> StatusNamed(const Json& name)
{
    for (const RunStatus status : Statuses) {
        if (!name.is_null() && name.get<std::string>() == StatusName(status)) {
            return status;
        }
    }
    return std::nullopt;
}

Json CaseJson(const CaseResult& result)
{
    return {{"name", result.name},
            {"points", result.points},
            {"hidden", result.hidden},
            {"passed", result.passed},
            {"earned", result.earned},
            {"status", result.status ? Json(StatusName(*result.status)) : Json()},
            {"steps", result.steps},
            {"problems", result.problems}};
}

CaseResult CaseOfJson(const Json& object)
{
    CaseResult result;
    result.name = object.at("name").get<std::string>();
    result.points = object.at("points").get<int>();
    result.hidden = object.at("hidden").get<bool>();
    result.passed = object.at("passed").get<bool>();
    result.earned = object.at("earned").get<int>();
    result.status = StatusNamed(object.at("status"));
    result.steps = object.at("steps").get<long long>();
    result.problems = object.at("problems").get<std::vector<std::string>>();
    return result;
}

} // namespace

Json StudentJson(const StudentResult& student)
{
    Json object = {{"index", student.index}, {"program", student.program}};
    if (const std::string quoted = QuotedName(student.program); quoted != student.program) {
        object["program_quoted"] = quoted;
    }
    for (const auto& [outcome, name] : OutcomeNames) {
        if (outcome == student.outcome) {
            object["outcome"] = name;
        }
    }
    if (!student.problem.empty()) {
        object["problem"] = student.problem;
    }
    object["score"] = student.grade.score;
    object["total"] = student.grade.total;
    Json rules = Json::array();
    for (const RuleResult& rule : student.grade.rules) {
        rules.push_back({{"name", rule.name}, {"kept", rule.kept}, {"problem", rule.problem}});
    }
    object["rules"] = std::move(rules);
    Json cases = Json::array();
    for (const CaseResult& result : student.grade.cases) {
        cases.push_back(CaseJson(result));
    }
    object["cases"] = std::move(cases);
    return object;
}

StudentResult StudentOfJson(const Json& object)
{
    StudentResult student;
    student.index = object.at("index").get<std::size_t>();
    student.program = object.contains("program_quoted")
                          ? UnquotedName(object.at("program_quoted").get<std::string>())
                          : object.at("program").get<std::string>();
    const std::string outcome = object.at("outcome").get<std::string>();
    for (const auto& [value, name] : OutcomeNames) {
        if (outcome == name) {
            student.outcome = value;
        }
    }
    student.problem = object.value("problem", "");
    student.grade.score = object.at("score").get<int>();
    student.grade.total = object.at("total").get<int>();
    for (const Json& rule : object.at("rules")) {
        student.grade.rules.push_back({rule.at("name").get<std::string>(),
                                       rule.at("kept").get<bool>(),
                                       rule.at("problem").get<std::string>()});
    }
    for (const Json& result : object.at("cases")) {
        student.grade.cases.push_back(CaseOfJson(result));
    }
    return student;
}

Json AssignmentJson(const Assignment& assignment)
{
    Json cases = Json::array();
    for (const TestCase& test : assignment.cases) {
        cases.push_back({{"name", test.name}, {"points", test.points}, {"hidden", test.hidden}});
    }
    return {{"title", assignment.title},
            {"points", assignment.TotalPoints()},
            {"cases", std::move(cases)}};
}

Assignment AssignmentOfJson(const Json& object)
{
    Assignment assignment;
    assignment.title = object.at("title").get<std::string>();
    for (const Json& test : object.at("cases")) {
        TestCase read;
        read.name = test.at("name").get<std::string>();
        read.points = test.at("points").get<int>();
        read.hidden = test.at("hidden").get<bool>();
        assignment.cases.push_back(std::move(read));
    }
    return assignment;
}
