#include "workbench/commands/memory_image_commands.h"

#include "machine/cpu.h"
#include "workbench/commands/file_chooser.h"
#include "workbench/machine_view/machine_view.h"
#include "workbench/window/window_states.h"

#include <QFile>

namespace {

const QStringList& MemoryFileFilters()
{
    static const QStringList filters = {QStringLiteral("Memory files(*.mm)"),
                                        QStringLiteral("All Files (*.*)")};
    return filters;
}

} // namespace

TMemoryImageCommands::TMemoryImageCommands(CCpu& machine, TMachineView& view, TFileChooser& files,
                                           std::function<bool()> unsaved, QWidget* window)
    : QObject(window), machine_(machine), view_(view), files_(files), unsaved_(std::move(unsaved)),
      window_(window)
{
}

bool TMemoryImageCommands::AskToSaveMemory()
{
    return AskToSaveFirst(window_, QStringLiteral("記憶體內容已變更，要儲存？"), unsaved_(),
                          [this] { return Save(); });
}

bool TMemoryImageCommands::Save()
{
    const QString chosen = files_.ChooseFileToSave(
        FileKind::MemoryImage, QStringLiteral("Save Memory File"), MemoryFileFilters(), QString());
    if (chosen.isEmpty()) {
        return false;
    }
    const TFileChooser::SaveTarget target =
        files_.PrepareSaveTarget(chosen, SuffixOf(FileKind::MemoryImage));
    if (!machine_.SaveMemoryFile(QFile::encodeName(target.name).toStdString())) {
        TFileChooser::UndoBackup(target);
        return false;
    }
    fileName_ = target.name;
    emit stateRequested(StateMemorySaved);
    return true;
}

void TMemoryImageCommands::Load()
{
    if (!AskToSaveMemory()) {
        return;
    }
    const auto bulk = view_.BulkWrites();
    const QString name = files_.ChooseFileToOpen(
        FileKind::MemoryImage, QStringLiteral("Load Memory File"), MemoryFileFilters(), QString());
    if (!name.isEmpty() && machine_.LoadMemoryFile(QFile::encodeName(name).toStdString())) {
        fileName_ = name;
        emit stateRequested(StateMemoryLoaded);
    }
}

void TMemoryImageCommands::Clear()
{
    if (!AskToSaveMemory()) {
        return;
    }
    const auto bulk = view_.BulkWrites();
    machine_.ClearMemory(-1);
    fileName_.clear();
    emit stateRequested(StateMemoryCleared);
}
