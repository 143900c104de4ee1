#include "files/file_saver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

constexpr int NoMode = -1;

} // namespace

FileSaver::FileSaver(const std::string& fileName)
{
    Open(fileName);
}

FileSaver::~FileSaver()
{
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        if (!inPlace_) {
            ::unlink(written_.c_str());
        }
    }
}

void FileSaver::Open(const std::string& fileName)
{
    struct stat status {};
    const bool exists = ::stat(fileName.c_str(), &status) == 0;
    if (exists && (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode))) {
        reason_ = "Not a regular file";
        return;
    }
    if (exists && (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))) {
        inPlace_ = true;
        target_ = written_ = fileName;
        // Not waiting keeps a device that became a pipe meanwhile from blocking the open.
        descriptor_ = ::open(fileName.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (descriptor_ < 0) {
            Fail(errno);
        } else if (::fcntl(descriptor_, F_SETFL, 0) != 0) {
            Fail(errno);
            ::close(descriptor_);
            descriptor_ = -1;
        }
        return;
    }
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(fileName, error);
    target_ = error ? fileName : resolved.string();
    if (exists) {
        // A target that cannot be written to stays refused, as a direct write would be.
        const int probe = ::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (probe < 0) {
            Fail(errno);
            return;
        }
        ::close(probe);
    }
    CreateTemporaryFile(exists ? static_cast<int>(status.st_mode & 07777) : NoMode);
}

void FileSaver::CreateTemporaryFile(int mode)
{
    constexpr int attempts = 100;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        written_ = target_ + ".tmp" + std::to_string(attempt);
        descriptor_ =
            ::open(written_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (descriptor_ >= 0) {
            if (mode != NoMode) {
                ::fchmod(descriptor_, static_cast<mode_t>(mode));
            }
            return;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    Fail(errno);
}

void FileSaver::Fail(int error)
{
    failed_ = true;
    reason_ = std::strerror(error);
}

bool FileSaver::Write(std::string_view bytes)
{
    if (descriptor_ < 0) {
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t count = ::write(descriptor_, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            Fail(count < 0 ? errno : ENOSPC);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

bool FileSaver::Finish()
{
    if (descriptor_ < 0) {
        return false;
    }
    // A file renamed into place before its data reached the disk could be
    // empty after a crash.
    if (!inPlace_ && !failed_ && ::fsync(descriptor_) != 0) {
        Fail(errno);
    }
    if (::close(descriptor_) != 0 && !failed_) {
        Fail(errno);
    }
    descriptor_ = -1;
    if (inPlace_) {
        return !failed_;
    }
    if (!failed_ && ::rename(written_.c_str(), target_.c_str()) != 0) {
        Fail(errno);
    }
    if (failed_) {
        ::unlink(written_.c_str());
    }
    return !failed_;
}
