#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class QFileDialog;
class QWidget;

// The two kinds of file the window reads and writes.
enum class FileKind { Program, MemoryImage };

// ".asm" or ".mm": what a save adds to a name typed without it, and what an
// open tries when no file has the name typed.
QString SuffixOf(FileKind kind);

// The window's one pair of file dialogs, and the rules every file command
// follows: which file a save really writes, the ".bak" backup of the file it
// replaces, and how whole files are read and written.
class TFileChooser : public QObject {
    Q_OBJECT

public:
    explicit TFileChooser(QWidget* window);

    // The chosen file, or an empty name when the dialog was cancelled. The
    // dialog shows `fileName`, in its folder or else in the folder last chosen
    // for files of that kind; a save starts with the filter last chosen for
    // them. Nothing of the other kind's choices shows.
    QString ChooseFileToOpen(FileKind kind, const QString& title, const QStringList& filters,
                             const QString& fileName);
    QString ChooseFileToSave(FileKind kind, const QString& title, const QStringList& filters,
                             const QString& fileName);

    // What the dialogs held when last accepted, as the file error texts quote them.
    QString LastOpenedName() const { return openedName_; }
    QString LastSavedName() const { return savedName_; }

    // The name a save writes, and where the file it replaces was moved.
    struct SaveTarget {
        QString name;
        QString backup; // empty when nothing was moved
    };
    // `suffix` is added when the first filter is chosen and the name lacks it;
    // an existing file of the final name moves aside to its ".bak".
    SaveTarget PrepareSaveTarget(QString name, const QString& suffix) const;
    // After a failed save the previous file returns to its name.
    static void UndoBackup(const SaveTarget& target);

    // The project's file policy: a regular file of a program's size at
    // most, read without waiting on it; a save that never leaves a file half
    // written, `reason` telling why it failed.
    static bool ReadWholeFile(const QString& name, QByteArray& bytes);
    static bool WriteWholeFile(const QString& name, const QByteArray& bytes, QString& reason);

    void ShowFileError(const QString& text, bool withCancel) const;

private:
    // What the dialogs keep of the last choice for one kind of file.
    struct KindChoice {
        QString folder; // empty until a file of the kind was chosen
        qsizetype saveFilter = 0;
    };

    QString Choose(QFileDialog* dialog, KindChoice& choice, const QString& title,
                   const QStringList& filters, const QString& fileName);

    QWidget* window_;
    QFileDialog* openDialog_;
    QFileDialog* saveDialog_;
    QString openSuffix_;                // of the kind being opened
    std::array<KindChoice, 2> choices_; // by FileKind
    QString openedName_;
    QString savedName_;
};

// Asks whether unsaved work is saved first, when there is any; true to go on:
// nothing was unsaved, the user said No, or Yes and `save` succeeded.
bool AskToSaveFirst(QWidget* parent, const QString& question, bool unsaved,
                    const std::function<bool()>& save);
