#pragma once

#include <string>
#include <string_view>
#include <vector>

// One program row as the source file holds it. Texts are bytes, kept as they are.
struct SourceRow {
    std::string label;
    std::string mnemonic;
    std::string operand;

    bool IsEmpty() const { return label.empty() && mnemonic.empty() && operand.empty(); }
    bool operator==(const SourceRow&) const = default;
};

struct SourceDocument {
    std::vector<SourceRow> rows; // every record that is not a START line, in file order
    std::vector<int> fileLines;  // the line of the file on which each row begins, from 1
    bool hasStart = false;       // a START line was seen
    int start = -1;              // the last START line's value; -1 when it is not hexadecimal
};

// Reads "*.asm" text: records of three fixed-width fields (7, 7 and 12
// characters), each ending early at a CR or LF; a blank ends a field's text.
SourceDocument ParseSourceText(std::string_view bytes);

// Writes the START line and one line per non-empty row, each ending with CR LF.
// The start address is written as two hexadecimal digits, or not at all when it
// is outside 0..255.
std::string FormatSourceText(int startAddress, const std::vector<SourceRow>& rows);
