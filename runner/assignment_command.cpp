#include "runner/assignment_command.h"

#include "files/whole_file.h"
#include "grading/assignment_file.h"
#include "runner/class_output.h"
#include "runner/class_run.h"
#include "runner/exit_status.h"
#include "runner/text_safety.h"

#include <unistd.h>

#include <new>

namespace {

StudentResult NotGraded(const Assignment& assignment, StudentResult student, std::string why)
{
    student.outcome = StudentResult::Outcome::NotGraded;
    student.grade = FailedGrade(assignment, why);
    student.problem = std::move(why);
    return student;
}

StudentResult GradeStudent(const Assignment& assignment, const ClassEntry& entry)
{
    StudentResult student;
    student.index = entry.index;
    student.program = entry.path;
    if (entry.missing) {
        student.outcome = StudentResult::Outcome::Missing;
        student.grade = FailedGrade(assignment, "missing");
        return student;
    }
    if (!entry.problem.empty()) {
        return NotGraded(assignment, std::move(student), entry.problem);
    }
    const bool fromInput = entry.path == StandardInputName;
    const std::string name = fromInput ? "<stdin>" : QuotedName(entry.path);
    try {
        const FileContent source = fromInput ? ReadWholeStream(STDIN_FILENO, LargestTextFile)
                                             : ReadWholeFile(entry.path, LargestTextFile);
        if (!source.bytes) {
            return NotGraded(assignment, std::move(student),
                             "cannot read " + name + ": " + source.reason);
        }
        student.grade = GradeProgram(assignment, ReadProgramSource(*source.bytes), name);
    } catch (const std::bad_alloc&) {
        return NotGraded(assignment, std::move(student), "cannot run " + name + ": out of memory");
    }
    return student;
}

int GradeClass(const RunOptions& options, const Assignment& assignment, std::ostream& out,
               std::ostream& err)
{
    std::size_t classSize = 0;
    const std::optional<std::vector<ClassEntry>> entries = EntriesToGrade(options, classSize, err);
    if (!entries) {
        return ExitStatus::Usage;
    }
    Json leading = {{"assignment", AssignmentJson(assignment)}};
    if (options.shard) {
        leading["shard"] = {{"number", options.shard->number},
                            {"count", options.shard->count},
                            {"entries", classSize}};
    }
    ClassOutput output(options, assignment, leading, out, err);
    const auto grade = [&](const ClassEntry& entry, std::string& text) {
        text = JsonText(StudentJson(GradeStudent(assignment, entry)));
        return 0;
    };
    const auto done = [&](const ClassEntry& entry, const WorkerResult& result) {
        const Json object = Json::parse(result.output, nullptr, false);
        if (result.exitStatus == -1 || object.is_discarded()) {
            StudentResult student;
            student.index = entry.index;
            student.program = entry.path;
            output.Add(NotGraded(assignment, std::move(student), CrashText(result)));
        } else {
            output.Add(StudentOfJson(object));
        }
    };
    GradeEntries(options, *entries, grade, done, out, err);
    return output.Finish();
}

} // namespace

int GradeAssignment(const RunOptions& options, std::ostream& out, std::ostream& err)
{
    std::string problem;
    std::optional<Assignment> assignment = ReadAssignmentFile(options.assignmentFile, problem);
    if (!assignment) {
        err << "mira-run: " << problem << '\n';
        return ExitStatus::Usage;
    }
    for (TestCase& test : assignment->cases) {
        test.setup.strict = options.strict;
    }
    if (options.grade) {
        return GradeClass(options, *assignment, out, err);
    }
    ClassOutput output(options, *assignment, {{"assignment", AssignmentJson(*assignment)}}, out,
                       err);
    ClassEntry entry;
    entry.path = options.programs.front();
    output.Add(GradeStudent(*assignment, entry));
    return output.Finish();
}
