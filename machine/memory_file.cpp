#include "machine/cpu.h"

#include <cctype>
#include <charconv>
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
Word ReadInteger(std::FILE* file, int& number)
{
    int c = std::fgetc(file);
    while (c != EOF && std::isspace(c)) {
        c = std::fgetc(file);
    }
    if (c == EOF) {
        return Word::End;
    }
    std::string word;
    for (; c != EOF && !std::isspace(c); c = std::fgetc(file)) {
        word += static_cast<char>(c);
    }
    const bool hasSign = word[0] == '+' || word[0] == '-';
    if (word.size() == (hasSign ? 1u : 0u) ||
        word.find_first_not_of("0123456789", hasSign ? 1 : 0) != std::string::npos) {
        return Word::NotNumber;
    }
    const char* first = word.data() + (word[0] == '+' ? 1 : 0);
    if (std::from_chars(first, word.data() + word.size(), number).ec != std::errc()) {
        number = word[0] == '-' ? INT_MIN : INT_MAX;
    }
    return Word::Number;
}

} // namespace

bool CCpu::SaveMemoryFile(const std::string& fileName)
{
    std::error_code error;
    const fs::file_status status = fs::status(fileName, error);
    // Devices and pipes cannot be replaced by renaming, so they are written in place.
    const bool replace = !fs::exists(status) || fs::is_regular_file(status);
    // A symbolic link keeps pointing at the saved file.
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
    std::FILE* file = std::fopen(fileName.c_str(), "r");
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
