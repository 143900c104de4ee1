#pragma once

#include "grading/machine_state.h"
#include "grading/target_value.h"

#include <string>
#include <vector>

// A value compared after a run: the expected one and the one found (-1 for no value).
struct Comparison {
    TargetValue expected;
    int found;
    bool Matches() const { return found == expected.value; }
};

// First the listed cells of the expected image in address order, then the
// expectations in the order given.
std::vector<Comparison> Compare(const MachineState& state, const MemoryImage* expectedImage,
                                const std::vector<TargetValue>& expectations);

// One line per difference, such as "R2: expected 0A, found 05" or
// "memory 40 (64): expected 08, found --", in the order of the comparisons.
std::vector<std::string> Differences(const std::vector<Comparison>& comparisons);
