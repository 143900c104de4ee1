#pragma once

#include "grading/machine_state.h"
#include "grading/target_value.h"

#include <string>
#include <vector>

// One line per difference, such as "R2: expected 0A, found 05" or
// "memory 40 (64): expected 08, found --": first the
// listed cells of the expected image in address order, then the expectations
// in the order given.
std::vector<std::string> Differences(const MachineState& state, const MemoryImage* expectedImage,
                                     const std::vector<TargetValue>& expectations);
