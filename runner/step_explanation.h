#pragma once

#include "machine/cpu.h"
#include "machine/micro_step_record.h"

#include <functional>
#include <string>
#include <utility>

// Makes the machine's instructions a micro-step at a time and tells each
// micro-step in a sentence once it is made (--explain).
class StepExplainer {
public:
    using Teller = std::function<void(const std::string&)>;

    explicit StepExplainer(Teller tell) : tell_(std::move(tell)) {}

    // Every event of the machine.
    void Observe(int code, int value, int index) { collector_.Observe(code, value, index); }
    // One instruction, or what is left of it, as CCpu::Step makes it.
    void Step(CCpu& machine);

private:
    Teller tell_;
    CMicroStepCollector collector_;
};
