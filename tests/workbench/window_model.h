#pragma once

#include "window_parts.h"

#include <QMap>
#include <QObject>
#include <QStringList>

#include <functional>
#include <vector>

class QFileDialog;
class TMainForm;

// What the window must show, predicted from what was asked of it: the
// availability of the commands that the states switch, the recorded state
// and the title, from the states requested and the files chosen in the
// dialogs; and that no command discards unsaved work unless the user said so.
// Every departure is kept as a fault.
class WindowModel {
public:
    explicit WindowModel(TMainForm& form);

    // Every command of the window is watched from start to end.
    void CommandStarts(const QString& command);
    void CommandEnds();
    // The answer to a question about unsaved changes, before it takes effect.
    void PromptAnswered(const QString& text, int button);
    void DialogShown(const QString& title);

    // Compares the window with the model; returns the faults found since the
    // last call.
    QStringList Check();

private:
    struct Document {
        std::vector<QStringList> rows;
        QString start;
        QString title;
        bool operator==(const Document&) const = default;
    };

    void StateRequested(int state);
    void FileChosen(QFileDialog* dialog, const QString& name);
    void ExpectTitle(int state, const QString& title);
    void WorkMayBeDiscarded(const char* how);
    Document Snapshot() const;
    // The availability of the commands that the states switch, by name.
    using Availability = QMap<QString, bool>;
    Availability Actual() const;
    void Fault(const QString& text) { faults_ << text; }

    TMainForm& form_;
    const WindowParts parts_;
    QObject watching_; // the window's signals reach the model while it lives
    Availability available_;
    int recorded_ = 0;
    QString source_;       // the source file name the title shows
    QString memory_;       // the memory file name the title shows
    QString title_;        // the title after the last request
    QString chosenSource_; // the files chosen last, by the command they were chosen for
    QString savedSource_;
    QString chosenMemory_;
    QString savedMemory_;

    // The command under way, and what it met so far.
    QString command_;
    bool wasVisible_ = true;
    bool editing_ = false; // an edit was open that the command may commit
    bool programUnsaved_ = false;
    bool memoryUnsaved_ = false;
    Document before_;
    int programAnswer_ = 0; // the button, 0 while unanswered
    int memoryAnswer_ = 0;
    bool programSaved_ = false;
    bool memorySaved_ = false;
    bool opened_ = false; // New or Open replaced the program

    QStringList faults_;
};
