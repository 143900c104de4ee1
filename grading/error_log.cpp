#include "grading/error_log.h"

#include <cstdint>
#include <utility>

ErrorLog::ErrorLog(LinesOf linesOf, Show show)
    : linesOf_(std::move(linesOf)), show_(std::move(show))
{
}

void ErrorLog::Add(int subCode, int number)
{
    const long long key =
        static_cast<long long>(subCode) << 32 | static_cast<std::uint32_t>(number);
    const auto [found, added] = indexOf_.try_emplace(key, errors_.size());
    if (added) {
        errors_.push_back({linesOf_(subCode, number), 0});
    }
    Repeats& error = errors_[found->second];
    if (++error.count <= TimesShown) {
        for (const std::string& line : error.lines) {
            ShowLine(line);
        }
    }
}

void ErrorLog::Finish()
{
    for (const Repeats& error : errors_) {
        if (error.count > TimesShown && !error.lines.empty()) {
            ShowLine("repeated " + std::to_string(error.count - TimesShown) +
                     " more times: " + error.lines.front());
        }
    }
}

void ErrorLog::ShowLine(const std::string& line)
{
    shown_.push_back(line);
    if (show_) {
        show_(line);
    }
}
