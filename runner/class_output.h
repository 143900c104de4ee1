#pragma once

#include "runner/class_reports.h"
#include "runner/options.h"
#include "runner/student_result.h"

#include <filesystem>
#include <memory>
#include <ostream>

// Everything a grading against an assignment writes, for a run or a merge
// alike: the report on standard output, the feedback files, the summary and
// the exit status.
class ClassOutput {
public:
    ClassOutput(const RunOptions& options, const Assignment& assignment, const Json& leading,
                std::ostream& out, std::ostream& err);

    void Add(const StudentResult& student);
    // The summary; returns the exit status: 0 when every student passed
    // every case, 74 when a feedback file could not be written.
    int Finish();

private:
    void WriteFeedback(const StudentResult& student);

    std::unique_ptr<ClassReport> report_;
    ClassTally tally_;
    std::string title_;
    std::filesystem::path feedbackFolder_;
    bool allPassed_ = true;
    bool feedbackFailed_ = false;
    std::ostream& err_;
};

// Where a student's feedback goes below the folder: the program's path with
// ".txt", made relative (no root, ".." as "%2E%2E"), so that no file lands
// outside the folder and programs of the same name in other folders keep
// theirs apart.
std::filesystem::path FeedbackFileOf(const std::string& program);
