#include "machine/datapath.h"

#include <algorithm>
#include <iterator>

namespace {

using B = DatapathBlock;
using P = DatapathPath;
using C = Carried;

// The grid is 96 by 64: control, instruction register, decoder with its
// fields and the registers down the left; PC, memory and the units down the
// right. Between them run the operand buses A (x 46) and B (x 50), the result
// bus (x 56) and the lanes of XY; the memory's data bus runs along y 30.
constexpr DatapathBlockShape Blocks[] = {
    {B::Control, "控制單元", {2, 2, 40, 10}},
    {B::PhaseFetch, "擷取", {4, 6, 11, 4}},
    {B::PhaseDecode, "解碼", {17, 6, 11, 4}},
    {B::PhaseExecute, "執行", {30, 6, 10, 4}},
    {B::Pc, "PC", {54, 2, 14, 6}},
    {B::PcAdder, "+2", {76, 2, 10, 6}},
    {B::Memory, "記憶體", {54, 14, 40, 14}},
    {B::MemoryAddress, "位址", {56, 18, 16, 8}},
    {B::MemoryData, "資料", {74, 18, 18, 8}},
    {B::Ir, "指令暫存器", {2, 16, 40, 12}},
    {B::Irh, "IRH", {4, 20, 17, 6}},
    {B::Irl, "IRL", {23, 20, 17, 6}},
    {B::Decoder, "解碼器", {2, 32, 40, 6}},
    {B::FieldOpcode, "運算碼", {2, 42, 10, 4}},
    {B::FieldR, "R", {13, 42, 9, 4}},
    {B::FieldX, "S/X", {23, 42, 9, 4}},
    {B::FieldY, "T/Y", {33, 42, 9, 4}},
    {B::Registers, "暫存器 R0-RF", {2, 50, 40, 12}},
    {B::IntegerAdder, "整數加法器", {60, 34, 30, 4}},
    {B::FloatAdder, "浮點加法器", {60, 40, 30, 4}},
    {B::LogicUnit, "邏輯單元", {60, 46, 30, 4}},
    {B::Rotator, "旋轉器", {60, 52, 30, 4}},
    {B::Comparator, "比較器", {60, 58, 30, 4}},
};

constexpr DatapathPathShape Paths[] = {
    {P::PcToMemoryAddress, B::Pc, B::MemoryAddress, {{{61, 8}, {61, 18}}}, 2},
    {P::MemoryToIrh, B::MemoryData, B::Irh, {{{78, 26}, {78, 30}, {14, 30}, {14, 26}}}, 4},
    {P::MemoryToIrl, B::MemoryData, B::Irl, {{{78, 26}, {78, 30}, {30, 30}, {30, 26}}}, 4},
    {P::PcToAdder, B::Pc, B::PcAdder, {{{68, 4}, {76, 4}}}, 2},
    {P::AdderToPc, B::PcAdder, B::Pc, {{{76, 6}, {68, 6}}}, 2},
    {P::IrhToDecoder, B::Irh, B::Decoder, {{{8, 26}, {8, 32}}}, 2},
    {P::IrlToDecoder, B::Irl, B::Decoder, {{{36, 26}, {36, 32}}}, 2},
    {P::DecoderToOpcode, B::Decoder, B::FieldOpcode, {{{7, 38}, {7, 42}}}, 2},
    {P::DecoderToR, B::Decoder, B::FieldR, {{{17, 38}, {17, 42}}}, 2},
    {P::DecoderToX, B::Decoder, B::FieldX, {{{27, 38}, {27, 42}}}, 2},
    {P::DecoderToY, B::Decoder, B::FieldY, {{{37, 38}, {37, 42}}}, 2},
    {P::OpcodeToControl, B::FieldOpcode, B::Control, {{{2, 44}, {0, 44}, {0, 8}, {2, 8}}}, 4},
    {P::RToRegisters, B::FieldR, B::Registers, {{{17, 46}, {17, 50}}}, 2},
    {P::XToRegisters, B::FieldX, B::Registers, {{{25, 46}, {25, 50}}}, 2},
    {P::YToRegisters, B::FieldY, B::Registers, {{{39, 46}, {39, 50}}}, 2},
    {P::XyToMemoryAddress,
     B::FieldY,
     B::MemoryAddress,
     {{{42, 43}, {53, 43}, {53, 22}, {56, 22}}},
     4},
    {P::MemoryToRegisters,
     B::MemoryData,
     B::Registers,
     {{{84, 26}, {84, 30}, {44, 30}, {44, 57}, {42, 57}}},
     5},
    {P::XyToRegisters, B::FieldX, B::Registers, {{{32, 46}, {32, 50}}}, 2},
    {P::RegistersToMemory,
     B::Registers,
     B::MemoryData,
     {{{42, 57}, {44, 57}, {44, 30}, {80, 30}, {80, 26}}},
     5},
    {P::RegisterCopy, B::Registers, B::Registers, {{{2, 54}, {0, 54}, {0, 60}, {2, 60}}}, 4},
    {P::RegistersToIntegerAdderA,
     B::Registers,
     B::IntegerAdder,
     {{{42, 51}, {46, 51}, {46, 35}, {60, 35}}},
     4},
    {P::RegistersToIntegerAdderB,
     B::Registers,
     B::IntegerAdder,
     {{{42, 55}, {50, 55}, {50, 36}, {60, 36}}},
     4},
    {P::IntegerAdderToRegisters,
     B::IntegerAdder,
     B::Registers,
     {{{60, 37}, {56, 37}, {56, 61}, {42, 61}}},
     4},
    {P::RegistersToFloatAdderA,
     B::Registers,
     B::FloatAdder,
     {{{42, 51}, {46, 51}, {46, 41}, {60, 41}}},
     4},
    {P::RegistersToFloatAdderB,
     B::Registers,
     B::FloatAdder,
     {{{42, 55}, {50, 55}, {50, 42}, {60, 42}}},
     4},
    {P::FloatAdderToRegisters,
     B::FloatAdder,
     B::Registers,
     {{{60, 43}, {56, 43}, {56, 61}, {42, 61}}},
     4},
    {P::RegistersToLogicUnitA,
     B::Registers,
     B::LogicUnit,
     {{{42, 51}, {46, 51}, {46, 47}, {60, 47}}},
     4},
    {P::RegistersToLogicUnitB,
     B::Registers,
     B::LogicUnit,
     {{{42, 55}, {50, 55}, {50, 48}, {60, 48}}},
     4},
    {P::LogicUnitToRegisters,
     B::LogicUnit,
     B::Registers,
     {{{60, 49}, {56, 49}, {56, 61}, {42, 61}}},
     4},
    {P::RegistersToRotator,
     B::Registers,
     B::Rotator,
     {{{42, 51}, {46, 51}, {46, 53}, {60, 53}}},
     4},
    {P::YToRotator, B::FieldY, B::Rotator, {{{42, 45}, {52, 45}, {52, 54}, {60, 54}}}, 4},
    {P::RotatorToRegisters,
     B::Rotator,
     B::Registers,
     {{{60, 55}, {56, 55}, {56, 61}, {42, 61}}},
     4},
    {P::RegistersToComparatorA,
     B::Registers,
     B::Comparator,
     {{{42, 51}, {46, 51}, {46, 59}, {60, 59}}},
     4},
    {P::RegistersToComparatorB,
     B::Registers,
     B::Comparator,
     {{{42, 55}, {50, 55}, {50, 60}, {60, 60}}},
     4},
    {P::ComparatorToControl,
     B::Comparator,
     B::Control,
     {{{90, 60}, {95, 60}, {95, 0}, {22, 0}, {22, 2}}},
     5},
    {P::XyToPc, B::FieldY, B::Pc, {{{42, 44}, {51, 44}, {51, 5}, {54, 5}}}, 4},
};

static_assert(std::size(Blocks) == static_cast<std::size_t>(B::Count));
static_assert(std::size(Paths) == static_cast<std::size_t>(P::Count));

constexpr bool InTableOrder()
{
    for (std::size_t i = 0; i < std::size(Blocks); ++i) {
        if (static_cast<std::size_t>(Blocks[i].block) != i) {
            return false;
        }
    }
    for (std::size_t i = 0; i < std::size(Paths); ++i) {
        if (static_cast<std::size_t>(Paths[i].path) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InTableOrder());

// Set marks what the micro-step writes, Get what it reads or works with.
constexpr bool Set = true;
constexpr bool Get = false;

constexpr DatapathPathUse FetchPaths[] = {
    {P::PcToMemoryAddress, C::Pc, Get},   {P::MemoryToIrh, C::IrhWritten, Set},
    {P::MemoryToIrl, C::IrlWritten, Set}, {P::PcToAdder, C::Pc, Get},
    {P::AdderToPc, C::PcWritten, Set},
};
constexpr DatapathBlockUse FetchBlocks[] = {
    {B::Control, C::Nothing, Get},    {B::PhaseFetch, C::Nothing, Get},
    {B::Pc, C::PcWritten, Set},       {B::PcAdder, C::PcWritten, Get},
    {B::Memory, C::Nothing, Get},     {B::MemoryAddress, C::Pc, Get},
    {B::MemoryData, C::Nothing, Get}, {B::Ir, C::Nothing, Set},
    {B::Irh, C::IrhWritten, Set},     {B::Irl, C::IrlWritten, Set},
};

constexpr DatapathPathUse DecodePaths[] = {
    {P::IrhToDecoder, C::Irh, Get},       {P::IrlToDecoder, C::Irl, Get},
    {P::DecoderToOpcode, C::Opcode, Set}, {P::DecoderToR, C::R, Set},
    {P::DecoderToX, C::X, Set},           {P::DecoderToY, C::Y, Set},
};
constexpr DatapathBlockUse DecodeBlocks[] = {
    {B::Control, C::Nothing, Get},
    {B::PhaseDecode, C::Nothing, Get},
    {B::Ir, C::Nothing, Get},
    {B::Irh, C::Irh, Get},
    {B::Irl, C::Irl, Get},
    {B::Decoder, C::Nothing, Get},
    {B::FieldOpcode, C::Opcode, Set},
    {B::FieldR, C::R, Set},
    {B::FieldX, C::X, Set},
    {B::FieldY, C::Y, Set},
};

// Every execute begins alike: the control unit acts on the opcode.
constexpr DatapathBlockUse ExecuteStart[] = {
    {B::Control, C::Nothing, Get},
    {B::PhaseExecute, C::Nothing, Get},
    {B::FieldOpcode, C::Opcode, Get},
};

template <std::size_t N>
constexpr std::array<DatapathBlockUse, std::size(ExecuteStart) + N>
ExecuteBlocks(const DatapathBlockUse (&blocks)[N])
{
    std::array<DatapathBlockUse, std::size(ExecuteStart) + N> all{};
    std::copy(std::begin(ExecuteStart), std::end(ExecuteStart), all.begin());
    std::copy(std::begin(blocks), std::end(blocks), all.begin() + std::size(ExecuteStart));
    return all;
}

constexpr DatapathPathUse LoadaPaths[] = {
    {P::OpcodeToControl, C::Opcode, Get},
    {P::RToRegisters, C::R, Get},
    {P::XyToMemoryAddress, C::Irl, Get},
    {P::MemoryToRegisters, C::Written, Set},
};
constexpr auto LoadaBlocks = ExecuteBlocks({
    {B::FieldR, C::R, Get},
    {B::FieldX, C::X, Get},
    {B::FieldY, C::Y, Get},
    {B::Memory, C::Nothing, Get},
    {B::MemoryAddress, C::Irl, Get},
    {B::MemoryData, C::Written, Get},
    {B::Registers, C::Written, Set},
});

constexpr DatapathPathUse LoadPaths[] = {
    {P::OpcodeToControl, C::Opcode, Get},
    {P::RToRegisters, C::R, Get},
    {P::XyToRegisters, C::Written, Set},
};
constexpr auto LoadBlocks = ExecuteBlocks({
    {B::FieldR, C::R, Get},
    {B::FieldX, C::X, Get},
    {B::FieldY, C::Y, Get},
    {B::Registers, C::Written, Set},
});

constexpr DatapathPathUse StorePaths[] = {
    {P::OpcodeToControl, C::Opcode, Get},
    {P::RToRegisters, C::R, Get},
    {P::XyToMemoryAddress, C::Irl, Get},
    {P::RegistersToMemory, C::Written, Set},
};
constexpr auto StoreBlocks = ExecuteBlocks({
    {B::FieldR, C::R, Get},
    {B::FieldX, C::X, Get},
    {B::FieldY, C::Y, Get},
    {B::Registers, C::RegisterR, Get},
    {B::Memory, C::Nothing, Set},
    {B::MemoryAddress, C::Irl, Get},
    {B::MemoryData, C::Written, Set},
});

constexpr DatapathPathUse MovePaths[] = {
    {P::OpcodeToControl, C::Opcode, Get},
    {P::XToRegisters, C::X, Get},
    {P::YToRegisters, C::Y, Get},
    {P::RegisterCopy, C::Written, Set},
};
constexpr auto MoveBlocks = ExecuteBlocks({
    {B::FieldX, C::X, Get},
    {B::FieldY, C::Y, Get},
    {B::Registers, C::Written, Set},
});

// ADD, ADDF, OR, AND and XOR differ only in their unit.
constexpr std::array<DatapathPathUse, 7> TwoOperandPaths(P a, P b, P result)
{
    return {{
        {P::OpcodeToControl, C::Opcode, Get},
        {P::RToRegisters, C::R, Get},
        {P::XToRegisters, C::X, Get},
        {P::YToRegisters, C::Y, Get},
        {a, C::RegisterX, Get},
        {b, C::RegisterY, Get},
        {result, C::Written, Set},
    }};
}

constexpr auto TwoOperandBlocks(B unit)
{
    return ExecuteBlocks({
        {B::FieldR, C::R, Get},
        {B::FieldX, C::X, Get},
        {B::FieldY, C::Y, Get},
        {unit, C::Written, Get},
        {B::Registers, C::Written, Set},
    });
}

constexpr auto AddPaths = TwoOperandPaths(P::RegistersToIntegerAdderA, P::RegistersToIntegerAdderB,
                                          P::IntegerAdderToRegisters);
constexpr auto AddBlocks = TwoOperandBlocks(B::IntegerAdder);
constexpr auto AddfPaths =
    TwoOperandPaths(P::RegistersToFloatAdderA, P::RegistersToFloatAdderB, P::FloatAdderToRegisters);
constexpr auto AddfBlocks = TwoOperandBlocks(B::FloatAdder);
constexpr auto LogicPaths =
    TwoOperandPaths(P::RegistersToLogicUnitA, P::RegistersToLogicUnitB, P::LogicUnitToRegisters);
constexpr auto LogicBlocks = TwoOperandBlocks(B::LogicUnit);

constexpr DatapathPathUse RotatePaths[] = {
    {P::OpcodeToControl, C::Opcode, Get},       {P::RToRegisters, C::R, Get},
    {P::RegistersToRotator, C::RegisterR, Get}, {P::YToRotator, C::Y, Get},
    {P::RotatorToRegisters, C::Written, Set},
};
constexpr auto RotateBlocks = ExecuteBlocks({
    {B::FieldR, C::R, Get},
    {B::FieldY, C::Y, Get},
    {B::Rotator, C::Written, Get},
    {B::Registers, C::Written, Set},
});

constexpr DatapathPathUse JumpTakenPaths[] = {
    {P::OpcodeToControl, C::Opcode, Get},           {P::RToRegisters, C::R, Get},
    {P::RegistersToComparatorA, C::RegisterR, Get}, {P::RegistersToComparatorB, C::Register0, Get},
    {P::ComparatorToControl, C::Nothing, Get},      {P::XyToPc, C::Irl, Set},
};
constexpr auto JumpTakenBlocks = ExecuteBlocks({
    {B::FieldR, C::R, Get},
    {B::FieldX, C::X, Get},
    {B::FieldY, C::Y, Get},
    {B::Registers, C::Nothing, Get},
    {B::Comparator, C::Nothing, Get},
    {B::Pc, C::PcWritten, Set},
});

constexpr DatapathPathUse JumpNotTakenPaths[] = {
    {P::OpcodeToControl, C::Opcode, Get},           {P::RToRegisters, C::R, Get},
    {P::RegistersToComparatorA, C::RegisterR, Get}, {P::RegistersToComparatorB, C::Register0, Get},
    {P::ComparatorToControl, C::Nothing, Get},
};
constexpr auto JumpNotTakenBlocks = ExecuteBlocks({
    {B::FieldR, C::R, Get},
    {B::Registers, C::Nothing, Get},
    {B::Comparator, C::Nothing, Get},
});

constexpr DatapathPathUse HaltPaths[] = {{P::OpcodeToControl, C::Opcode, Get}};

// By MicroStepKind.
constexpr DatapathUses Uses[] = {
    {{}, {}},
    {FetchPaths, FetchBlocks},
    {DecodePaths, DecodeBlocks},
    {LoadaPaths, LoadaBlocks},
    {LoadPaths, LoadBlocks},
    {StorePaths, StoreBlocks},
    {MovePaths, MoveBlocks},
    {AddPaths, AddBlocks},
    {AddfPaths, AddfBlocks},
    {LogicPaths, LogicBlocks},
    {LogicPaths, LogicBlocks},
    {LogicPaths, LogicBlocks},
    {RotatePaths, RotateBlocks},
    {JumpTakenPaths, JumpTakenBlocks},
    {JumpNotTakenPaths, JumpNotTakenBlocks},
    {HaltPaths, ExecuteStart},
};
static_assert(std::size(Uses) == static_cast<std::size_t>(MicroStepKind::Halt) + 1);

constexpr bool FitsTheLighting()
{
    for (const DatapathUses& uses : Uses) {
        if (uses.paths.size() > DatapathLighting::MaxPaths ||
            uses.blocks.size() + MicroStepRecord::MaxErrors > DatapathLighting::MaxBlocks) {
            return false;
        }
    }
    return true;
}
static_assert(FitsTheLighting());

// The operand reports: the machine goes on with -1 as the operand's value.
bool IsOperandReport(int subCode)
{
    return subCode == MachineError::LoadaCellEmpty || subCode == MachineError::RegisterEmpty;
}

int WrittenBy(const MicroStepRecord& record, int code)
{
    const MicroStepAccess* access = record.Find(code);
    return access == nullptr ? -1 : access->value;
}

int ValueOf(const MicroStepRecord& record, Carried carried)
{
    const CpuControl& before = record.before;
    const auto registerValue = [&record](int number) {
        return record.registers[static_cast<std::size_t>(number)];
    };
    switch (carried) {
    case C::Nothing:
        return -1;
    case C::Pc:
        return before.pc;
    case C::PcWritten:
        return WrittenBy(record, MachineEvent::PcSet);
    case C::Irh:
        return before.irh;
    case C::Irl:
        return before.irl;
    case C::IrhWritten:
        return WrittenBy(record, MachineEvent::IrhSet);
    case C::IrlWritten:
        return WrittenBy(record, MachineEvent::IrlSet);
    case C::Opcode:
        return record.DecodedField(0);
    case C::R:
        return record.DecodedField(1);
    case C::X:
        return record.DecodedField(2);
    case C::Y:
        return record.DecodedField(3);
    case C::RegisterR:
        return registerValue(before.r);
    case C::RegisterX:
        return registerValue(before.x);
    case C::RegisterY:
        return registerValue(before.y);
    case C::Register0:
        return registerValue(0);
    case C::Written: {
        const int value = WrittenBy(record, MachineEvent::RegisterSet);
        return value != -1 ? value : WrittenBy(record, MachineEvent::MemorySet);
    }
    }
    return -1;
}

bool IsDigit(Carried carried)
{
    return carried == C::Opcode || carried == C::R || carried == C::X || carried == C::Y;
}

// A block lit twice keeps its first value and is failed if either says so.
void Light(DatapathLighting& lighting, const LitBlock& block)
{
    const auto end = lighting.blocks.begin() + lighting.blockCount;
    const auto lit = std::find_if(lighting.blocks.begin(), end, [&block](const LitBlock& other) {
        return other.block == block.block;
    });
    if (lit != end) {
        lit->failed = lit->failed || block.failed;
    } else {
        *lit = block;
        ++lighting.blockCount;
    }
}

DatapathBlock PhaseBlock(int phase)
{
    switch (phase) {
    case MachinePhase::Fetch:
        return B::PhaseFetch;
    case MachinePhase::Decode:
        return B::PhaseDecode;
    default:
        return B::PhaseExecute;
    }
}

} // namespace

std::span<const DatapathBlockShape> DatapathBlocks()
{
    return Blocks;
}

std::span<const DatapathPathShape> DatapathPaths()
{
    return Paths;
}

MicroStepKind KindOf(const MicroStepRecord& record)
{
    switch (record.phase) {
    case MachinePhase::Fetch:
        return MicroStepKind::Fetch;
    case MachinePhase::Decode:
        return MicroStepKind::Decode;
    case MachinePhase::Execute:
        break;
    default:
        return MicroStepKind::None;
    }
    constexpr int JumpOpcode = 11;
    const int opcode = record.before.opcode;
    if (opcode == JumpOpcode) {
        return record.Find(MachineEvent::PcSet) != nullptr ? MicroStepKind::JumpTaken
                                                           : MicroStepKind::JumpNotTaken;
    }
    if (opcode < 1 || opcode > JumpOpcode + 1) {
        return MicroStepKind::None;
    }
    // LOADA (1) to ROTATE (10) follow the opcodes; HALT (12) comes after the two JUMP kinds.
    return opcode < JumpOpcode
               ? static_cast<MicroStepKind>(static_cast<int>(MicroStepKind::Loada) + opcode - 1)
               : MicroStepKind::Halt;
}

DatapathUses UsesOf(MicroStepKind kind)
{
    return Uses[static_cast<std::size_t>(kind)];
}

DatapathBlock FailingBlockOf(int subCode)
{
    switch (subCode) {
    case MachineError::MemoryWriteValue:
    case MachineError::LoadaCellEmpty:
    case MachineError::FetchCellEmpty:
        return B::Memory;
    case MachineError::RegisterWriteValue:
    case MachineError::RegisterEmpty:
    case MachineError::RotateEmpty:
        return B::Registers;
    case MachineError::UndefinedOpcode:
        return B::Decoder;
    case MachineError::AddfFailed:
        return B::FloatAdder;
    default:
        return B::Count;
    }
}

DatapathLighting LightDatapath(const MicroStepRecord& record)
{
    DatapathLighting lighting;
    if (record.phase == 0) {
        return lighting;
    }
    const auto errors = record.Errors();
    const bool failed = std::any_of(errors.begin(), errors.end(), [](const MicroStepError& error) {
        return !IsOperandReport(error.subCode);
    });
    if (failed) {
        Light(lighting, {B::Control, -1, false, false, false});
        Light(lighting, {PhaseBlock(record.phase), -1, false, false, false});
    } else {
        const DatapathUses uses = UsesOf(KindOf(record));
        for (const DatapathPathUse& use : uses.paths) {
            lighting.paths[static_cast<std::size_t>(lighting.pathCount++)] = {
                use.path, ValueOf(record, use.carried), IsDigit(use.carried), use.written};
        }
        for (const DatapathBlockUse& use : uses.blocks) {
            Light(lighting, {use.block, ValueOf(record, use.carried), IsDigit(use.carried),
                             use.written, false});
        }
    }
    for (const MicroStepError& error : errors) {
        const DatapathBlock block = FailingBlockOf(error.subCode);
        if (block != B::Count) {
            Light(lighting, {block, -1, false, false, true});
        }
    }
    return lighting;
}
