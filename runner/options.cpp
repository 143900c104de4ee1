#include "runner/options.h"

#include "assembler/hex_digits.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>
#include <map>

const std::string_view UsageText = R"(Usage: mira-run PROGRAM.asm [options]

Assembles PROGRAM.asm, loads it into the memory of the simulated machine as the
workbench's Load command does, runs it until it halts or the step limit is
reached, and prints the registers, PC and every memory cell that holds a value
(as lines of a memory image: address and value in decimal).
Memory and registers start without values. Numbers in options are hexadecimal.

Options:
  --start HH        start address; overrides the START line of the file
  --max-steps N     stop after N instructions (decimal, default 100000)
  --memory FILE.mm  load a memory image before the program is loaded
  --set R1=05       preset a register before the program is loaded
  --set 40=FF       preset a memory cell before the program is loaded
  --check FILE.mm   after the run, compare the cells that FILE.mm lists
  --expect R2=0A    after the run, compare a register, a cell (40=FF) or
                    the PC (PC=12); "--" stands for no value
  --json            print the result as one JSON object
  --trace           print each instruction (address, word, listing text)
                    before it is executed
  --help            print this text
--set and --expect may be given more than once.

Exit status:
  0   halted by a HALT instruction, and every comparison matched
  1   the program could not be read or did not assemble
  2   the machine halted on an error (the error texts go to standard error)
  3   the step limit was reached
  4   halted by a HALT instruction, but a comparison found a difference
  64  wrong usage
)";

namespace {

// Hexadecimal in either case, as people type it on a command line.
int ParseHexByteAnyCase(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return ParseHexByte(upper);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// "R1=05", "40=FF" and, for comparisons, "PC=12" and the value "--".
std::optional<Assignment> ParseAssignment(std::string_view text, bool forComparison)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view name = text.substr(0, equals);
    const std::string_view valueText = text.substr(equals + 1);
    Assignment assignment{Target::Memory, 0, -1};
    if (!(forComparison && valueText == "--")) {
        assignment.value = ParseHexByteAnyCase(valueText);
        if (assignment.value < 0) {
            return std::nullopt;
        }
    }
    if (forComparison && EqualsIgnoringCase(name, "PC")) {
        assignment.target = Target::Pc;
    } else if (name.size() == 2 && (name[0] == 'R' || name[0] == 'r')) {
        assignment.target = Target::Register;
        assignment.index =
            HexDigitValue(static_cast<char>(std::toupper(static_cast<unsigned char>(name[1]))));
    } else {
        assignment.index = ParseHexByteAnyCase(name);
    }
    if (assignment.index < 0) {
        return std::nullopt;
    }
    return assignment;
}

std::optional<long long> ParseCount(std::string_view text)
{
    long long count = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, count);
    if (text.empty() || text[0] == '-' || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return count;
}

// Applies an option's value to the options; false when the value is not valid.
using ValueHandler = std::function<bool(RunOptions&, std::string_view)>;

const std::map<std::string_view, ValueHandler>& OptionsWithValue()
{
    static const std::map<std::string_view, ValueHandler> handlers = {
        {"--start",
         [](RunOptions& options, std::string_view value) {
             const int start = ParseHexByteAnyCase(value);
             options.start = start;
             return start >= 0;
         }},
        {"--max-steps",
         [](RunOptions& options, std::string_view value) {
             const std::optional<long long> count = ParseCount(value);
             options.maxSteps = count.value_or(0);
             return count.has_value();
         }},
        {"--memory",
         [](RunOptions& options, std::string_view value) {
             options.memoryFile = value;
             return !value.empty();
         }},
        {"--set",
         [](RunOptions& options, std::string_view value) {
             const std::optional<Assignment> preset = ParseAssignment(value, false);
             if (preset) {
                 options.presets.push_back(*preset);
             }
             return preset.has_value();
         }},
        {"--check",
         [](RunOptions& options, std::string_view value) {
             options.checkFile = value;
             return !value.empty();
         }},
        {"--expect",
         [](RunOptions& options, std::string_view value) {
             const std::optional<Assignment> expectation = ParseAssignment(value, true);
             if (expectation) {
                 options.expectations.push_back(*expectation);
             }
             return expectation.has_value();
         }},
    };
    return handlers;
}

bool IsRepeatable(std::string_view option)
{
    return option == "--set" || option == "--expect";
}

CommandLine Wrong(std::string problem)
{
    return {CommandLine::Kind::Wrong, {}, std::move(problem)};
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine commandLine{CommandLine::Kind::Run, {}, {}};
    RunOptions& options = commandLine.options;
    std::map<std::string_view, int> seen;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (!argument.starts_with("--")) {
            if (!options.programFile.empty()) {
                return Wrong("more than one program file: " + std::string(argument));
            }
            options.programFile = argument;
            continue;
        }
        // "--name=value" is the same as "--name value".
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        if (++seen[name] > 1 && !IsRepeatable(name)) {
            return Wrong("option given more than once: " + std::string(name));
        }
        if (name == "--help" || name == "--json" || name == "--trace") {
            if (equals != std::string_view::npos) {
                return Wrong("option takes no value: " + std::string(name));
            }
            if (name == "--help") {
                return {CommandLine::Kind::Help, {}, {}};
            }
            (name == "--json" ? options.json : options.trace) = true;
            continue;
        }
        const auto handler = OptionsWithValue().find(name);
        if (handler == OptionsWithValue().end()) {
            return Wrong("unknown option: " + std::string(name));
        }
        std::string_view value;
        if (equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return Wrong("option needs a value: " + std::string(name));
        }
        if (!handler->second(options, value)) {
            return Wrong("invalid value for " + std::string(name) + ": " + std::string(value));
        }
    }
    if (options.programFile.empty()) {
        return Wrong("no program file given");
    }
    return commandLine;
}
