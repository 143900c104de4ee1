#include "texts/message_target.h"

#include "texts/number_text.h"

#include <cctype>
#include <charconv>

namespace {

constexpr std::string_view LineMarker = "(Line:";

// The number after the marker, up to the first character that is neither a
// digit nor an upper-case hexadecimal letter.
std::string_view NumberAfter(std::string_view line, std::size_t marker, std::size_t length)
{
    const std::string_view rest = line.substr(marker + length);
    std::size_t digits = 0;
    while (digits < rest.size() && (std::isdigit(static_cast<unsigned char>(rest[digits])) ||
                                    (rest[digits] >= 'A' && rest[digits] <= 'F'))) {
        ++digits;
    }
    return rest.substr(0, digits);
}

int LineOf(std::string_view digits)
{
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return error == std::errc() && end == digits.data() + digits.size() ? number : 0;
}

int AddressOf(std::string_view digits)
{
    for (const int radix : {HexRadix, DecimalRadix}) {
        if (digits.size() == static_cast<std::size_t>(FieldWidth(radix))) {
            const int address = ParseNumber(digits, radix);
            return address <= 255 ? address : -1;
        }
    }
    return -1;
}

} // namespace

// The marker nearest the end counts: a file name quoted before it may hold
// anything.
MessageTarget TargetOfMessage(std::string_view line)
{
    std::size_t found = std::string_view::npos;
    std::string_view marker;
    for (const std::string_view candidate :
         {LineMarker, std::string_view("(Pc:"), std::string_view("記憶體 No:")}) {
        const std::size_t at = line.rfind(candidate);
        if (at != std::string_view::npos && (found == std::string_view::npos || at > found)) {
            found = at;
            marker = candidate;
        }
    }
    if (found == std::string_view::npos) {
        return {};
    }
    const std::string_view digits = NumberAfter(line, found, marker.size());
    if (marker == LineMarker) {
        const int number = LineOf(digits);
        return number > 0 ? MessageTarget{MessageTarget::Line, number} : MessageTarget{};
    }
    const int address = AddressOf(digits);
    return address >= 0 ? MessageTarget{MessageTarget::Address, address} : MessageTarget{};
}
