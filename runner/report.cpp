#include "runner/report.h"

#include "assembler/hex_digits.h"
#include "runner/command.h"
#include "runner/json_text.h"
#include "texts/number_text.h"

namespace {

void WriteJsonStrings(std::ostream& out, const std::vector<std::string>& texts)
{
    out << '[';
    for (std::size_t i = 0; i < texts.size(); ++i) {
        out << (i == 0 ? "" : ",") << JsonString(texts[i]);
    }
    out << ']';
}

} // namespace

std::string_view StatusName(RunStatus status)
{
    switch (status) {
    case RunStatus::Halted:
        return "halted";
    case RunStatus::Unreadable:
        return "unreadable";
    case RunStatus::NotAssembled:
        return "not-assembled";
    case RunStatus::MachineError:
        return "machine-error";
    case RunStatus::StepLimit:
        return "step-limit";
    }
    return {};
}

int ExitStatusOf(const RunReport& report)
{
    switch (report.status) {
    case RunStatus::Halted:
        return report.differences && !report.differences->empty() ? ExitStatus::Differs
                                                                  : ExitStatus::Halted;
    case RunStatus::Unreadable:
    case RunStatus::NotAssembled:
        return ExitStatus::NotAssembled;
    case RunStatus::MachineError:
        return ExitStatus::MachineError;
    case RunStatus::StepLimit:
        return ExitStatus::StepLimit;
    }
    return ExitStatus::MachineError;
}

void WritePlainReport(std::ostream& out, const RunReport& report)
{
    out << "status: " << StatusName(report.status) << '\n' << "steps: " << report.steps << '\n';
    const auto& registers = report.state.registers;
    for (std::size_t number = 0; number < registers.size(); ++number) {
        const int value = registers[number];
        out << 'R' << HexDigit(static_cast<int>(number)) << '='
            << (value == -1 ? "--" : FormatNumber(value, HexRadix))
            << (number % 8 == 7 ? '\n' : ' ');
    }
    out << "PC=" << FormatNumber(report.state.pc, HexRadix) << '\n' << "memory:\n";
    for (std::size_t address = 0; address < report.state.memory.size(); ++address) {
        if (report.state.memory[address] != -1) {
            out << address << ' ' << report.state.memory[address] << '\n';
        }
    }
    if (report.differences && !report.differences->empty()) {
        out << "differences:\n";
        for (const std::string& difference : *report.differences) {
            out << difference << '\n';
        }
    }
}

void WriteJsonMembers(std::ostream& out, const RunReport& report)
{
    out << "\"status\":" << JsonString(StatusName(report.status));
    if (report.status == RunStatus::Unreadable) {
        out << ",\"errors\":";
        WriteJsonStrings(out, {report.readProblem});
        return;
    }
    out << ",\"steps\":" << report.steps << ",\"pc\":" << report.state.pc << ",\"registers\":[";
    const auto& registers = report.state.registers;
    for (std::size_t number = 0; number < registers.size(); ++number) {
        out << (number == 0 ? "" : ",");
        if (registers[number] == -1) {
            out << "null";
        } else {
            out << registers[number];
        }
    }
    out << "],\"memory\":{";
    const char* separator = "";
    for (std::size_t address = 0; address < report.state.memory.size(); ++address) {
        if (report.state.memory[address] != -1) {
            out << separator << '"' << address << "\":" << report.state.memory[address];
            separator = ",";
        }
    }
    out << "},\"errors\":";
    WriteJsonStrings(out, report.errors);
    if (report.differences) {
        out << ",\"differences\":";
        WriteJsonStrings(out, *report.differences);
    }
}

std::string FirstProblem(const RunReport& report, long long maxSteps)
{
    if (report.status == RunStatus::Unreadable) {
        return report.readProblem;
    }
    if (report.differences && !report.differences->empty()) {
        return report.differences->front();
    }
    if (report.status == RunStatus::StepLimit) {
        return "no halt within " + std::to_string(maxSteps) + " steps";
    }
    return report.errors.empty() ? std::string() : report.errors.front();
}
