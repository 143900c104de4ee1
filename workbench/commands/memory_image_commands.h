#pragma once

#include "workbench/window/window_states.h"

#include <QObject>
#include <QString>

#include <functional>

class CCpu;
class TFileChooser;
class TMachineView;

// Save Memory, Load Memory and Clear Memory: the machine's memory and the
// "*.mm" image files, with the question about unsaved memory first.
class TMemoryImageCommands : public QObject {
    Q_OBJECT

public:
    // `unsaved` tells whether memory holds changes that are not saved.
    TMemoryImageCommands(CCpu& machine, TMachineView& view, TFileChooser& files,
                         std::function<bool()> unsaved, QWidget* window);

    bool Save();
    void Load();
    void Clear();

    // The full path of the image last saved or loaded, empty when none.
    QString FileName() const { return fileName_; }

signals:
    void stateRequested(WindowState state);

private:
    bool AskToSaveMemory();

    CCpu& machine_;
    TMachineView& view_;
    TFileChooser& files_;
    std::function<bool()> unsaved_;
    QWidget* window_;
    QString fileName_;
};
