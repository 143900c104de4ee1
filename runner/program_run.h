#pragma once

#include "runner/options.h"
#include "runner/report.h"
#include "runner/session.h"

#include <functional>
#include <optional>
#include <string>

// What the options name besides the programs, read once for all of them.
struct RunInputs {
    std::optional<MemoryImage> memory;   // --memory
    std::optional<MemoryImage> expected; // --check
};

// Reads the images of --memory and --check. A comparison that cannot be made
// must not pass, and a program must not run on memory other than the one
// asked for: nothing, after each problem went to `problem`, when an image
// cannot be read, holds a bad pair or is an expected image without a cell.
std::optional<RunInputs> ReadInputs(const RunOptions& options,
                                    const std::function<void(const std::string&)>& problem);

// Reads, assembles, runs and compares one program ("-" is standard input).
// Error lines and the trace go to the listener as they come.
RunReport RunProgram(const RunOptions& options, const RunInputs& inputs, const std::string& program,
                     const RunListener& listener);
