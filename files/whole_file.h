#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Programs and memory images take a few kilobytes; a file of megabytes is
// something else opened by mistake, and the window holds about 50 times a
// source file's size in memory.
inline constexpr std::size_t LargestTextFile = 8 << 20;

struct FileContent {
    std::optional<std::string> bytes; // nothing when the file could not be read whole
    std::string reason;               // why not, in the system's words
};

// The whole content of a regular file of at most `largestSize` bytes. A pipe,
// a device, a socket or a folder is refused without being read, and reading
// never waits: a pipe would wait for a writer for ever, /dev/zero never ends,
// and a file that does not hold its data yet (/proc/kmsg) fails at once.
FileContent ReadWholeFile(const std::string& fileName, std::size_t largestSize);

// Everything an open descriptor gives until its end, such as standard input;
// more than `largestSize` bytes is a failure.
FileContent ReadWholeStream(int descriptor, std::size_t largestSize);
