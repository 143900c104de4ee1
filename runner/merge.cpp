#include "runner/merge.h"

#include "files/whole_file.h"
#include "runner/class_output.h"
#include "runner/exit_status.h"

#include <algorithm>
#include <map>

namespace {

// A report holds about a kilobyte per student.
constexpr std::size_t LargestReport = 256 << 20;

struct Share {
    int number = 1;
    int count = 1;
    std::size_t entries = 0;
    std::string fileName;
};

// Why the reports cannot be merged; empty when they can.
std::string Inconsistency(const std::vector<Share>& shares)
{
    std::map<int, const Share*> byNumber;
    for (const Share& share : shares) {
        const Share& first = shares.front();
        if (share.count != first.count || share.entries != first.entries) {
            return first.fileName + " and " + share.fileName + " are shares of different gradings";
        }
        const auto [other, added] = byNumber.emplace(share.number, &share);
        if (!added) {
            return other->second->fileName + " and " + share.fileName + " are both share " +
                   std::to_string(share.number) + " of " + std::to_string(share.count);
        }
    }
    for (int number = 1; number <= shares.front().count; ++number) {
        if (!byNumber.contains(number)) {
            return "share " + std::to_string(number) + " of " +
                   std::to_string(shares.front().count) + " is missing";
        }
    }
    return {};
}

} // namespace

int MergeReports(const RunOptions& options, std::ostream& out, std::ostream& err)
{
    Json assignment;
    std::vector<Share> shares;
    std::vector<StudentResult> students;
    for (const std::string& fileName : options.programs) {
        const FileContent content = ReadWholeFile(fileName, LargestReport);
        if (!content.bytes) {
            err << "mira-run: cannot read " << fileName << ": " << content.reason << '\n';
            return ExitStatus::Usage;
        }
        try {
            const Json report = Json::parse(*content.bytes);
            if (assignment.is_null()) {
                assignment = report.at("assignment");
            } else if (report.at("assignment") != assignment) {
                err << "mira-run: " << fileName << " grades another assignment than "
                    << shares.front().fileName << '\n';
                return ExitStatus::Usage;
            }
            const Json& students_ = report.at("students");
            Share share{1, 1, students_.size(), fileName};
            if (const auto shard = report.find("shard"); shard != report.end()) {
                share = {shard->at("number").get<int>(), shard->at("count").get<int>(),
                         shard->at("entries").get<std::size_t>(), fileName};
            }
            shares.push_back(share);
            for (const Json& student : students_) {
                students.push_back(StudentOfJson(student));
            }
        } catch (const Json::exception& error) {
            err << "mira-run: " << fileName << " is not a report of --report json: " << error.what()
                << '\n';
            return ExitStatus::Usage;
        }
    }
    if (const std::string problem = Inconsistency(shares); !problem.empty()) {
        err << "mira-run: " << problem << '\n';
        return ExitStatus::Usage;
    }
    std::sort(students.begin(), students.end(),
              [](const StudentResult& a, const StudentResult& b) { return a.index < b.index; });
    ClassOutput output(options, AssignmentOfJson(assignment), {{"assignment", assignment}}, out,
                       err);
    for (const StudentResult& student : students) {
        output.Add(student);
    }
    return output.Finish();
}
