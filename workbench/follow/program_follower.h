#pragma once

#include "workbench/run/run_control.h"
#include "workbench/window/window_states.h"

#include <QObject>

class QLabel;
class QStatusBar;
class TAssemblyCommands;
class TMachineView;
class TMessageLog;
class TProgramEditor;

// Ties the loaded program to its rows: marks the row of the executing
// instruction, puts breakpoints on the cells of their rows, leads log lines
// to the rows they name, and tells in the status bar what just happened.
class TProgramFollower : public QObject {
    Q_OBJECT

public:
    TProgramFollower(TProgramEditor& editor, const TMachineView& view,
                     const TRunControl& runControl, TAssemblyCommands& assembly,
                     const TMessageLog& log, QStatusBar* statusBar, QObject* parent);

    // Every state the window applies; some end what the loaded rows tell.
    void StateApplied(WindowState state);
    void ShowExecutingRow();
    // Breakpoints, the executing row and the rows' machine code after the
    // layout or the rows changed.
    void FollowLayout();
    void PlaceBreakpoints();
    void OfferBreakpoint();
    // A log line chosen: its row selected and named in the status bar.
    void LeadToLine(int line, const QString& text);
    void LeadToAddress(int address, const QString& text);
    // After a failed Assemble, the row of its first error.
    void SelectFirstError();

    // What just happened, in the status bar.
    void ShowAssembled(int lineCount, int firstAddress, int lastAddress);
    void ShowBreakpointReached(int address);
    void ShowCursorReached(int address);
    void ShowHalt(TRunControl::HaltCause cause);
    void ShowStarted();
    void ShowStepsForgotten();

signals:
    // Whether the current row may take or lose a breakpoint.
    void breakpointOffered(bool offered);
    // The cells of the rows that carry breakpoints.
    void breakpointsPlaced(const CellSet& cells);

private:
    void SelectLine(int line);
    void ShowFeedback(const QString& text);

    TProgramEditor& editor_;
    const TMachineView& view_;
    const TRunControl& runControl_;
    TAssemblyCommands& assembly_;
    const TMessageLog& log_;
    QLabel* lblFeedback; // what just happened, beside the hints
};
