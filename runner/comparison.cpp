#include "runner/comparison.h"

#include "assembler/hex_digits.h"
#include "runner/event_routing.h"
#include "texts/number_text.h"

namespace {

std::string ByteText(int value)
{
    return value == -1 ? "--" : FormatNumber(value, HexRadix);
}

std::string TargetName(const Assignment& assignment)
{
    switch (assignment.target) {
    case Target::Register:
        return std::string("R") + HexDigit(assignment.index);
    case Target::Memory:
        return "memory " + FormatNumber(assignment.index, HexRadix);
    case Target::Pc:
        return "PC";
    }
    return {};
}

int ActualValue(const MachineState& state, const Assignment& assignment)
{
    switch (assignment.target) {
    case Target::Register:
        return state.registers[assignment.index];
    case Target::Memory:
        return state.memory[assignment.index];
    case Target::Pc:
        return state.pc;
    }
    return -1;
}

} // namespace

std::optional<MemoryImage> ReadExpectedImage(const std::string& fileName,
                                             const std::function<void(const std::string&)>& error)
{
    const EventRoute route([&](int code, int value, int index) {
        if (code == MachineEvent::Error) {
            for (const std::string& line : ErrorLines(value, index, fileName)) {
                error(line);
            }
        }
    });
    CCpu reader(EventRoute::Forward);
    reader.ClearMemory(-1);
    if (!reader.LoadMemoryFile(fileName)) {
        return std::nullopt;
    }
    MemoryImage image;
    for (int address = 0; address < CCpu::MemorySize; ++address) {
        image[address] = reader.GetMemory(address);
    }
    return image;
}

std::vector<std::string> Differences(const MachineState& state, const MemoryImage* expectedImage,
                                     const std::vector<Assignment>& expectations)
{
    std::vector<Assignment> comparisons;
    if (expectedImage != nullptr) {
        for (int address = 0; address < CCpu::MemorySize; ++address) {
            if ((*expectedImage)[address] != -1) {
                comparisons.push_back({Target::Memory, address, (*expectedImage)[address]});
            }
        }
    }
    comparisons.insert(comparisons.end(), expectations.begin(), expectations.end());

    std::vector<std::string> differences;
    for (const Assignment& expected : comparisons) {
        const int actual = ActualValue(state, expected);
        if (actual != expected.value) {
            differences.push_back(TargetName(expected) + ": expected " + ByteText(expected.value) +
                                  ", found " + ByteText(actual));
        }
    }
    return differences;
}
