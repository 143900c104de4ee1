#pragma once

#include "runner/options.h"

#include <ostream>

// --merge: reads the --report json files of the shares of a class, checks
// that they grade the same assignment and hold every share once, and writes
// the reports and exit status that one run over the whole class would.
int MergeReports(const RunOptions& options, std::ostream& out, std::ostream& err);
