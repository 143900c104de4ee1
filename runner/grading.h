#pragma once

#include "runner/options.h"
#include "runner/program_run.h"

#include <ostream>

// Grades every program and every "*.asm" file in the folders (and their
// subfolders) that the options name, each in a process of its own, as many at
// once as the machine has cores. Writes one line per program in the order of
// their paths ("pass  PATH", or "FAIL  PATH  status N: what failed") and a
// summary line "N passed, N failed", or with --json one array of the programs'
// objects. Returns 0 when every program passed.
int Grade(const RunOptions& options, const RunInputs& inputs, std::ostream& out, std::ostream& err);
