#include "assembler/source_file.h"

#include "assembler/hex_digits.h"

#include <utility>

namespace {

constexpr std::size_t LabelWidth = 7;
constexpr std::size_t MnemonicWidth = 7;
constexpr std::size_t OperandWidth = 12;
constexpr std::string_view StartKeyword = "START";
constexpr std::string_view LineEnd = "\r\n";

// A LF ends a field like a CR, so files with LF line ends read like CR LF files.
bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// The field takes up to its width, ends early at a line end or the end of the
// data; characters after its first blank are dropped.
std::string ReadField(std::string_view bytes, std::size_t& position, std::size_t width)
{
    const std::size_t begin = position;
    while (position < bytes.size() && position - begin < width && !IsLineEnd(bytes[position])) {
        ++position;
    }
    const std::string_view field = bytes.substr(begin, position - begin);
    return std::string(field.substr(0, field.find(' ')));
}

// The START value reads like a hexadecimal number field of the window: the
// first two characters must be digits, anything after them is ignored.
int ParseStartValue(std::string_view text)
{
    if (text.empty()) {
        return -1;
    }
    int value = 0;
    for (const char c : text.substr(0, 2)) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}

void AppendField(std::string& text, std::string_view field, std::size_t width)
{
    text += field;
    if (field.size() < width) {
        text.append(width - field.size(), ' ');
    }
}

} // namespace

SourceDocument ParseSourceText(std::string_view bytes)
{
    SourceDocument document;
    std::size_t position = 0;
    int line = 1;
    while (position < bytes.size()) {
        SourceRow row;
        const int recordLine = line;
        row.label = ReadField(bytes, position, LabelWidth);
        row.mnemonic = ReadField(bytes, position, MnemonicWidth);
        row.operand = ReadField(bytes, position, OperandWidth);
        if (row.mnemonic == StartKeyword) {
            document.hasStart = true;
            document.start = ParseStartValue(row.operand);
        } else {
            document.rows.push_back(std::move(row));
            document.fileLines.push_back(recordLine);
        }
        // A line longer than the three fields goes on as the next record.
        while (position < bytes.size() && IsLineEnd(bytes[position])) {
            // CR LF, LF and a lone CR each end one line.
            if (bytes[position] == '\n' ||
                (position + 1 == bytes.size() || bytes[position + 1] != '\n')) {
                ++line;
            }
            ++position;
        }
    }
    return document;
}

std::string FormatSourceText(int startAddress, const std::vector<SourceRow>& rows)
{
    std::string text;
    AppendField(text, "", LabelWidth);
    AppendField(text, StartKeyword, MnemonicWidth);
    if (startAddress >= 0 && startAddress <= 255) {
        text += HexDigit(startAddress / 16);
        text += HexDigit(startAddress % 16);
    }
    text += LineEnd;
    for (const SourceRow& row : rows) {
        if (row.IsEmpty()) {
            continue;
        }
        // A field is padded only when another follows it on the line.
        const bool operandFollows = !row.operand.empty();
        const bool mnemonicFollows = operandFollows || !row.mnemonic.empty();
        AppendField(text, row.label, mnemonicFollows ? LabelWidth : 0);
        AppendField(text, row.mnemonic, operandFollows ? MnemonicWidth : 0);
        text += row.operand;
        text += LineEnd;
    }
    return text;
}
