#pragma once

#include "machine/cpu.h"

#include <array>
#include <span>

// One read or write of a micro-step: the event's code (PcSet, MemoryGet,
// FieldDecoded, ...) and index, and the value that moved. A write carries the
// value written; a read, which the machine reports without a value, carries
// the value as it was before the micro-step.
struct MicroStepAccess {
    int code;
    int index;
    int value;
};

struct MicroStepError {
    int subCode;
    int index;
};

// What one micro-step did, as a plain value: fixed storage, so keeping and
// copying it allocates nothing.
struct MicroStepRecord {
    // The most a micro-step reports: a fetch makes 6 accesses, a decode 6
    // (two reads and four fields); ADD of two registers without value sends 4 errors.
    static constexpr int MaxAccesses = 8;
    static constexpr int MaxErrors = 4;

    // 1 fetch, 2 decode, 3 execute (the values of MachinePhase); 0 when the
    // machine was halted and the micro-step did nothing.
    int phase = 0;
    bool halted = false; // the machine halted at its end
    CpuControl before;   // the control fields before it, with the decoded fields
    std::array<int, CCpu::RegisterCount> registers{}; // the registers before it
    std::array<MicroStepAccess, MaxAccesses> accesses{};
    int accessCount = 0;
    std::array<MicroStepError, MaxErrors> errors{};
    int errorCount = 0;

    std::span<const MicroStepAccess> Accesses() const
    {
        return {accesses.data(), static_cast<std::size_t>(accessCount)};
    }
    std::span<const MicroStepError> Errors() const
    {
        return {errors.data(), static_cast<std::size_t>(errorCount)};
    }
    // The first access with the event code, or null.
    const MicroStepAccess* Find(int code) const;
    bool HasError(int subCode) const;
    // A decoded field (0 opcode, 1 R, 2 X, 3 Y): as this micro-step decoded
    // it, or as it was decoded before.
    int DecodedField(int field) const;
};

// Builds the record of each micro-step from the machine's events. The owner
// passes it every event of the machine; only those between Begin and Finish
// count, so it costs a comparison outside micro-steps.
class CMicroStepCollector {
public:
    // Just before the machine's micro-step, with the machine's state then.
    void Begin(const CpuState& before);
    void Observe(int code, int value, int index);
    // Just after the micro-step; the record stays valid until the next Begin.
    const MicroStepRecord& Finish();

private:
    MicroStepRecord record_;
    // A micro-step reads memory only at PC and PC + 1 (fetch) and at XY (LOADA).
    std::array<int, 3> cellAddresses_{};
    std::array<int, 3> cellsBefore_{};
    bool collecting_ = false;
};
