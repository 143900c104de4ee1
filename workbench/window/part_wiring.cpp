#include "workbench/window/part_wiring.h"

#include "workbench/commands/assembly_commands.h"
#include "workbench/commands/document_commands.h"
#include "workbench/commands/memory_image_commands.h"
#include "workbench/datapath/step_picture.h"
#include "workbench/editor/program_editor.h"
#include "workbench/editor/start_address.h"
#include "workbench/follow/program_follower.h"
#include "workbench/log/message_log.h"
#include "workbench/machine_view/machine_view.h"
#include "workbench/run/run_control.h"
#include "workbench/window/main_form.h"
#include "workbench/window/zoom.h"

#include <QAction>
#include <QStatusBar>

#include <functional>
#include <utility>

namespace {

// Each part asks for the states of what it did.
void WireStates(const WindowParts& parts)
{
    TMainForm* window = &parts.window;
    QObject::connect(&parts.runControl, &TRunControl::stateRequested, window, &TMainForm::SetState);
    QObject::connect(&parts.memoryImages, &TMemoryImageCommands::stateRequested, window,
                     &TMainForm::SetState);
    QObject::connect(&parts.documents, &TDocumentCommands::stateRequested, window,
                     &TMainForm::SetState);
    QObject::connect(&parts.assembly, &TAssemblyCommands::stateRequested, window,
                     &TMainForm::SetState);
    QObject::connect(&parts.editor, &TProgramEditor::modified, window,
                     [window] { window->SetState(StateModified); });
    QObject::connect(&parts.editor, &TProgramEditor::emptied, window,
                     [window] { window->SetState(StateNew); });
    QObject::connect(&parts.view, &TMachineView::memoryEdited, window,
                     [window] { window->SetState(StateMemoryChanged); });
    QObject::connect(&parts.view, &TMachineView::registerEdited, window,
                     [window] { window->SetState(StateRegisterChanged); });
    // A step undone or redone is a change of the program; back at the saved
    // contents, Save is not offered.
    QObject::connect(&parts.editor, &TProgramEditor::programRestored, window, [window](bool saved) {
        window->SetState(StateModified);
        if (saved) {
            window->SetState(StateSaved);
        }
    });
}

// START: typed, undone and redone, shown.
void WireStart(const WindowParts& parts)
{
    TMainForm* window = &parts.window;
    TProgramEditor* editor = &parts.editor;
    TMachineView* view = &parts.view;
    TStartAddress* start = &parts.start;
    QObject::connect(view, &TMachineView::startTyped, start, &TStartAddress::Edit);
    QObject::connect(start, &TStartAddress::taken, view, [view](int address) {
        view->ShowStartAddress(address, view->FormatNumber(address));
    });
    QObject::connect(start, &TStartAddress::cleared, view,
                     [view] { view->ShowStartAddress(0, QStringLiteral("00")); });
    QObject::connect(start, &TStartAddress::edited, window,
                     [window, editor](int previous, int address) {
                         editor->RecordStartChange(previous, address);
                         window->SetState(StateModified);
                         window->SetState(StateStartChanged);
                     });
    QObject::connect(editor, &TProgramEditor::startRestored, start, [view, start](int address) {
        view->ClearHighlights();
        start->Restore(address);
    });
    QObject::connect(start, &TStartAddress::restored, window,
                     [window] { window->SetState(StateStartChanged); });
}

// Commands whose availability a part tells or that follow another command's.
void WireAvailability(const WindowParts& parts)
{
    TMainForm* window = &parts.window;
    TProgramEditor* editor = &parts.editor;
    QObject::connect(editor, &TProgramEditor::undoAvailable, window->actEditUndo,
                     &QAction::setEnabled);
    QObject::connect(editor, &TProgramEditor::redoAvailable, window->actEditRedo,
                     &QAction::setEnabled);
    QObject::connect(editor, &TProgramEditor::lineCommandsChanged, window,
                     [window](bool canInsert, bool canDelete) {
                         window->actEditInsertLine->setEnabled(canInsert);
                         window->actEditDeleteLine->setEnabled(canDelete);
                     });
    QObject::connect(editor, &TProgramEditor::breakpointsChanged, window, [window, editor] {
        window->actCpuClearBreakpoints->setEnabled(!editor->BreakpointRows().empty());
    });
    QObject::connect(&parts.runControl, &TRunControl::runningChanged, window,
                     &TMainForm::ShowRunCommand);
    QObject::connect(&parts.runControl, &TRunControl::stepBackAvailable, window,
                     [window](bool available) {
                         window->actCpuStepBack->setEnabled(available);
                         window->actCpuMicroStepBack->setEnabled(available);
                     });
    QObject::connect(window->actAssemblyRun, &QAction::enabledChanged, window->actAssemblyRunLoad,
                     &QAction::setEnabled);
    QObject::connect(window->actCpuStep, &QAction::enabledChanged, window->actCpuRunToCursor,
                     &QAction::setEnabled);
    TZoom* zoom = &parts.zoom;
    QObject::connect(zoom, &TZoom::zoomChanged, window, [window, zoom] {
        window->actOptionZoomIn->setEnabled(zoom->CanZoomIn());
        window->actOptionZoomOut->setEnabled(zoom->CanZoomOut());
        window->actOptionZoomReset->setEnabled(zoom->CanZoomOut());
    });
    QObject::connect(zoom, &TZoom::clientScrolled, window, &TMainForm::CommitEdits);
}

// The loaded program followed in the grid.
void WireFollowing(const WindowParts& parts)
{
    TProgramEditor* editor = &parts.editor;
    TRunControl* runControl = &parts.runControl;
    TAssemblyCommands* assembly = &parts.assembly;
    TProgramFollower* follower = &parts.follower;
    QObject::connect(&parts.window, &TMainForm::stateRequested, follower,
                     &TProgramFollower::StateApplied);
    QObject::connect(&parts.view, &TMachineView::synced, follower,
                     &TProgramFollower::ShowExecutingRow);
    QObject::connect(assembly, &TAssemblyCommands::layoutChanged, follower,
                     &TProgramFollower::FollowLayout);
    QObject::connect(assembly, &TAssemblyCommands::assembled, follower,
                     &TProgramFollower::ShowAssembled);
    QObject::connect(assembly, &TAssemblyCommands::assemblyFailed, follower,
                     &TProgramFollower::SelectFirstError);
    QObject::connect(assembly, &TAssemblyCommands::loaded, runControl, &TRunControl::ProgramLoaded);
    QObject::connect(editor, &TProgramEditor::rowsMoved, assembly, &TAssemblyCommands::MoveRows);
    QObject::connect(editor, &TProgramEditor::lineCommandsChanged, follower,
                     &TProgramFollower::OfferBreakpoint);
    QObject::connect(editor, &TProgramEditor::breakpointsChanged, follower, [follower] {
        follower->OfferBreakpoint();
        follower->PlaceBreakpoints();
    });
    QObject::connect(follower, &TProgramFollower::breakpointOffered,
                     parts.window.actCpuToggleBreakpoint, &QAction::setEnabled);
    QObject::connect(follower, &TProgramFollower::breakpointsPlaced, runControl,
                     &TRunControl::SetBreakpoints);
    QObject::connect(&parts.log, &TMessageLog::lineChosen, follower, &TProgramFollower::LeadToLine);
    QObject::connect(&parts.log, &TMessageLog::addressChosen, follower,
                     &TProgramFollower::LeadToAddress);
    QObject::connect(runControl, &TRunControl::breakpointReached, follower,
                     &TProgramFollower::ShowBreakpointReached);
    QObject::connect(runControl, &TRunControl::cursorReached, follower,
                     &TProgramFollower::ShowCursorReached);
    QObject::connect(runControl, &TRunControl::halted, follower, &TProgramFollower::ShowHalt);
    QObject::connect(runControl, &TRunControl::machineStarted, follower,
                     &TProgramFollower::ShowStarted);
    QObject::connect(runControl, &TRunControl::stepsForgotten, follower,
                     &TProgramFollower::ShowStepsForgotten);
}

// The commands added beside the specified ones go to their parts directly;
// each commits any open edit first, as the window's own commands do.
void WireAddedCommands(const WindowParts& parts)
{
    TMainForm* window = &parts.window;
    TProgramEditor* editor = &parts.editor;
    TRunControl* runControl = &parts.runControl;
    TAssemblyCommands* assembly = &parts.assembly;
    TZoom* zoom = &parts.zoom;
    const std::pair<QAction*, std::function<void()>> commands[] = {
        {window->actCpuStepBack, [runControl] { runControl->StepBack(); }},
        {window->actCpuMicroStepBack, [runControl] { runControl->MicroStepBack(); }},
        {window->actCpuToggleBreakpoint,
         [editor] { editor->ToggleBreakpoint(editor->CurrentRow()); }},
        {window->actCpuClearBreakpoints, [editor] { editor->ClearBreakpoints(); }},
        {window->actEditUndo, [editor] { editor->Undo(); }},
        {window->actEditRedo, [editor] { editor->Redo(); }},
        {window->actAssemblyRunLoad,
         [window, assembly] {
             if (assembly->Assemble()) {
                 window->actAssemblyLoadExecute();
             }
         }},
        {window->actCpuRunToCursor,
         [window, editor, assembly, runControl] {
             const CellSet cells = assembly->Layout().CellsOf({editor->CurrentRow() + 1});
             if (cells.none()) {
                 window->statusBar()->showMessage(QStringLiteral("目前這一行沒有載入的指令"), 5000);
             } else {
                 runControl->RunTo(cells);
             }
         }},
        {window->actOptionZoomIn, [zoom] { zoom->ZoomIn(); }},
        {window->actOptionZoomOut, [zoom] { zoom->ZoomOut(); }},
        {window->actOptionZoomReset, [zoom] { zoom->Reset(); }},
    };
    for (const auto& [action, command] : commands) {
        QObject::connect(action, &QAction::triggered, window, [window, command = command] {
            window->CommitEdits();
            command();
        });
    }
}

// The datapath picture and the words of each micro-step.
void WirePicture(const WindowParts& parts)
{
    TMainForm* window = &parts.window;
    TStepPicture* picture = &parts.picture;
    QObject::connect(&parts.view, &TMachineView::synced, picture, &TStepPicture::ShowLastMicroStep);
    QObject::connect(window->actOptionNarration, &QAction::toggled, picture,
                     &TStepPicture::SetNarration);
    QObject::connect(window->actOptionDatapath, &QAction::toggled, picture,
                     &TStepPicture::ShowDatapathWindow);
    QObject::connect(picture, &TStepPicture::datapathWindowClosed, window->actOptionDatapath,
                     [window] { window->actOptionDatapath->setChecked(false); });
    QObject::connect(picture, &TStepPicture::datapathWindowRequested, window->actOptionDatapath,
                     [window] { window->actOptionDatapath->setChecked(true); });
    TProgramEditor* editor = &parts.editor;
    TZoom* zoom = &parts.zoom;
    QObject::connect(window->actOptionMachineCode, &QAction::toggled, editor,
                     [editor, zoom](bool shown) {
                         editor->SetMachineCodeShown(shown);
                         zoom->Refit();
                     });
}

} // namespace

void WireParts(const WindowParts& parts)
{
    WireAddedCommands(parts);
    WireStates(parts);
    WireStart(parts);
    WireAvailability(parts);
    WireFollowing(parts);
    WirePicture(parts);
}
