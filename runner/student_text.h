#pragma once

#include "runner/student_result.h"

#include <cstddef>
#include <ostream>
#include <string>

// The student's line of a class: "pass  PATH  10/10", "FAIL  PATH  7/10
// failed: CASE, RULE", "FAIL  PATH  0/10  why it was not graded" or
// "MISSING  PATH  0/10".
std::string ClassLine(const StudentResult& student);

// What a student may see: each rule and case, pass or FAIL with its points,
// a visible case's problems (the first `problemsShown` of them, the others
// counted) and the score.
void WriteStudentDetail(std::ostream& out, const StudentResult& student, std::size_t problemsShown);
