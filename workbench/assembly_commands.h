#pragma once

#include <QObject>

class CAssembler;
class CCpu;
class TMachineView;
class TMessageLog;
class TProgramEditor;

// Assemble and Load: the program in the grid becomes machine code in memory.
class TAssemblyCommands : public QObject {
    Q_OBJECT

public:
    TAssemblyCommands(CAssembler& assembler, CCpu& machine, TProgramEditor& editor,
                      TMachineView& view, TMessageLog& log, QObject* parent);

    void Assemble();
    void Load();

signals:
    void stateRequested(int state);

private:
    CAssembler& assembler_;
    CCpu& machine_;
    TProgramEditor& editor_;
    TMachineView& view_;
    TMessageLog& log_;
    int assembledStart_ = 0; // the start address of the last successful Assemble
};
