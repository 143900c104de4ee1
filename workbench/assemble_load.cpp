// Assemble and Load: the program in the grid becomes machine code in memory.
#include "assembler/assembler.h"
#include "assembler/program_image.h"
#include "assembler/source_file.h"
#include "machine/cpu.h"
#include "main_form.h"
#include "widget_support.h"

#include <QAction>
#include <QLineEdit>
#include <QTableWidget>

void TMainForm::actAssemblyRunExecute()
{
    CommitEdits();
    assembler_->Reset();
    actEditClearMessageExecute();
    for (int row = 0; row < sgrdCode->rowCount(); ++row) {
        const SourceRow line = ProgramRow(row);
        if (line.IsEmpty()) {
            continue;
        }
        if (!assembler_->AddLine(row + 1, line.label.c_str(), line.mnemonic.c_str(),
                                 line.operand.c_str())) {
            return;
        }
    }
    const int start = TagOf(txtStart);
    if (assembler_->Assemble(start)) {
        assembledStart_ = start;
        SetState(StateAssembled);
    }
}

void TMainForm::actAssemblyLoadExecute()
{
    ClearHighlights();
    CommitEdits();
    if (actCpuHalt->isEnabled()) {
        actCpuHaltExecute();
    }
    // The code goes where the assembly placed it. The START field is not
    // read here: an earlier Load of a program that begins with "DB" lines
    // has moved it to the entry address.
    const int address = assembledStart_;
    int entryAddress = -1;
    int lineCount = 0;
    const SourceLine* lines = assembler_->GetResult(entryAddress, lineCount);
    cpu_->SetStartAddress(entryAddress);
    cpu_->SetPc(entryAddress);
    for (const CellWrite& write : ProgramImage(lines, lineCount, address)) {
        cpu_->SetMemory(write.address, write.value);
    }
    SetState(StateLoaded);
}
