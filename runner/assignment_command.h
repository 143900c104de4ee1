#pragma once

#include "runner/options.h"

#include <ostream>

// --assignment: reads the assignment file, then grades the one program (each
// case, the score) or, with --grade, every program of the class in worker
// processes (a line per student as each is decided, a summary), with the
// report, feedback files, roster and share the options ask for. Returns 0
// when every case of every program passed.
int GradeAssignment(const RunOptions& options, std::ostream& out, std::ostream& err);
