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

bool SourceReader::Next(SourceRow& row, int& fileLine)
{
    while (position_ < bytes_.size()) {
        fileLine = line_;
        row.label = ReadField(bytes_, position_, LabelWidth);
        row.mnemonic = ReadField(bytes_, position_, MnemonicWidth);
        row.operand = ReadField(bytes_, position_, OperandWidth);
        // A line longer than the three fields goes on as the next record.
        while (position_ < bytes_.size() && IsLineEnd(bytes_[position_])) {
            // CR LF, LF and a lone CR each end one line.
            if (bytes_[position_] == '\n' ||
                (position_ + 1 == bytes_.size() || bytes_[position_ + 1] != '\n')) {
                ++line_;
            }
            ++position_;
        }
        if (row.mnemonic != StartKeyword) {
            return true;
        }
        hasStart_ = true;
        start_ = ParseStartValue(row.operand);
    }
    return false;
}

SourceDocument ParseSourceText(std::string_view bytes)
{
    SourceDocument document;
    SourceReader reader(bytes);
    SourceRow row;
    int fileLine = 0;
    while (reader.Next(row, fileLine)) {
        document.rows.push_back(std::move(row));
        document.fileLines.push_back(fileLine);
    }
    document.hasStart = reader.HasStart();
    document.start = reader.Start();
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
