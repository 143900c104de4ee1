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

std::vector<Comparison> Compare(const MachineState& state, const MemoryImage* expectedImage,
                                const std::vector<TargetValue>& expectations)
{
    std::vector<TargetValue> expected;
    if (expectedImage != nullptr) {
        for (int address = 0; address < MemoryCells; ++address) {
            if ((*expectedImage)[address] != -1) {
                expected.push_back({Target::Memory, address, (*expectedImage)[address]});
            }
        }
    }
    expected.insert(expected.end(), expectations.begin(), expectations.end());
    std::vector<Comparison> comparisons;
    for (const TargetValue& value : expected) {
        comparisons.push_back({value, ActualValue(state, value)});
    }
    return comparisons;
}

std::vector<std::string> Differences(const std::vector<Comparison>& comparisons)
{
    std::vector<std::string> differences;
    for (const Comparison& comparison : comparisons) {
        if (!comparison.Matches()) {
            differences.push_back(TargetName(comparison.expected) + ": expected " +
                                  ByteText(comparison.expected.value) + ", found " +
                                  ByteText(comparison.found));
        }
    }
    return differences;
}
