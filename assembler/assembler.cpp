#include "assembler/assembler.h"

#include "assembler/hex_digits.h"
#include "assembler/instruction_table.h"

#include <algorithm>
#include <new>
#include <string>
#include <string_view>

namespace {

// A position at or beyond the end of the text holds no character.
char CharAt(std::string_view text, std::size_t position)
{
    return position < text.size() ? text[position] : '\0';
}

// "R" and one hexadecimal digit, followed by "," or the end of the text; -1 otherwise.
int ParseRegister(std::string_view operand, std::size_t position)
{
    const char next = CharAt(operand, position + 2);
    if (CharAt(operand, position) != 'R' || (next != ',' && next != '\0')) {
        return -1;
    }
    return HexDigitValue(CharAt(operand, position + 1));
}

// Copies the text into a buffer, cut to fit; true when it had to be cut.
template <std::size_t Size> bool CopyText(char (&buffer)[Size], const char* text)
{
    const std::string_view source(text);
    const std::size_t length = source.copy(buffer, Size - 1);
    buffer[length] = '\0';
    return length < source.size();
}

} // namespace

CAssembler::CAssembler(EventSink sink)
    : lines_(new (std::nothrow) SourceLine[InitialCapacity]), sink_(sink)
{
    // Without memory for the first records, AddLine grows the array or reports it.
    capacity_ = lines_ ? InitialCapacity : 0;
}

void CAssembler::Reset()
{
    std::fill_n(lines_.get(), capacity_, SourceLine{});
    lineCount_ = 0;
    symbols_.Clear();
}

bool CAssembler::AddLine(int line, const char* label, const char* mnemonic, const char* operand)
{
    if (lineCount_ == capacity_ && !GrowLines()) {
        sink_(MachineEvent::Error, AssemblerError::NoMemory, line);
        return false;
    }
    SourceLine& record = lines_[lineCount_];
    record.line = line;
    record.labelTooLong = CopyText(record.label, label);
    record.mnemonicTooLong = CopyText(record.mnemonic, mnemonic);
    // An operand of 14 characters or more can name neither a byte nor a label
    // in any form, and every position that is examined comes before the 14th,
    // so cutting it keeps the outcome of the line.
    CopyText(record.operand, operand);
    ++lineCount_;
    return true;
}

bool CAssembler::Assemble(int startAddress)
{
    if (startAddress < 0 || startAddress > 255) {
        sink_(MachineEvent::Error, AssemblerError::StartAddress, startAddress);
        return false;
    }
    failed_ = false;
    // Also cleared by Reset; clearing here lets the same lines assemble again.
    symbols_.Clear();
    if (!PlaceLines(startAddress)) {
        return false;
    }
    for (int i = 0; i < lineCount_; ++i) {
        EncodeLine(lines_[i]);
    }
    return !failed_;
}

const SourceLine* CAssembler::GetResult(int& entryAddress, int& lineCount) const
{
    entryAddress = entryAddress_;
    lineCount = lineCount_;
    return lines_.get();
}

bool CAssembler::GrowLines()
{
    // Steps of a fixed size would copy the array once per step, which makes a
    // program of many thousand rows (a binary file opened as source) take
    // seconds; growing by half the capacity keeps adding lines linear.
    const int grownCapacity = capacity_ + std::max(GrowthStep, capacity_ / 2);
    std::unique_ptr<SourceLine[]> grown(new (std::nothrow) SourceLine[grownCapacity]);
    if (!grown) {
        return false;
    }
    std::copy_n(lines_.get(), capacity_, grown.get());
    lines_ = std::move(grown);
    capacity_ = grownCapacity;
    return true;
}

bool CAssembler::PlaceLines(int startAddress)
{
    entryAddress_ = -1;
    int address = startAddress;
    int programSize = 0;
    for (int i = 0; i < lineCount_; ++i) {
        const SourceLine& record = lines_[i];
        if (record.label[0] != '\0' &&
            (record.labelTooLong || !symbols_.Insert(record.label, address))) {
            ReportError(AssemblerError::Label, record.line);
        }
        const int size = std::string_view(record.mnemonic) == "DB" ? 1 : 2;
        programSize += size;
        if (programSize > MaxProgramSize) {
            ReportError(AssemblerError::ProgramTooLarge, record.line);
            return false;
        }
        if (size == 2 && entryAddress_ < 0) {
            entryAddress_ = address;
        }
        address = (address + size) % 256;
    }
    return true;
}

void CAssembler::EncodeLine(SourceLine& record)
{
    const std::string_view operand(record.operand);
    const int number = record.mnemonicTooLong ? Mnemonic::None : OpcodeOf(record.mnemonic);
    record.value = number * 4096;
    switch (number) {
    case Mnemonic::None:
        ReportError(AssemblerError::Mnemonic, record.line);
        break;
    case Mnemonic::Loada:
    case Mnemonic::Store:
    case Mnemonic::Jump:
        if (CharAt(operand, 3) != '@') {
            ReportError(AssemblerError::ByteField, record.line);
        }
        EncodeRegisterAndByte(record, 4);
        break;
    case Mnemonic::Load:
        EncodeRegisterAndByte(record, 3);
        break;
    case Mnemonic::Move: {
        const int from = ParseRegister(operand, 0);
        if (from < 0) {
            ReportError(AssemblerError::Register, record.line);
            break;
        }
        record.value += from * 16;
        const int to = ParseRegister(operand, 3);
        if (to < 0) {
            ReportError(AssemblerError::Register, record.line);
            break;
        }
        record.value += to;
        break;
    }
    case Mnemonic::Add:
    case Mnemonic::Addf:
    case Mnemonic::Or:
    case Mnemonic::And:
    case Mnemonic::Xor: {
        const int r = ParseRegister(operand, 0);
        const int s = r < 0 ? -1 : ParseRegister(operand, 3);
        const int t = s < 0 ? -1 : ParseRegister(operand, 6);
        if (t < 0) {
            ReportError(AssemblerError::Register, record.line);
            break;
        }
        record.value += r * 256 + s * 16 + t;
        break;
    }
    case Mnemonic::Rotate: {
        const int r = ParseRegister(operand, 0);
        if (r < 0) {
            ReportError(AssemblerError::Register, record.line);
        } else {
            record.value += r * 256;
        }
        const char count = CharAt(operand, 3);
        if (count < '0' || count > '8' || operand.size() != 4) {
            ReportError(AssemblerError::RotateCount, record.line);
        } else {
            record.value += count - '0';
        }
        break;
    }
    case Mnemonic::Halt:
        break;
    case Mnemonic::Db:
        // A "DB" without a valid byte reserves its cell and is no error.
        record.value = ParseHexByte(operand);
        break;
    }
}

void CAssembler::EncodeRegisterAndByte(SourceLine& record, std::size_t byteFieldStart)
{
    const std::string_view operand(record.operand);
    const int r = ParseRegister(operand, 0);
    if (r < 0) {
        ReportError(AssemblerError::Register, record.line);
    } else {
        record.value += r * 256;
    }
    std::string_view field = operand.substr(std::min(byteFieldStart, operand.size()));
    // A number always wins over a label of the same name.
    if (const int byte = ParseHexByte(field); byte >= 0) {
        record.value += byte;
        return;
    }
    int offset = 0;
    if (field.ends_with("+1")) {
        field.remove_suffix(2);
        offset = 1;
    }
    const int address = symbols_.Lookup(std::string(field).c_str());
    if (address < 0) {
        ReportError(AssemblerError::ByteField, record.line);
        return;
    }
    record.value += (address + offset) % 256;
}

void CAssembler::ReportError(int subCode, int line)
{
    failed_ = true;
    sink_(MachineEvent::Error, subCode, line);
}
