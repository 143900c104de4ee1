#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Whole files as bytes, for the tests that compare what was written.
inline std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}
