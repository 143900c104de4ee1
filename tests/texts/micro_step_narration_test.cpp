// The sentences in decimal; every opcode and error is told through mira-run --explain.
#include "texts/micro_step_narration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CMicroStepCollector* collector = nullptr;

void Collect(int code, int value, int index)
{
    collector->Observe(code, value, index);
}

} // namespace

TEST(MicroStepNarration, DecimalBytesAndAddressesButAHexadecimalDecode)
{
    CMicroStepCollector steps;
    collector = &steps;
    CCpu cpu(Collect);
    cpu.SetMemory(6, 0xB1);
    cpu.SetMemory(7, 0x0C);
    cpu.SetRegister(0, 10);
    cpu.SetRegister(1, 5);
    cpu.SetStartAddress(6);
    cpu.Reset();
    std::vector<std::string> sentences;
    for (int step = 0; step < 3; ++step) {
        steps.Begin(cpu.GetState());
        cpu.MicroStep();
        sentences.push_back(NarrationOf(steps.Finish(), 10));
    }
    cpu.Halt();
    steps.Begin(cpu.GetState());
    cpu.MicroStep();
    sentences.push_back(NarrationOf(steps.Finish(), 10));
    collector = nullptr;

    EXPECT_EQ(sentences,
              (std::vector<std::string>{
                  "擷取：從記憶體 006、007 讀出 177 012 放入指令暫存器，PC 由 006 變成 008",
                  "解碼：B10C 是 JUMP：若 R1 等於 R0 則跳到 0C",
                  "執行：R1 = 005 不等於 R0 = 010，不跳，PC 仍為 008",
                  "", // a halted machine does nothing
              }));
}
