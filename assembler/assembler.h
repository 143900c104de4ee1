#pragma once

#include "assembler/hash_table.h"
#include "machine/machine_event.h"

#include <cstddef>
#include <memory>

// Error sub-codes the assembler sends with MachineEvent::Error; the index is
// the line number given to AddLine.
namespace AssemblerError {
enum Code : int {
    StartAddress = 12, // shared with the machine; the index is the address given
    NoMemory = 100,
    Register = 101,
    ByteField = 102,
    ProgramTooLarge = 103,
    RotateCount = 104,
    Label = 105,
    Mnemonic = 106,
};
} // namespace AssemblerError

struct SourceLine {
    static constexpr int TextSize = 7; // label and mnemonic buffers
    static constexpr int OperandSize = 14;

    int line = 0;
    int value = -1; // instruction word, or the byte of a "DB" line (-1 when it has none)
    char label[TextSize] = {};
    char mnemonic[TextSize] = {};
    char operand[OperandSize] = {};
    // A label or mnemonic longer than its buffer: the line assembles as the
    // whole text would, so the label is refused and the mnemonic is unknown.
    bool labelTooLong = false;
    bool mnemonicTooLong = false;
};

// The two-pass assembler: pass 1 places the lines from the start address and
// defines the labels, pass 2 encodes every line. Each error is sent to the
// sink as it is found.
class CAssembler {
public:
    explicit CAssembler(EventSink sink);

    void Reset();
    bool AddLine(int line, const char* label, const char* mnemonic, const char* operand);
    // True when no error was sent.
    bool Assemble(int startAddress);
    // Records 0 .. lineCount - 1; the array moves when AddLine grows it.
    const SourceLine* GetResult(int& entryAddress, int& lineCount) const;

private:
    static constexpr int InitialCapacity = 50;
    static constexpr int GrowthStep = 30; // the least a growth adds
    static constexpr int MaxLabelLength = 6;
    static constexpr int MaxProgramSize = 255;

    bool GrowLines();
    // False when the program does not fit into memory.
    bool PlaceLines(int startAddress);
    void EncodeLine(SourceLine& record);
    void EncodeRegisterAndByte(SourceLine& record, std::size_t byteFieldStart);
    void ReportError(int subCode, int line);

    int lineCount_ = 0;
    int capacity_;
    CHashTable symbols_{MaxLabelLength};
    std::unique_ptr<SourceLine[]> lines_;
    int entryAddress_ = -1;
    EventSink sink_;
    bool failed_ = false;
};
