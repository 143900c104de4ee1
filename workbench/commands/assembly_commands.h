#pragma once

#include "assembler/program_layout.h"
#include "workbench/window/window_states.h"

#include <QObject>

#include <array>
#include <vector>

class CAssembler;
class CCpu;
class TStartAddress;
class TMessageLog;
class TProgramEditor;

// Assemble and Load: the program in the grid becomes machine code in memory,
// and which row put each cell there is known until the program or memory is
// replaced.
class TAssemblyCommands : public QObject {
    Q_OBJECT

public:
    TAssemblyCommands(CAssembler& assembler, CCpu& machine, TProgramEditor& editor,
                      TStartAddress& start, TMessageLog& log, QObject* parent);

    // True when the program assembled.
    bool Assemble();
    void Load();

    // The rows of the loaded program's cells; empty when none is loaded.
    const ProgramLayout& Layout() const { return loaded_; }
    // The code of every line of the loaded program, in line order.
    std::vector<LineCode> LoadedCode() const;
    void ForgetLayout();
    // Rows were inserted (`delta` > 0) or deleted before `firstRow`.
    void MoveRows(int firstRow, int delta);

signals:
    void stateRequested(WindowState state);
    void assembled(int lineCount, int firstAddress, int lastAddress);
    void assemblyFailed();
    void loaded();
    void layoutChanged();

private:
    CAssembler& assembler_;
    CCpu& machine_;
    TProgramEditor& editor_;
    TStartAddress& start_;
    TMessageLog& log_;
    int assembledStart_ = 0; // the start address of the last successful Assemble
    ProgramLayout assembled_;
    ProgramLayout loaded_;
    std::array<int, MemoryCells> loadedBytes_{}; // memory as Load left it
};
