#include "files/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

FileContent Failure(int error)
{
    return {std::nullopt, std::strerror(error)};
}

FileContent Refusal(const struct stat& status)
{
    if (S_ISDIR(status.st_mode)) {
        return Failure(EISDIR);
    }
    return {std::nullopt, "Not a regular file"};
}

} // namespace

FileContent ReadWholeStream(int descriptor, std::size_t largestSize)
{
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count == 0) {
            return {std::move(bytes), {}};
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Failure(errno);
        }
        if (bytes.size() + static_cast<std::size_t>(count) > largestSize) {
            return Failure(EFBIG);
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

FileContent ReadWholeFile(const std::string& fileName, std::size_t largestSize)
{
    // Looking first keeps a device from being opened at all; looking again at
    // what was opened keeps a file replaced in between from being read.
    struct stat status {};
    if (::stat(fileName.c_str(), &status) != 0) {
        return Failure(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return Refusal(status);
    }
    const int descriptor = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        return Failure(errno);
    }
    FileContent content;
    if (::fstat(descriptor, &status) != 0) {
        content = Failure(errno);
    } else if (!S_ISREG(status.st_mode)) {
        content = Refusal(status);
    } else if (static_cast<unsigned long long>(status.st_size) > largestSize) {
        content = Failure(EFBIG);
    } else {
        content = ReadWholeStream(descriptor, largestSize);
    }
    ::close(descriptor);
    return content;
}
