#pragma once

#include "machine/micro_step_record.h"

#include <array>
#include <span>
#include <string_view>

// The blocks and paths of the machine as data, for a picture of its datapath:
// where each block sits on a grid, which paths and blocks each kind of
// micro-step uses, and what lit up in one recorded micro-step with the values
// that moved. A picture only scales the grid and draws.

inline constexpr int DatapathColumns = 96;
inline constexpr int DatapathRows = 64;

enum class DatapathBlock : unsigned char {
    Control,
    PhaseFetch,
    PhaseDecode,
    PhaseExecute,
    Pc,
    PcAdder,
    Memory,
    MemoryAddress,
    MemoryData,
    Ir,
    Irh,
    Irl,
    Decoder,
    FieldOpcode,
    FieldR,
    FieldX,
    FieldY,
    Registers,
    IntegerAdder,
    FloatAdder,
    LogicUnit,
    Rotator,
    Comparator,
    Count,
};

enum class DatapathPath : unsigned char {
    PcToMemoryAddress,
    MemoryToIrh,
    MemoryToIrl,
    PcToAdder,
    AdderToPc,
    IrhToDecoder,
    IrlToDecoder,
    DecoderToOpcode,
    DecoderToR,
    DecoderToX,
    DecoderToY,
    OpcodeToControl,
    RToRegisters,
    XToRegisters,
    YToRegisters,
    XyToMemoryAddress,
    MemoryToRegisters,
    XyToRegisters,
    RegistersToMemory,
    RegisterCopy,
    RegistersToIntegerAdderA,
    RegistersToIntegerAdderB,
    IntegerAdderToRegisters,
    RegistersToFloatAdderA,
    RegistersToFloatAdderB,
    FloatAdderToRegisters,
    RegistersToLogicUnitA,
    RegistersToLogicUnitB,
    LogicUnitToRegisters,
    RegistersToRotator,
    YToRotator,
    RotatorToRegisters,
    RegistersToComparatorA,
    RegistersToComparatorB,
    ComparatorToControl,
    XyToPc,
    Count,
};

// A rectangle or a point on the grid of DatapathColumns by DatapathRows.
struct GridRect {
    int x;
    int y;
    int width;
    int height;
};

struct GridPoint {
    int x;
    int y;
};

struct DatapathBlockShape {
    DatapathBlock block;
    std::string_view label; // UTF-8, Big5 characters only
    GridRect rect;          // a block inside another is listed after it
};

// A path runs from one block to another along 2 to 5 points; paths that
// share a stretch (the buses) overlap there.
struct DatapathPathShape {
    DatapathPath path;
    DatapathBlock from;
    DatapathBlock to;
    std::array<GridPoint, 5> points;
    int pointCount;
    std::span<const GridPoint> Points() const
    {
        return {points.data(), static_cast<std::size_t>(pointCount)};
    }
};

// Every block and path, each table in the order of its enumeration.
std::span<const DatapathBlockShape> DatapathBlocks();
std::span<const DatapathPathShape> DatapathPaths();

// The kinds of micro-step the picture tells apart.
enum class MicroStepKind : unsigned char {
    None, // a halted machine's micro-step, which does nothing
    Fetch,
    Decode,
    Loada,
    Load,
    Store,
    Move,
    Add,
    Addf,
    Or,
    And,
    Xor,
    Rotate,
    JumpTaken,
    JumpNotTaken,
    Halt,
};

MicroStepKind KindOf(const MicroStepRecord& record);

// What a path or block shows when it lights, taken from the record.
enum class Carried : unsigned char {
    Nothing,
    Pc,        // PC before the micro-step
    PcWritten, // the PC it wrote
    Irh,
    Irl, // also the XY operand
    IrhWritten,
    IrlWritten,
    Opcode,
    R,
    X,
    Y,
    RegisterR, // the registers named by R, X, Y and R0, before the micro-step
    RegisterX,
    RegisterY,
    Register0,
    Written, // the value written to a register or a cell
};

// A write lights in the SET colour, a read or a use in the GET colour.
struct DatapathPathUse {
    DatapathPath path;
    Carried carried;
    bool written;
};

struct DatapathBlockUse {
    DatapathBlock block;
    Carried carried;
    bool written;
};

struct DatapathUses {
    std::span<const DatapathPathUse> paths;
    std::span<const DatapathBlockUse> blocks;
};

// The paths and blocks a kind of micro-step uses when it succeeds.
DatapathUses UsesOf(MicroStepKind kind);

// The block at fault for a machine error; Count when the error names none
// of its own (an instruction's failure follows the error of its write).
DatapathBlock FailingBlockOf(int subCode);

// A lit path or block with the value that moved (-1 for none or no value);
// `digit` says it is a decoded field, shown as one hexadecimal digit,
// rather than a byte shown in the view's radix.
struct LitPath {
    DatapathPath path;
    int value;
    bool digit;
    bool written;
    bool operator==(const LitPath&) const = default;
};

struct LitBlock {
    DatapathBlock block;
    int value;
    bool digit;
    bool written;
    bool failed; // shown in the error colour
};

struct DatapathLighting {
    static constexpr int MaxPaths = 8;
    static constexpr int MaxBlocks = 16;

    std::array<LitPath, MaxPaths> paths{};
    int pathCount = 0;
    std::array<LitBlock, MaxBlocks> blocks{};
    int blockCount = 0;

    std::span<const LitPath> Paths() const
    {
        return {paths.data(), static_cast<std::size_t>(pathCount)};
    }
    std::span<const LitBlock> Blocks() const
    {
        return {blocks.data(), static_cast<std::size_t>(blockCount)};
    }
};

// What lights for a recorded micro-step. A micro-step that failed (any error
// but an operand without value, which the machine reads as -1 and goes on)
// lights the control unit with its phase and the failing blocks only.
DatapathLighting LightDatapath(const MicroStepRecord& record);
