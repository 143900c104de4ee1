#pragma once

#include "grading/program_run.h"
#include "runner/options.h"

#include <functional>
#include <optional>
#include <string>

// The run that the options describe, with the images of --memory and --check
// read once for all programs. A comparison that cannot be made must not
// pass, and a program must not run on memory other than the one asked for:
// nothing, after each problem went to `problem`, when an image cannot be
// read, holds a bad pair or is an expected image without a cell.
std::optional<RunSetup> ReadRunSetup(const RunOptions& options,
                                     const std::function<void(const std::string&)>& problem);

// Reads, assembles, runs and compares one program ("-" is standard input).
// Error lines and the trace go to the listener as they come. Running out of
// memory is a program that cannot be read: nothing of it was run.
RunReport RunProgram(const RunOptions& options, const RunSetup& setup, const std::string& program,
                     const RunListener& listener);
