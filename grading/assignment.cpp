#include "grading/assignment.h"

#include <numeric>

int Assignment::TotalPoints() const
{
    return std::accumulate(cases.begin(), cases.end(), 0,
                           [](int sum, const TestCase& test) { return sum + test.points; });
}

Assignment WithoutHiddenCases(const Assignment& assignment)
{
    Assignment visible = assignment;
    std::erase_if(visible.cases, [](const TestCase& test) { return test.hidden; });
    return visible;
}
