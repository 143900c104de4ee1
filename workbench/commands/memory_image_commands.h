#pragma once

#include <QObject>
#include <QString>

class CCpu;
class QAction;
class TFileChooser;
class TMachineView;

// Save Memory, Load Memory and Clear Memory: the machine's memory and the
// "*.mm" image files, with the question about unsaved memory first.
class TMemoryImageCommands : public QObject {
    Q_OBJECT

public:
    // `unsaved` is the Save Memory command, whose availability marks memory
    // that holds unsaved changes.
    TMemoryImageCommands(CCpu& machine, TMachineView& view, TFileChooser& files,
                         const QAction& unsaved, QWidget* window);

    bool Save();
    void Load();
    void Clear();

    // The full path of the image last saved or loaded, empty when none.
    QString FileName() const { return fileName_; }

signals:
    void stateRequested(int state);

private:
    bool AskToSaveMemory();

    CCpu& machine_;
    TMachineView& view_;
    TFileChooser& files_;
    const QAction& unsaved_;
    QWidget* window_;
    QString fileName_;
};
