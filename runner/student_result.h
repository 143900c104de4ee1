#pragma once

#include "grading/assignment.h"
#include "grading/assignment_grading.h"
#include "runner/json_stream.h"

#include <cstddef>
#include <string>

// One entry of a class graded against an assignment.
struct StudentResult {
    enum class Outcome { Graded, NotGraded, Missing };

    std::size_t index = 0; // its place among all the class's entries
    std::string program;   // as named or found
    Outcome outcome = Outcome::Graded;
    std::string problem; // why it was not graded
    ProgramGrade grade;
};

// The student as the JSON report holds it, and back; a worker hands its
// result to mira-run the same way. The program's name keeps every byte.
Json StudentJson(const StudentResult& student);
// Throws nlohmann::json::exception for an object that is not a student's.
StudentResult StudentOfJson(const Json& object);

// What the reports show of an assignment: the title and the cases' names,
// points and visibility, and back.
Json AssignmentJson(const Assignment& assignment);
Assignment AssignmentOfJson(const Json& object);
