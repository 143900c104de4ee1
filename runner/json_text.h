#pragma once

#include <string>
#include <string_view>

// The text as a JSON string with its quotes. Bytes that are not UTF-8, such
// as a file name in another character set, become U+FFFD, so that the JSON
// stays valid whatever the names.
std::string JsonString(std::string_view text);
