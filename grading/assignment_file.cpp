#include "grading/assignment_file.h"

#include "assembler/instruction_table.h"
#include "files/whole_file.h"
#include "grading/memory_image.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>
#include <tuple>

namespace fs = std::filesystem;

namespace {

// A mistake in the file, and where it is.
struct Mistake {
    toml::source_region where;
    std::string what;
};

[[noreturn]] void Refuse(const toml::node& node, std::string what)
{
    throw Mistake{node.source(), std::move(what)};
}

void RefuseUnknownKeys(const toml::table& table, std::initializer_list<std::string_view> known)
{
    for (const auto& [key, node] : table) {
        if (std::find(known.begin(), known.end(), key.str()) == known.end()) {
            throw Mistake{key.source(), "unknown key " + std::string(key.str())};
        }
    }
}

std::string Text(const toml::node& node, std::string_view key)
{
    if (!node.is_string()) {
        Refuse(node, std::string(key) + ": expected a text in quotes");
    }
    return node.as_string()->get();
}

long long WholeNumber(const toml::node& node, std::string_view key, long long least, long long most)
{
    const std::optional<std::int64_t> number = node.value_exact<std::int64_t>();
    if (!number || *number < least || *number > most) {
        Refuse(node, std::string(key) + ": expected a whole number from " + std::to_string(least) +
                         " to " + std::to_string(most));
    }
    return *number;
}

double Seconds(const toml::node& node)
{
    constexpr double Day = 24 * 60 * 60;
    const std::optional<double> seconds = node.value<double>();
    if (!node.is_number() || !seconds || !(*seconds > 0 && *seconds <= Day)) {
        Refuse(node, "time_limit: expected a number of seconds above 0, at most a day (86400)");
    }
    return *seconds;
}

// "R1" = "05", "40" = "FF" and, for expectations, PC = "12" and the value "--",
// in the order of the file.
std::vector<TargetValue> TargetValues(const toml::node& node, std::string_view key, TargetUse use)
{
    const toml::table* table = node.as_table();
    if (table == nullptr) {
        Refuse(node,
               std::string(key) + ": expected a table such as { R1 = \"05\", \"40\" = \"FF\" }");
    }
    std::vector<std::tuple<toml::source_position, TargetValue>> values;
    for (const auto& [name, value] : *table) {
        const std::optional<std::string_view> text = value.value<std::string_view>();
        const std::optional<TargetValue> target =
            text ? ParseTargetValue(name.str(), *text, use) : std::nullopt;
        if (!target) {
            throw Mistake{
                name.source(),
                std::string(key) + ": " + std::string(name.str()) +
                    " is not a register or cell with a value in quotes, such as R1 = "
                    "\"05\"" +
                    (use == TargetUse::Expectation ? ", PC = \"12\" or R2 = \"--\"" : "")};
        }
        values.emplace_back(name.source().begin, *target);
    }
    std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
        const auto& [x, ignoredX] = a;
        const auto& [y, ignoredY] = b;
        return std::tie(x.line, x.column) < std::tie(y.line, y.column);
    });
    std::vector<TargetValue> targets;
    for (const auto& [where, target] : values) {
        targets.push_back(target);
    }
    return targets;
}

// A memory image the case names, relative to the assignment file's folder.
MemoryImage Image(const toml::node& node, std::string_view key, const fs::path& folder)
{
    const fs::path name = folder / Text(node, key);
    const MemoryImageFile file = ReadMemoryImage(name.string());
    if (!file.image) {
        Refuse(node, std::string(key) + ": " +
                         (file.errorLines.empty()
                              ? "cannot read " + name.string() + ": " + file.unreadable
                              : file.errorLines.front()));
    }
    if (key == "check" && ListsNoCell(*file.image)) {
        Refuse(node, "check: " + name.string() + " lists no cell to compare");
    }
    return *file.image;
}

TestCase Case(const toml::table& table, const RunSetup& defaults, const fs::path& folder)
{
    RefuseUnknownKeys(table, {"name", "points", "hidden", "max_steps", "time_limit", "memory",
                              "set", "expect", "check"});
    TestCase test;
    test.setup = defaults;
    const toml::node* name = table.get("name");
    if (name == nullptr) {
        Refuse(table, "a case needs a name");
    }
    test.name = Text(*name, "name");
    if (test.name.empty()) {
        Refuse(*name, "name: a case needs a name");
    }
    if (const toml::node* points = table.get("points")) {
        test.points = static_cast<int>(WholeNumber(*points, "points", 0, 1000));
    }
    if (const toml::node* hidden = table.get("hidden")) {
        if (!hidden->is_boolean()) {
            Refuse(*hidden, "hidden: expected true or false");
        }
        test.hidden = hidden->as_boolean()->get();
    }
    if (const toml::node* steps = table.get("max_steps")) {
        test.setup.maxSteps = WholeNumber(*steps, "max_steps", 1, 1LL << 62);
    }
    if (const toml::node* limit = table.get("time_limit")) {
        test.setup.timeLimit = Seconds(*limit);
    }
    if (const toml::node* memory = table.get("memory")) {
        test.setup.memory = Image(*memory, "memory", folder);
    }
    if (const toml::node* set = table.get("set")) {
        test.setup.presets = TargetValues(*set, "set", TargetUse::Preset);
    }
    if (const toml::node* expect = table.get("expect")) {
        test.setup.expectations = TargetValues(*expect, "expect", TargetUse::Expectation);
    }
    if (const toml::node* check = table.get("check")) {
        test.setup.expected = Image(*check, "check", folder);
    }
    // A case that compares nothing would pass every program that halts.
    if (!test.setup.HasChecks()) {
        Refuse(table, "case " + test.name + " compares nothing: give expect or check");
    }
    return test;
}

std::vector<std::string> Mnemonics(const toml::node& node)
{
    const toml::array* array = node.as_array();
    if (array == nullptr) {
        Refuse(node, "forbid: expected a list of mnemonics such as [\"ADDF\"]");
    }
    std::vector<std::string> mnemonics;
    for (const toml::node& element : *array) {
        const std::string mnemonic = Text(element, "forbid");
        if (OpcodeOf(mnemonic) == Mnemonic::None) {
            Refuse(element, "forbid: " + mnemonic + " is not a mnemonic");
        }
        mnemonics.push_back(mnemonic);
    }
    return mnemonics;
}

Assignment AssignmentOf(const toml::table& file, const fs::path& path)
{
    RefuseUnknownKeys(file, {"title", "max_steps", "time_limit", "forbid", "max_size", "case"});
    Assignment assignment;
    assignment.title = path.stem().string();
    RunSetup defaults;
    if (const toml::node* title = file.get("title")) {
        assignment.title = Text(*title, "title");
    }
    if (const toml::node* steps = file.get("max_steps")) {
        defaults.maxSteps = WholeNumber(*steps, "max_steps", 1, 1LL << 62);
    }
    if (const toml::node* limit = file.get("time_limit")) {
        defaults.timeLimit = Seconds(*limit);
    }
    if (const toml::node* forbid = file.get("forbid")) {
        assignment.forbidden = Mnemonics(*forbid);
    }
    if (const toml::node* size = file.get("max_size")) {
        assignment.maxSize = static_cast<int>(WholeNumber(*size, "max_size", 1, MemoryCells));
    }
    const toml::node* cases = file.get("case");
    const toml::array* list = cases != nullptr ? cases->as_array() : nullptr;
    if (list == nullptr || list->empty() || !list->is_array_of_tables()) {
        const toml::node& where = cases != nullptr ? *cases : static_cast<const toml::node&>(file);
        Refuse(where, "expected one or more [[case]] tables");
    }
    std::set<std::string> names;
    for (const toml::node& table : *list) {
        TestCase test = Case(*table.as_table(), defaults, path.parent_path());
        if (!names.insert(test.name).second) {
            Refuse(table, "two cases are named " + test.name);
        }
        assignment.cases.push_back(std::move(test));
    }
    return assignment;
}

std::string Located(const std::string& fileName, const toml::source_position& where,
                    std::string_view what)
{
    return fileName + ':' + std::to_string(where.line) + ':' + std::to_string(where.column) + ": " +
           std::string(what);
}

} // namespace

std::optional<Assignment> ReadAssignmentFile(const std::string& fileName, std::string& problem)
{
    const FileContent content = ReadWholeFile(fileName, LargestTextFile);
    if (!content.bytes) {
        problem = "cannot read " + fileName + ": " + content.reason;
        return std::nullopt;
    }
    try {
        return AssignmentOf(toml::parse(*content.bytes, fileName), fileName);
    } catch (const toml::parse_error& error) {
        problem = Located(fileName, error.source().begin, error.description());
    } catch (const Mistake& mistake) {
        problem = Located(fileName, mistake.where.begin, mistake.what);
    }
    return std::nullopt;
}
