#pragma once

#include "runner/options.h"
#include "runner/session.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>

// The cells a memory image file lists, read as the workbench's Load Memory
// reads it; the cells it does not list hold -1. Nothing when the file cannot
// be read or holds anything but valid pairs: each problem goes to `problem`
// as one line.
std::optional<MemoryImage> ReadMemoryImage(const std::string& fileName,
                                           const std::function<void(const std::string&)>& problem);

bool ListsNoCell(const MemoryImage& image);

// The cells of the range that hold a value, as lines of a memory image file.
void WriteImageCells(std::ostream& out, const MemoryImage& memory, CellRange range);
