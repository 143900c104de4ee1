#include "files/file_saver.h"
#include "files/whole_file.h"
#include "machine/cpu.h"

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>

namespace {

enum class Word { Number, NotNumber, End };

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Takes the next blank-separated word from the text as an optionally signed
// decimal integer. A number beyond int saturates, which keeps it outside every
// valid range.
Word ReadInteger(std::string_view& text, int& number)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return Word::End;
    }
    const bool negative = text.front() == '-';
    if (text.front() == '+' || text.front() == '-') {
        text.remove_prefix(1);
    }
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    bool digits = false;
    for (; !text.empty() && !IsBlank(text.front()); text.remove_prefix(1)) {
        const char c = text.front();
        if (c < '0' || c > '9') {
            return Word::NotNumber;
        }
        digits = true;
        magnitude = std::min(magnitude * 10 + (c - '0'), limit);
    }
    if (!digits) {
        return Word::NotNumber;
    }
    number = static_cast<int>(negative ? -magnitude : magnitude);
    return Word::Number;
}

} // namespace

bool CCpu::SaveMemoryFile(const std::string& fileName)
{
    FileSaver file(fileName);
    if (!file.IsOpen()) {
        Send(MachineEvent::Error, MachineError::MemoryFileCreate, 0);
        return false;
    }
    bool succeeded = true;
    for (int address = 0; address < MemorySize; ++address) {
        if (memory_[address] == -1) {
            continue;
        }
        if (!file.Write(std::to_string(address) + ' ' + std::to_string(memory_[address]) + '\n')) {
            Send(MachineEvent::Error, MachineError::MemoryFileWrite, address);
            succeeded = false;
        }
    }
    if (!file.Finish() && succeeded) {
        Send(MachineEvent::Error, MachineError::MemoryFileCreate, 0);
        succeeded = false;
    }
    return succeeded;
}

bool CCpu::LoadMemoryFile(const std::string& fileName)
{
    const FileContent content = ReadWholeFile(fileName, LargestTextFile);
    if (!content.bytes) {
        Send(MachineEvent::Error, MachineError::MemoryFileOpen, 0);
        return false;
    }
    return LoadMemoryText(*content.bytes);
}

bool CCpu::LoadMemoryText(std::string_view text)
{
    // An editor may begin a UTF-8 file with a byte order mark; it is no number.
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(byteOrderMark)) {
        text.remove_prefix(byteOrderMark.size());
    }
    bool succeeded = true;
    for (;;) {
        int address = 0;
        int value = 0;
        const Word first = ReadInteger(text, address);
        if (first == Word::End) {
            break;
        }
        // Reading ends at a word that is not a number or at an address without value.
        if (first == Word::NotNumber || ReadInteger(text, value) != Word::Number) {
            Send(MachineEvent::Error, MachineError::MemoryFilePair, address);
            succeeded = false;
            break;
        }
        if (IsByte(address) && IsByte(value)) {
            SetMemory(address, value);
        } else {
            Send(MachineEvent::Error, MachineError::MemoryFilePair, address);
            succeeded = false;
        }
    }
    return succeeded;
}
