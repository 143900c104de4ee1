#pragma once

#include "runner/options.h"
#include "runner/student_result.h"

#include <memory>
#include <optional>
#include <ostream>
#include <vector>

// The class's scores so far.
class ClassTally {
public:
    void Add(int score, int total);
    std::size_t Students() const { return scores_.size(); }
    double Mean() const;
    double Median() const;
    std::size_t FullMarks() const { return fullMarks_; }

private:
    std::vector<int> scores_;
    std::size_t fullMarks_ = 0;
};

// A report on a class, written student by student as each is decided.
class ClassReport {
public:
    virtual ~ClassReport() = default;
    virtual void Add(const StudentResult& student) = 0;
    virtual void Finish(const ClassTally& tally) = 0;
};

// The text of one program's cases, the text of a class (a line per student
// and a summary), or CSV, JUnit XML or JSON. `leading` goes into the JSON
// before the students (the assignment, the share).
std::unique_ptr<ClassReport> MakeClassReport(std::optional<ReportFormat> format, bool oneProgram,
                                             const Assignment& assignment, const Json& leading,
                                             std::ostream& out);
