#include "workbench/machine_view/machine_display.h"

#include "assembler/instruction_table.h"
#include "machine/machine_event.h"
#include "texts/number_text.h"

#include <utility>

MachineDisplay::MachineDisplay(MachineDisplayHost& host) : host_(host)
{
    for (DisplayField* field : {&start, &pc, &irh, &irl}) {
        field->tag = 0;
        field->text = Format(0);
    }
    for (DisplayField& field : decoded) {
        field.tag = 0;
        field.text = QStringLiteral("0");
    }
    for (int row = 0; row < PcWindowRows; ++row) {
        pcWindow[row].address = (PcWindowStart(0) + row) % CCpu::MemorySize;
        pcWindow[row].addressText = Format(pcWindow[row].address);
    }
}

QString MachineDisplay::Format(int value) const
{
    return QString::fromLatin1(FormatNumber(value, radix));
}

void MachineDisplay::HandleEvent(int code, int value, int index)
{
    using namespace MachineEvent;
    switch (code) {
    case StartSet:
        Write(start, value);
        break;
    case PcSet:
        Write(pc, value);
        ShowMemoryNearPc(PcWindowStart(value));
        break;
    case PcGet:
        Colour(pc, getColour);
        break;
    case IrhSet:
        Write(irh, value);
        break;
    case IrhGet:
        Colour(irh, getColour);
        break;
    case IrlSet:
        Write(irl, value);
        break;
    case IrlGet:
        Colour(irl, getColour);
        break;
    case RegisterSet:
        if (index >= 0 && index < static_cast<int>(registers.size())) {
            Write(registers[index], value);
            if (marking_) {
                markedRegisters_.set(static_cast<std::size_t>(index));
                Mark(registers[index]);
            }
        }
        break;
    case RegisterGet:
        if (index >= 0 && index < static_cast<int>(registers.size())) {
            DisplayField& field = registers[index];
            const bool justWritten = ColourOf(field) == setColour;
            // Written, then read: the two colours mixed, opaque.
            Colour(field, justWritten ? ((setColour ^ getColour) | 0xff000000) : getColour);
        }
        break;
    case MemorySet:
    case MemoryGet:
        if (index >= 0 && index < CCpu::MemorySize) {
            ShowMemoryEvent(value, index, code == MemorySet);
        }
        break;
    case FieldDecoded:
        ShowDecodedField(value, index);
        break;
    case Phase:
        ShowPhase(value);
        break;
    default:
        break;
    }
}

void MachineDisplay::Write(DisplayField& field, int value)
{
    field.text = Format(value);
    field.tag = value;
    Colour(field, setColour);
}

void MachineDisplay::Colour(DisplayField& field, QRgb colour)
{
    field.highlighted = true;
    field.colour = colour;
    field.dirty = true;
}

QRgb MachineDisplay::ColourOf(const DisplayField& field) const
{
    return field.highlighted ? field.colour : textColour;
}

void MachineDisplay::ShowMemoryEvent(int value, int address, bool written)
{
    const int offset = address % PageSize;
    const QRgb colour = written ? setColour : getColour;
    if (written && marking_) {
        markedCells_.set(static_cast<std::size_t>(address));
    }
    if (address / PageSize == page) {
        if (written) {
            Write(memory[offset], value);
            if (marking_) {
                Mark(memory[offset]);
            }
        } else {
            Colour(memory[offset], colour);
        }
    } else if (!bulk) {
        SetPage(address / PageSize);
        Colour(memory[offset], colour);
    }
    if (!written) {
        return;
    }
    for (PcWindowRow& row : pcWindow) {
        if (row.address == address) {
            row.valueText = Format(value);
            row.dirty = true;
            break;
        }
    }
}

void MachineDisplay::ShowDecodedField(int value, int index)
{
    if (index < 0 || index >= static_cast<int>(decoded.size())) {
        return;
    }
    DisplayField& field = decoded[index];
    field.tag = value;
    field.text = QString::number(value, 16).toUpper();
    Colour(field, setColour);
    if (index == 3) {
        const std::string text =
            InstructionText(decoded[0].tag, decoded[1].tag, decoded[2].tag, decoded[3].tag);
        if (!text.empty()) {
            instruction = QString::fromStdString(text);
            instructionDirty = true;
        }
    }
}

void MachineDisplay::ShowPhase(int phase)
{
    switch (phase) {
    case MachinePhase::Halted:
        lamps = {false, false, false};
        break;
    case MachinePhase::Fetch:
        ClearHighlights();
        instruction.clear();
        instructionDirty = true;
        LightLamp(0);
        break;
    case MachinePhase::Decode:
    case MachinePhase::Execute:
        ClearHighlights();
        LightLamp(phase - MachinePhase::Fetch);
        break;
    default:
        break;
    }
}

void MachineDisplay::LightLamp(int lamp)
{
    lamps = {lamp == 0, lamp == 1, lamp == 2};
}

void MachineDisplay::ClearHighlights()
{
    auto clear = [](DisplayField& field) {
        if (field.highlighted) {
            field.highlighted = false;
            field.dirty = true;
        }
    };
    for (DisplayField* field : {&start, &pc, &irh, &irl}) {
        clear(*field);
    }
    for (DisplayField& field : decoded) {
        clear(field);
    }
    for (DisplayField& field : registers) {
        clear(field);
    }
    for (DisplayField& field : memory) {
        clear(field);
    }
}

void MachineDisplay::ShowMemoryNearPc(int first)
{
    for (int row = 0; row < PcWindowRows; ++row) {
        PcWindowRow& cell = pcWindow[row];
        cell.address = (first + row) % CCpu::MemorySize;
        cell.addressText = Format(cell.address);
        cell.valueText = Format(host_.ReadMemory(cell.address));
        cell.dirty = true;
    }
}

void MachineDisplay::SetPage(int newPage)
{
    page = newPage;
    RefillPage();
}

void MachineDisplay::RefillPage()
{
    for (int offset = 0; offset < PageSize; ++offset) {
        DisplayField& field = memory[offset];
        field.tag = host_.ReadMemory(page * PageSize + offset);
        field.text = Format(field.tag);
        field.highlighted = false;
        field.marked = markedCells_.test(static_cast<std::size_t>(page * PageSize + offset));
        field.dirty = true;
    }
    pageLabelsDirty = true;
}

void MachineDisplay::Restore(DisplayField& field)
{
    field.text = Format(field.tag);
    field.dirty = true;
}

void MachineDisplay::SetRadix(int newRadix)
{
    radix = newRadix;
    RefillPage();
    for (DisplayField* field : {&start, &pc, &irh, &irl}) {
        Restore(*field);
    }
    for (DisplayField& field : registers) {
        Restore(field);
    }
    ShowMemoryNearPc(PcWindowStart(pc.tag));
}

void MachineDisplay::Mark(DisplayField& field)
{
    if (!field.marked) {
        field.marked = true;
        field.dirty = true;
    }
}

void MachineDisplay::StartMarking()
{
    ClearMarks();
    marking_ = true;
}

void MachineDisplay::ClearMarks()
{
    marking_ = false;
    markedRegisters_.reset();
    markedCells_.reset();
    for (DisplayField& field : registers) {
        field.dirty |= std::exchange(field.marked, false);
    }
    for (DisplayField& field : memory) {
        field.dirty |= std::exchange(field.marked, false);
    }
}
