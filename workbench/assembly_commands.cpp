#include "assembly_commands.h"

#include "assembler/assembler.h"
#include "assembler/program_image.h"
#include "machine/cpu.h"
#include "machine_view.h"
#include "message_log.h"
#include "program_editor.h"
#include "window_states.h"

TAssemblyCommands::TAssemblyCommands(CAssembler& assembler, CCpu& machine, TProgramEditor& editor,
                                     TMachineView& view, TMessageLog& log, QObject* parent)
    : QObject(parent), assembler_(assembler), machine_(machine), editor_(editor), view_(view),
      log_(log)
{
}

void TAssemblyCommands::Assemble()
{
    assembler_.Reset();
    log_.clear();
    if (!AddProgramRows(assembler_, editor_.Rows())) {
        return;
    }
    const int start = view_.StartAddress();
    if (assembler_.Assemble(start)) {
        assembledStart_ = start;
        emit stateRequested(StateAssembled);
    }
}

void TAssemblyCommands::Load()
{
    // The code goes where the assembly placed it. The START field is not
    // read here: an earlier Load of a program that begins with "DB" lines
    // has moved it to the entry address.
    const int address = assembledStart_;
    int entryAddress = -1;
    int lineCount = 0;
    const SourceLine* lines = assembler_.GetResult(entryAddress, lineCount);
    machine_.SetStartAddress(entryAddress);
    machine_.SetPc(entryAddress);
    for (const CellWrite& write : ProgramImage(lines, lineCount, address)) {
        machine_.SetMemory(write.address, write.value);
    }
    emit stateRequested(StateLoaded);
}
