#include "runner/class_output.h"

#include "files/file_saver.h"
#include "runner/exit_status.h"
#include "runner/student_text.h"
#include "runner/text_safety.h"

#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

ClassOutput::ClassOutput(const RunOptions& options, const Assignment& assignment,
                         const Json& leading, std::ostream& out, std::ostream& err)
    : report_(MakeClassReport(options.report, !options.grade && !options.merge, assignment, leading,
                              out)),
      title_(assignment.title), feedbackFolder_(options.feedbackFolder), err_(err)
{
}

void ClassOutput::Add(const StudentResult& student)
{
    report_->Add(student);
    tally_.Add(student.grade.score, student.grade.total);
    allPassed_ = allPassed_ && student.outcome == StudentResult::Outcome::Graded &&
                 student.grade.AllPassed();
    if (!feedbackFolder_.empty() && student.outcome != StudentResult::Outcome::Missing) {
        WriteFeedback(student);
    }
}

int ClassOutput::Finish()
{
    report_->Finish(tally_);
    if (feedbackFailed_) {
        return ExitStatus::OutputFailed;
    }
    return allPassed_ ? ExitStatus::Halted : ExitStatus::SomeFailed;
}

void ClassOutput::WriteFeedback(const StudentResult& student)
{
    const fs::path file = feedbackFolder_ / FeedbackFileOf(student.program);
    std::ostringstream text;
    text << title_ << ": " << QuotedName(student.program) << '\n';
    WriteStudentDetail(text, student, std::string::npos);
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    FileSaver saver(file.string());
    if (!error && saver.IsOpen() && saver.Write(text.str()) && saver.Finish()) {
        return;
    }
    err_ << "mira-run: cannot write " << file.string() << ": "
         << (error ? error.message() : saver.Reason()) << '\n';
    feedbackFailed_ = true;
}

fs::path FeedbackFileOf(const std::string& program)
{
    fs::path relative;
    for (const fs::path& part : fs::path(program).relative_path()) {
        if (part == "..") {
            relative /= "%2E%2E";
        } else if (part != "." && !part.empty()) {
            relative /= part;
        }
    }
    return relative.string() + ".txt";
}
