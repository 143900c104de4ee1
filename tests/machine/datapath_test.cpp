// What lights in the datapath for each kind of micro-step, from a real
// machine's events, and the tables' geometry.
#include "machine/datapath.h"
#include "tests/big5.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using B = DatapathBlock;
using P = DatapathPath;

CMicroStepCollector* collector = nullptr;

void Collect(int code, int value, int index)
{
    collector->Observe(code, value, index);
}

constexpr LitPath Read(P path, int value)
{
    return {path, value, false, false};
}
constexpr LitPath Write(P path, int value)
{
    return {path, value, false, true};
}
constexpr LitPath Field(P path, int value, bool written = false)
{
    return {path, value, true, written};
}

struct LightingCase {
    const char* name;
    std::vector<int> bytes;                     // from address 00
    std::vector<std::pair<int, int>> registers; // number and value, before the run
    int microStep;                              // the one looked at, counted from 1
    std::vector<LitPath> paths;
    std::vector<DatapathBlock> blocks; // lit, failed ones included
    std::vector<DatapathBlock> failed = {};
};

void PrintTo(const LightingCase& test, std::ostream* out)
{
    *out << test.name;
}

MicroStepRecord RecordOf(const LightingCase& test)
{
    CMicroStepCollector steps;
    collector = &steps;
    CCpu cpu(Collect);
    cpu.ClearMemory(-1);
    cpu.ClearRegisters(-1);
    for (std::size_t address = 0; address < test.bytes.size(); ++address) {
        cpu.SetMemory(static_cast<int>(address), test.bytes[address]);
    }
    for (const auto& [number, value] : test.registers) {
        cpu.SetRegister(number, value);
    }
    MicroStepRecord record;
    for (int step = 0; step < test.microStep; ++step) {
        steps.Begin(cpu.GetState());
        cpu.MicroStep();
        record = steps.Finish();
    }
    collector = nullptr;
    return record;
}

class DatapathLightingTest : public testing::TestWithParam<LightingCase> {};

} // namespace

TEST_P(DatapathLightingTest, LightsThePathsAndBlocksOfTheMicroStep)
{
    const LightingCase& test = GetParam();
    const DatapathLighting lighting = LightDatapath(RecordOf(test));
    const auto paths = lighting.Paths();
    EXPECT_EQ(std::vector<LitPath>(paths.begin(), paths.end()), test.paths);
    std::vector<DatapathBlock> blocks;
    std::vector<DatapathBlock> failed;
    for (const LitBlock& block : lighting.Blocks()) {
        blocks.push_back(block.block);
        if (block.failed) {
            failed.push_back(block.block);
        }
    }
    EXPECT_EQ(blocks, test.blocks);
    EXPECT_EQ(failed, test.failed);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DatapathLightingTest,
    testing::Values(
        LightingCase{"Fetch",
                     {0x21, 0x05},
                     {},
                     1,
                     {Read(P::PcToMemoryAddress, 0x00), Write(P::MemoryToIrh, 0x21),
                      Write(P::MemoryToIrl, 0x05), Read(P::PcToAdder, 0x00),
                      Write(P::AdderToPc, 0x02)},
                     {B::Control, B::PhaseFetch, B::Pc, B::PcAdder, B::Memory, B::MemoryAddress,
                      B::MemoryData, B::Ir, B::Irh, B::Irl}},
        LightingCase{"Decode",
                     {0x21, 0x05},
                     {},
                     2,
                     {Read(P::IrhToDecoder, 0x21), Read(P::IrlToDecoder, 0x05),
                      Field(P::DecoderToOpcode, 2, true), Field(P::DecoderToR, 1, true),
                      Field(P::DecoderToX, 0, true), Field(P::DecoderToY, 5, true)},
                     {B::Control, B::PhaseDecode, B::Ir, B::Irh, B::Irl, B::Decoder, B::FieldOpcode,
                      B::FieldR, B::FieldX, B::FieldY}},
        LightingCase{"Loada",
                     {0x15, 0x03, 0xC0, 0x07},
                     {},
                     3,
                     {Field(P::OpcodeToControl, 1), Field(P::RToRegisters, 5),
                      Read(P::XyToMemoryAddress, 0x03), Write(P::MemoryToRegisters, 0x07)},
                     {B::Control, B::PhaseExecute, B::FieldOpcode, B::FieldR, B::FieldX, B::FieldY,
                      B::Memory, B::MemoryAddress, B::MemoryData, B::Registers}},
        LightingCase{"Load",
                     {0x25, 0x6C},
                     {},
                     3,
                     {Field(P::OpcodeToControl, 2), Field(P::RToRegisters, 5),
                      Write(P::XyToRegisters, 0x6C)},
                     {B::Control, B::PhaseExecute, B::FieldOpcode, B::FieldR, B::FieldX, B::FieldY,
                      B::Registers}},
        LightingCase{"Store",
                     {0x33, 0x40},
                     {{3, 0x08}},
                     3,
                     {Field(P::OpcodeToControl, 3), Field(P::RToRegisters, 3),
                      Read(P::XyToMemoryAddress, 0x40), Write(P::RegistersToMemory, 0x08)},
                     {B::Control, B::PhaseExecute, B::FieldOpcode, B::FieldR, B::FieldX, B::FieldY,
                      B::Registers, B::Memory, B::MemoryAddress, B::MemoryData}},
        LightingCase{
            "Move",
            {0x40, 0x12},
            {{1, 0x07}},
            3,
            {Field(P::OpcodeToControl, 4), Field(P::XToRegisters, 1), Field(P::YToRegisters, 2),
             Write(P::RegisterCopy, 0x07)},
            {B::Control, B::PhaseExecute, B::FieldOpcode, B::FieldX, B::FieldY, B::Registers}},
        // Operand A is R1 as it was before the sum replaced it.
        LightingCase{
            "AddIntoAnOperand",
            {0x51, 0x12},
            {{1, 0x05}, {2, 0x03}},
            3,
            {Field(P::OpcodeToControl, 5), Field(P::RToRegisters, 1), Field(P::XToRegisters, 1),
             Field(P::YToRegisters, 2), Read(P::RegistersToIntegerAdderA, 0x05),
             Read(P::RegistersToIntegerAdderB, 0x03), Write(P::IntegerAdderToRegisters, 0x08)},
            {B::Control, B::PhaseExecute, B::FieldOpcode, B::FieldR, B::FieldX, B::FieldY,
             B::IntegerAdder, B::Registers}},
        LightingCase{
            "AddOfARegisterWithoutValue",
            {0x53, 0x12},
            {{1, 0x05}},
            3,
            {Field(P::OpcodeToControl, 5), Field(P::RToRegisters, 3), Field(P::XToRegisters, 1),
             Field(P::YToRegisters, 2), Read(P::RegistersToIntegerAdderA, 0x05),
             Read(P::RegistersToIntegerAdderB, -1), Write(P::IntegerAdderToRegisters, 0x04)},
            {B::Control, B::PhaseExecute, B::FieldOpcode, B::FieldR, B::FieldX, B::FieldY,
             B::IntegerAdder, B::Registers},
            {B::Registers}},
        LightingCase{"Addf",
                     {0x63, 0x12},
                     {{1, 0x48}, {2, 0x38}},
                     3,
                     {Field(P::OpcodeToControl, 6), Field(P::RToRegisters, 3),
                      Field(P::XToRegisters, 1), Field(P::YToRegisters, 2),
                      Read(P::RegistersToFloatAdderA, 0x48), Read(P::RegistersToFloatAdderB, 0x38),
                      Write(P::FloatAdderToRegisters, 0x4C)},
                     {B::Control, B::PhaseExecute, B::FieldOpcode, B::FieldR, B::FieldX, B::FieldY,
                      B::FloatAdder, B::Registers}},
        LightingCase{"Xor",
                     {0x93, 0x12},
                     {{1, 0x05}, {2, 0x03}},
                     3,
                     {Field(P::OpcodeToControl, 9), Field(P::RToRegisters, 3),
                      Field(P::XToRegisters, 1), Field(P::YToRegisters, 2),
                      Read(P::RegistersToLogicUnitA, 0x05), Read(P::RegistersToLogicUnitB, 0x03),
                      Write(P::LogicUnitToRegisters, 0x06)},
                     {B::Control, B::PhaseExecute, B::FieldOpcode, B::FieldR, B::FieldX, B::FieldY,
                      B::LogicUnit, B::Registers}},
        LightingCase{"Rotate",
                     {0xA1, 0x04},
                     {{1, 0x5A}},
                     3,
                     {Field(P::OpcodeToControl, 10), Field(P::RToRegisters, 1),
                      Read(P::RegistersToRotator, 0x5A), Field(P::YToRotator, 4),
                      Write(P::RotatorToRegisters, 0xA5)},
                     {B::Control, B::PhaseExecute, B::FieldOpcode, B::FieldR, B::FieldY, B::Rotator,
                      B::Registers}},
        LightingCase{"JumpTaken",
                     {0xB1, 0x04},
                     {{0, 0x0A}, {1, 0x0A}},
                     3,
                     {Field(P::OpcodeToControl, 11), Field(P::RToRegisters, 1),
                      Read(P::RegistersToComparatorA, 0x0A), Read(P::RegistersToComparatorB, 0x0A),
                      Read(P::ComparatorToControl, -1), Write(P::XyToPc, 0x04)},
                     {B::Control, B::PhaseExecute, B::FieldOpcode, B::FieldR, B::FieldX, B::FieldY,
                      B::Registers, B::Comparator, B::Pc}},
        LightingCase{
            "JumpNotTaken",
            {0xB1, 0x04},
            {{0, 0x0A}, {1, 0x05}},
            3,
            {Field(P::OpcodeToControl, 11), Field(P::RToRegisters, 1),
             Read(P::RegistersToComparatorA, 0x05), Read(P::RegistersToComparatorB, 0x0A),
             Read(P::ComparatorToControl, -1)},
            {B::Control, B::PhaseExecute, B::FieldOpcode, B::FieldR, B::Registers, B::Comparator}},
        LightingCase{"Halt",
                     {0xC0, 0x00},
                     {},
                     3,
                     {Field(P::OpcodeToControl, 12)},
                     {B::Control, B::PhaseExecute, B::FieldOpcode}},
        LightingCase{"FetchOfACellWithoutValue",
                     {},
                     {},
                     1,
                     {},
                     {B::Control, B::PhaseFetch, B::Memory},
                     {B::Memory}},
        LightingCase{"UndefinedOpcode",
                     {0xE5, 0x00},
                     {},
                     2,
                     {},
                     {B::Control, B::PhaseDecode, B::Decoder},
                     {B::Decoder}}),
    [](const testing::TestParamInfo<LightingCase>& info) { return info.param.name; });

// Each path leaves its block and reaches the other along lines a picture can
// draw: within the grid, across or down, ends on the blocks' edges.
TEST(DatapathTables, PathsJoinTheirBlocksOnTheGrid)
{
    const auto onEdge = [](GridPoint point, GridRect rect) {
        const bool inside = point.x >= rect.x && point.x <= rect.x + rect.width &&
                            point.y >= rect.y && point.y <= rect.y + rect.height;
        const bool onBorder = point.x == rect.x || point.x == rect.x + rect.width ||
                              point.y == rect.y || point.y == rect.y + rect.height;
        return inside && onBorder;
    };
    const auto blocks = DatapathBlocks();
    for (const DatapathBlockShape& block : blocks) {
        EXPECT_TRUE(ConvertsToBig5(std::string(block.label))) << block.label;
        EXPECT_LE(block.rect.x + block.rect.width, DatapathColumns) << block.label;
        EXPECT_LE(block.rect.y + block.rect.height, DatapathRows) << block.label;
    }
    for (const DatapathPathShape& path : DatapathPaths()) {
        const auto points = path.Points();
        const int number = static_cast<int>(path.path);
        ASSERT_GE(points.size(), 2U) << number;
        EXPECT_TRUE(onEdge(points.front(), blocks[static_cast<std::size_t>(path.from)].rect))
            << number;
        EXPECT_TRUE(onEdge(points.back(), blocks[static_cast<std::size_t>(path.to)].rect))
            << number;
        for (std::size_t i = 1; i < points.size(); ++i) {
            EXPECT_TRUE(points[i].x == points[i - 1].x || points[i].y == points[i - 1].y)
                << number << " at point " << i;
        }
        for (const GridPoint point : points) {
            EXPECT_TRUE(point.x >= 0 && point.x <= DatapathColumns && point.y >= 0 &&
                        point.y <= DatapathRows)
                << number;
        }
    }
}
