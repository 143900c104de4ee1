#pragma once

#include <cstddef>
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

// Reads "*.asm" text as ParseSourceText does, one row at a time, so that a
// reader that keeps only some rows of a large file never holds them all.
class SourceReader {
public:
    explicit SourceReader(std::string_view bytes) : bytes_(bytes) {}

    // The next row that is not a START line, and the file line it begins on;
    // false at the end of the text.
    bool Next(SourceRow& row, int& fileLine);
    // Of the START lines read so far: whether there was one, and the last
    // one's value (-1 when it is not hexadecimal).
    bool HasStart() const { return hasStart_; }
    int Start() const { return start_; }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
    int line_ = 1;
    bool hasStart_ = false;
    int start_ = -1;
};

// Writes the START line and one line per non-empty row, each ending with CR LF.
// The start address is written as two hexadecimal digits, or not at all when it
// is outside 0..255.
std::string FormatSourceText(int startAddress, const std::vector<SourceRow>& rows);
