#include "runner/comparison.h"

#include "assembler/hex_digits.h"
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
        // Hexadecimal as the options give it, decimal as memory images and the listing hold it.
        return "memory " + FormatNumber(assignment.index, HexRadix) + " (" +
               std::to_string(assignment.index) + ")";
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
