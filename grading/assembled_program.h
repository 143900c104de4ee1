#pragma once

#include "assembler/program_image.h"

#include <string>
#include <vector>

// A program assembled once, to be loaded into a fresh machine for each run.
struct AssembledProgram {
    bool assembled = false;
    int entryAddress = -1;
    std::vector<CellWrite> cells;    // the cells Load writes, in order
    int size = 0;                    // the cells it takes, those without a value included
    std::vector<std::string> errors; // the assembler's error lines
};
