#pragma once

#include "machine/cpu.h"

#include <QRgb>
#include <QString>

#include <array>
#include <bitset>

// Where the display reads the memory it shows.
class MachineDisplayHost {
public:
    virtual int ReadMemory(int address) = 0;

protected:
    ~MachineDisplayHost() = default;
};

// One value field of the view: the text shown, the last value reported (its
// tag) and its font colour, either the window's own or a highlight.
struct DisplayField {
    QString text;
    int tag = -1;
    bool highlighted = false;
    QRgb colour = 0;
    bool marked = false; // written since the last run started
    bool dirty = true;
};

struct PcWindowRow {
    int address = 0;
    QString addressText;
    QString valueText;
    bool dirty = true;
};

// The state of the machine view, driven by the machine's events; the widgets
// only mirror it (see TMachineView::Sync), which keeps a fast run cheap and
// the display logic testable without widgets. It only shows: halts, errors
// and memory changes are the window's to act on.
class MachineDisplay {
public:
    static constexpr int PageSize = 32;
    static constexpr int PageCount = CCpu::MemorySize / PageSize;
    static constexpr int PcWindowRows = 8;
    // The PC window begins two cells below PC.
    static constexpr int PcWindowStart(int pc)
    {
        return (pc + CCpu::MemorySize - 2) % CCpu::MemorySize;
    }

    explicit MachineDisplay(MachineDisplayHost& host);

    void HandleEvent(int code, int value, int index);
    void ClearHighlights();
    void ShowMemoryNearPc(int first);
    void RefillPage(); // refills the shown page and clears its highlights
    void SetPage(int page);
    void SetRadix(int radix);
    // What a run writes stays marked after it: the marks made so far go,
    // and from now on each register and cell written is marked, until
    // marking stops; the marks stay until they are cleared.
    void StartMarking();
    void StopMarking() { marking_ = false; }
    void ClearMarks();
    void Restore(DisplayField& field); // back to the text of its tag
    QString Format(int value) const;

    int radix = 16;
    bool bulk = false;
    QRgb setColour = 0xffff0000; // red
    QRgb getColour = 0xff0000ff; // blue
    QRgb textColour = 0xff000000;

    DisplayField start;
    DisplayField pc;
    DisplayField irh;
    DisplayField irl;
    std::array<DisplayField, 4> decoded; // opcode, R, X, Y as single digits
    std::array<DisplayField, CCpu::RegisterCount> registers;
    std::array<DisplayField, PageSize> memory; // the shown page, by offset
    int page = 0;
    bool pageLabelsDirty = true;
    std::array<PcWindowRow, PcWindowRows> pcWindow;
    std::array<bool, 3> lamps{}; // fetch, decode, execute
    QString instruction;
    bool instructionDirty = true;

private:
    void Write(DisplayField& field, int value); // the machine wrote it
    void Colour(DisplayField& field, QRgb colour);
    QRgb ColourOf(const DisplayField& field) const;
    void ShowPhase(int phase);
    void ShowMemoryEvent(int value, int address, bool written);
    void ShowDecodedField(int value, int index);
    void LightLamp(int lamp);
    void Mark(DisplayField& field);

    MachineDisplayHost& host_;
    bool marking_ = false;
    std::bitset<CCpu::RegisterCount> markedRegisters_;
    std::bitset<CCpu::MemorySize> markedCells_;
};
