// Adding and assembling the rows of a program: the time per row stays the same
// however many rows there are (a binary file opened as source gives hundreds
// of thousands, and the line array grows all the way).
#include "assembler/assembler.h"

#include <benchmark/benchmark.h>

namespace {

void IgnoreEvent(int, int, int) {}

void AddAndAssembleRows(benchmark::State& state)
{
    const auto rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CAssembler assembler(IgnoreEvent);
        for (int row = 1; row <= rows; ++row) {
            assembler.AddLine(row, "", "LOAD", "R1,05");
        }
        benchmark::DoNotOptimize(assembler.Assemble(0));
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.SetComplexityN(rows);
}

} // namespace

BENCHMARK(AddAndAssembleRows)->RangeMultiplier(4)->Range(1 << 10, 1 << 18)->Complexity();
