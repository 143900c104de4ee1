#include "runner/class_reports.h"

#include "runner/student_text.h"
#include "runner/text_safety.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

namespace {

// Problems of a case that the text of one program shows; the feedback files show all.
constexpr std::size_t ProblemsShown = 5;

std::string Decimal(double value)
{
    std::ostringstream text;
    text << std::fixed << std::setprecision(2) << value;
    std::string digits = text.str();
    digits.erase(digits.find_last_not_of('0') + 1);
    if (digits.ends_with('.')) {
        digits.pop_back();
    }
    return digits;
}

class OneProgramText : public ClassReport {
public:
    explicit OneProgramText(std::ostream& out) : out_(out) {}
    void Add(const StudentResult& student) override
    {
        WriteStudentDetail(out_, student, ProblemsShown);
    }
    void Finish(const ClassTally&) override {}

private:
    std::ostream& out_;
};

class ClassText : public ClassReport {
public:
    ClassText(std::ostream& out, int total) : out_(out), total_(total) {}
    void Add(const StudentResult& student) override { out_ << ClassLine(student) << '\n'; }
    void Finish(const ClassTally& tally) override
    {
        out_ << tally.Students() << " students: mean " << Decimal(tally.Mean()) << " of " << total_
             << ", median " << Decimal(tally.Median()) << ", " << tally.FullMarks()
             << " with full marks\n";
    }

private:
    std::ostream& out_;
    int total_;
};

// RFC 4180 fields; a text that a spreadsheet would take for a formula starts
// with an apostrophe, so that a file name cannot run one.
std::string CsvField(const std::string& text)
{
    std::string field = text;
    if (!field.empty() && std::string_view("=+-@\t\r").find(field.front()) != std::string::npos) {
        field.insert(0, "'");
    }
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        return field;
    }
    std::string quoted = "\"";
    for (const char c : field) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + '"';
}

// UTF-8 with a byte order mark, so that spreadsheet programs read the Chinese.
class CsvReport : public ClassReport {
public:
    CsvReport(std::ostream& out, const Assignment& assignment) : out_(out)
    {
        out_ << "\xEF\xBB\xBF"
             << "student,total";
        for (const TestCase& test : assignment.cases) {
            out_ << ',' << CsvField(test.name);
        }
        out_ << "\r\n";
    }
    void Add(const StudentResult& student) override
    {
        out_ << CsvField(QuotedName(student.program)) << ',' << student.grade.score;
        for (const CaseResult& result : student.grade.cases) {
            out_ << ',' << result.earned;
        }
        out_ << "\r\n";
    }
    void Finish(const ClassTally&) override {}

private:
    std::ostream& out_;
};

// Text an XML 1.0 document may hold: characters it cannot (control
// characters, bytes that are not UTF-8) become U+FFFD.
std::string XmlText(std::string_view text)
{
    std::string escaped;
    while (!text.empty()) {
        const unsigned char c = static_cast<unsigned char>(text.front());
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0 || (c < 0x20 && c != '\t' && c != '\n' && c != '\r')) {
            escaped += "\xEF\xBF\xBD";
            text.remove_prefix(std::max<std::size_t>(length, 1));
            continue;
        }
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\r':
            escaped += "&#13;";
            break;
        case '\n':
            escaped += "&#10;";
            break;
        default:
            escaped.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return escaped;
}

// A test suite per student and a test case per rule and case, as CI servers
// show tests. A hidden case's failure says no more than that it failed.
class JunitReport : public ClassReport {
public:
    JunitReport(std::ostream& out, const Assignment& assignment) : out_(out)
    {
        out_ << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\""
             << XmlText(assignment.title) << "\">\n";
    }
    void Add(const StudentResult& student) override
    {
        const ProgramGrade& grade = student.grade;
        const std::string name = XmlText(QuotedName(student.program));
        const auto failures =
            std::count_if(grade.rules.begin(), grade.rules.end(),
                          [](const RuleResult& rule) { return !rule.kept; }) +
            std::count_if(grade.cases.begin(), grade.cases.end(),
                          [](const CaseResult& result) { return !result.passed; });
        out_ << "  <testsuite name=\"" << name << "\" tests=\""
             << grade.rules.size() + grade.cases.size() << "\" failures=\"" << failures << "\">\n";
        for (const RuleResult& rule : grade.rules) {
            TestCase(name, rule.name, rule.kept, {rule.problem});
        }
        for (const CaseResult& result : grade.cases) {
            std::vector<std::string> problems = result.problems;
            if (student.outcome == StudentResult::Outcome::Missing) {
                problems = {"MISSING"};
            } else if (result.hidden) {
                problems = {"hidden case failed"};
            }
            TestCase(name, result.name, result.passed, problems);
        }
        out_ << "  </testsuite>\n";
    }
    void Finish(const ClassTally&) override { out_ << "</testsuites>\n"; }

private:
    void TestCase(const std::string& suite, const std::string& name, bool passed,
                  const std::vector<std::string>& problems)
    {
        out_ << "    <testcase classname=\"" << suite << "\" name=\"" << XmlText(name) << '"';
        if (passed) {
            out_ << "/>\n";
            return;
        }
        std::string all;
        for (const std::string& problem : problems) {
            all += (all.empty() ? "" : "\n") + problem;
        }
        out_ << "><failure message=\"" << XmlText(problems.empty() ? "" : problems.front()) << "\">"
             << XmlText(all) << "</failure></testcase>\n";
    }

    std::ostream& out_;
};

class JsonReport : public ClassReport {
public:
    JsonReport(std::ostream& out, const Json& leading) : students_(out, leading, "students") {}
    void Add(const StudentResult& student) override { students_.Add(StudentJson(student)); }
    void Finish(const ClassTally& tally) override
    {
        students_.Finish({{"summary",
                           {{"students", tally.Students()},
                            {"mean", tally.Mean()},
                            {"median", tally.Median()},
                            {"full_marks", tally.FullMarks()}}}});
    }

private:
    StreamedJson students_;
};

} // namespace

void ClassTally::Add(int score, int total)
{
    scores_.push_back(score);
    fullMarks_ += score == total ? 1 : 0;
}

double ClassTally::Mean() const
{
    double sum = 0;
    for (const int score : scores_) {
        sum += score;
    }
    return scores_.empty() ? 0 : sum / static_cast<double>(scores_.size());
}

double ClassTally::Median() const
{
    if (scores_.empty()) {
        return 0;
    }
    std::vector<int> sorted = scores_;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2.0;
}

std::unique_ptr<ClassReport> MakeClassReport(std::optional<ReportFormat> format, bool oneProgram,
                                             const Assignment& assignment, const Json& leading,
                                             std::ostream& out)
{
    if (!format) {
        if (oneProgram) {
            return std::make_unique<OneProgramText>(out);
        }
        return std::make_unique<ClassText>(out, assignment.TotalPoints());
    }
    switch (*format) {
    case ReportFormat::Csv:
        return std::make_unique<CsvReport>(out, assignment);
    case ReportFormat::Junit:
        return std::make_unique<JunitReport>(out, assignment);
    case ReportFormat::Json:
        break;
    }
    return std::make_unique<JsonReport>(out, leading);
}
