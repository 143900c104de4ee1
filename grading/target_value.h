#pragma once

#include <optional>
#include <string_view>

// What a preset or an expectation such as "R1=05", "40=FF" or "PC=12" names.
enum class Target { Register, Memory, Pc };

struct TargetValue {
    Target target;
    int index; // register number or cell address; 0 for PC
    int value; // 0..255, or -1 for "--" (no value)
    bool operator==(const TargetValue&) const = default;
};

// One or two hexadecimal digits in either case, as people type them; -1 otherwise.
int ParseHexByteAnyCase(std::string_view text);

// Only an expectation may name the PC or the value "--".
enum class TargetUse { Preset, Expectation };

// A register ("R1"), a cell ("40") or the PC and its value ("05").
std::optional<TargetValue> ParseTargetValue(std::string_view name, std::string_view value,
                                            TargetUse use);
