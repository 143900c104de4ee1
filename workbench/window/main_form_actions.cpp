// The window's commands: the actions, menus and tool bar made from their
// tables, and the handlers, each of which commits any open edit first.
#include "workbench/window/main_form.h"

#include "workbench/commands/assembly_commands.h"
#include "workbench/commands/document_commands.h"
#include "workbench/commands/example_programs.h"
#include "workbench/commands/memory_image_commands.h"
#include "workbench/editor/program_editor.h"
#include "workbench/log/message_log.h"
#include "workbench/run/run_control.h"
#include "workbench/widgets/widget_support.h"
#include "workbench/window/about_box.h"
#include "workbench/window/command_table.h"
#include "workbench/window/option_commands.h"
#include "workbench/window/zoom.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

void TMainForm::CreateActions()
{
    ActionList = new QObject(this);
    ActionList->setObjectName(QStringLiteral("ActionList"));
    for (const CommandSpec& command : Commands()) {
        auto* action = new QAction(QString::fromUtf8(command.caption),
                                   command.listed ? ActionList : static_cast<QObject*>(this));
        action->setObjectName(QLatin1String(command.name));
        SetActionHint(action, QString::fromUtf8(command.hint));
        if (command.icon != CommandIcon::None) {
            action->setIcon(CommandIconImage(command.icon));
        }
        QList<QKeySequence> keys;
        for (const char* key : command.keys) {
            if (key) {
                keys << QKeySequence(QLatin1String(key));
            }
        }
        action->setShortcuts(keys);
        action->setEnabled(command.availableAtStart);
        action->setCheckable(command.checkable);
        action->setChecked(command.checkable);
        connect(action, &QAction::triggered, this, command.handler);
        addAction(action); // shortcuts work whether or not a menu shows the action
        this->*command.action = action;
    }
    stateActions_ = {actFileSave, actFileSaveAs,    actAssemblyRun,  actAssemblyLoad,
                     actCpuRun,   actCpuStep,       actCpuMicroStep, actCpuHalt,
                     actCpuReset, actFileSaveMemory};
}

void TMainForm::CreateMenus()
{
    menuBar()->setObjectName(QStringLiteral("MainMenu"));
    for (const MenuSpec& spec : Menus()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(spec.title));
        menu->setObjectName(QLatin1String(spec.name));
        menu->setToolTipsVisible(false);
        for (const char* item : spec.items) {
            if (qstrcmp(item, "-") == 0) {
                menu->addSeparator();
            } else if (qstrcmp(item, "mnuFileExamples") == 0) {
                CreateExamplesMenu(menu);
            } else {
                menu->addAction(findChild<QAction*>(QLatin1String(item)));
            }
        }
        this->*spec.menu = menu;
    }
    for (QMenu* menu : {mnuFile, mnuEdit, mnuAssembly, mnuCpu}) {
        connect(menu, &QMenu::aboutToShow, this, &TMainForm::mnuFileClick);
    }
    mnuHelp->menuAction()->setStatusTip(QStringLiteral("Help topics"));
    mnuHelp->menuAction()->setVisible(false);
}

// The built-in examples, in the order and with the titles of their index.
void TMainForm::CreateExamplesMenu(QMenu* menu)
{
    mnuFileExamples = menu->addMenu(QStringLiteral("範例程式(&E)"));
    mnuFileExamples->setObjectName(QStringLiteral("mnuFileExamples"));
    mnuFileExamples->setToolTipsVisible(false);
    SetActionHint(mnuFileExamples->menuAction(), QStringLiteral("範例程式|開啟程式內附的範例程式"));
    int number = 0;
    for (const ExampleProgram& example : BuiltInExamples()) {
        QAction* item = mnuFileExamples->addAction(example.title);
        item->setObjectName(QStringLiteral("mnuFileExample%1").arg(++number));
        item->setData(example.resource);
        item->setStatusTip(QStringLiteral("開啟範例程式 ") + example.file);
        connect(item, &QAction::triggered, this,
                [this, resource = example.resource] { mnuFileExampleClick(resource); });
    }
}

void TMainForm::CreateToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    for (const ToolButtonSpec& spec : ToolButtons()) {
        if (qstrcmp(spec.command, "-") == 0) {
            ToolBar1->addSeparator()->setVisible(spec.shown);
        } else if (qstrcmp(spec.command, "interval") == 0) {
            runControl_->AddIntervalField(ToolBar1);
        } else if (QAction* action = findChild<QAction*>(QLatin1String(spec.command)); spec.shown) {
            ToolBar1->addAction(action);
            ToolBar1->widgetForAction(action)->setObjectName(QLatin1String(spec.button));
        } else {
            // A button of its own, hidden, so that the action stays visible.
            auto* tool = new QToolButton(ToolBar1);
            tool->setObjectName(QLatin1String(spec.button));
            tool->setDefaultAction(action);
            ToolBar1->addWidget(tool)->setVisible(false);
        }
    }
    ShowShortcutsInToolTips(ToolBar1);
}

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

void TMainForm::actAssemblyRunLoadExecute()
{
    CommitEdits();
    if (assembly_->Assemble()) {
        actAssemblyLoadExecute();
    }
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

void TMainForm::actEditUndoExecute()
{
    CommitEdits();
    editor_->Undo();
}

void TMainForm::actEditRedoExecute()
{
    CommitEdits();
    editor_->Redo();
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

void TMainForm::actCpuStepBackExecute()
{
    CommitEdits();
    runControl_->StepBack();
}

void TMainForm::actCpuMicroStepBackExecute()
{
    CommitEdits();
    runControl_->MicroStepBack();
}

void TMainForm::actCpuToggleBreakpointExecute()
{
    CommitEdits();
    editor_->ToggleBreakpoint(editor_->CurrentRow());
}

void TMainForm::actCpuRunToCursorExecute()
{
    CommitEdits();
    const CellSet cells = assembly_->Layout().CellsOf({editor_->CurrentRow() + 1});
    if (cells.none()) {
        statusBar()->showMessage(QStringLiteral("目前這一行沒有載入的指令"), 5000);
        return;
    }
    runControl_->RunTo(cells);
}

void TMainForm::actCpuClearBreakpointsExecute()
{
    CommitEdits();
    editor_->ClearBreakpoints();
}

void TMainForm::actOptionZoomInExecute()
{
    CommitEdits();
    zoom_->ZoomIn();
}

void TMainForm::actOptionZoomOutExecute()
{
    CommitEdits();
    zoom_->ZoomOut();
}

void TMainForm::actOptionZoomResetExecute()
{
    CommitEdits();
    zoom_->Reset();
}
