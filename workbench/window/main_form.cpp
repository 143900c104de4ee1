#include "workbench/window/main_form.h"

#include "assembler/assembler.h"
#include "machine/cpu.h"
#include "workbench/commands/assembly_commands.h"
#include "workbench/commands/document_commands.h"
#include "workbench/commands/file_chooser.h"
#include "workbench/commands/memory_image_commands.h"
#include "workbench/editor/program_editor.h"
#include "workbench/follow/program_follower.h"
#include "workbench/log/message_log.h"
#include "workbench/machine_view/machine_view.h"
#include "workbench/run/run_control.h"
#include "workbench/window/about_box.h"
#include "workbench/window/zoom.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStatusBar>
#include <QVBoxLayout>

#include <utility>

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
    QFont windowFont = font();
    windowFont.setFamilies({QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans TC"),
                            QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("sans-serif")});
    windowFont.setPixelSize(13);
    setFont(windowFont);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(false);

    CreateActions();
    ColorDialog = new QColorDialog(this);
    ColorDialog->setObjectName(QStringLiteral("ColorDialog"));
    ColorDialog->setOption(QColorDialog::DontUseNativeDialog);
    AboutBox = new TAboutBox(this);
    files_ = new TFileChooser(this);
    log_ = new TMessageLog(this);
    editor_ = new TProgramEditor(this);
    view_ = new TMachineView(this);
    view_->AttachStartField(editor_->StartField());
    LayOutClient();
    view_->SetTextColour(palette().color(QPalette::WindowText));
    WireParts();

    view_->SetBulk(true);
    cpu_ = std::make_unique<CCpu>(&MachineEventSink);
    assembler_ = std::make_unique<CAssembler>(&MachineEventSink);
    view_->SetBulk(false);
    view_->SetMachine(cpu_.get());
    CreateCommands();
    CreateMenus();
    CreateExamplesMenu();
    CreateToolBar();
    ClearHighlights();
    SetState(StateMemoryCleared);
    RenumberRows(0);
    FollowProgram();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    zoom_ = new TZoom(*this, *editor_, *log_, *ToolBar1);
    connect(zoom_, &TZoom::clientScrolled, this, &TMainForm::CommitEdits);
    CreateZoomActions();
}

TMainForm::~TMainForm()
{
    // A window that goes shows no more of the machine's events. The focus
    // leaves first, so that no field commits while it is destroyed; the parts
    // go while the window is whole, the view before the editor whose START
    // field it watches.
    MainForm = nullptr;
    if (QWidget* focused = focusWidget()) {
        focused->clearFocus();
    }
    delete std::exchange(zoom_, nullptr);
    delete follower_;
    delete assembly_;
    delete documents_;
    delete memoryImages_;
    delete runControl_;
    delete view_;
    delete editor_;
    cpu_.reset();
    assembler_.reset();
}

void TMainForm::WireParts()
{
    connect(editor_, &TProgramEditor::modified, this, [this] { SetState(StateModified); });
    connect(editor_, &TProgramEditor::emptied, this, [this] { SetState(StateNew); });
    connect(editor_, &TProgramEditor::lineCommandsChanged, this, &TMainForm::ShowLineCommands);
    connect(view_, &TMachineView::halted, this, &TMainForm::MachineHalted);
    connect(view_, &TMachineView::memoryChanged, this, [this] { SetState(StateMemoryChanged); });
    connect(view_, &TMachineView::registerEdited, this, [this] { SetState(StateRegisterChanged); });
    connect(view_, &TMachineView::startEdited, this, [this](int previous, int address) {
        editor_->RecordStartChange(previous, address);
        SetState(StateModified);
        SetState(StateStartChanged);
    });
    connect(view_, &TMachineView::errorReported, this, &TMainForm::ShowErrorMessage);

    // Undo and redo: the editor keeps the steps. A step undone or redone is a
    // change of the program; back at the saved contents, Save is not offered.
    connect(editor_, &TProgramEditor::undoAvailable, actEditUndo, &QAction::setEnabled);
    connect(editor_, &TProgramEditor::redoAvailable, actEditRedo, &QAction::setEnabled);
    connect(editor_, &TProgramEditor::programRestored, this, [this](bool saved) {
        SetState(StateModified);
        if (saved) {
            SetState(StateSaved);
        }
    });
    connect(editor_, &TProgramEditor::startRestored, this, [this](int address) {
        view_->SetStartAddress(address);
        SetState(StateStartChanged);
    });
}

void TMainForm::CreateCommands()
{
    runControl_ = new TRunControl(*cpu_, *view_, this);
    memoryImages_ = new TMemoryImageCommands(*cpu_, *view_, *files_, *actFileSaveMemory, this);
    documents_ = new TDocumentCommands(*editor_, *view_, *files_, *actFileSave, this);
    assembly_ = new TAssemblyCommands(*assembler_, *cpu_, *editor_, *view_, *log_, this);
    connect(runControl_, &TRunControl::stateRequested, this, &TMainForm::SetState);
    connect(memoryImages_, &TMemoryImageCommands::stateRequested, this, &TMainForm::SetState);
    connect(documents_, &TDocumentCommands::stateRequested, this, &TMainForm::SetState);
    connect(assembly_, &TAssemblyCommands::stateRequested, this, &TMainForm::SetState);
    connect(runControl_, &TRunControl::runningChanged, this, &TMainForm::ShowRunCommand);
}

void TMainForm::FollowProgram()
{
    follower_ =
        new TProgramFollower(*editor_, *view_, *runControl_, *assembly_, *log_, statusBar(), this);
    connect(this, &TMainForm::stateRequested, follower_, &TProgramFollower::StateApplied);
    connect(follower_, &TProgramFollower::breakpointOffered, actCpuToggleBreakpoint,
            &QAction::setEnabled);
    connect(editor_, &TProgramEditor::breakpointsChanged, this,
            [this] { actCpuClearBreakpoints->setEnabled(!editor_->BreakpointRows().empty()); });
    connect(runControl_, &TRunControl::stepBackAvailable, this, [this](bool available) {
        actCpuStepBack->setEnabled(available);
        actCpuMicroStepBack->setEnabled(available);
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

// Classroom: each part lays itself out again from a new font.
void TMainForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange && zoom_) {
        LayOutForFont();
    }
    QMainWindow::changeEvent(event);
}

void TMainForm::LayOutForFont()
{
    editor_->LayOut();
    view_->LayOut();
    runControl_->LayOut();
}

void TMainForm::FitToScreen()
{
    zoom_->FitToScreen();
}

void TMainForm::ShowZoom()
{
    actOptionZoomIn->setEnabled(zoom_->CanZoomIn());
    actOptionZoomOut->setEnabled(zoom_->CanZoomOut());
    actOptionZoomReset->setEnabled(zoom_->CanZoomOut());
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
    if (state == recordedState_) {
        // The file names may have changed since the state was last applied.
        ApplyTitle(TitleRuleOf(state));
        emit stateRequested(state);
        return;
    }
    CommandAvailability available{};
    for (int command = 0; command < StateCommandCount; ++command) {
        available[command] = stateActions_[command]->isEnabled();
    }
    const StateEffects effects = ApplyWindowState(state, available);
    for (int command = 0; command < StateCommandCount; ++command) {
        stateActions_[command]->setEnabled(available[command]);
    }
    ApplyTitle(effects.title);
    if (effects.halted) {
        runControl_->Stop();
        ShowRunCommand(false);
        view_->EmptyListing();
    }
    recordedState_ = state;
    emit stateRequested(state);
}

void TMainForm::ApplyTitle(TitleRule rule)
{
    if (rule == TitleRule::Unchanged) {
        return;
    }
    setWindowTitle(QString::fromStdString(WindowTitle(rule, documents_->FileName().toStdString(),
                                                      memoryImages_->FileName().toStdString())));
}

void TMainForm::MachineHalted()
{
    runControl_->Stop();
    SetState(StateHalted);
}

void TMainForm::ShowLineCommands(bool canInsert, bool canDelete)
{
    actEditInsertLine->setEnabled(canInsert);
    actEditDeleteLine->setEnabled(canDelete);
}

// Forwarders to the parts that carry the operations out.

void TMainForm::HandleMachineEvent(int code, int value, int index)
{
    view_->HandleMachineEvent(code, value, index);
    if (runControl_) {
        runControl_->HandleMachineEvent(code, value, index);
    }
}

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

void TMainForm::ShowErrorMessage(int subCode, int number)
{
    const int instruction = runControl_ ? runControl_->InstructionInProgress() : -1;
    const MessageTarget origin =
        instruction >= 0 ? MessageTarget{MessageTarget::Address, instruction} : MessageTarget{};
    log_->ShowErrorMessage(subCode, number, view_->Radix(), files_->LastOpenedName(),
                           files_->LastSavedName(), origin);
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

// The commands: each commits any open edit first, then acts.

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
    view_->ToggleRadix();
    const bool decimal = view_->Radix() == 10;
    actCpuRadix->setChecked(!decimal);
    if (decimal) {
        actCpuRadix->setText(QStringLiteral("十六進位顯示(&H)"));
        SetHint(actCpuRadix, QStringLiteral("十六進位|將數字顯示為十六進位"));
    } else {
        actCpuRadix->setText(QStringLiteral("十進位顯示(&D)"));
        SetHint(actCpuRadix, QStringLiteral("十進位|將數字顯示為十進位"));
    }
}

void TMainForm::actAssemblyRunExecute()
{
    CommitEdits();
    assembly_->Assemble();
}

void TMainForm::actAssemblyLoadExecute()
{
    ClearHighlights();
    CommitEdits();
    if (actCpuHalt->isEnabled()) {
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

void TMainForm::mnuFileExampleClick(const QString& resource)
{
    CommitEdits();
    documents_->OpenExample(resource);
}

void TMainForm::actHelpAboutExecute()
{
    AboutBox->exec();
}

// Options: colours and the hint switch.

QColor TMainForm::AskColour(const QColor& preset)
{
    ColorDialog->setCurrentColor(preset);
    return ColorDialog->exec() == QDialog::Accepted ? ColorDialog->selectedColor() : QColor();
}

void TMainForm::mnuOptionSetColorClick()
{
    if (const QColor colour = AskColour(view_->WriteColour()); colour.isValid()) {
        view_->SetWriteColour(colour);
    }
}

void TMainForm::mnuOptionGetColorClick()
{
    if (const QColor colour = AskColour(view_->ReadColour()); colour.isValid()) {
        view_->SetReadColour(colour);
    }
}

void TMainForm::mnuOptionTextColorClick()
{
    const QColor colour = AskColour(centralWidget()->palette().color(QPalette::WindowText));
    if (!colour.isValid()) {
        return;
    }
    view_->SetTextColour(colour);
    QPalette palette = centralWidget()->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    centralWidget()->setPalette(palette);
}

void TMainForm::mnuOptionViewHintClick()
{
    hintsShown_ = !hintsShown_;
    mnuOptionViewHint->setChecked(hintsShown_);
    if (hintsShown_) {
        mnuOptionViewHint->setText(QStringLiteral("隱藏提示(&H)"));
        SetHint(mnuOptionViewHint, QStringLiteral("隱藏提示|隱藏按鈕之提示"));
        qApp->removeEventFilter(this);
    } else {
        mnuOptionViewHint->setText(QStringLiteral("顯示提示(&H)"));
        SetHint(mnuOptionViewHint, QStringLiteral("顯示提示|顯示按鈕之提示"));
        qApp->installEventFilter(this); // swallows every pop-up hint, see eventFilter
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !hintsShown_) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// Following the program in the grid.

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

// Undo and redo of the program.

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

void TMainForm::actAssemblyRunLoadExecute()
{
    CommitEdits();
    if (assembly_->Assemble()) {
        actAssemblyLoadExecute();
    }
}

void TMainForm::actCpuRunToCursorExecute()
{
    CommitEdits();
    const std::bitset<256> cells = assembly_->Layout().CellsOf({editor_->CurrentRow() + 1});
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
