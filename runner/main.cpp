#include "runner/command.h"
#include "runner/output.h"

#include <unistd.h>

#include <csignal>
#include <ostream>

int main(int argc, char* argv[])
{
    // A reader that went away ends mira-run as it ends any command of a pipeline.
    std::signal(SIGPIPE, SIG_DFL);
    DescriptorBuffer outBuffer(STDOUT_FILENO);
    DescriptorBuffer errBuffer(STDERR_FILENO);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    const int status = RunCommand(std::vector<std::string>(argv + 1, argv + argc), out, err);
    return FinishOutput(status, out, outBuffer, err, errBuffer);
}
