#pragma once

#include <QFont>
#include <QMargins>
#include <QObject>
#include <QPoint>

class QLabel;
class QMainWindow;
class QScrollArea;
class QToolBar;
class TMessageLog;
class TProgramEditor;

// The rows the program grid and the message log show.
struct ShownRows {
    int grid = 0;
    int log = 0;
};

// Zoom for a projector, and the window's place on its screen. The window's
// font grows in steps from 100 % to 300 %, the menus, dialogs and tool bar
// icons with it, and the window is laid out again from the font. Whatever
// the zoom and the screen's scale, the window lies within the screen's
// available area: where it would not fit, the grid and the log give up
// rows, and only then is what still does not fit cut off at the right and
// the bottom of the client area, which then scrolls; the menus, tool bar and
// status bar stay whole. The window is fitted at start, again once the
// window system has framed it, on a move to another screen and at every step.
class TZoom : public QObject {
    Q_OBJECT

public:
    TZoom(QMainWindow& window, TProgramEditor& editor, TMessageLog& log, QToolBar& toolBar);
    ~TZoom() override;

    bool CanZoomIn() const;
    bool CanZoomOut() const;
    void ZoomIn();
    void ZoomOut();
    void Reset();

    // Fits the window to its screen and centres it in the available area.
    void FitToScreen();
    // Fits the window again where it is, after its contents changed size.
    void Refit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void zoomChanged(int percent);
    // The client area scrolled, moving every part under a floating editor.
    void clientScrolled();

private:
    void Apply(int percent);
    void ShowPercent();
    // Tool bar icons as large as the zoom asks and the window's width allows.
    void FitToolBarIcons(int room);
    // Fits the window to its screen with its frame's centre at `centre`, or
    // as near as the available area allows.
    void Fit(QPoint centre);
    void FitRows(QSize room);
    void CutOff(QSize room);
    void ShowRows(ShownRows rows);
    // Whether the grid and the log at its fewest lines reach below the
    // visible client area.
    bool LeftColumnCutOff() const;

    QMainWindow& window_;
    TProgramEditor& editor_;
    TMessageLog& log_;
    QToolBar& toolBar_;
    QScrollArea* clientArea_;
    const QFont windowFont_;      // at 100 %
    const QFont applicationFont_; // at 100 %: the menus' and the dialogs'
    const QString applicationStyle_;
    QLabel* lblZoom;
    QMargins fittedFrame_; // the window frame of the last fit
    bool watchesScreen_ = false;
    int percent_ = 100;
};
