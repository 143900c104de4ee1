#pragma once

#include <QObject>
#include <QString>

class QAction;
class TFileChooser;
class TMachineView;
class TProgramEditor;

// New, Open, Save and Save As of the program in the grid as "*.asm" files,
// and the question about unsaved changes before the program is replaced.
class TDocumentCommands : public QObject {
    Q_OBJECT

public:
    // `unsaved` is the Save command, whose availability marks unsaved changes.
    TDocumentCommands(TProgramEditor& editor, TMachineView& view, TFileChooser& files,
                      const QAction& unsaved, QWidget* window);

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
    void stateRequested(int state);

private:
    // The grid and START as a source file's text gives them.
    void ShowSource(const QByteArray& text);
    bool WriteSourceFile();

    TProgramEditor& editor_;
    TMachineView& view_;
    TFileChooser& files_;
    const QAction& unsaved_;
    QWidget* window_;
    QString fileName_;
};
