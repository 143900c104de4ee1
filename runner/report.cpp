#include "runner/report.h"

#include "assembler/hex_digits.h"
#include "runner/exit_status.h"
#include "texts/number_text.h"

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
    case RunStatus::TimeLimit:
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

Json ReportJson(const RunReport& report)
{
    Json object;
    object["status"] = StatusName(report.status);
    if (report.status == RunStatus::Unreadable) {
        object["errors"] = Json::array({report.readProblem});
        return object;
    }
    object["steps"] = report.steps;
    object["pc"] = report.state.pc;
    Json registers = Json::array();
    for (const int value : report.state.registers) {
        registers.push_back(value == -1 ? Json() : Json(value));
    }
    object["registers"] = std::move(registers);
    Json memory = Json::object();
    for (std::size_t address = 0; address < report.state.memory.size(); ++address) {
        if (report.state.memory[address] != -1) {
            memory[std::to_string(address)] = report.state.memory[address];
        }
    }
    object["memory"] = std::move(memory);
    object["errors"] = report.errors;
    if (report.differences) {
        object["differences"] = *report.differences;
    }
    return object;
}
