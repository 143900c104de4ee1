#include "workbench/window/main_form.h"

#include "assembler/assembler.h"
#include "machine/cpu.h"
#include "workbench/commands/assembly_commands.h"
#include "workbench/commands/document_commands.h"
#include "workbench/commands/file_chooser.h"
#include "workbench/commands/memory_image_commands.h"
#include "workbench/editor/program_editor.h"
#include "workbench/editor/start_address.h"
#include "workbench/follow/program_follower.h"
#include "workbench/log/message_log.h"
#include "workbench/machine_view/machine_view.h"
#include "workbench/run/run_control.h"
#include "workbench/widgets/window_font.h"
#include "workbench/window/about_box.h"
#include "workbench/window/command_table.h"
#include "workbench/window/option_commands.h"
#include "workbench/window/zoom.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStatusBar>
#include <QVBoxLayout>

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

    CreateActions();
    AboutBox = new TAboutBox(this);
    files_ = std::make_unique<TFileChooser>(this);
    log_ = new TMessageLog(this);
    editor_ = new TProgramEditor(this);
    view_ = new TMachineView(this);
    view_->AttachStartField(editor_->StartField());
    LayOutClient();
    {
        // The machine's first events fill the memory page it shows.
        const auto bulk = view_->BulkWrites();
        cpu_ = std::make_unique<CCpu>(&MachineEventSink);
        assembler_ = std::make_unique<CAssembler>(&MachineEventSink);
    }
    view_->SetMachine(cpu_.get());
    CreateParts();
    CreateMenus();
    CreateToolBar();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    zoom_ = std::make_unique<TZoom>(*this, *editor_, *log_, *ToolBar1);
    WireParts();
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
    options_ = std::make_unique<TOptionCommands>(*this, *view_);
    ColorDialog = options_->ColourDialog();
}

// Every part's signals reach the parts and commands that answer them here.
void TMainForm::WireParts()
{
    // Each part asks for the states of what it did.
    connect(runControl_.get(), &TRunControl::stateRequested, this, &TMainForm::SetState);
    connect(memoryImages_.get(), &TMemoryImageCommands::stateRequested, this, &TMainForm::SetState);
    connect(documents_.get(), &TDocumentCommands::stateRequested, this, &TMainForm::SetState);
    connect(assembly_.get(), &TAssemblyCommands::stateRequested, this, &TMainForm::SetState);
    connect(editor_, &TProgramEditor::modified, this, [this] { SetState(StateModified); });
    connect(editor_, &TProgramEditor::emptied, this, [this] { SetState(StateNew); });
    connect(view_, &TMachineView::memoryEdited, this, [this] { SetState(StateMemoryChanged); });
    connect(view_, &TMachineView::registerEdited, this, [this] { SetState(StateRegisterChanged); });

    // START: typed, undone and redone, shown.
    connect(view_, &TMachineView::startTyped, start_.get(), &TStartAddress::Edit);
    connect(start_.get(), &TStartAddress::taken, view_,
            [this](int address) { view_->ShowStartAddress(address, FormatNumber(address)); });
    connect(start_.get(), &TStartAddress::cleared, view_,
            [this] { view_->ShowStartAddress(0, QStringLiteral("00")); });
    connect(start_.get(), &TStartAddress::edited, this, [this](int previous, int address) {
        editor_->RecordStartChange(previous, address);
        SetState(StateModified);
        SetState(StateStartChanged);
    });
    connect(editor_, &TProgramEditor::startRestored, this, [this](int address) {
        view_->ClearHighlights();
        start_->Restore(address);
    });
    connect(start_.get(), &TStartAddress::restored, this, [this] { SetState(StateStartChanged); });

    // Undo and redo: a step undone or redone is a change of the program;
    // back at the saved contents, Save is not offered.
    connect(editor_, &TProgramEditor::undoAvailable, actEditUndo, &QAction::setEnabled);
    connect(editor_, &TProgramEditor::redoAvailable, actEditRedo, &QAction::setEnabled);
    connect(editor_, &TProgramEditor::programRestored, this, [this](bool saved) {
        SetState(StateModified);
        if (saved) {
            SetState(StateSaved);
        }
    });

    // Commands that follow others' availability.
    connect(editor_, &TProgramEditor::lineCommandsChanged, this,
            [this](bool canInsert, bool canDelete) {
                actEditInsertLine->setEnabled(canInsert);
                actEditDeleteLine->setEnabled(canDelete);
            });
    connect(runControl_.get(), &TRunControl::runningChanged, this, &TMainForm::ShowRunCommand);
    connect(runControl_.get(), &TRunControl::stepBackAvailable, this, [this](bool available) {
        actCpuStepBack->setEnabled(available);
        actCpuMicroStepBack->setEnabled(available);
    });
    connect(actAssemblyRun, &QAction::enabledChanged, actAssemblyRunLoad, &QAction::setEnabled);
    connect(actCpuStep, &QAction::enabledChanged, actCpuRunToCursor, &QAction::setEnabled);
    connect(editor_, &TProgramEditor::breakpointsChanged, this,
            [this] { actCpuClearBreakpoints->setEnabled(!editor_->BreakpointRows().empty()); });

    // The loaded program followed in the grid.
    TProgramFollower* follower = follower_.get();
    connect(this, &TMainForm::stateRequested, follower, &TProgramFollower::StateApplied);
    connect(view_, &TMachineView::synced, follower, &TProgramFollower::ShowExecutingRow);
    connect(assembly_.get(), &TAssemblyCommands::layoutChanged, follower,
            &TProgramFollower::FollowLayout);
    connect(assembly_.get(), &TAssemblyCommands::assembled, follower,
            &TProgramFollower::ShowAssembled);
    connect(assembly_.get(), &TAssemblyCommands::assemblyFailed, follower,
            &TProgramFollower::SelectFirstError);
    connect(assembly_.get(), &TAssemblyCommands::loaded, runControl_.get(),
            &TRunControl::ProgramLoaded);
    connect(editor_, &TProgramEditor::rowsMoved, assembly_.get(), &TAssemblyCommands::MoveRows);
    connect(editor_, &TProgramEditor::lineCommandsChanged, follower,
            &TProgramFollower::OfferBreakpoint);
    connect(editor_, &TProgramEditor::breakpointsChanged, follower, [follower] {
        follower->OfferBreakpoint();
        follower->PlaceBreakpoints();
    });
    connect(follower, &TProgramFollower::breakpointOffered, actCpuToggleBreakpoint,
            &QAction::setEnabled);
    connect(follower, &TProgramFollower::breakpointsPlaced, runControl_.get(),
            &TRunControl::SetBreakpoints);
    connect(log_, &TMessageLog::lineChosen, follower, &TProgramFollower::LeadToLine);
    connect(log_, &TMessageLog::addressChosen, follower, &TProgramFollower::LeadToAddress);
    connect(runControl_.get(), &TRunControl::breakpointReached, follower,
            &TProgramFollower::ShowBreakpointReached);
    connect(runControl_.get(), &TRunControl::cursorReached, follower,
            &TProgramFollower::ShowCursorReached);
    connect(runControl_.get(), &TRunControl::halted, follower, &TProgramFollower::ShowHalt);
    connect(runControl_.get(), &TRunControl::machineStarted, follower,
            &TProgramFollower::ShowStarted);
    connect(runControl_.get(), &TRunControl::stepsForgotten, follower,
            &TProgramFollower::ShowStepsForgotten);

    // Zoom.
    connect(zoom_.get(), &TZoom::clientScrolled, this, &TMainForm::CommitEdits);
    connect(zoom_.get(), &TZoom::zoomChanged, this, [this] {
        actOptionZoomIn->setEnabled(zoom_->CanZoomIn());
        actOptionZoomOut->setEnabled(zoom_->CanZoomOut());
        actOptionZoomReset->setEnabled(zoom_->CanZoomOut());
    });
}

void TMainForm::LayOutClient()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    auto* left = new QVBoxLayout;
    left->setContentsMargins(5, 0, 5, 2);
    left->setSpacing(4);
    left->addWidget(editor_);
    left->addWidget(log_, 1);

    auto* bevel = new QFrame(client);
    bevel->setObjectName(QStringLiteral("Bevel2"));
    bevel->setFrameShape(QFrame::VLine);
    bevel->setFrameShadow(QFrame::Sunken);

    auto* columns = new QHBoxLayout(client);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addLayout(left);
    columns->addWidget(bevel);
    columns->addWidget(view_);
    setCentralWidget(client);
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
        stateActions_[command]->setEnabled(available_[command]);
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
    const int instruction = runControl_ ? runControl_->InstructionInProgress() : -1;
    const MessageTarget origin =
        instruction >= 0 ? MessageTarget{MessageTarget::Address, instruction} : MessageTarget{};
    log_->ShowErrorMessage(subCode, number, view_->Radix(), files_->LastOpenedName(),
                           files_->LastSavedName(), origin);
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
