#include "runner/options.h"

#include "assembler/hex_digits.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>
#include <map>

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

// "40-4F", or "40" for one cell.
std::optional<CellRange> ParseCellRange(std::string_view text)
{
    const std::size_t dash = text.find('-');
    const int first = ParseHexByteAnyCase(text.substr(0, dash));
    const int last =
        dash == std::string_view::npos ? first : ParseHexByteAnyCase(text.substr(dash + 1));
    if (first < 0 || last < first) {
        return std::nullopt;
    }
    return CellRange{first, last};
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
             return true;
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
             return true;
         }},
        {"--dump",
         [](RunOptions& options, std::string_view value) {
             options.dump = ParseCellRange(value);
             return options.dump.has_value();
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

// Options without a value, and what each turns on.
bool RunOptions::*FlagOf(std::string_view option)
{
    static const std::map<std::string_view, bool RunOptions::*> flags = {
        {"--json", &RunOptions::json},       {"--trace", &RunOptions::trace},
        {"--explain", &RunOptions::explain}, {"--strict", &RunOptions::strict},
        {"--grade", &RunOptions::grade},
    };
    const auto flag = flags.find(option);
    return flag == flags.end() ? nullptr : flag->second;
}

CommandLine Wrong(std::string problem)
{
    return {CommandLine::Kind::Wrong, {}, std::move(problem)};
}

// What cannot be combined, once every argument is known.
std::optional<std::string> Conflict(const RunOptions& options)
{
    if (options.programs.empty()) {
        return "no program file given";
    }
    if (!options.grade) {
        if (options.programs.size() > 1) {
            return "more than one program file: " + options.programs[1];
        }
        if ((options.dump || options.explain) && options.json) {
            return std::string(options.dump ? "--dump" : "--explain") +
                   " and --json cannot be combined";
        }
        return std::nullopt;
    }
    if (options.trace || options.explain || options.dump) {
        const char* option = options.trace ? "--trace" : options.explain ? "--explain" : "--dump";
        return std::string(option) + " cannot be used with --grade";
    }
    for (const std::string& program : options.programs) {
        if (program == StandardInputName) {
            return "--grade reads no program from standard input";
        }
    }
    return std::nullopt;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine commandLine{CommandLine::Kind::Run, {}, {}};
    RunOptions& options = commandLine.options;
    std::map<std::string_view, int> seen;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (optionsEnded || argument == StandardInputName || !argument.starts_with('-')) {
            options.programs.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "-h") {
            return {CommandLine::Kind::Help, {}, {}};
        }
        if (!argument.starts_with("--")) {
            return Wrong("unknown option: " + std::string(argument));
        }
        // "--name=value" is the same as "--name value".
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        const bool hasValue = equals != std::string_view::npos;
        const auto handler = OptionsWithValue().find(name);
        const bool takesValue = handler != OptionsWithValue().end();
        if (!takesValue && name != "--help" && name != "--version" && FlagOf(name) == nullptr) {
            return Wrong("unknown option: " + std::string(name));
        }
        if (++seen[name] > 1 && !IsRepeatable(name)) {
            return Wrong("option given more than once: " + std::string(name));
        }
        if (!takesValue) {
            if (hasValue) {
                return Wrong("option takes no value: " + std::string(name));
            }
            if (name == "--help" || name == "--version") {
                const auto kind =
                    name == "--help" ? CommandLine::Kind::Help : CommandLine::Kind::Version;
                return {kind, {}, {}};
            }
            options.*FlagOf(name) = true;
            continue;
        }
        std::string_view value;
        if (hasValue) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        }
        // A value that looks like an option is most likely a forgotten value.
        if (value.empty() || value.starts_with("--")) {
            return Wrong("option needs a value: " + std::string(name));
        }
        if (!handler->second(options, value)) {
            return Wrong("invalid value for " + std::string(name) + ": " + std::string(value));
        }
    }
    if (const std::optional<std::string> conflict = Conflict(options)) {
        return Wrong(*conflict);
    }
    return commandLine;
}
