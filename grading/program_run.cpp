#include "grading/program_run.h"

#include "grading/assembled_program.h"

#include <sstream>

RunReport RunAssembled(const AssembledProgram& program, const RunSetup& setup,
                       const std::string& programName, const RunListener& listener)
{
    RunReport report;
    report.program = programName;
    Session session(listener, programName);
    if (setup.memory) {
        session.LoadImage(*setup.memory);
    }
    for (const TargetValue& preset : setup.presets) {
        session.Preset(preset);
    }
    if (program.assembled) {
        session.LoadProgram(program);
        std::optional<std::chrono::duration<double>> timeLimit;
        if (setup.timeLimit) {
            timeLimit = std::chrono::duration<double>(*setup.timeLimit);
        }
        report.status = session.Run(setup.maxSteps, timeLimit);
    } else {
        report.status = RunStatus::NotAssembled;
    }
    session.FinishErrors();
    if (setup.strict && report.status == RunStatus::Halted && session.ErrorSeen()) {
        report.status = RunStatus::MachineError;
    }
    report.steps = session.Steps();
    report.state = session.State();
    report.errors = program.errors;
    report.errors.insert(report.errors.end(), session.Errors().begin(), session.Errors().end());
    report.haltingError = session.HaltingError();
    if (report.status == RunStatus::Halted && setup.HasChecks()) {
        report.comparisons =
            Compare(report.state, setup.expected ? &*setup.expected : nullptr, setup.expectations);
        report.differences = Differences(report.comparisons);
    }
    return report;
}

std::string FirstProblem(const RunReport& report, const RunSetup& setup)
{
    if (report.status == RunStatus::Unreadable) {
        return report.readProblem;
    }
    if (report.differences && !report.differences->empty()) {
        return report.differences->front();
    }
    if (report.status == RunStatus::StepLimit) {
        return "no halt within " + std::to_string(setup.maxSteps) + " steps";
    }
    if (report.status == RunStatus::TimeLimit) {
        std::ostringstream text;
        text << "no halt within " << setup.timeLimit.value_or(0) << " s";
        return text.str();
    }
    if (!report.haltingError.empty()) {
        return report.haltingError;
    }
    return report.errors.empty() ? std::string() : report.errors.front();
}
