// The document commands: New, Open, Save, Save As and Exit of "*.asm" files.
#include "main_form.h"

#include <QAction>

void TMainForm::actFileNewExecute() {}
void TMainForm::actFileOpenExecute() {}
void TMainForm::actFileSaveExecute() {}
void TMainForm::actFileSaveAsExecute() {}

void TMainForm::actFileExitExecute()
{
    CommitEdits();
    close();
}

bool TMainForm::SaveChangesPrompt()
{
    if (!actFileSave->isEnabled()) {
        return true;
    }
    switch (AskYesNoCancel(QStringLiteral("內容已變更，要存檔？"))) {
    case QMessageBox::Yes:
        actFileSaveExecute();
        return !actFileSave->isEnabled(); // go on only once the program is saved
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}
