#pragma once

#include "workbench/window/window_states.h"

#include <QObject>
#include <QString>

#include <functional>

class TFileChooser;
class TProgramEditor;
class TStartAddress;

// New, Open, Save and Save As of the program in the grid as "*.asm" files,
// and the question about unsaved changes before the program is replaced.
class TDocumentCommands : public QObject {
    Q_OBJECT

public:
    // `unsaved` tells whether the program has changes that are not saved.
    TDocumentCommands(TProgramEditor& editor, TStartAddress& start, TFileChooser& files,
                      std::function<bool()> unsaved, QWidget* window);

    void New();
    void Open();
    // A program built into the workbench, opened as a file without a name.
    void OpenExample(const QString& resource);
    bool Save();
    bool SaveAs();
    // True when the program may be replaced: nothing unsaved, No, or saved.
    bool SaveChangesPrompt();

    // The full path of the program's file, empty while it has none.
    QString FileName() const { return fileName_; }

signals:
    void stateRequested(WindowState state);

private:
    // The grid and START as a source file's text gives them.
    void ShowSource(const QByteArray& text);
    bool WriteSourceFile();

    TProgramEditor& editor_;
    TStartAddress& start_;
    TFileChooser& files_;
    std::function<bool()> unsaved_;
    QWidget* window_;
    QString fileName_;
};
