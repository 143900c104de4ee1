#include "runner/options.h"

#include <charconv>
#include <functional>
#include <map>

namespace {

// "R1=05", "40=FF" and, for comparisons, "PC=12" and the value "--".
std::optional<TargetValue> ParseAssignment(std::string_view text, TargetUse use)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return ParseTargetValue(text.substr(0, equals), text.substr(equals + 1), use);
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

// Applies an option's value to the options; false when the value is not valid.
using ValueHandler = std::function<bool(RunOptions&, std::string_view)>;

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

// "2/5": the second of five shares.
std::optional<Shard> ParseShard(std::string_view text)
{
    const std::size_t slash = text.find('/');
    const std::optional<long long> number = ParseCount(text.substr(0, slash));
    const std::optional<long long> count =
        slash == std::string_view::npos ? std::nullopt : ParseCount(text.substr(slash + 1));
    if (!number || !count || *number < 1 || *number > *count || *count > 1000000) {
        return std::nullopt;
    }
    return Shard{static_cast<int>(*number), static_cast<int>(*count)};
}

std::optional<ReportFormat> ParseReportFormat(std::string_view text)
{
    static const std::map<std::string_view, ReportFormat> formats = {
        {"csv", ReportFormat::Csv}, {"junit", ReportFormat::Junit}, {"json", ReportFormat::Json}};
    const auto format = formats.find(text);
    return format == formats.end() ? std::nullopt : std::optional(format->second);
}

// Keeps the text of an option that names a file or folder.
ValueHandler Name(std::string RunOptions::*member)
{
    return [member](RunOptions& options, std::string_view value) {
        options.*member = value;
        return true;
    };
}

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
        {"--memory", Name(&RunOptions::memoryFile)},
        {"--set",
         [](RunOptions& options, std::string_view value) {
             const std::optional<TargetValue> preset = ParseAssignment(value, TargetUse::Preset);
             if (preset) {
                 options.presets.push_back(*preset);
             }
             return preset.has_value();
         }},
        {"--check", Name(&RunOptions::checkFile)},
        {"--dump",
         [](RunOptions& options, std::string_view value) {
             options.dump = ParseCellRange(value);
             return options.dump.has_value();
         }},
        {"--expect",
         [](RunOptions& options, std::string_view value) {
             const std::optional<TargetValue> expectation =
                 ParseAssignment(value, TargetUse::Expectation);
             if (expectation) {
                 options.expectations.push_back(*expectation);
             }
             return expectation.has_value();
         }},
        {"-j",
         [](RunOptions& options, std::string_view value) {
             const std::optional<long long> jobs = ParseCount(value);
             options.jobs = static_cast<unsigned>(jobs.value_or(0));
             return jobs && *jobs >= 1 && *jobs <= 1024;
         }},
        {"--shard",
         [](RunOptions& options, std::string_view value) {
             options.shard = ParseShard(value);
             return options.shard.has_value();
         }},
        {"--assignment", Name(&RunOptions::assignmentFile)},
        {"--report",
         [](RunOptions& options, std::string_view value) {
             options.report = ParseReportFormat(value);
             return options.report.has_value();
         }},
        {"--feedback", Name(&RunOptions::feedbackFolder)},
        {"--roster", Name(&RunOptions::rosterFile)},
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
        {"--grade", &RunOptions::grade},     {"--merge", &RunOptions::merge},
    };
    const auto flag = flags.find(option);
    return flag == flags.end() ? nullptr : flag->second;
}

CommandLine Wrong(std::string problem)
{
    return {CommandLine::Kind::Wrong, {}, std::move(problem)};
}

// A merge reads reports: it takes nothing about running programs.
std::optional<std::string> MergeConflict(const RunOptions& options)
{
    RunOptions merge;
    merge.programs = options.programs;
    merge.merge = true;
    merge.report = options.report;
    merge.feedbackFolder = options.feedbackFolder;
    if (merge != options) {
        return "--merge takes no other option than --report and --feedback";
    }
    return std::nullopt;
}

// An assignment file gives the cases; an option that sets up or shows a
// single run would be silently ignored.
std::optional<std::string> AssignmentConflict(const RunOptions& options)
{
    const std::pair<const char*, bool> runOptions[] = {
        {"--start", options.start.has_value()},
        {"--max-steps", options.maxSteps != DefaultMaxSteps},
        {"--memory", !options.memoryFile.empty()},
        {"--set", !options.presets.empty()},
        {"--check", !options.checkFile.empty()},
        {"--expect", !options.expectations.empty()},
        {"--dump", options.dump.has_value()},
        {"--trace", options.trace},
        {"--explain", options.explain},
        {"--json", options.json},
    };
    for (const auto& [name, given] : runOptions) {
        if (given) {
            return std::string(name) + " cannot be used with --assignment";
        }
    }
    return std::nullopt;
}

// What cannot be combined, once every argument is known.
std::optional<std::string> Conflict(const RunOptions& options)
{
    if (options.programs.empty()) {
        return "no program file given";
    }
    if (options.merge) {
        return MergeConflict(options);
    }
    const std::pair<const char*, bool> needAssignment[] = {
        {"--report", options.report.has_value()},
        {"--feedback", !options.feedbackFolder.empty()},
        {"--roster", !options.rosterFile.empty()},
    };
    for (const auto& [name, given] : needAssignment) {
        if (given && options.assignmentFile.empty()) {
            return std::string(name) + " needs --assignment";
        }
    }
    if (!options.assignmentFile.empty()) {
        if (const std::optional<std::string> conflict = AssignmentConflict(options)) {
            return conflict;
        }
    }
    if (!options.grade) {
        if (options.shard || !options.rosterFile.empty()) {
            return std::string(options.shard ? "--shard" : "--roster") + " needs --grade";
        }
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
        // "--name=value" is the same as "--name value", and "-j4" as "-j 4".
        const bool longOption = argument.starts_with("--");
        const std::size_t equals = longOption ? argument.find('=') : 2;
        const std::string_view name = argument.substr(0, equals);
        const bool hasValue = equals < argument.size();
        const std::size_t valueStart = longOption ? equals + 1 : equals;
        if (!longOption && name != "-j") {
            return Wrong("unknown option: " + std::string(argument));
        }
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
            value = argument.substr(valueStart);
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
