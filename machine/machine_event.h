#pragma once

// The one notification through which the machine and the assembler report
// every write, read, decoded field, phase and error to their owner.
using EventSink = void (*)(int code, int value, int index);

namespace MachineEvent {
enum Code : int {
    StartSet = 0,
    PcSet = 1,
    PcGet = 2,
    IrhSet = 3,
    IrhGet = 4,
    IrlSet = 5,
    IrlGet = 6,
    RegisterSet = 7,
    RegisterGet = 8,
    MemorySet = 9,
    MemoryGet = 10,
    FieldDecoded = 11,
    Phase = 12,
    Error = 13,
};
} // namespace MachineEvent

// The value of a Phase event: the micro-step that begins, or the halt.
namespace MachinePhase {
enum Code : int {
    Halted = 0,
    Fetch = 1,
    Decode = 2,
    Execute = 3,
};
} // namespace MachinePhase
