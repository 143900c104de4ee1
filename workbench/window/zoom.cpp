#include "workbench/window/zoom.h"

#include "workbench/editor/program_editor.h"
#include "workbench/log/message_log.h"
#include "workbench/window/zoom_style.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <iterator>

namespace {

constexpr int ZoomSteps[] = {100, 125, 150, 175, 200, 250, 300};
constexpr int IconPixels = 16; // at 100 %
// What the grid and the log keep however short of room the window is.
constexpr ShownRows LeastRows = {4, TMessageLog::LeastLines};

QFont Scaled(QFont font, int percent)
{
    if (font.pixelSize() > 0) {
        font.setPixelSize(qRound(font.pixelSize() * percent / 100.0));
    } else {
        font.setPointSizeF(font.pointSizeF() * percent / 100.0);
    }
    return font;
}

// Size hints are brought up to date at once, from the widget that changed up
// to the window, rather than at the window system's next turn: each layout on
// the way is laid out again, nested layouts included.
void RefreshSizes(QWidget* changed)
{
    for (QWidget* widget = changed; widget; widget = widget->parentWidget()) {
        if (QLayout* layout = widget->layout()) {
            layout->invalidate();
            layout->activate();
        } else {
            widget->updateGeometry();
        }
        if (widget->isWindow()) {
            break;
        }
    }
}

// The rows for a window at most `room` high, where `height` tells the
// window's height with the given rows: lines come off the log first, then
// rows off the grid, down to `least`, and each only while the window gets
// lower by it (beside a taller machine view it does not).
ShownRows RowsThatFit(int room, ShownRows natural, ShownRows least,
                      const std::function<int(ShownRows)>& height)
{
    ShownRows rows = natural;
    int current = height(rows);
    while (current > room) {
        ShownRows fewer = rows;
        if (fewer.log > least.log) {
            --fewer.log;
        } else if (fewer.grid > least.grid) {
            --fewer.grid;
        } else {
            break;
        }
        const int lower = height(fewer);
        if (lower >= current) {
            break;
        }
        rows = fewer;
        current = lower;
    }
    return rows;
}

// The client area: as large as what it holds wants, scrolling only when the
// window is given less.
class ClientArea : public QScrollArea {
public:
    explicit ClientArea(QWidget* parent) : QScrollArea(parent)
    {
        setObjectName(QStringLiteral("ClientArea"));
        setFrameShape(QFrame::NoFrame);
        setFocusPolicy(Qt::NoFocus);
        setWidgetResizable(true);
    }
    QSize sizeHint() const override { return widget()->sizeHint(); }
};

// The name of the style the application had before any zoom.
QString PlainStyleName()
{
    const QStyle* style = QApplication::style();
    if (const auto* zoomed = dynamic_cast<const TZoomStyle*>(style)) {
        style = zoomed->baseStyle();
    }
    return style->name();
}

} // namespace

TZoom::TZoom(QMainWindow& window, TProgramEditor& editor, TMessageLog& log, QToolBar& toolBar)
    : QObject(&window), window_(window), editor_(editor), log_(log), toolBar_(toolBar),
      clientArea_(new ClientArea(&window)), windowFont_(window.font()),
      applicationFont_(QApplication::font()), applicationStyle_(PlainStyleName()),
      lblZoom(new QLabel(window.statusBar()))
{
    clientArea_->setWidget(window.takeCentralWidget());
    window.setCentralWidget(clientArea_);
    for (QScrollBar* bar : {clientArea_->verticalScrollBar(), clientArea_->horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, &TZoom::clientScrolled);
    }
    // Where the client area is cut off, what the log has just been told comes into view.
    connect(&log, &QPlainTextEdit::textChanged, this, [this] {
        if (clientArea_->verticalScrollBar()->isVisible()) {
            clientArea_->ensureWidgetVisible(&log_, 0, 0);
        }
    });
    lblZoom->setObjectName(QStringLiteral("lblZoom"));
    window.statusBar()->addPermanentWidget(lblZoom);
    ShowPercent();
    window.installEventFilter(this);
}

// The menus and dialogs belong to the application, whose font and style the
// window zooms; they are the application's own again once the window is gone.
TZoom::~TZoom()
{
    if (percent_ != 100) {
        QApplication::setFont(applicationFont_);
        QApplication::setStyle(applicationStyle_);
    }
}

bool TZoom::CanZoomIn() const
{
    return percent_ < std::end(ZoomSteps)[-1];
}

bool TZoom::CanZoomOut() const
{
    return percent_ > ZoomSteps[0];
}

void TZoom::ZoomIn()
{
    const auto* next = std::upper_bound(std::begin(ZoomSteps), std::end(ZoomSteps), percent_);
    if (next != std::end(ZoomSteps)) {
        Apply(*next);
    }
}

void TZoom::ZoomOut()
{
    const auto* next = std::lower_bound(std::begin(ZoomSteps), std::end(ZoomSteps), percent_);
    if (next != std::begin(ZoomSteps)) {
        Apply(*std::prev(next));
    }
}

void TZoom::Reset()
{
    Apply(ZoomSteps[0]);
}

void TZoom::Apply(int percent)
{
    if (percent == percent_) {
        return;
    }
    const QPoint centre = window_.frameGeometry().center();
    percent_ = percent;
    if (percent == 100) {
        QApplication::setStyle(applicationStyle_);
        QApplication::setFont(applicationFont_);
    } else {
        QApplication::setStyle(new TZoomStyle(applicationStyle_, percent));
        QApplication::setFont(Scaled(applicationFont_, percent));
    }
    window_.setFont(Scaled(windowFont_, percent)); // the window lays itself out again
    // Each dialog takes the size its contents ask for at the new zoom when it
    // next shows, as it did when it first showed.
    for (QDialog* dialog : window_.findChildren<QDialog*>()) {
        dialog->setAttribute(Qt::WA_Resized, false);
    }
    Fit(centre);
    ShowPercent();
    emit zoomChanged(percent);
}

void TZoom::ShowPercent()
{
    lblZoom->setText(QStringLiteral("%1 %").arg(percent_));
    lblZoom->setVisible(percent_ != 100);
}

void TZoom::FitToolBarIcons(int room)
{
    int icon = IconPixels * percent_ / 100;
    toolBar_.setIconSize(QSize(icon, icon));
    room = qMin(room, clientArea_->widget()->sizeHint().width());
    auto width = [this] {
        toolBar_.layout()->invalidate();
        return toolBar_.layout()->sizeHint().width();
    };
    while (icon > IconPixels && width() > room) {
        --icon;
        toolBar_.setIconSize(QSize(icon, icon));
    }
}

void TZoom::Refit()
{
    Fit(window_.frameGeometry().center());
}

void TZoom::FitToScreen()
{
    Fit(window_.screen()->availableGeometry().center());
}

// The window system frames the window some time after it shows, and the
// user may take it to another screen.
bool TZoom::eventFilter(QObject* watched, QEvent* event)
{
    QWindow* handle = window_.windowHandle();
    if (watched == &window_ && handle) {
        if (!watchesScreen_) {
            watchesScreen_ = true;
            connect(handle, &QWindow::screenChanged, this, &TZoom::FitToScreen);
        }
        if (event->type() == QEvent::Move && handle->frameMargins() != fittedFrame_) {
            Fit(window_.frameGeometry().center());
        }
    }
    return QObject::eventFilter(watched, event);
}

void TZoom::ShowRows(ShownRows rows)
{
    editor_.SetShownRows(rows.grid);
    log_.SetShownLines(rows.log);
    RefreshSizes(&editor_);
    RefreshSizes(&log_);
}

void TZoom::Fit(QPoint centre)
{
    const QRect area = window_.screen()->availableGeometry();
    const QMargins frame =
        window_.windowHandle() ? window_.windowHandle()->frameMargins() : QMargins();
    const QSize room = area.size().shrunkBy(frame);
    fittedFrame_ = frame;

    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    FitToolBarIcons(room.width());
    FitRows(room);
    if (window_.width() > room.width() || window_.height() > room.height()) {
        CutOff(room);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);

    QRect placed(QPoint(), window_.size().grownBy(frame));
    placed.moveCenter(centre);
    placed.moveLeft(qBound(area.left(), placed.left(), area.right() + 1 - placed.width()));
    placed.moveTop(qBound(area.top(), placed.top(), area.bottom() + 1 - placed.height()));
    window_.move(placed.topLeft());
}

// The window takes the size its layout asks for, with fewer rows where that
// lowers it enough to fit.
void TZoom::FitRows(QSize room)
{
    window_.layout()->setSizeConstraint(QLayout::SetFixedSize);
    ShowRows({TProgramEditor::NaturalRows, 0});
    if (window_.height() > room.height()) {
        const ShownRows natural = {TProgramEditor::NaturalRows, log_.ShownLines()};
        ShowRows(RowsThatFit(room.height(), natural, LeastRows, [this](ShownRows rows) {
            ShowRows(rows);
            return window_.height();
        }));
    }
}

// The window takes all the room there is and its client area scrolls; the
// grid and the log give up rows to stay within what shows of it.
void TZoom::CutOff(QSize room)
{
    // A scroll bar along one side takes room from the other.
    const int bar = clientArea_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const bool cutBelow = window_.height() > room.height();
    const bool cutRight = window_.width() + (cutBelow ? bar : 0) > room.width();
    window_.layout()->setSizeConstraint(QLayout::SetNoConstraint);
    window_.setFixedSize(
        (window_.size() + QSize(cutBelow ? bar : 0, cutRight ? bar : 0)).boundedTo(room));
    ShownRows rows = {editor_.ShownRows(), LeastRows.log};
    ShowRows(rows);
    while (LeftColumnCutOff() && rows.grid > LeastRows.grid) {
        --rows.grid;
        ShowRows(rows);
    }
}

bool TZoom::LeftColumnCutOff() const
{
    const QWidget* client = clientArea_->widget();
    const int marginBelow = client->height() - log_.geometry().bottom();
    const int bottom =
        qMax(editor_.geometry().bottom(), log_.y() + log_.minimumSizeHint().height() + marginBelow);
    return bottom > clientArea_->viewport()->height();
}
