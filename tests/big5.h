#pragma once

#include <iconv.h>

#include <string>

// Whether a UTF-8 text has only characters of Big5, the character set of
// the classroom machines the texts were written for.
inline bool ConvertsToBig5(const std::string& text)
{
    const iconv_t converter = iconv_open("BIG5", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    std::string in = text;
    std::string out(text.size() * 2 + 4, '\0');
    char* inPointer = in.data();
    char* outPointer = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
    iconv_close(converter);
    return result != static_cast<std::size_t>(-1) && inLeft == 0;
}
