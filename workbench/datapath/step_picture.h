#pragma once

#include <QObject>

class QAction;
class QDialog;
class QLabel;
class TDatapathView;
class TMachineView;
class TMessageLog;
class TRunControl;

// The last micro-step as a picture of the datapath and in words: the picture
// below the memory page and a larger copy in a window of its own for a
// projector, the sentence under the picture and, while narration is on, in
// the message log. Picture and sentence follow the view's frames, so a fast
// run shows the last micro-step of each frame.
class TStepPicture : public QObject {
    Q_OBJECT

public:
    TStepPicture(TMachineView& view, TRunControl& runControl, TMessageLog& log, QWidget* window);

    // The view was brought up to date with the machine.
    void ShowLastMicroStep();
    // Every micro-step told in the log too.
    void SetNarration(bool on);
    void ShowDatapathWindow(bool shown);

signals:
    // The larger picture was asked for (a click on the small one), or its
    // window was closed.
    void datapathWindowRequested();
    void datapathWindowClosed();

private:
    TMachineView& view_;
    TRunControl& runControl_;
    TMessageLog& log_;
    TDatapathView* pnlDatapath;
    QLabel* lblNarration;
    QDialog* DatapathWindow;
    TDatapathView* pnlDatapathLarge;
};
