#include "runner/step_explanation.h"

#include "texts/micro_step_narration.h"
#include "texts/number_text.h"

void StepExplainer::Step(CCpu& machine)
{
    CycleState cycle = CycleState::AwaitFetch;
    do {
        collector_.Begin(machine.GetState());
        machine.MicroStep();
        tell_(NarrationOf(collector_.Finish(), HexRadix));
        cycle = machine.Control().cycle;
    } while (cycle != CycleState::AwaitFetch && cycle != CycleState::Halted);
}
