#pragma once

#include "grading/machine_state.h"

#include <optional>
#include <string>
#include <vector>

struct MemoryImageFile {
    // The cells the file lists; the others hold -1. Nothing when the file
    // cannot be read or holds anything but valid pairs.
    std::optional<MemoryImage> image;
    std::string unreadable;              // why the file could not be read, in the system's words
    std::vector<std::string> errorLines; // the machine's error about a bad pair
};

// Reads a memory image file as the workbench's Load Memory reads it.
MemoryImageFile ReadMemoryImage(const std::string& fileName);

bool ListsNoCell(const MemoryImage& image);
