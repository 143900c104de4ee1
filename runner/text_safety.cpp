#include "runner/text_safety.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::pair<char, char>, 9> ShortEscapes = {{{'\a', 'a'},
                                                                {'\b', 'b'},
                                                                {'\t', 't'},
                                                                {'\n', 'n'},
                                                                {'\v', 'v'},
                                                                {'\f', 'f'},
                                                                {'\r', 'r'},
                                                                {'"', '"'},
                                                                {'\\', '\\'}}};

bool IsControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

bool NeedsQuotes(std::string_view name)
{
    for (std::size_t i = 0; i < name.size();) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const std::size_t length = Utf8SequenceLength(name.substr(i));
        if (length == 0 || IsControl(c) || c == '"' || c == '\\') {
            return true;
        }
        i += length;
    }
    return false;
}

} // namespace

std::size_t Utf8SequenceLength(std::string_view text)
{
    if (text.empty()) {
        return 0;
    }
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

std::string QuotedName(std::string_view name)
{
    if (!NeedsQuotes(name)) {
        return std::string(name);
    }
    std::string quoted = "\"";
    for (std::size_t i = 0; i < name.size();) {
        const char c = name[i];
        const std::size_t length = Utf8SequenceLength(name.substr(i));
        const auto escape = std::find_if(ShortEscapes.begin(), ShortEscapes.end(),
                                         [c](const auto& pair) { return pair.first == c; });
        if (escape != ShortEscapes.end()) {
            quoted += '\\';
            quoted += escape->second;
        } else if (length == 0 || IsControl(static_cast<unsigned char>(c))) {
            const unsigned value = static_cast<unsigned char>(c);
            quoted += '\\';
            quoted += static_cast<char>('0' + value / 64);
            quoted += static_cast<char>('0' + value / 8 % 8);
            quoted += static_cast<char>('0' + value % 8);
        } else {
            quoted.append(name.substr(i, length));
            i += length;
            continue;
        }
        ++i;
    }
    return quoted + '"';
}

std::string UnquotedName(std::string_view shown)
{
    if (shown.size() < 2 || !shown.starts_with('"') || !shown.ends_with('"')) {
        return std::string(shown);
    }
    shown = shown.substr(1, shown.size() - 2);
    std::string name;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] != '\\' || i + 1 == shown.size()) {
            name += shown[i];
            continue;
        }
        const char code = shown[++i];
        const auto escape = std::find_if(ShortEscapes.begin(), ShortEscapes.end(),
                                         [code](const auto& pair) { return pair.second == code; });
        if (escape != ShortEscapes.end()) {
            name += escape->first;
        } else if (i + 2 < shown.size()) {
            name += static_cast<char>((shown[i] - '0') * 64 + (shown[i + 1] - '0') * 8 +
                                      (shown[i + 2] - '0'));
            i += 2;
        }
    }
    return name;
}
