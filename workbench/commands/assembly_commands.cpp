#include "workbench/commands/assembly_commands.h"

#include "assembler/assembler.h"
#include "assembler/program_image.h"
#include "machine/cpu.h"
#include "workbench/editor/program_editor.h"
#include "workbench/editor/start_address.h"
#include "workbench/log/message_log.h"
#include "workbench/window/window_states.h"

TAssemblyCommands::TAssemblyCommands(CAssembler& assembler, CCpu& machine, TProgramEditor& editor,
                                     TStartAddress& start, TMessageLog& log, QObject* parent)
    : QObject(parent), assembler_(assembler), machine_(machine), editor_(editor), start_(start),
      log_(log)
{
}

bool TAssemblyCommands::Assemble()
{
    assembled_ = {};
    ForgetLayout();
    assembler_.Reset();
    log_.clear();
    if (!AddProgramRows(assembler_, editor_.Rows())) {
        emit assemblyFailed();
        return false;
    }
    const int start = start_.Address();
    if (!assembler_.Assemble(start)) {
        emit assemblyFailed();
        return false;
    }
    assembledStart_ = start;
    emit stateRequested(StateAssembled);
    int entryAddress = -1;
    int lineCount = 0;
    const SourceLine* lines = assembler_.GetResult(entryAddress, lineCount);
    assembled_ = ProgramLayout(lines, lineCount, start);
    emit assembled(lineCount, assembled_.StartAddress(), assembled_.LastAddress());
    return true;
}

void TAssemblyCommands::Load()
{
    // The code goes where the assembly placed it. The START field is not
    // read here: an earlier Load of a program that begins with "DB" lines
    // has moved it to the entry address.
    LoadProgram(machine_, assembler_, assembledStart_);
    emit stateRequested(StateLoaded);
    loaded_ = assembled_;
    for (int address = 0; address < MemoryCells; ++address) {
        loadedBytes_[address] = machine_.GetMemory(address);
    }
    emit loaded();
    emit layoutChanged();
}

std::vector<LineCode> TAssemblyCommands::LoadedCode() const
{
    return loaded_.CodeOfLines(loadedBytes_);
}

void TAssemblyCommands::ForgetLayout()
{
    if (!loaded_.IsEmpty()) {
        loaded_ = {};
        emit layoutChanged();
    }
}

void TAssemblyCommands::MoveRows(int firstRow, int delta)
{
    assembled_.MoveLines(firstRow + 1, delta);
    loaded_.MoveLines(firstRow + 1, delta);
    emit layoutChanged();
}
