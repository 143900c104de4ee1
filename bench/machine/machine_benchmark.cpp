#include "machine/cpu.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

struct Event {
    int code;
    int value;
    int index;
};

constexpr std::size_t recordCapacity = 1 << 16;
std::vector<Event> recorded;

void IgnoreEvent(int, int, int) {}

// Clearing when full keeps the vector at its first allocation.
void RecordEvent(int code, int value, int index)
{
    if (recorded.size() == recordCapacity) {
        recorded.clear();
    }
    recorded.push_back({code, value, index});
}

// An endless loop that touches every kind of step: immediate load, register
// arithmetic, a store, a rotation and a jump.
void LoadLoop(CCpu& cpu)
{
    const int program[] = {
        0x21, 0x01, // 00: LOAD R1, 01
        0x52, 0x21, // 02: ADD R2, R2, R1
        0x32, 0x80, // 04: STORE R2, 80
        0xA3, 0x01, // 06: ROTATE R3, 1
        0xB0, 0x02, // 08: JUMP R0, 02
    };
    int address = 0;
    for (int byte : program) {
        cpu.SetMemory(address++, byte);
    }
    cpu.SetStartAddress(0);
    cpu.Reset();
}

void RunMicroSteps(benchmark::State& state, EventSink sink)
{
    recorded.reserve(recordCapacity);
    CCpu cpu(sink);
    LoadLoop(cpu);
    for (auto _ : state) {
        cpu.MicroStep();
    }
    // One item is one micro-step.
    state.SetItemsProcessed(state.iterations());
}

void MicroStepsIgnoringEvents(benchmark::State& state)
{
    RunMicroSteps(state, IgnoreEvent);
}
void MicroStepsRecordingEvents(benchmark::State& state)
{
    RunMicroSteps(state, RecordEvent);
}

} // namespace

BENCHMARK(MicroStepsIgnoringEvents);
BENCHMARK(MicroStepsRecordingEvents);
