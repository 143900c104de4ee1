#include "workbench/follow/program_follower.h"

#include "workbench/commands/assembly_commands.h"
#include "workbench/editor/program_editor.h"
#include "workbench/log/message_log.h"
#include "workbench/machine_view/machine_view.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace {

// States after which the loaded program's rows no longer tell what is in memory.
bool EndsLayout(WindowState state)
{
    return state == StateNew || state == StateOpened || state == StateModified ||
           state == StateMemoryLoaded || state == StateMemoryCleared;
}

} // namespace

TProgramFollower::TProgramFollower(TProgramEditor& editor, const TMachineView& view,
                                   const TRunControl& runControl, TAssemblyCommands& assembly,
                                   const TMessageLog& log, QStatusBar* statusBar, QObject* parent)
    : QObject(parent), editor_(editor), view_(view), runControl_(runControl), assembly_(assembly),
      log_(log), lblFeedback(new QLabel(statusBar))
{
    lblFeedback->setObjectName(QStringLiteral("lblFeedback"));
    lblFeedback->setContentsMargins(0, 0, 6, 0);
    statusBar->addPermanentWidget(lblFeedback);
}

void TProgramFollower::StateApplied(WindowState state)
{
    ShowFeedback(QString());
    if (EndsLayout(state)) {
        assembly_.ForgetLayout();
    }
}

void TProgramFollower::ShowExecutingRow()
{
    editor_.MarkExecutingRow(assembly_.Layout().LineAt(runControl_.InstructionAddress()) - 1);
}

void TProgramFollower::FollowLayout()
{
    ShowExecutingRow();
    PlaceBreakpoints();
    editor_.ShowMachineCode(assembly_.LoadedCode());
}

void TProgramFollower::PlaceBreakpoints()
{
    std::vector<int> lines;
    for (const int row : editor_.BreakpointRows()) {
        lines.push_back(row + 1);
    }
    emit breakpointsPlaced(assembly_.Layout().CellsOf(lines));
}

void TProgramFollower::OfferBreakpoint()
{
    emit breakpointOffered(editor_.CanToggleBreakpoint(editor_.CurrentRow()));
}

void TProgramFollower::LeadToLine(int line, const QString& text)
{
    if (line > 0) {
        SelectLine(line);
        ShowFeedback(QStringLiteral("第 %1 行：%2").arg(line).arg(text.trimmed()));
    }
}

void TProgramFollower::LeadToAddress(int address, const QString& text)
{
    LeadToLine(assembly_.Layout().LineAt(address), text);
}

void TProgramFollower::SelectFirstError()
{
    SelectLine(log_.FirstNamedLine());
}

// Line 0 names no line.
void TProgramFollower::SelectLine(int line)
{
    if (line > 0) {
        editor_.CommitEdits();
        editor_.SelectRow(line - 1);
    }
}

// A program of empty rows takes no addresses.
void TProgramFollower::ShowAssembled(int lineCount, int firstAddress, int lastAddress)
{
    ShowFeedback(lineCount == 0
                     ? QStringLiteral("組譯完成：共 0 行")
                     : QStringLiteral("組譯完成：共 %1 行，位址 %2-%3")
                           .arg(lineCount)
                           .arg(view_.FormatNumber(firstAddress), view_.FormatNumber(lastAddress)));
}

void TProgramFollower::ShowBreakpointReached(int address)
{
    ShowFeedback(QStringLiteral("在第 %1 行的中斷點暫停").arg(assembly_.Layout().LineAt(address)));
}

void TProgramFollower::ShowCursorReached(int address)
{
    ShowFeedback(QStringLiteral("已執行到第 %1 行").arg(assembly_.Layout().LineAt(address)));
}

void TProgramFollower::ShowHalt(TRunControl::HaltCause cause)
{
    const QString how = cause == TRunControl::HaltCause::Instruction
                            ? QStringLiteral("執行 HALT 指令而停止")
                        : cause == TRunControl::HaltCause::Error ? QStringLiteral("因錯誤而停止")
                                                                 : QStringLiteral("已停止");
    ShowFeedback(
        QStringLiteral("%1，共執行 %2 個指令").arg(how).arg(runControl_.InstructionsRun()));
}

// What runs is not the grid's program: the rows cannot follow it.
void TProgramFollower::ShowStarted()
{
    if (assembly_.Layout().IsEmpty() && editor_.HasProgram()) {
        ShowFeedback(QStringLiteral("記憶體中的程式不是表格中的程式：請先組譯並載入"));
    }
}

// Said once the edit's own state has been applied.
void TProgramFollower::ShowStepsForgotten()
{
    QTimer::singleShot(0, this,
                       [this] { ShowFeedback(QStringLiteral("手動修改後無法回到先前的步驟")); });
}

void TProgramFollower::ShowFeedback(const QString& text)
{
    if (lblFeedback->text() != text) {
        lblFeedback->setText(text);
    }
}
