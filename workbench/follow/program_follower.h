#pragma once

#include <QObject>

class QLabel;
class QStatusBar;
class TAssemblyCommands;
class TMachineView;
class TMessageLog;
class TProgramEditor;
class TRunControl;

// Ties the loaded program to its rows: marks the row of the executing
// instruction, puts breakpoints on the cells of their rows, leads log lines
// to the rows they name, and tells in the status bar what just happened.
class TProgramFollower : public QObject {
    Q_OBJECT

public:
    TProgramFollower(TProgramEditor& editor, TMachineView& view, TRunControl& runControl,
                     TAssemblyCommands& assembly, TMessageLog& log, QStatusBar* statusBar,
                     QObject* parent);

    // Every state the window applies; some end what the loaded rows tell.
    void StateApplied(int state);

signals:
    // Whether the current row may take or lose a breakpoint.
    void breakpointOffered(bool offered);

private:
    void ShowExecutingRow();
    void PlaceBreakpoints();
    void OfferBreakpoint();
    void SelectLine(int line);
    // A log line chosen: its row selected and named in the status bar.
    void LeadToLine(int line, const QString& text);
    void ShowFeedback(const QString& text);

    TProgramEditor& editor_;
    TRunControl& runControl_;
    TAssemblyCommands& assembly_;
    TMessageLog& log_;
    QLabel* lblFeedback; // what just happened, beside the hints
};
