#include "window_test.h"

#include <QAction>
#include <QColorDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleOptionMenuItem>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include <set>

namespace {

const QStringList StateActions = {
    "actFileSave", "actFileSaveAs",   "actAssemblyRun", "actAssemblyLoad", "actCpuRun",
    "actCpuStep",  "actCpuMicroStep", "actCpuHalt",     "actCpuReset",     "actFileSaveMemory"};

} // namespace

class MainWindowTest : public WindowTest {
protected:
    static constexpr int ZoomPercents[] = {100, 125, 150, 175, 200, 250, 300};

    // Whether each item of the menu is measured with room for the shortcut
    // column that the menu's items are drawn beside.
    static bool CaptionsFit(QMenu* menu)
    {
        QStyleOptionMenuItem item;
        item.initFrom(menu);
        item.menuItemType = QStyleOptionMenuItem::Normal;
        item.reservedShortcutWidth = menu->fontMetrics().horizontalAdvance("Ctrl+Shift+F9");
        const QStyle* style = menu->style();
        for (const QAction* action : menu->actions()) {
            item.text = action->text();
            const QSize text = menu->fontMetrics().size(Qt::TextShowMnemonic, item.text);
            const int plain =
                style->sizeFromContents(QStyle::CT_MenuItem, &item, text, menu).width();
            item.text += u'\t';
            const int beside =
                style->sizeFromContents(QStyle::CT_MenuItem, &item, text, menu).width();
            if (plain < beside) {
                return false;
            }
        }
        return true;
    }

    // The availabilities of the state-driven commands as 0 and 1, in the
    // order of StateActions.
    QString Availability() const
    {
        QString bits;
        for (const QString& name : StateActions) {
            bits += Action(name)->isEnabled() ? u'1' : u'0';
        }
        return bits;
    }
};

TEST_F(MainWindowTest, StartsWithTheDocumentAndMachineCommandsUnavailable)
{
    EXPECT_EQ(form->windowTitle(), "MIRA - ");
    EXPECT_EQ(form->RecordedState(), StateNew);
    std::set<QString> available;
    for (QAction* action : Find<QObject>("ActionList")->findChildren<QAction*>()) {
        if (action->isEnabled()) {
            available.insert(action->objectName());
        }
    }
    const std::set<QString> expected = {
        "actFileNew",   "actFileOpen",       "actFileExit",         "actFileLoadMemory",
        "actCpuRadix",  "actCpuClearMemory", "actCpuClearRegister", "actEditClearMessage",
        "actHelpAbout", "actEditCut",        "actEditCopy",         "actEditPaste"};
    EXPECT_EQ(available, expected);
    EXPECT_EQ(Action("mnuOptionViewHint")->text(), "隱藏提示(&H)");
    EXPECT_TRUE(Action("mnuOptionViewHint")->isChecked());
    EXPECT_TRUE(Action("actCpuRadix")->isChecked());
}

TEST_F(MainWindowTest, ActionsCarryCaptionShortcutAndBothHints)
{
    QAction* open = Action("actFileOpen");
    EXPECT_EQ(open->text(), "開啟舊檔(&O)...");
    EXPECT_EQ(open->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(open->toolTip(), "開啟舊檔");
    EXPECT_EQ(open->statusTip(), "從磁碟中開啟舊有的檔案至編輯區域");
    QAction* clear = Action("actEditClearMessage");
    EXPECT_EQ(clear->toolTip(), "清除訊息");
    EXPECT_EQ(clear->statusTip(), "清除訊息");
    EXPECT_EQ(Action("actAssemblyRun")->text(), "組譯(A&)");

    // Commands added for following a program, and keys added to specified ones.
    struct Command {
        const char* name;
        const char* caption;
        const char* key;
        const char* hint;
        const char* statusHint;
    };
    for (const Command& c : {
             Command{"actCpuToggleBreakpoint", "設定/取消中斷點(&T)", "F9", "中斷點",
                     "在目前這一行設定或取消中斷點"},
             Command{"actCpuStepBack", "回上一指令(&B)", "Shift+F10", "回上一指令",
                     "回到上一個指令執行之前"},
             Command{"actCpuMicroStepBack", "回上一微指令(&V)", "Shift+F11", "回上一微指令",
                     "回到上一個微指令執行之前"},
             Command{"actCpuRun", "執行(&G)", "F5", "執行", "執行程式"},
             Command{"actCpuHalt", "停止(&H)", "Shift+F5", "停止", "停止程式"},
             Command{"actCpuStep", "下一指令(&S)", "F10", "下一指令", "執行下一個指令"},
             Command{"actCpuMicroStep", "下一微指令(&M)", "F11", "下一微指令", "執行下一個微指令"},
             Command{"actEditUndo", "復原(&U)", "Ctrl+Z", "復原", "取消上一個程式編輯動作"},
             Command{"actEditRedo", "重做(&R)", "Ctrl+Y", "重做", "重做剛才復原的程式編輯動作"},
         }) {
        QAction* action = Action(c.name);
        EXPECT_EQ(action->text(), c.caption);
        EXPECT_EQ(action->shortcut(), QKeySequence(QLatin1String(c.key))) << c.name;
        EXPECT_EQ(action->toolTip(), c.hint);
        EXPECT_EQ(action->statusTip(), c.statusHint);
    }
    EXPECT_TRUE(Find<QToolButton>("tbtnStepBack")->isVisible());
    EXPECT_TRUE(Find<QToolButton>("tbtnMicroStepBack")->isVisible());
    EXPECT_EQ(Action("actOptionZoomIn")->shortcuts(),
              QList<QKeySequence>({QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")}));
    EXPECT_EQ(Action("actOptionZoomOut")->shortcut(), QKeySequence("Ctrl+-"));
    EXPECT_EQ(Action("actOptionZoomReset")->shortcut(), QKeySequence("Ctrl+0"));
}

TEST_F(MainWindowTest, MenusHoldTheirCommandsInOrder)
{
    auto names = [this](const char* menu) {
        QStringList list;
        for (QAction* action : Find<QMenu>(menu)->actions()) {
            list << (action->isSeparator() ? QStringLiteral("-")
                     : action->menu()      ? action->menu()->objectName()
                                           : action->objectName());
        }
        return list;
    };
    EXPECT_EQ(names("mnuFile"),
              QStringList({"actFileNew", "actFileOpen", "actFileSave", "actFileSaveAs", "-",
                           "actFileSaveMemory", "actFileLoadMemory", "-", "mnuFileExamples", "-",
                           "actFileExit"}));
    EXPECT_EQ(names("mnuEdit"), QStringList({"actEditUndo", "actEditRedo", "-", "actEditInsertLine",
                                             "actEditDeleteLine", "-", "actEditClearMessage"}));
    EXPECT_EQ(names("mnuOption"),
              QStringList({"mnuOptionSetColor", "mnuOptionGetColor", "mnuOptionTextColor", "-",
                           "mnuOptionViewHint", "-", "actOptionZoomIn", "actOptionZoomOut",
                           "actOptionZoomReset", "-", "actOptionNarration", "actOptionDatapath",
                           "actOptionMachineCode"}));
    EXPECT_EQ(names("mnuCpu"),
              QStringList({"actCpuRun", "actCpuStep", "actCpuMicroStep", "actCpuStepBack",
                           "actCpuMicroStepBack", "actCpuHalt", "actCpuReset", "-",
                           "actCpuToggleBreakpoint", "actCpuClearBreakpoints", "actCpuRunToCursor",
                           "-", "actCpuClearMemory", "actCpuClearRegister", "-", "actCpuRadix"}));
    EXPECT_FALSE(Find<QMenu>("mnuHelp")->menuAction()->isVisible());
    EXPECT_TRUE(Find<QToolButton>("tbtnRun")->isVisible());
    EXPECT_FALSE(Find<QToolButton>("tbtnCut")->isVisible());
}

TEST_F(MainWindowTest, StatesSwitchAvailabilityOnTopOfTheCurrentOne)
{
    // Order: Save, SaveAs, Assemble, Load, Run, Step, MicroStep, Halt, Reset, SaveMemory.
    EXPECT_EQ(Availability(), "0000000000");
    form->SetState(StateModified);
    EXPECT_EQ(Availability(), "1110000000");
    form->SetState(StateAssembled);
    EXPECT_EQ(Availability(), "1111000000");
    form->SetState(StateLoaded);
    EXPECT_EQ(Availability(), "1111111001");
    form->SetState(StateRunning);
    EXPECT_EQ(Availability(), "1111100101");
    form->SetState(StateMemoryChanged);
    EXPECT_EQ(Availability(), "1111111101");
    form->SetState(StateHalted);
    EXPECT_EQ(Availability(), "1111000011");
    form->SetState(StateStartChanged); // Run unavailable: nothing changes
    EXPECT_EQ(Availability(), "1111000011");
    form->SetState(StateReset);
    EXPECT_EQ(Availability(), "1111111001");
    form->SetState(StateSaved);
    EXPECT_EQ(Availability(), "0111111001");
}

TEST_F(MainWindowTest, TheHaltedStateRestoresTheRunCommand)
{
    form->SetState(StateLoaded);
    Action("actCpuRun")->trigger();
    EXPECT_EQ(Action("actCpuRun")->text(), "暫停(&P)");
    EXPECT_TRUE(Find<QTimer>("tmrRunCpu")->isActive());
    form->SetState(StateHalted);
    EXPECT_FALSE(Find<QTimer>("tmrRunCpu")->isActive());
    EXPECT_EQ(Action("actCpuRun")->text(), "執行(&R)");
    EXPECT_EQ(Action("actCpuRun")->toolTip(), "執行");
    EXPECT_EQ(Action("actCpuRun")->statusTip(), "執行程式");
}

TEST_F(MainWindowTest, HintSwitchTogglesCaptionHintAndCheckMark)
{
    QAction* hint = Action("mnuOptionViewHint");
    hint->trigger();
    EXPECT_EQ(hint->text(), "顯示提示(&H)");
    EXPECT_EQ(hint->statusTip(), "顯示按鈕之提示");
    EXPECT_FALSE(hint->isChecked());
    hint->trigger();
    EXPECT_EQ(hint->text(), "隱藏提示(&H)");
    EXPECT_EQ(hint->toolTip(), "隱藏提示");
    EXPECT_EQ(hint->statusTip(), "隱藏按鈕之提示");
    EXPECT_TRUE(hint->isChecked());
}

TEST_F(MainWindowTest, HiddenHintsShowNoPopUpButKeepTheStatusBar)
{
    QWidget* button = Find("tbtnNew");
    auto askForTip = [button] {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
        QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &tip);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(askForTip(), "建立新檔 (Ctrl+N)");
    Action("mnuOptionViewHint")->trigger();
    EXPECT_EQ(askForTip(), "");
    QStatusTipEvent status(Action("actFileNew")->statusTip());
    QApplication::sendEvent(form.get(), &status);
    EXPECT_EQ(form->statusBar()->currentMessage(), "建立新的編輯區域");
    Action("mnuOptionViewHint")->trigger();
    EXPECT_EQ(askForTip(), "建立新檔 (Ctrl+N)");
}

TEST_F(MainWindowTest, ColourDialogsSetTheHighlightColoursOrKeepThem)
{
    AnswerColourDialog(QColor());
    Action("mnuOptionSetColor")->trigger();
    form->HandleMachineEvent(7, 5, 1);
    EXPECT_EQ(TextColour("txtRegister1"), QColor(Qt::red));

    WhenDialogShows([](QWidget* dialog) {
        auto* colours = static_cast<QColorDialog*>(dialog);
        EXPECT_EQ(colours->currentColor(), QColor(Qt::red));
        colours->setCurrentColor(Qt::green);
        colours->accept();
    });
    Action("mnuOptionSetColor")->trigger();
    EXPECT_EQ(TextColour("txtRegister1"), QColor(Qt::red)); // nothing is repainted
    form->HandleMachineEvent(7, 6, 2);
    EXPECT_EQ(TextColour("txtRegister2"), QColor(Qt::green));
}

TEST_F(MainWindowTest, TextColourFollowsEveryFieldThatIsNotHighlighted)
{
    form->HandleMachineEvent(7, 5, 1);
    AnswerColourDialog(Qt::darkGreen);
    Action("mnuOptionTextColor")->trigger();
    EXPECT_EQ(TextColour("txtRegister0"), QColor(Qt::darkGreen));
    EXPECT_EQ(TextColour("txtRegister1"), QColor(Qt::red));
    EXPECT_EQ(TextColour("mmMessage"), QColor(Qt::darkGreen));
    EXPECT_EQ(Find("lblInstruction")->palette().color(QPalette::WindowText), QColor(Qt::blue));
    form->ClearHighlights();
    EXPECT_EQ(TextColour("txtRegister1"), QColor(Qt::darkGreen));
}

// Run on the screens of a classroom as well (see CMakeLists.txt): every zoom
// step keeps the window within the screen's available area, and only a
// screen too small for the window's least size cuts anything off.
TEST_F(MainWindowTest, ZoomStepsKeepTheWindowOnItsScreen)
{
    form->FitToScreen();
    const QRect area = form->screen()->availableGeometry();
    const QStringList parts = {"sgrdCode", "mmMessage", "pnlMemory", "txtInterval", "txtPC"};
    auto places = [&] {
        QList<QRect> rects = {form->geometry()};
        for (const QString& name : parts) {
            rects << QRect(Find(name)->mapTo(form.get(), QPoint()), Find(name)->size());
        }
        auto* grid = Find<QTableWidget>("sgrdCode");
        rects << grid->visualRect(grid->model()->index(0, 3)); // a cell
        return rects;
    };
    const QList<QRect> atStart = places();
    const QFont startFont = QApplication::font();
    if (area.contains(form->frameGeometry())) {
        EXPECT_LE((form->frameGeometry().center() - area.center()).manhattanLength(), 2);
    }
    EXPECT_FALSE(Action("actOptionZoomOut")->isEnabled());
    // What the font does not size follows the zoom too: scroll bars, icons,
    // spin-box arrows.
    auto* log = Find<QPlainTextEdit>("mmMessage");
    const auto measures = [&] {
        return QList<int>{log->verticalScrollBar()->width(),
                          QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize),
                          Find("udInterval")->width()};
    };
    const QList<int> measuresAtStart = measures();
    QList<int> sizes;
    for (int step = 0; step < 7; ++step) {
        SCOPED_TRACE(form->font().pixelSize());
        sizes << form->font().pixelSize();
        EXPECT_TRUE(area.contains(form->frameGeometry()));
        const auto* percent = Find<QLabel>("lblZoom");
        EXPECT_EQ(percent->isVisible(), step > 0);
        EXPECT_EQ(percent->text(), QStringLiteral("%1 %").arg(ZoomPercents[step]));
        // The log keeps two lines, the tool bar its buttons where the icons
        // can still give way, and no menu cuts a caption.
        EXPECT_GE(log->viewport()->height(), 2 * log->fontMetrics().lineSpacing());
        auto* toolBar = Find<QToolBar>("ToolBar1");
        EXPECT_TRUE(toolBar->iconSize().width() == 16 ||
                    !toolBar->findChild<QWidget*>("qt_toolbar_ext_button")->isVisible());
        for (const char* name : {"mnuFile", "mnuOption"}) {
            // At 100 % the application's own style measures the menus.
            EXPECT_TRUE(step == 0 || CaptionsFit(Find<QMenu>(name))) << name;
        }
        for (const char* bar : {"MainMenu", "ToolBar1", "StatusBar"}) {
            EXPECT_TRUE(form->rect().contains(Find(bar)->geometry())) << bar;
        }
        // The client area scrolls only where even the window's least size
        // does not fit; the grid gives up rows to stay within it first.
        auto* clientArea = Find<QScrollArea>("ClientArea");
        const QScrollBar* across = clientArea->horizontalScrollBar();
        const QScrollBar* down = clientArea->verticalScrollBar();
        const QSize least = form->frameGeometry().size() - clientArea->size() +
                            Find("Client")->minimumSizeHint() +
                            QSize(down->isVisible() ? down->width() : 0,
                                  across->isVisible() ? across->height() : 0);
        if (down->isVisible()) {
            EXPECT_GT(least.height(), area.height());
        }
        if (across->isVisible()) {
            EXPECT_GT(least.width(), area.width());
        }
        auto* grid = Find<QTableWidget>("sgrdCode");
        const QWidget* viewport = clientArea->viewport();
        EXPECT_TRUE(grid->mapTo(viewport, grid->rect().bottomLeft()).y() < viewport->height() ||
                    grid->viewport()->height() <= 4 * grid->rowHeight(0));
        Action("actOptionZoomIn")->trigger();
    }
    EXPECT_FALSE(Action("actOptionZoomIn")->isEnabled());
    EXPECT_EQ(sizes, QList<int>({13, 16, 20, 23, 26, 33, 39}));
    for (qsizetype i = 0; i < measuresAtStart.size(); ++i) {
        EXPECT_GE(measures()[i], 2 * measuresAtStart[i]) << i;
    }
    EXPECT_GT(QApplication::font().pointSizeF(), startFont.pointSizeF()); // menus and dialogs

    Action("actOptionZoomReset")->trigger();
    EXPECT_EQ(places(), atStart);
    EXPECT_EQ(measures(), measuresAtStart);
    EXPECT_EQ(QApplication::font(), startFont);
    EXPECT_FALSE(Action("actOptionZoomReset")->isEnabled());
}

// Run with two screens (see CMakeLists.txt): taken to the smaller one, the
// window fits there as it did at start.
TEST_F(MainWindowTest, AWindowTakenToAnotherScreenFitsThere)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() < 2) {
        GTEST_SKIP() << "one screen";
    }
    form->FitToScreen();
    for (QScreen* screen : {screens[1], screens[0]}) {
        form->windowHandle()->setScreen(screen);
        EXPECT_TRUE(screen->availableGeometry().contains(form->frameGeometry()))
            << screen->name().toStdString();
    }
}
