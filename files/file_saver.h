#pragma once

#include <string>
#include <string_view>

// Saves a file so that a failure never leaves it half written. A new or
// regular file is written to a temporary file beside it, which replaces it
// only when every write, the flush to the disk and the close succeeded; a
// failed save removes the temporary file and leaves the target as it was. A
// symbolic link is followed, so that it stays a link, and a replaced file keeps
// its permissions. A character or block device cannot be replaced and is
// written in place. A pipe or a socket is refused: opening one waits for a
// reader that may never come.
class FileSaver {
public:
    explicit FileSaver(const std::string& fileName);
    ~FileSaver(); // a save that was not finished is discarded
    FileSaver(const FileSaver&) = delete;
    FileSaver& operator=(const FileSaver&) = delete;

    // False when the file cannot be created: there is nothing to write to.
    bool IsOpen() const { return descriptor_ >= 0; }
    // Hands the bytes to the system at once, so that a full disk shows at the
    // part that did not fit; false when they were not all written. Later
    // parts are still written, and the save as a whole fails.
    bool Write(std::string_view bytes);
    // Puts the file in place; false, with the target left whole, when a
    // write, the flush, the close or the renaming failed.
    bool Finish();
    // Why the last failure happened, in the system's words.
    const std::string& Reason() const { return reason_; }

private:
    void Open(const std::string& fileName);
    void CreateTemporaryFile(int mode);
    void Fail(int error);

    std::string target_;  // the file that the save replaces
    std::string written_; // the file being written: a temporary file, or the device
    bool inPlace_ = false;
    bool failed_ = false;
    int descriptor_ = -1;
    std::string reason_;
};
