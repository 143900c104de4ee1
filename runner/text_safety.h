#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The length of the well-formed UTF-8 sequence at the start of the text, or 0.
std::size_t Utf8SequenceLength(std::string_view text);

// A file name as a line of text output shows it: as it is, unless it holds a
// control character such as a newline, a byte that is not UTF-8, a quote or
// a backslash; then in double quotes with C escapes ("\n", "\351"), as
// `ls --quoting-style=c` writes it, so that one program stays one line and
// two names never look the same.
std::string QuotedName(std::string_view name);

// The name that QuotedName shows as `shown`.
std::string UnquotedName(std::string_view shown);
