#include "runner/class_list.h"

#include "files/whole_file.h"
#include "runner/text_safety.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool IsProgramName(const fs::path& path)
{
    const std::string name = path.filename().string();
    constexpr std::string_view Suffix = ".asm";
    return name.size() >= Suffix.size() &&
           std::equal(Suffix.begin(), Suffix.end(), name.end() - Suffix.size(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

std::string RealPath(const fs::path& path)
{
    std::error_code error;
    const fs::path real = fs::weakly_canonical(path, error);
    return (error ? fs::absolute(path, error).lexically_normal() : real).string();
}

ClassEntry Entry(const fs::path& path)
{
    ClassEntry entry;
    entry.path = path.string();
    entry.realPath = RealPath(path);
    return entry;
}

// Every "*.asm" entry, whatever it is, so that a link to nothing or a pipe
// is reported rather than passed over; links to folders are not followed.
void Scan(const fs::path& folder, std::vector<ClassEntry>& entries)
{
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code typeError;
        if (entry->is_directory(typeError) && !entry->is_symlink(typeError)) {
            Scan(entry->path(), entries);
        } else if (IsProgramName(entry->path())) {
            entries.push_back(Entry(entry->path()));
        }
    }
    if (error) {
        ClassEntry unreadable = Entry(folder);
        unreadable.problem =
            "cannot read folder " + QuotedName(folder.string()) + ": " + error.message();
        entries.push_back(std::move(unreadable));
    }
}

} // namespace

std::vector<ClassEntry> CollectClass(const std::vector<std::string>& names,
                                     const std::vector<std::string>& roster)
{
    std::vector<ClassEntry> found;
    for (const std::string& name : names) {
        std::error_code error;
        if (fs::is_directory(name, error)) {
            Scan(name, found);
        } else {
            found.push_back(Entry(name));
        }
    }
    std::sort(found.begin(), found.end(),
              [](const ClassEntry& a, const ClassEntry& b) { return a.path < b.path; });
    std::vector<ClassEntry> entries;
    std::set<std::string> realPaths;
    std::set<std::string> fileNames;
    for (ClassEntry& entry : found) {
        if (realPaths.insert(entry.realPath).second) {
            fileNames.insert(fs::path(entry.path).filename().string());
            entries.push_back(std::move(entry));
        }
    }
    for (const std::string& name : roster) {
        if (!fileNames.contains(name)) {
            ClassEntry missing;
            missing.path = missing.realPath = name;
            missing.missing = true;
            entries.push_back(std::move(missing));
            fileNames.insert(name);
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ClassEntry& a, const ClassEntry& b) { return a.path < b.path; });
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].index = i;
    }
    return entries;
}

std::vector<ClassEntry> ShareOf(const std::vector<ClassEntry>& entries, const Shard& shard)
{
    std::vector<const ClassEntry*> byRealPath;
    for (const ClassEntry& entry : entries) {
        byRealPath.push_back(&entry);
    }
    std::sort(byRealPath.begin(), byRealPath.end(),
              [](const ClassEntry* a, const ClassEntry* b) { return a->realPath < b->realPath; });
    std::vector<ClassEntry> share;
    for (std::size_t i = static_cast<std::size_t>(shard.number - 1); i < byRealPath.size();
         i += static_cast<std::size_t>(shard.count)) {
        share.push_back(*byRealPath[i]);
    }
    std::sort(share.begin(), share.end(),
              [](const ClassEntry& a, const ClassEntry& b) { return a.index < b.index; });
    return share;
}

std::optional<std::vector<std::string>> ReadRoster(const std::string& fileName,
                                                   std::string& problem)
{
    const FileContent content = ReadWholeFile(fileName, LargestTextFile);
    if (!content.bytes) {
        problem = "cannot read " + fileName + ": " + content.reason;
        return std::nullopt;
    }
    std::string_view text = *content.bytes;
    // Spreadsheet programs write a byte order mark.
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    std::vector<std::string> names;
    std::istringstream lines{std::string(text)};
    for (std::string line; std::getline(lines, line);) {
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first != std::string::npos) {
            names.push_back(line.substr(first, line.find_last_not_of(" \t\r") - first + 1));
        }
    }
    return names;
}
