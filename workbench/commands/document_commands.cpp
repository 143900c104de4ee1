#include "workbench/commands/document_commands.h"

#include "assembler/source_file.h"
#include "workbench/commands/file_chooser.h"
#include "workbench/editor/program_editor.h"
#include "workbench/editor/start_address.h"
#include "workbench/window/window_states.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <string_view>

namespace {

const QStringList& SourceFileFilters()
{
    static const QStringList filters = {QStringLiteral("Assemble files(*.asm)"),
                                        QStringLiteral("All Files (*.*)")};
    return filters;
}

} // namespace

TDocumentCommands::TDocumentCommands(TProgramEditor& editor, TStartAddress& start,
                                     TFileChooser& files, std::function<bool()> unsaved,
                                     QWidget* window)
    : QObject(window), editor_(editor), start_(start), files_(files), unsaved_(std::move(unsaved)),
      window_(window)
{
}

void TDocumentCommands::New()
{
    if (!SaveChangesPrompt()) {
        return;
    }
    editor_.Clear();
    fileName_.clear();
    start_.Clear();
    emit stateRequested(StateNew);
}

void TDocumentCommands::Open()
{
    if (!SaveChangesPrompt()) {
        return;
    }
    const QString name = files_.ChooseFileToOpen(
        FileKind::Program, QStringLiteral("Open Assemble File"), SourceFileFilters(), QString());
    if (name.isEmpty()) {
        return;
    }
    // The grid is touched only once the whole file is in hand, so a file that
    // cannot be read leaves the program as it was.
    QByteArray bytes;
    if (!TFileChooser::ReadWholeFile(name, bytes)) {
        files_.ShowFileError(QStringLiteral("Can't perform one of the following file operations: "
                                            "Open, Seek, Read, Close."),
                             true);
        return;
    }
    ShowSource(bytes);
    fileName_ = QFileInfo(name).absoluteFilePath();
    emit stateRequested(StateOpened);
}

void TDocumentCommands::OpenExample(const QString& resource)
{
    if (!SaveChangesPrompt()) {
        return;
    }
    QFile example(resource);
    if (!example.open(QIODevice::ReadOnly)) {
        return;
    }
    ShowSource(example.readAll());
    fileName_.clear();
    emit stateRequested(StateOpened);
}

void TDocumentCommands::ShowSource(const QByteArray& text)
{
    const SourceDocument document =
        ParseSourceText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    editor_.SetRows(document.rows);
    if (document.hasStart) {
        start_.Take(document.start);
    }
    editor_.RenumberRows(0);
}

bool TDocumentCommands::Save()
{
    return fileName_.isEmpty() ? SaveAs() : WriteSourceFile();
}

bool TDocumentCommands::SaveAs()
{
    const QString chosen = files_.ChooseFileToSave(
        FileKind::Program, QStringLiteral("Save Assemble File"), SourceFileFilters(), fileName_);
    if (chosen.isEmpty()) {
        return false;
    }
    const QString previous = fileName_;
    const TFileChooser::SaveTarget target =
        files_.PrepareSaveTarget(chosen, SuffixOf(FileKind::Program));
    fileName_ = target.name;
    // The document keeps a name only for a file that really holds it.
    if (!WriteSourceFile()) {
        fileName_ = previous;
        TFileChooser::UndoBackup(target);
        return false;
    }
    return true;
}

bool TDocumentCommands::WriteSourceFile()
{
    const std::string text = FormatSourceText(start_.Address(), editor_.Rows());
    QString reason;
    if (!TFileChooser::WriteWholeFile(fileName_, QByteArray::fromStdString(text), reason)) {
        files_.ShowFileError(QStringLiteral("無法儲存檔案：") +
                                 QDir::toNativeSeparators(fileName_) + QLatin1Char('\n') + reason,
                             false);
        return false;
    }
    editor_.MarkSaved();
    emit stateRequested(StateSaved);
    return true;
}

bool TDocumentCommands::SaveChangesPrompt()
{
    return AskToSaveFirst(window_, QStringLiteral("內容已變更，要存檔？"), unsaved_(),
                          [this] { return Save(); });
}
