#include "event_log.h"
#include "machine/step_recorder.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

CStepRecorder* observer = nullptr;

// The machine's owner hands each event to its recorder.
void HandOn(int code, int value, int index)
{
    if (observer) {
        observer->Observe(code, value, index);
    }
}

// LOAD R1,01; ADD R2,R2,R1; STORE R2,@80; JUMP R0,@02: counts for ever,
// writing a register or a cell in most micro-steps.
struct CountingMachine {
    CCpu cpu{HandOn};
    CStepRecorder recorder{cpu};

    CountingMachine()
    {
        observer = &recorder;
        LoadBytes(cpu, 0, {0x21, 0x01, 0x52, 0x21, 0x32, 0x80, 0xB0, 0x02});
        cpu.SetRegister(0, 0);
        cpu.SetRegister(2, 0);
        cpu.Reset();
        recorder.Restart();
    }
    ~CountingMachine() { observer = nullptr; }

    // The state before each micro-step.
    std::vector<CpuState> Run(int microSteps)
    {
        std::vector<CpuState> states;
        for (int step = 0; step < microSteps; ++step) {
            states.push_back(cpu.GetState());
            recorder.MicroStep();
        }
        return states;
    }
};

struct OutsideChange {
    const char* name;
    std::function<void(CCpu&)> change;
    int kept; // micro-steps still recorded
};

void PrintTo(const OutsideChange& change, std::ostream* out)
{
    *out << change.name;
}

class StepRecorderOutside : public testing::TestWithParam<OutsideChange> {};

} // namespace

TEST(StepRecorder, KeepsTheLastHundredThousandMicroStepsAndGoesBackExactly)
{
    CountingMachine machine;
    const int extra = 30;
    const std::vector<CpuState> before = machine.Run(CStepRecorder::Capacity + extra);
    EXPECT_EQ(machine.recorder.Size(), CStepRecorder::Capacity);
    EXPECT_EQ(machine.recorder.InstructionsRun(), (CStepRecorder::Capacity + extra) / 3);

    EXPECT_EQ(machine.recorder.MicroStepsBack(1), 1);
    EXPECT_EQ(machine.cpu.GetState(), before.back());
    EXPECT_EQ(machine.recorder.InstructionBack(), 3); // the whole JUMP, STORE or ADD before it
    EXPECT_EQ(machine.cpu.GetState(), before[before.size() - 4]);
    EXPECT_EQ(machine.recorder.MicroStepsBack(CStepRecorder::Capacity),
              CStepRecorder::Capacity - 4);
    EXPECT_EQ(machine.cpu.GetState(), before[extra]);
    EXPECT_EQ(machine.recorder.MicroStepsBack(1), 0);
    EXPECT_EQ(machine.recorder.InstructionsRun(), extra / 3);
    EXPECT_LT(CStepRecorder::FullSize(), 2u << 20); // bytes
}

TEST_P(StepRecorderOutside, AChangeFromOutsideEmptiesTheRecord)
{
    CountingMachine machine;
    machine.Run(7);
    GetParam().change(machine.cpu);
    EXPECT_EQ(machine.recorder.Size(), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, StepRecorderOutside,
    testing::Values(OutsideChange{"Cell", [](CCpu& cpu) { cpu.SetMemory(0x90, 1); }, 0},
                    OutsideChange{"Register", [](CCpu& cpu) { cpu.SetRegister(5, 1); }, 0},
                    OutsideChange{"Pc", [](CCpu& cpu) { cpu.SetPc(0); }, 0},
                    OutsideChange{"Start", [](CCpu& cpu) { cpu.SetStartAddress(0); }, 0},
                    OutsideChange{"Reset", [](CCpu& cpu) { cpu.Reset(); }, 0},
                    OutsideChange{"ClearMemory", [](CCpu& cpu) { cpu.ClearMemory(-1); }, 0},
                    OutsideChange{"RefusedWrite", [](CCpu& cpu) { cpu.SetRegister(5, 300); }, 7},
                    OutsideChange{"Halt", [](CCpu& cpu) { cpu.Halt(); }, 7}),
    [](const testing::TestParamInfo<OutsideChange>& info) { return info.param.name; });
