#pragma once

#include "grading/program_run.h"
#include "runner/options.h"

#include <ostream>

// Grades every program and every "*.asm" entry in the folders (and their
// subfolders) that the options name, each in a process of its own, as many
// at once as -j or the processors allow. Writes one line per program in the
// order of their paths ("pass  PATH", or "FAIL  PATH  status N: what
// failed"), each as soon as it and every earlier one are decided, and a
// summary line "N passed, N failed", or with --json one array of the
// programs' objects. Returns 0 when every program passed.
int Grade(const RunOptions& options, const RunSetup& setup, std::ostream& out, std::ostream& err);
