#include "runner/command.h"

#include "runner/assignment_command.h"
#include "runner/exit_status.h"
#include "runner/grading.h"
#include "runner/json_stream.h"
#include "runner/merge.h"
#include "runner/options.h"
#include "runner/program_run.h"
#include "runner/report.h"

#include <string_view>

namespace {

// The manual page repeats the options and exit statuses; a test keeps them in step.
constexpr std::string_view UsageText = R"(Usage: mira-run [options] PROGRAM.asm
       mira-run --grade [options] PROGRAM.asm|FOLDER...
       mira-run --assignment FILE.toml [--grade] [options] PROGRAM.asm|FOLDER...
       mira-run --merge [--report FORMAT] [--feedback DIR] REPORT.json...

Assembles PROGRAM.asm ("-" reads it from standard input), loads it into the
memory of the simulated machine as the workbench's Load command does, runs it
until it halts or the step limit is reached, and prints the registers, PC and
every memory cell that holds a value (as lines of a memory image: address and
value in decimal). Error texts go to standard error; an error that repeats is
shown 3 times and then counted. Memory and registers start without values.
Numbers in options are hexadecimal.

Options:
  --start HH        start address; overrides the START line of the file
  --max-steps N     stop after N instructions (decimal, default 100000)
  --memory FILE.mm  load a memory image before the program is loaded
  --set R1=05       preset a register before the program is loaded
  --set 40=FF       preset a memory cell before the program is loaded
  --check FILE.mm   after the run, compare the cells that FILE.mm lists
  --expect R2=0A    after the run, compare a register, a cell (40=FF) or
                    the PC (PC=12); "--" stands for no value
  --strict          fail with status 2 on any error, even when the program
                    then halts by HALT
  --dump 40-4F      print only the cells 40 to 4F that hold a value, as a
                    memory image for --check (one cell: --dump 40)
  --grade           grade every program given and every *.asm file in the
                    folders given, in parallel: one line per program and a
                    summary line
  -j N              grade N programs at once (default: one for each
                    processor this process may use)
  --shard K/N       grade only the K-th of N shares of the programs, taken
                    in the order of their real paths
  --assignment FILE.toml
                    run the weighted cases of an assignment file instead of
                    one run: each case and the score; with --grade, one line
                    per program and a class summary
  --report FORMAT   with --assignment or --merge, print csv, junit or json
                    instead of text
  --feedback DIR    with --assignment or --merge, write what each student
                    may see into DIR, one text file per program
  --roster FILE     with --grade and --assignment, the file names expected,
                    one a line: each one not found is MISSING with 0 points
  --merge           combine the --report json files of the shares of a
                    class into the reports of one run
  --json            print the result as JSON (one object; an array with
                    --grade)
  --trace           print each instruction (address, word, listing text)
                    before it is executed
  --explain         tell each micro-step (fetch, decode, execute) in a
                    sentence once it is made, bytes in hexadecimal
  -h, --help        print this text
  --version         print the version
  --                end of the options: every argument after it is a program
--set and --expect may be given more than once.

Exit status:
  0   halted by a HALT instruction, and every comparison matched; with
      --grade, every program passed; with --assignment, every case passed
  1   the program could not be read or did not assemble
  2   the machine halted on an error, or with --strict reported one
  3   the step limit was reached
  4   halted by a HALT instruction, but a comparison found a difference
  5   with --grade, at least one program failed; with --assignment, a case
      failed or a rule was broken
  64  wrong usage, or a memory image for --memory or --check that cannot
      be read, holds a bad pair or (for --check) lists no cell, or an
      assignment file, roster or report to merge that cannot be used
  74  the output could not be written
A program that halts by HALT is judged by the comparisons alone: errors that
did not halt the machine on the way are still reported, and fail it only with
--strict.
)";

// One program: the report on standard output, the errors on standard error
// as they come. With --json and --trace the trace is written as it goes, at
// the start of the object, so that no step limit makes it pile up in memory.
int RunOne(const RunOptions& options, const RunSetup& setup, std::ostream& out, std::ostream& err)
{
    RunListener listener;
    listener.error = [&err](const std::string& line) { err << line << '\n' << std::flush; };
    StreamedJson traced(out, Json::object(), "trace");
    if (options.trace) {
        listener.trace = [&](const std::string& line) {
            if (options.json) {
                traced.Add(line);
            } else {
                out << line << '\n';
            }
        };
    }
    if (options.explain) {
        listener.explain = [&out](const std::string& line) { out << line << '\n'; };
    }
    const RunReport report = RunProgram(options, setup, options.programs.front(), listener);
    if (report.status == RunStatus::Unreadable) {
        err << "mira-run: " << report.readProblem << '\n';
    } else if (options.dump) {
        for (int address = options.dump->first; address <= options.dump->last; ++address) {
            if (report.state.memory[address] != -1) {
                out << address << ' ' << report.state.memory[address] << '\n';
            }
        }
    } else if (options.json && options.trace) {
        traced.Finish(ReportJson(report));
    } else if (options.json) {
        out << JsonText(ReportJson(report)) << '\n';
    } else {
        WritePlainReport(out, report);
    }
    return ExitStatusOf(report);
}

} // namespace

int RunCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    const CommandLine commandLine = ParseCommandLine(arguments);
    switch (commandLine.kind) {
    case CommandLine::Kind::Help:
        out << UsageText;
        return ExitStatus::Halted;
    case CommandLine::Kind::Version:
        out << "mira-run " << MIRA_VERSION << '\n';
        return ExitStatus::Halted;
    case CommandLine::Kind::Wrong:
        err << "mira-run: " << commandLine.problem << " (see mira-run --help)\n";
        return ExitStatus::Usage;
    case CommandLine::Kind::Run:
        break;
    }
    const RunOptions& options = commandLine.options;
    if (options.merge) {
        return MergeReports(options, out, err);
    }
    if (!options.assignmentFile.empty()) {
        return GradeAssignment(options, out, err);
    }
    const std::optional<RunSetup> setup =
        ReadRunSetup(options, [&err](const std::string& line) { err << line << '\n'; });
    if (!setup) {
        return ExitStatus::Usage;
    }
    return options.grade ? Grade(options, *setup, out, err) : RunOne(options, *setup, out, err);
}
