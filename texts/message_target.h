#pragma once

#include <string_view>

// What a message-log line points at: the line of an assembler error
// ("(Line:N)"), or the address of the instruction ("(Pc:XX)") or memory cell
// ("記憶體 No:XX") of a machine error.
struct MessageTarget {
    enum Kind { None, Line, Address };
    Kind kind = None;
    int number = 0;
    bool operator==(const MessageTarget&) const = default;
};

// A line keeps the radix it was made in: an address of two digits is
// hexadecimal, of three decimal; numbers outside 0..255 point nowhere.
MessageTarget TargetOfMessage(std::string_view line);
