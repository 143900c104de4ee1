#pragma once

#include "grading/assignment.h"

#include <optional>
#include <string>

// Reads an assignment file (TOML) and the memory images its cases name,
// relative to its folder. Nothing when anything in it is wrong, with
// `problem` as "FILE:LINE:COLUMN: what", so that nothing runs on a half-read
// assignment.
std::optional<Assignment> ReadAssignmentFile(const std::string& fileName, std::string& problem);
