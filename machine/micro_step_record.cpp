#include "machine/micro_step_record.h"

#include <algorithm>

const MicroStepAccess* MicroStepRecord::Find(int code) const
{
    const auto accesses = Accesses();
    const auto found =
        std::find_if(accesses.begin(), accesses.end(),
                     [code](const MicroStepAccess& access) { return access.code == code; });
    return found == accesses.end() ? nullptr : &*found;
}

bool MicroStepRecord::HasError(int subCode) const
{
    const auto errors = Errors();
    return std::any_of(errors.begin(), errors.end(),
                       [subCode](const MicroStepError& error) { return error.subCode == subCode; });
}

int MicroStepRecord::DecodedField(int field) const
{
    for (const MicroStepAccess& access : Accesses()) {
        if (access.code == MachineEvent::FieldDecoded && access.index == field) {
            return access.value;
        }
    }
    const int fields[] = {before.opcode, before.r, before.x, before.y};
    return fields[field];
}

void CMicroStepCollector::Begin(const CpuState& before)
{
    record_.phase = 0;
    record_.halted = false;
    record_.before = before.control;
    record_.registers = before.registers;
    record_.accessCount = 0;
    record_.errorCount = 0;
    const int pc = before.control.pc;
    cellAddresses_ = {pc, (pc + 1) % CCpu::MemorySize, before.control.irl};
    for (std::size_t cell = 0; cell < cellAddresses_.size(); ++cell) {
        cellsBefore_[cell] = before.memory[static_cast<std::size_t>(cellAddresses_[cell])];
    }
    collecting_ = true;
}

const MicroStepRecord& CMicroStepCollector::Finish()
{
    collecting_ = false;
    return record_;
}

void CMicroStepCollector::Observe(int code, int value, int index)
{
    if (!collecting_) {
        return;
    }
    const CpuControl& before = record_.before;
    switch (code) {
    case MachineEvent::Phase:
        if (value == MachinePhase::Halted) {
            record_.halted = true;
        } else {
            record_.phase = value;
        }
        return;
    case MachineEvent::Error:
        if (record_.errorCount < MicroStepRecord::MaxErrors) {
            record_.errors[static_cast<std::size_t>(record_.errorCount++)] = {value, index};
        }
        return;
    case MachineEvent::PcGet:
        value = before.pc;
        break;
    case MachineEvent::IrhGet:
        value = before.irh;
        break;
    case MachineEvent::IrlGet:
        value = before.irl;
        break;
    case MachineEvent::RegisterGet:
        value = index >= 0 && index < CCpu::RegisterCount
                    ? record_.registers[static_cast<std::size_t>(index)]
                    : -1;
        break;
    case MachineEvent::MemoryGet: {
        const auto cell = std::find(cellAddresses_.begin(), cellAddresses_.end(), index);
        value = cell == cellAddresses_.end() ? -1 : cellsBefore_[cell - cellAddresses_.begin()];
        break;
    }
    default:
        break;
    }
    if (record_.accessCount < MicroStepRecord::MaxAccesses) {
        record_.accesses[static_cast<std::size_t>(record_.accessCount++)] = {code, index, value};
    }
}
