// The handlers of the window's commands: each commits any open edit first.
#include "workbench/window/main_form.h"

#include "workbench/commands/assembly_commands.h"
#include "workbench/commands/document_commands.h"
#include "workbench/commands/memory_image_commands.h"
#include "workbench/editor/program_editor.h"
#include "workbench/log/message_log.h"
#include "workbench/run/run_control.h"
#include "workbench/widgets/widget_support.h"
#include "workbench/window/about_box.h"
#include "workbench/window/command_table.h"
#include "workbench/window/option_commands.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>

void TMainForm::ShowRunCommand(bool running)
{
    actCpuRun->setIcon(CommandIconImage(running ? CommandIcon::Pause : CommandIcon::Run));
    actCpuRun->setText(running ? QStringLiteral("暫停(&P)") : QStringLiteral("執行(&R)"));
    SetActionHint(actCpuRun,
                  running ? QStringLiteral("暫停|暫停程式") : QStringLiteral("執行|執行程式"));
}

void TMainForm::mnuFileClick()
{
    CommitEdits();
}

void TMainForm::actFileNewExecute()
{
    CommitEdits();
    documents_->New();
}

void TMainForm::actFileOpenExecute()
{
    CommitEdits();
    documents_->Open();
}

void TMainForm::actFileSaveExecute()
{
    CommitEdits();
    documents_->Save();
}

void TMainForm::actFileSaveAsExecute()
{
    CommitEdits();
    documents_->SaveAs();
}

void TMainForm::actFileExitExecute()
{
    CommitEdits();
    close();
}

void TMainForm::actFileSaveMemoryExecute()
{
    CommitEdits();
    memoryImages_->Save();
}

void TMainForm::actFileLoadMemoryExecute()
{
    CommitEdits();
    memoryImages_->Load();
}

void TMainForm::mnuFileExampleClick(const QString& resource)
{
    CommitEdits();
    documents_->OpenExample(resource);
}

void TMainForm::actCpuClearMemoryExecute()
{
    CommitEdits();
    memoryImages_->Clear();
}

void TMainForm::actCpuRunExecute()
{
    CommitEdits();
    runControl_->RunOrPause();
}

void TMainForm::tmrRunCpuTimer()
{
    runControl_->tmrRunCpuTimer();
}

void TMainForm::actCpuStepExecute()
{
    CommitEdits();
    runControl_->Step();
}

void TMainForm::actCpuMicroStepExecute()
{
    CommitEdits();
    runControl_->MicroStep();
}

void TMainForm::actCpuHaltExecute()
{
    CommitEdits();
    runControl_->Halt();
}

void TMainForm::actCpuResetExecute()
{
    CommitEdits();
    runControl_->Reset();
    actEditClearMessageExecute();
}

void TMainForm::actCpuClearRegisterExecute()
{
    CommitEdits();
    runControl_->ClearRegisters();
}

void TMainForm::actCpuRadixExecute()
{
    CommitEdits();
    options_->ToggleRadix(*actCpuRadix);
}

void TMainForm::actAssemblyRunExecute()
{
    CommitEdits();
    assembly_->Assemble();
}

// A running machine is halted first.
void TMainForm::actAssemblyLoadExecute()
{
    ClearHighlights();
    CommitEdits();
    if (available_[CommandHalt]) {
        actCpuHaltExecute();
    }
    assembly_->Load();
}

void TMainForm::actEditClearMessageExecute()
{
    CommitEdits();
    log_->clear();
}

void TMainForm::actEditInsertLineExecute()
{
    CommitEdits();
    editor_->InsertLine();
}

void TMainForm::actEditDeleteLineExecute()
{
    CommitEdits();
    editor_->DeleteLine();
}

// The clipboard commands act on the field being typed in.
void TMainForm::actEditCutExecute()
{
    if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        edit->cut();
    }
}

void TMainForm::actEditCopyExecute()
{
    if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        edit->copy();
    }
}

void TMainForm::actEditPasteExecute()
{
    if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        edit->paste();
    }
}

void TMainForm::actHelpAboutExecute()
{
    AboutBox->exec();
}

void TMainForm::mnuOptionSetColorClick()
{
    options_->ChooseWriteColour();
}

void TMainForm::mnuOptionGetColorClick()
{
    options_->ChooseReadColour();
}

void TMainForm::mnuOptionTextColorClick()
{
    options_->ChooseTextColour();
}

void TMainForm::mnuOptionViewHintClick()
{
    options_->ToggleHints(*mnuOptionViewHint);
}
