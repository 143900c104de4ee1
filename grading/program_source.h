#pragma once

#include "assembler/source_file.h"

#include <string_view>
#include <vector>

// The rows of a program that reach the assembler: those that are not empty,
// each with its number among all rows (the first is 1, as the assembler
// numbers lines) and the file line it begins on. Every row takes at least one
// cell and the assembler stops at the first row that does not fit into
// memory, so rows after the 256th are never looked at and are not kept: a
// file of millions of rows takes no more memory than its own bytes.
struct ProgramSource {
    struct Row {
        int number;
        int fileLine;
        SourceRow text;
    };
    std::vector<Row> rows;
    bool hasStart = false; // a START line was seen
    int start = -1;        // the last START line's value; -1 when it is not hexadecimal
};

// "*.asm" text, read as a source file is read.
ProgramSource ReadProgramSource(std::string_view bytes);

// The rows of an editor from its START address; each row's file line is its number.
ProgramSource ProgramSourceOf(const std::vector<SourceRow>& rows, int startAddress);

// Where the program is assembled: its START, or 0 without one, as a new program starts.
int StartAddressOf(const ProgramSource& program);
