#include "grading/target_value.h"

#include "assembler/hex_digits.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

char Upper(char c)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

} // namespace

int ParseHexByteAnyCase(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), Upper);
    return ParseHexByte(upper);
}

std::optional<TargetValue> ParseTargetValue(std::string_view name, std::string_view value,
                                            TargetUse use)
{
    const bool expectation = use == TargetUse::Expectation;
    TargetValue target{Target::Memory, 0, -1};
    if (!(expectation && value == "--")) {
        target.value = ParseHexByteAnyCase(value);
        if (target.value < 0) {
            return std::nullopt;
        }
    }
    if (expectation && name.size() == 2 && Upper(name[0]) == 'P' && Upper(name[1]) == 'C') {
        target.target = Target::Pc;
    } else if (name.size() == 2 && Upper(name[0]) == 'R') {
        target.target = Target::Register;
        target.index = HexDigitValue(Upper(name[1]));
    } else {
        target.index = ParseHexByteAnyCase(name);
    }
    if (target.index < 0) {
        return std::nullopt;
    }
    return target;
}
