#include "runner/output.h"

#include "runner/exit_status.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

DescriptorBuffer::DescriptorBuffer(int descriptor) : descriptor_(descriptor)
{
    setp(buffer_, buffer_ + sizeof buffer_);
}

bool DescriptorBuffer::WriteBuffered()
{
    const char* data = pbase();
    std::size_t size = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_, buffer_ + sizeof buffer_);
    while (size > 0 && !Failed()) {
        const ssize_t count = ::write(descriptor_, data, size);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            reason_ = std::strerror(count < 0 ? errno : EIO);
            break;
        }
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return !Failed();
}

DescriptorBuffer::int_type DescriptorBuffer::overflow(int_type c)
{
    if (!WriteBuffered()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int DescriptorBuffer::sync()
{
    return WriteBuffered() ? 0 : -1;
}

int FinishOutput(int status, std::ostream& out, const DescriptorBuffer& outBuffer,
                 std::ostream& err, const DescriptorBuffer& errBuffer)
{
    out.flush();
    if (outBuffer.Failed()) {
        err << "mira-run: cannot write to standard output: " << outBuffer.Reason() << '\n';
        status = ExitStatus::OutputFailed;
    }
    err.flush();
    // With standard error gone, the exit status is the only report left.
    return errBuffer.Failed() ? ExitStatus::OutputFailed : status;
}
