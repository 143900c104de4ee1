#pragma once

#include "runner/options.h"
#include "runner/session.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The cells a memory image file lists, read as the workbench's Load Memory
// reads it; the cells it does not list hold -1. Nothing when the file cannot
// be opened or holds anything but valid pairs: each error goes to `error` as
// its message-log line.
std::optional<MemoryImage> ReadExpectedImage(const std::string& fileName,
                                             const std::function<void(const std::string&)>& error);

// One line per difference, such as "R2: expected 0A, found 05": first the
// listed cells of the expected image in address order, then the expectations
// in the order given.
std::vector<std::string> Differences(const MachineState& state, const MemoryImage* expectedImage,
                                     const std::vector<Assignment>& expectations);
