#include "machine/cpu.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Opens a file of its own beside the target, so that a failed save never
// touches the target.
std::FILE* CreateTemporaryFile(const std::string& target, std::string& name)
{
    constexpr int attempts = 100;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        name = target + ".tmp" + std::to_string(attempt);
        if (std::FILE* file = std::fopen(name.c_str(), "wx")) {
            return file;
        }
        std::error_code error;
        if (!fs::exists(name, error)) {
            break;
        }
    }
    return nullptr;
}

enum class Word { Number, NotNumber, End };

// Reads the next blank-separated word as an optionally signed decimal integer.
// A number beyond int saturates, which keeps it outside every valid range.
// Reading stops at the first character that cannot belong to a number, so an
// endless stream without blanks (a device such as /dev/zero) ends at once.
Word ReadInteger(std::FILE* file, int& number)
{
    int c = std::fgetc(file);
    while (c != EOF && std::isspace(c)) {
        c = std::fgetc(file);
    }
    if (c == EOF) {
        return Word::End;
    }
    const bool negative = c == '-';
    if (c == '+' || c == '-') {
        c = std::fgetc(file);
    }
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    bool digits = false;
    for (; c != EOF && !std::isspace(c); c = std::fgetc(file)) {
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

// Opening a pipe waits for its other end, which may never come.
bool IsPipeOrSocket(fs::file_status status)
{
    return fs::is_fifo(status) || fs::is_socket(status);
}

fs::file_status StatusOf(const std::string& fileName)
{
    std::error_code error;
    return fs::status(fileName, error);
}

} // namespace

bool CCpu::SaveMemoryFile(const std::string& fileName)
{
    const fs::file_status status = StatusOf(fileName);
    if (IsPipeOrSocket(status)) {
        Send(MachineEvent::Error, MachineError::MemoryFileCreate, 0);
        return false;
    }
    // Devices cannot be replaced by renaming, so they are written in place.
    const bool replace = !fs::exists(status) || fs::is_regular_file(status);
    // A symbolic link keeps pointing at the saved file.
    std::error_code error;
    const fs::path resolved = fs::canonical(fileName, error);
    const std::string target = error ? fileName : resolved.string();

    std::string written = target;
    std::FILE* file = nullptr;
    if (!replace) {
        file = std::fopen(target.c_str(), "w");
    } else if (fs::exists(status)) {
        // A target that cannot be written to stays refused, as a direct write would be.
        if (std::FILE* probe = std::fopen(target.c_str(), "r+")) {
            std::fclose(probe);
            file = CreateTemporaryFile(target, written);
            fs::permissions(written, status.permissions(), error);
        }
    } else {
        file = CreateTemporaryFile(target, written);
    }
    if (file == nullptr) {
        Send(MachineEvent::Error, MachineError::MemoryFileCreate, 0);
        return false;
    }

    bool succeeded = true;
    for (int address = 0; address < MemorySize; ++address) {
        if (memory_[address] == -1) {
            continue;
        }
        // Flushing each line makes a full disk show up at the cell that did not fit.
        if (std::fprintf(file, "%d %d\n", address, memory_[address]) < 0 ||
            std::fflush(file) != 0) {
            Send(MachineEvent::Error, MachineError::MemoryFileWrite, address);
            succeeded = false;
        }
    }
    if (std::fclose(file) != 0 && succeeded) {
        Send(MachineEvent::Error, MachineError::MemoryFileCreate, 0);
        succeeded = false;
    }
    if (!replace) {
        return succeeded;
    }
    if (succeeded) {
        fs::rename(written, target, error);
        if (error) {
            Send(MachineEvent::Error, MachineError::MemoryFileCreate, 0);
            succeeded = false;
        }
    }
    if (!succeeded) {
        fs::remove(written, error);
    }
    return succeeded;
}

bool CCpu::LoadMemoryFile(const std::string& fileName)
{
    std::FILE* file = IsPipeOrSocket(StatusOf(fileName)) ? nullptr : std::fopen(fileName.c_str(), "r");
    if (file == nullptr) {
        Send(MachineEvent::Error, MachineError::MemoryFileOpen, 0);
        return false;
    }
    bool succeeded = true;
    for (;;) {
        int address = 0;
        int value = 0;
        const Word first = ReadInteger(file, address);
        if (first == Word::End) {
            break;
        }
        // Reading ends at a word that is not a number or at an address without value.
        if (first == Word::NotNumber || ReadInteger(file, value) != Word::Number) {
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
    // A read error, such as a folder given as the file, is not an end of file.
    if (std::ferror(file)) {
        Send(MachineEvent::Error, MachineError::MemoryFileOpen, 0);
        succeeded = false;
    }
    std::fclose(file);
    return succeeded;
}
