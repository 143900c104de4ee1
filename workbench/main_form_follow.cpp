// Following the program in the grid: the executing row, breakpoints, stepping
// back, log lines that lead to their rows, and what just happened in the
// status bar.
#include "assembly_commands.h"
#include "machine_view.h"
#include "main_form.h"
#include "message_log.h"
#include "program_editor.h"
#include "run_control.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>

namespace {

// States after which the loaded program's rows no longer tell what is in memory.
bool EndsLayout(int state)
{
    return state == StateNew || state == StateOpened || state == StateModified ||
           state == StateMemoryLoaded || state == StateMemoryCleared;
}

} // namespace

void TMainForm::CreateFollowActions()
{
    actCpuStepBack =
        AddAction("actCpuStepBack", "回上一指令(&B)", "回上一指令|回到上一個指令執行之前", 24,
                  &TMainForm::actCpuStepBackExecute);
    actCpuMicroStepBack = AddAction("actCpuMicroStepBack", "回上一微指令(&V)",
                                    "回上一微指令|回到上一個微指令執行之前", 25,
                                    &TMainForm::actCpuMicroStepBackExecute);
    actCpuToggleBreakpoint = AddAction("actCpuToggleBreakpoint", "設定/取消中斷點(&T)",
                                       "中斷點|在目前這一行設定或取消中斷點", 26,
                                       &TMainForm::actCpuToggleBreakpointExecute);
    actCpuStepBack->setEnabled(false);
    actCpuMicroStepBack->setEnabled(false);
    actCpuToggleBreakpoint->setEnabled(false);
    const std::pair<QAction*, const char*> keys[] = {{actCpuRun, "F5"},
                                                     {actCpuHalt, "Shift+F5"},
                                                     {actCpuStep, "F10"},
                                                     {actCpuMicroStep, "F11"},
                                                     {actCpuStepBack, "Shift+F10"},
                                                     {actCpuMicroStepBack, "Shift+F11"},
                                                     {actCpuToggleBreakpoint, "F9"}};
    for (const auto& [action, key] : keys) {
        action->setShortcut(QKeySequence(QLatin1String(key)));
    }
}

void TMainForm::WireFollowing()
{
    lblFeedback = new QLabel(statusBar());
    lblFeedback->setObjectName(QStringLiteral("lblFeedback"));
    lblFeedback->setContentsMargins(0, 0, 6, 0);
    statusBar()->addPermanentWidget(lblFeedback);
    // The window's parts go before the window: what follows them goes first,
    // with the assembly commands.
    QObject* const following = assembly_;
    connect(this, &TMainForm::stateRequested, following, [this](int state) {
        ShowFeedback(QString());
        if (EndsLayout(state)) {
            assembly_->ForgetLayout();
        }
    });

    connect(view_, &TMachineView::synced, following, [this] { ShowExecutingRow(); });
    connect(assembly_, &TAssemblyCommands::layoutChanged, this, [this] {
        ShowExecutingRow();
        PlaceBreakpoints();
    });
    const auto offerBreakpoint = [this] {
        actCpuToggleBreakpoint->setEnabled(editor_->CanToggleBreakpoint(editor_->CurrentRow()));
    };
    connect(editor_, &TProgramEditor::lineCommandsChanged, following, offerBreakpoint);
    connect(editor_, &TProgramEditor::breakpointsChanged, following, offerBreakpoint);
    connect(editor_, &TProgramEditor::breakpointsChanged, following,
            [this] { PlaceBreakpoints(); });
    connect(editor_, &TProgramEditor::rowsMoved, assembly_, &TAssemblyCommands::MoveRows);
    connect(assembly_, &TAssemblyCommands::loaded, runControl_, &TRunControl::ProgramLoaded);
    connect(runControl_, &TRunControl::stepBackAvailable, this, [this](bool available) {
        actCpuStepBack->setEnabled(available);
        actCpuMicroStepBack->setEnabled(available);
    });

    const auto selectLine = [this](int line) {
        CommitEdits();
        editor_->SelectRow(line - 1);
    };
    connect(log_, &TMessageLog::lineChosen, following, selectLine);
    connect(log_, &TMessageLog::addressChosen, following, [this, selectLine](int address) {
        if (const int line = assembly_->Layout().LineAt(address)) {
            selectLine(line);
        }
    });
    connect(assembly_, &TAssemblyCommands::assemblyFailed, this, [this] {
        if (const int line = log_->FirstNamedLine()) {
            editor_->SelectRow(line - 1);
        }
    });

    connect(assembly_, &TAssemblyCommands::assembled, this, [this](int lines, int first, int last) {
        ShowFeedback(QStringLiteral("組譯完成：共 %1 行，位址 %2-%3")
                         .arg(lines)
                         .arg(FormatNumber(first), FormatNumber(last)));
    });
    connect(runControl_, &TRunControl::breakpointReached, following, [this](int address) {
        ShowFeedback(
            QStringLiteral("在第 %1 行的中斷點暫停").arg(assembly_->Layout().LineAt(address)));
    });
    connect(runControl_, &TRunControl::halted, following, [this](TRunControl::HaltCause cause) {
        const QString how =
            cause == TRunControl::HaltCause::Instruction ? QStringLiteral("執行 HALT 指令而停止")
            : cause == TRunControl::HaltCause::Error     ? QStringLiteral("因錯誤而停止")
                                                         : QStringLiteral("已停止");
        ShowFeedback(
            QStringLiteral("%1，共執行 %2 個指令").arg(how).arg(runControl_->InstructionsRun()));
    });
}

void TMainForm::ShowExecutingRow()
{
    editor_->MarkExecutingRow(assembly_->Layout().LineAt(runControl_->InstructionAddress()) - 1);
}

void TMainForm::PlaceBreakpoints()
{
    std::vector<int> lines;
    for (const int row : editor_->BreakpointRows()) {
        lines.push_back(row + 1);
    }
    runControl_->SetBreakpoints(assembly_->Layout().CellsOf(lines));
}

void TMainForm::ShowFeedback(const QString& text)
{
    if (lblFeedback->text() != text) {
        lblFeedback->setText(text);
    }
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
