#pragma once

#include <ostream>
#include <streambuf>
#include <string>

// A stream buffer on a file descriptor that remembers why a write failed, so
// that a full disk or a closed standard output is never taken for success.
// After a failure it drops whatever follows.
class DescriptorBuffer : public std::streambuf {
public:
    explicit DescriptorBuffer(int descriptor);

    bool Failed() const { return !reason_.empty(); }
    const std::string& Reason() const { return reason_; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool WriteBuffered();

    int descriptor_;
    char buffer_[1 << 14];
    std::string reason_;
};

// Flushes both streams; a failed write to either is reported on standard error
// where that still works and gives exit status 74 instead of `status`.
int FinishOutput(int status, std::ostream& out, const DescriptorBuffer& outBuffer,
                 std::ostream& err, const DescriptorBuffer& errBuffer);
