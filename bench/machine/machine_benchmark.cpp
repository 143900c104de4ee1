#include "machine/cpu.h"
#include "machine/micro_step_record.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>
#include <vector>

// Every allocation of the program is counted, so that a benchmark can show
// that its steady state allocates nothing. Not inlined: the compiler would
// otherwise pair the counting new with free and warn.
namespace {
long long allocations = 0;
} // namespace

[[gnu::noinline]] void* operator new(std::size_t size)
{
    ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

[[gnu::noinline]] void operator delete(void* memory) noexcept
{
    std::free(memory);
}

[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

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

CMicroStepCollector collector;

void CollectEvent(int code, int value, int index)
{
    collector.Observe(code, value, index);
}

// What the window pays for the record of each micro-step: the state before
// it and the events collected.
void MicroStepsCollected(benchmark::State& state)
{
    CCpu cpu(CollectEvent);
    LoadLoop(cpu);
    const long long allocationsBefore = allocations;
    for (auto _ : state) {
        collector.Begin(cpu.GetState());
        cpu.MicroStep();
        benchmark::DoNotOptimize(&collector.Finish());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["allocations"] = benchmark::Counter(
        static_cast<double>(allocations - allocationsBefore), benchmark::Counter::kAvgIterations);
}

// The larger part of a collected micro-step: the state taken before it.
void StatesTaken(benchmark::State& state)
{
    CCpu cpu(IgnoreEvent);
    for (auto _ : state) {
        benchmark::DoNotOptimize(cpu.GetState());
    }
}

} // namespace

BENCHMARK(MicroStepsIgnoringEvents);
BENCHMARK(MicroStepsRecordingEvents);
BENCHMARK(MicroStepsCollected);
BENCHMARK(StatesTaken);
