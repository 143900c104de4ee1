#include "grading/comparison.h"

#include "assembler/hex_digits.h"
#include "texts/number_text.h"

namespace {

std::string ByteText(int value)
{
    return value == -1 ? "--" : FormatNumber(value, HexRadix);
}

std::string TargetName(const TargetValue& target)
{
    switch (target.target) {
    case Target::Register:
        return std::string("R") + HexDigit(target.index);
    case Target::Memory:
        // Hexadecimal as the options give it, decimal as memory images and the listing hold it.
        return "memory " + FormatNumber(target.index, HexRadix) + " (" +
               std::to_string(target.index) + ")";
    case Target::Pc:
        return "PC";
    }
    return {};
}

int ActualValue(const MachineState& state, const TargetValue& target)
{
    switch (target.target) {
    case Target::Register:
        return state.registers[target.index];
    case Target::Memory:
        return state.memory[target.index];
    case Target::Pc:
        return state.pc;
    }
    return -1;
}

} // namespace

std::vector<std::string> Differences(const MachineState& state, const MemoryImage* expectedImage,
                                     const std::vector<TargetValue>& expectations)
{
    std::vector<TargetValue> comparisons;
    if (expectedImage != nullptr) {
        for (int address = 0; address < MemoryCells; ++address) {
            if ((*expectedImage)[address] != -1) {
                comparisons.push_back({Target::Memory, address, (*expectedImage)[address]});
            }
        }
    }
    comparisons.insert(comparisons.end(), expectations.begin(), expectations.end());

    std::vector<std::string> differences;
    for (const TargetValue& expected : comparisons) {
        const int actual = ActualValue(state, expected);
        if (actual != expected.value) {
            differences.push_back(TargetName(expected) + ": expected " + ByteText(expected.value) +
                                  ", found " + ByteText(actual));
        }
    }
    return differences;
}
