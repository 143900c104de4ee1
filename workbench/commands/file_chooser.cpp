#include "workbench/commands/file_chooser.h"

#include "files/file_saver.h"
#include "files/whole_file.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>

#include <string_view>

namespace {

// Tells a file's kind by its name alone. The stock provider reads the first
// bytes of every file in the folder shown to tell its type, and a file that
// never delivers them (a named pipe, /proc/kmsg) would hang the dialog.
class FileKindIconProvider : public QFileIconProvider {
public:
    QIcon icon(const QFileInfo& info) const override
    {
        return QFileIconProvider::icon(info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo& info) const override
    {
        if (!info.isFile()) {
            return QFileIconProvider::type(info);
        }
        const QMimeType mime = mimeTypes_.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }

private:
    QMimeDatabase mimeTypes_;
};

QFileDialog* NewFileDialog(QWidget* window, const char* name, QFileDialog::AcceptMode mode)
{
    static FileKindIconProvider fileKinds;
    auto* dialog = new QFileDialog(window);
    dialog->setObjectName(QLatin1String(name));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setIconProvider(&fileKinds);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    return dialog;
}

// The dialog's own name field, whose text and completer its interface does
// not reach.
QLineEdit* NameField(const QFileDialog* dialog)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

// Shows exactly the name a command asks for: selectFile() ignores an empty
// name and would leave the last choice, of whatever kind, in the field and
// selected in the list.
void ShowFileName(QFileDialog* dialog, const QString& fileName)
{
    if (!fileName.isEmpty()) {
        dialog->selectFile(fileName);
        return;
    }
    if (auto* list = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"))) {
        list->clearSelection();
    }
    if (QLineEdit* field = NameField(dialog)) {
        field->clear();
    }
}

} // namespace

QString SuffixOf(FileKind kind)
{
    return kind == FileKind::Program ? QStringLiteral(".asm") : QStringLiteral(".mm");
}

TFileChooser::TFileChooser(QWidget* window)
    : QObject(window), window_(window),
      openDialog_(NewFileDialog(window, "OpenDialog", QFileDialog::AcceptOpen)),
      saveDialog_(NewFileDialog(window, "SaveDialog", QFileDialog::AcceptSave))
{
    // A name typed without its kind's suffix finds the file with it, as a
    // save adds the suffix. The dialog then adds the suffix itself; it is set
    // as each name is typed, before the dialog judges the name.
    if (QLineEdit* field = NameField(openDialog_)) {
        connect(field, &QLineEdit::textEdited, this, [this](const QString& text) {
            const QString typed = openDialog_->directory().absoluteFilePath(text);
            const bool withSuffix = !text.isEmpty() && !QFileInfo::exists(typed) &&
                                    QFileInfo(typed + openSuffix_).isFile();
            openDialog_->setDefaultSuffix(withSuffix ? openSuffix_.mid(1) : QString());
        });
    }
}

QString TFileChooser::ChooseFileToOpen(FileKind kind, const QString& title,
                                       const QStringList& filters, const QString& fileName)
{
    openSuffix_ = SuffixOf(kind);
    openDialog_->setDefaultSuffix(QString());
    const QString name =
        Choose(openDialog_, choices_[static_cast<std::size_t>(kind)], title, filters, fileName);
    if (!name.isEmpty()) {
        openedName_ = name;
    }
    return name;
}

QString TFileChooser::ChooseFileToSave(FileKind kind, const QString& title,
                                       const QStringList& filters, const QString& fileName)
{
    KindChoice& choice = choices_[static_cast<std::size_t>(kind)];
    const QString name = Choose(saveDialog_, choice, title, filters, fileName);
    if (!name.isEmpty()) {
        savedName_ = name;
        choice.saveFilter = qMax(0, filters.indexOf(saveDialog_->selectedNameFilter()));
    }
    return name;
}

QString TFileChooser::Choose(QFileDialog* dialog, KindChoice& choice, const QString& title,
                             const QStringList& filters, const QString& fileName)
{
    dialog->setWindowTitle(title);
    dialog->setNameFilters(filters);
    if (dialog == saveDialog_) {
        dialog->selectNameFilter(filters.value(choice.saveFilter));
    }
    dialog->setDirectory(choice.folder.isEmpty() ? QDir::currentPath() : choice.folder);
    ShowFileName(dialog, fileName);
    // The name's completer lists the folders that the dialog reads in the
    // background, and opens its pop-up when a listing arrives; one arriving
    // after the dialog closed would open it over the window. It serves the
    // field only while the dialog shows.
    QLineEdit* field = NameField(dialog);
    QCompleter* completer = field ? field->completer() : nullptr;
    if (completer) {
        completer->setWidget(field);
    }
    const bool accepted = dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
    if (completer) {
        completer->setWidget(nullptr);
    }
    if (!accepted) {
        return {};
    }
    const QString name = dialog->selectedFiles().constFirst();
    choice.folder = QFileInfo(name).absolutePath();
    return name;
}

TFileChooser::SaveTarget TFileChooser::PrepareSaveTarget(QString name, const QString& suffix) const
{
    const bool firstFilter =
        saveDialog_->selectedNameFilter() == saveDialog_->nameFilters().value(0);
    if (!QFileInfo::exists(name) && firstFilter && !name.endsWith(suffix)) {
        name += suffix;
    }
    // The previous file moves aside to its bare name with ".bak", in its own
    // folder; an older backup of that name stays, and the move is then skipped.
    // Only a file is moved: a device or a pipe keeps its place.
    const QFileInfo target(name);
    if (!target.isFile()) {
        return {name, {}};
    }
    const QString backup =
        target.dir().filePath(target.completeBaseName() + QStringLiteral(".bak"));
    return {name, QFile::rename(name, backup) ? backup : QString()};
}

void TFileChooser::UndoBackup(const SaveTarget& target)
{
    if (!target.backup.isEmpty()) {
        QFile::rename(target.backup, target.name);
    }
}

bool TFileChooser::ReadWholeFile(const QString& name, QByteArray& bytes)
{
    const FileContent content =
        ::ReadWholeFile(QFile::encodeName(name).toStdString(), LargestTextFile);
    if (!content.bytes) {
        return false;
    }
    bytes = QByteArray::fromStdString(*content.bytes);
    return true;
}

bool TFileChooser::WriteWholeFile(const QString& name, const QByteArray& bytes, QString& reason)
{
    FileSaver file(QFile::encodeName(name).toStdString());
    const bool written =
        file.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) &&
        file.Finish();
    reason = QString::fromStdString(file.Reason());
    return written;
}

void TFileChooser::ShowFileError(const QString& text, bool withCancel) const
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("File Error"), text,
                    withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, window_);
    box.exec();
}

bool AskToSaveFirst(QWidget* parent, const QString& question, bool unsaved,
                    const std::function<bool()>& save)
{
    if (!unsaved) {
        return true;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("訊息"), question,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return save(); // go on only once the work is saved
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}
