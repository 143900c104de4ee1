#pragma once

#include "machine/cpu.h"

#include <initializer_list>
#include <ostream>
#include <vector>

struct Event {
    int code;
    int value;
    int index;
    bool operator==(const Event&) const = default;
};

inline void PrintTo(const Event& event, std::ostream* out)
{
    *out << "{" << event.code << ", " << event.value << ", " << event.index << "}";
}

// The sink is a plain function, so the events of every machine go to one log.
inline std::vector<Event> eventLog;

inline void RecordEvent(int code, int value, int index)
{
    eventLog.push_back({code, value, index});
}

using Events = std::vector<Event>;

constexpr Event ErrorEvent(int subCode, int index)
{
    return {MachineEvent::Error, subCode, index};
}

// A machine with empty memory and registers and an empty log.
struct ClearedCpu {
    CCpu cpu{RecordEvent};
    ClearedCpu()
    {
        cpu.ClearMemory(-1);
        cpu.ClearRegisters(-1);
        eventLog.clear();
    }
};

inline void LoadBytes(CCpu& cpu, int address, std::initializer_list<int> bytes)
{
    for (int byte : bytes) {
        cpu.SetMemory(address++ % CCpu::MemorySize, byte);
    }
}
