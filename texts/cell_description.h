#pragma once

#include <string>

// A cell's value for a tool tip, one line each (UTF-8, Big5 characters
// only): hexadecimal, decimal unsigned and signed, binary, as a
// floating-point byte of ADDF, and the listing text of the instruction word
// that begins with it and continues with `next`, the following cell. A cell
// without value (-1) gives one line that says so.
std::string CellDescription(int value, int next);
