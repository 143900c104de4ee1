#include "workbench/window/main_form.h"

#include "assembler/assembler.h"
#include "machine/cpu.h"
#include "workbench/commands/assembly_commands.h"
#include "workbench/commands/document_commands.h"
#include "workbench/commands/file_chooser.h"
#include "workbench/commands/memory_image_commands.h"
#include "workbench/datapath/step_picture.h"
#include "workbench/editor/program_editor.h"
#include "workbench/editor/start_address.h"
#include "workbench/follow/program_follower.h"
#include "workbench/log/message_log.h"
#include "workbench/machine_view/machine_view.h"
#include "workbench/run/run_control.h"
#include "workbench/widgets/window_font.h"
#include "workbench/window/about_box.h"
#include "workbench/window/client_layout.h"
#include "workbench/window/command_table.h"
#include "workbench/window/option_commands.h"
#include "workbench/window/part_wiring.h"
#include "workbench/window/zoom.h"

#include <QCloseEvent>
#include <QLayout>
#include <QStatusBar>

TMainForm* MainForm = nullptr;

void MachineEventSink(int code, int value, int index)
{
    if (MainForm) {
        MainForm->HandleMachineEvent(code, value, index);
    }
}

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent)
{
    MainForm = this;
    Q_INIT_RESOURCE(icons);
    setWindowIcon(QIcon(QStringLiteral(":/icons/mira.png")));
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("MIRA"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont(font()));
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(false);

    BuildCommands(*this);
    AboutBox = new TAboutBox(this);
    files_ = std::make_unique<TFileChooser>(this);
    log_ = new TMessageLog(this);
    editor_ = new TProgramEditor(this);
    view_ = new TMachineView(this);
    view_->AttachStartField(editor_->StartField());
    setCentralWidget(NewClient(this, editor_, log_, view_));
    {
        // The machine's first events fill the memory page it shows.
        const auto bulk = view_->BulkWrites();
        cpu_ = std::make_unique<CCpu>(&MachineEventSink);
        assembler_ = std::make_unique<CAssembler>(&MachineEventSink);
    }
    view_->SetMachine(cpu_.get());
    CreateParts();
    BuildMenus(*this);
    BuildToolBar(*this, [this](QToolBar* bar) { runControl_->AddIntervalField(bar); });
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    zoom_ = std::make_unique<TZoom>(*this, *editor_, *log_, *ToolBar1);
    WireParts({*this, *editor_, *view_, *log_, *start_, *runControl_, *memoryImages_, *documents_,
               *assembly_, *follower_, *picture_, *zoom_});
    ClearHighlights();
    SetState(StateMemoryCleared);
    RenumberRows(0);
}

// A window that goes shows no more of the machine's events. The focus leaves
// first, so that no field commits while the parts go.
TMainForm::~TMainForm()
{
    MainForm = nullptr;
    if (QWidget* focused = focusWidget()) {
        focused->clearFocus();
    }
    view_->SetMachine(nullptr);
}

void TMainForm::CreateParts()
{
    start_ = std::make_unique<TStartAddress>(*cpu_, this);
    runControl_ = std::make_unique<TRunControl>(*cpu_, *view_, this);
    memoryImages_ = std::make_unique<TMemoryImageCommands>(
        *cpu_, *view_, *files_, [this] { return available_[CommandSaveMemory]; }, this);
    documents_ = std::make_unique<TDocumentCommands>(
        *editor_, *start_, *files_, [this] { return available_[CommandSave]; }, this);
    assembly_ =
        std::make_unique<TAssemblyCommands>(*assembler_, *cpu_, *editor_, *start_, *log_, this);
    follower_ = std::make_unique<TProgramFollower>(*editor_, *view_, *runControl_, *assembly_,
                                                   *log_, statusBar(), this);
    picture_ = std::make_unique<TStepPicture>(*view_, *runControl_, *log_, this);
    options_ = std::make_unique<TOptionCommands>(*this, *view_);
    ColorDialog = options_->ColourDialog();
}

// Zoom: each part lays itself out again from the new font.
void TMainForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange && zoom_) {
        editor_->LayOut();
        view_->LayOut();
        runControl_->LayOut();
    }
    QMainWindow::changeEvent(event);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool TMainForm::FormCloseQuery()
{
    return SaveChangesPrompt();
}

void TMainForm::customEvent(QEvent* event)
{
    if (!runControl_->RunMessageArrived(event)) {
        QMainWindow::customEvent(event);
    }
}

void TMainForm::SetState(int state)
{
    const auto windowState = static_cast<WindowState>(state);
    if (state == recordedState_) {
        // The file names may have changed since the state was last applied.
        ApplyTitle(TitleRuleOf(state));
        emit stateRequested(windowState);
        return;
    }
    const StateEffects effects = ApplyWindowState(state, available_);
    for (int command = 0; command < StateCommandCount; ++command) {
        (this->*StateCommandActions()[command])->setEnabled(available_[command]);
    }
    ApplyTitle(effects.title);
    if (effects.halted) {
        runControl_->Stop();
        ShowRunCommand(false);
        view_->EmptyListing();
    }
    recordedState_ = state;
    emit stateRequested(windowState);
}

void TMainForm::ApplyTitle(TitleRule rule)
{
    if (rule == TitleRule::Unchanged) {
        return;
    }
    setWindowTitle(QString::fromStdString(WindowTitle(rule, documents_->FileName().toStdString(),
                                                      memoryImages_->FileName().toStdString())));
}

void TMainForm::HandleMachineEvent(int code, int value, int index)
{
    view_->HandleMachineEvent(code, value, index);
    if (runControl_) {
        runControl_->HandleMachineEvent(code, value, index);
    }
    switch (code) {
    case MachineEvent::StartSet:
        if (start_) {
            start_->MachineSet(value);
        }
        break;
    case MachineEvent::MemorySet:
        SetState(StateMemoryChanged);
        break;
    case MachineEvent::Error:
        ShowErrorMessage(value, index);
        break;
    default:
        break;
    }
}

void TMainForm::ShowErrorMessage(int subCode, int number)
{
    log_->ShowErrorMessage(subCode, number, view_->Radix(), files_->LastOpenedName(),
                           files_->LastSavedName(),
                           runControl_ ? runControl_->ReportingInstruction() : MessageTarget{});
}

// The forwarders named as the window's operations.
QString TMainForm::FormatNumber(int value) const
{
    return view_->FormatNumber(value);
}
int TMainForm::ParseNumber(const QString& text) const
{
    return view_->ParseNumber(text);
}
void TMainForm::ClearHighlights()
{
    view_->ClearHighlights();
}
void TMainForm::ShowMemoryNearPc(int first)
{
    view_->ShowMemoryNearPc(first);
}
void TMainForm::tabMMChange()
{
    view_->tabMMChange();
}
void TMainForm::CommitEdits()
{
    editor_->CommitEdits();
    view_->CommitFocusedField();
}
void TMainForm::RenumberRows(int firstRow)
{
    editor_->RenumberRows(firstRow);
}
void TMainForm::UpdateLineActions()
{
    editor_->UpdateLineActions();
}
void TMainForm::ShowOperandEditor()
{
    editor_->ShowOperandEditor();
}
void TMainForm::pnlOperandExit()
{
    editor_->pnlOperandExit();
}
QString TMainForm::CellText(int row, int column) const
{
    return editor_->CellText(row, column);
}
void TMainForm::SetCellText(int row, int column, const QString& text)
{
    editor_->SetCellText(row, column, text);
}
bool TMainForm::IsEmptyRow(int row) const
{
    return editor_->IsEmptyRow(row);
}
bool TMainForm::SaveChangesPrompt()
{
    return documents_->SaveChangesPrompt();
}
void TMainForm::FitToScreen()
{
    zoom_->FitToScreen();
}
