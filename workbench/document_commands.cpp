// The document commands: New, Open, Save, Save As and Exit of "*.asm" files.
#include "assembler/source_file.h"
#include "main_form.h"
#include "widget_support.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSaveFile>
#include <QTableWidget>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace {

enum SourceColumn { LabelColumn = 1, MnemonicColumn, OperandColumn };

const QStringList& SourceFileFilters()
{
    static const QStringList filters = {QStringLiteral("Assemble files(*.asm)"),
                                        QStringLiteral("All Files (*.*)")};
    return filters;
}

// Source files are bytes: each maps to the character of the same number, so
// whatever a file holds comes back unchanged when it is saved.
std::string Bytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

QString Characters(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A program fills at most 255 bytes of memory; a source file of megabytes is
// something else opened by mistake, and a grid of its records takes about 50
// times its size in memory: beyond this size it is refused like a file that
// cannot be read.
constexpr qint64 LargestSourceFile = 8 << 20;

// Only a regular file is read: a pipe would wait for a writer for ever and a
// device such as /dev/zero never ends. Nor does reading wait for data that a
// file does not hold yet (/proc/kmsg): that is a failure to read.
bool ReadWholeFile(const QString& name, QByteArray& bytes)
{
    const QFileInfo info(name);
    if (!info.isFile() || info.size() > LargestSourceFile) {
        return false;
    }
    const int descriptor =
        ::open(QFile::encodeName(name).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return false;
    }
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

// Writes the bytes as the whole content of the file. A regular file is written
// aside and moved into place only when complete, so a failure leaves the
// previous file whole; a device cannot be replaced and is written in place; a
// pipe is refused, since opening it waits for a reader that may never come.
bool WriteWholeFile(const QString& name, const std::string& bytes, QString& reason)
{
    std::error_code error;
    const fs::file_status status = fs::status(QFile::encodeName(name).toStdString(), error);
    if (fs::is_fifo(status) || fs::is_socket(status)) {
        reason = QStringLiteral("Not a regular file");
        return false;
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (fs::is_character_file(status) || fs::is_block_file(status)) {
        QFile device(name);
        const bool written = device.open(QIODevice::WriteOnly) &&
                             device.write(bytes.data(), size) == size && device.flush();
        reason = device.errorString();
        return written;
    }
    // commit() does not notice a write that fails as the buffer is flushed (a
    // full disk), and would put an empty file in place: flush first. A file
    // that is not committed is discarded.
    QSaveFile file(name);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(bytes.data(), size) == size && file.flush() && file.commit();
    reason = file.errorString();
    return written;
}

void ShowFileError(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("File Error"), text, buttons, parent);
    box.exec();
}

} // namespace

SourceRow TMainForm::ProgramRow(int row) const
{
    return {Bytes(CellText(row, LabelColumn)), Bytes(CellText(row, MnemonicColumn)),
            Bytes(CellText(row, OperandColumn))};
}

void TMainForm::EmptyGrid()
{
    sgrdCode->clearContents();
    sgrdCode->setRowCount(1);
}

void TMainForm::ShowStartAddress(int address, const QString& text)
{
    display_.start.tag = address;
    display_.start.text = text;
    display_.start.dirty = true;
    SyncView();
}

void TMainForm::actFileNewExecute()
{
    CommitEdits();
    if (!SaveChangesPrompt()) {
        return;
    }
    EmptyGrid();
    RenumberRows(0);
    sourceFileName_.clear();
    ShowStartAddress(0, QStringLiteral("00"));
    SetState(StateNew);
}

void TMainForm::actFileOpenExecute()
{
    CommitEdits();
    if (!SaveChangesPrompt()) {
        return;
    }
    const QString name =
        ChooseFile(OpenDialog, QStringLiteral("Open Assemble File"), SourceFileFilters());
    if (name.isEmpty()) {
        return;
    }
    // The grid is touched only once the whole file is in hand, so a file that
    // cannot be read leaves the program as it was.
    QByteArray bytes;
    if (!ReadWholeFile(name, bytes)) {
        ShowFileError(this,
                      QStringLiteral("Can't perform one of the following file operations: Open, "
                                     "Seek, Read, Close."),
                      QMessageBox::Ok | QMessageBox::Cancel);
        return;
    }
    const SourceDocument document = ParseSourceText(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    EmptyGrid();
    sgrdCode->setRowCount(static_cast<int>(document.rows.size()) + 1);
    for (int row = 0; row < static_cast<int>(document.rows.size()); ++row) {
        const SourceRow& source = document.rows[static_cast<std::size_t>(row)];
        SetCellText(row, LabelColumn, Characters(source.label));
        SetCellText(row, MnemonicColumn, Characters(source.mnemonic));
        SetCellText(row, OperandColumn, Characters(source.operand));
    }
    if (document.hasStart) {
        ShowStartAddress(document.start, FormatNumber(document.start));
    }
    RenumberRows(0);
    sourceFileName_ = QFileInfo(name).absoluteFilePath();
    SetState(StateOpened);
}

void TMainForm::actFileSaveExecute()
{
    CommitEdits();
    if (sourceFileName_.isEmpty()) {
        actFileSaveAsExecute();
        return;
    }
    WriteSourceFile();
}

void TMainForm::actFileSaveAsExecute()
{
    CommitEdits();
    const QString chosen = ChooseFile(SaveDialog, QStringLiteral("Save Assemble File"),
                                      SourceFileFilters(), sourceFileName_);
    if (chosen.isEmpty()) {
        return;
    }
    const QString previous = sourceFileName_;
    const SaveTarget target = PrepareSaveTarget(chosen, QStringLiteral(".asm"));
    sourceFileName_ = target.name;
    // The document keeps a name only for a file that really holds it.
    if (!WriteSourceFile()) {
        sourceFileName_ = previous;
        UndoBackup(target);
    }
}

bool TMainForm::WriteSourceFile()
{
    std::vector<SourceRow> rows;
    for (int row = 0; row < sgrdCode->rowCount(); ++row) {
        rows.push_back(ProgramRow(row));
    }
    QString reason;
    if (!WriteWholeFile(sourceFileName_, FormatSourceText(TagOf(txtStart), rows), reason)) {
        ShowFileError(this,
                      QStringLiteral("無法儲存檔案：") + QDir::toNativeSeparators(sourceFileName_) +
                          QLatin1Char('\n') + reason,
                      QMessageBox::Ok);
        return false;
    }
    SetState(StateSaved);
    return true;
}

void TMainForm::actFileExitExecute()
{
    CommitEdits();
    close();
}

bool TMainForm::SaveChangesPrompt()
{
    return AskToSave(actFileSave, &TMainForm::actFileSaveExecute,
                     QStringLiteral("內容已變更，要存檔？"));
}
