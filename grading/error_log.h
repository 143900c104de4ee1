#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

// The error lines of one run. An error that comes again and again, such as
// an empty register read in an endless loop, is shown only a few times and
// then counted, so that neither the output nor the memory grows with the
// number of steps.
class ErrorLog {
public:
    static constexpr int TimesShown = 3;

    using LinesOf = std::function<std::vector<std::string>(int subCode, int number)>;
    using Show = std::function<void(const std::string& line)>;

    // `linesOf` gives the text of an error; `show` receives each line to show.
    ErrorLog(LinesOf linesOf, Show show);

    void Add(int subCode, int number);
    // Shows one line for each error that came more often than it was shown:
    // "repeated N more times: " and its first line.
    void Finish();

    bool Empty() const { return shown_.empty(); }
    // Every line shown, in order.
    const std::vector<std::string>& Shown() const { return shown_; }

private:
    struct Repeats {
        std::vector<std::string> lines;
        long long count = 0;
    };

    void ShowLine(const std::string& line);

    LinesOf linesOf_;
    Show show_;
    std::unordered_map<long long, std::size_t> indexOf_; // by sub-code and number
    std::vector<Repeats> errors_;                        // in order of first appearance
    std::vector<std::string> shown_;
};
