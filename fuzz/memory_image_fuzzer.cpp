// Loads arbitrary bytes as a memory image file and compares what the machine
// did with what the file format allows: the words taken two by two as address
// and value, each an optionally signed decimal number; a pair in range is
// stored, a pair out of range is refused and reading goes on, and reading ends
// at a word that is no number or at an address without its value. A byte order
// mark at the start is skipped.
#include "machine/cpu.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Event {
    int code;
    int value;
    int index;
    bool operator==(const Event&) const = default;
};

std::vector<Event> events;

void Record(int code, int value, int index)
{
    events.push_back({code, value, index});
}

// One word as a number: a sign, then digits only; beyond int it saturates.
bool ReadNumber(std::string_view word, int& number)
{
    const bool negative = word.front() == '-';
    if (word.front() == '+' || word.front() == '-') {
        word.remove_prefix(1);
    }
    if (word.empty() || word.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    long long magnitude = 0;
    for (const char digit : word) {
        magnitude = std::min(magnitude * 10 + (digit - '0'), 1LL << 31);
    }
    const long long value = negative ? -magnitude : magnitude;
    number = static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    return true;
}

// The events that loading the text must send, and the cells it writes.
std::vector<Event> Expected(std::string_view text, int (&memory)[CCpu::MemorySize])
{
    // A byte order mark at the very start is skipped.
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at < text.size();) {
        const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)); };
        while (at < text.size() && blank(text[at])) {
            ++at;
        }
        const std::size_t start = at;
        while (at < text.size() && !blank(text[at])) {
            ++at;
        }
        if (at > start) {
            words.push_back(text.substr(start, at - start));
        }
    }
    std::vector<Event> expected;
    for (std::size_t i = 0; i < words.size(); i += 2) {
        int address = 0;
        int value = 0;
        if (!ReadNumber(words[i], address) || i + 1 == words.size() ||
            !ReadNumber(words[i + 1], value)) {
            expected.push_back({MachineEvent::Error, MachineError::MemoryFilePair, address});
            break;
        }
        if (address < 0 || address > 255 || value < 0 || value > 255) {
            expected.push_back({MachineEvent::Error, MachineError::MemoryFilePair, address});
        } else {
            memory[address] = value;
            expected.push_back({MachineEvent::MemorySet, value, address});
        }
    }
    return expected;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The file lives in memory; the machine opens it by name.
    static const int file = memfd_create("image.mm", 0);
    static const std::string name = "/proc/self/fd/" + std::to_string(file);
    static CCpu machine(Record);
    if (file < 0 || ftruncate(file, 0) != 0 ||
        pwrite(file, data, size, 0) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    machine.ClearMemory(-1);
    events.clear();

    const bool loaded = machine.LoadMemoryFile(name);

    int memory[CCpu::MemorySize];
    std::fill(std::begin(memory), std::end(memory), -1);
    const std::vector<Event> expected =
        Expected(std::string_view(reinterpret_cast<const char*>(data), size), memory);
    bool refused = false;
    for (const Event& event : expected) {
        refused = refused || event.code == MachineEvent::Error;
    }
    if (events != expected || loaded == refused) {
        std::abort();
    }
    for (int address = 0; address < CCpu::MemorySize; ++address) {
        if (machine.GetMemory(address) != memory[address]) {
            std::abort();
        }
    }
    return 0;
}
