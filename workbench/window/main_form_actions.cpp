// The window's commands: actions with their hints, the menus and the tool bar.
#include "workbench/window/main_form.h"

#include "workbench/commands/example_programs.h"
#include "workbench/run/run_control.h"
#include "workbench/widgets/widget_support.h"
#include "workbench/window/zoom.h"

#include <QAction>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

// Each icon in every size a zoomed tool bar asks for, each rendered for its
// size. None carries the "@2x" scale, which an icon would prefer on a scaled
// screen at any size.
QIcon ImageListIcon(int index)
{
    QIcon icon(QPixmap(QStringLiteral(":/icons/%1.png").arg(index)));
    for (const int pixels : {32, 48, 64, 96}) {
        icon.addPixmap(QPixmap(QStringLiteral(":/icons/%1-%2.png").arg(index).arg(pixels)));
    }
    return icon;
}

} // namespace

QAction* TMainForm::AddAction(const char* name, const QString& caption, const QString& hint,
                              int icon, void (TMainForm::*handler)())
{
    auto* action = new QAction(caption, ActionList);
    action->setObjectName(QLatin1String(name));
    SetHint(action, hint);
    if (icon >= 0) {
        action->setIcon(ImageListIcon(icon));
    }
    connect(action, &QAction::triggered, this, handler);
    addAction(action); // shortcuts work whether or not a menu shows the action
    return action;
}

void TMainForm::SetHint(QAction* action, const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

void TMainForm::CreateActions()
{
    ActionList = new QObject(this);
    ActionList->setObjectName(QStringLiteral("ActionList"));
    actFileNew = AddAction("actFileNew", "建立新檔(&N)", "建立新檔|建立新的編輯區域", 6,
                           &TMainForm::actFileNewExecute);
    actFileNew->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    actFileOpen =
        AddAction("actFileOpen", "開啟舊檔(&O)...", "開啟舊檔|從磁碟中開啟舊有的檔案至編輯區域", 7,
                  &TMainForm::actFileOpenExecute);
    actFileOpen->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    actFileSave = AddAction("actFileSave", "儲存檔案(&S)", "儲存檔案|將編輯區域之內容存入磁碟", 8,
                            &TMainForm::actFileSaveExecute);
    actFileSave->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    actFileSaveAs =
        AddAction("actFileSaveAs", "另存新檔(&A)...", "另存新檔|將編輯區域之內容存為其他檔案", -1,
                  &TMainForm::actFileSaveAsExecute);
    actFileExit =
        AddAction("actFileExit", "關閉(&X)", "關閉|關閉程式", -1, &TMainForm::actFileExitExecute);
    actEditCut =
        AddAction("actEditCut", "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard", 0,
                  &TMainForm::actEditCutExecute);
    actEditCut->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
    actEditCopy =
        AddAction("actEditCopy", "&Copy", "Copy|Copies the selection and puts it on the Clipboard",
                  1, &TMainForm::actEditCopyExecute);
    actEditCopy->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
    actEditPaste = AddAction("actEditPaste", "&Paste", "Paste|Inserts Clipboard contents", 2,
                             &TMainForm::actEditPasteExecute);
    actEditPaste->setShortcut(QKeySequence(QStringLiteral("Ctrl+V")));
    actHelpAbout = AddAction("actHelpAbout", "&About...",
                             "About|Displays program information, version number, and copyright",
                             -1, &TMainForm::actHelpAboutExecute);
    actFileSaveMemory = AddAction("actFileSaveMemory", "儲存記憶體內容(&M)...",
                                  "儲存記憶體內容|將記憶體區域之內容存入磁碟", 8,
                                  &TMainForm::actFileSaveMemoryExecute);
    actFileLoadMemory =
        AddAction("actFileLoadMemory", "載入記憶體內容(&L)...",
                  "載入記憶體內容|從磁碟中載入記憶體內容", 9, &TMainForm::actFileLoadMemoryExecute);
    actCpuRun =
        AddAction("actCpuRun", "執行(&G)", "執行|執行程式", 10, &TMainForm::actCpuRunExecute);
    actCpuStep = AddAction("actCpuStep", "下一指令(&S)", "下一指令|執行下一個指令", 13,
                           &TMainForm::actCpuStepExecute);
    actCpuMicroStep = AddAction("actCpuMicroStep", "下一微指令(&M)", "下一微指令|執行下一個微指令",
                                15, &TMainForm::actCpuMicroStepExecute);
    actCpuHalt =
        AddAction("actCpuHalt", "停止(&H)", "停止|停止程式", 12, &TMainForm::actCpuHaltExecute);
    actCpuReset =
        AddAction("actCpuReset", "重置(&R)", "重置|將程式重置", 14, &TMainForm::actCpuResetExecute);
    actCpuRadix = AddAction("actCpuRadix", "十進位顯示(&D)", "十進位|將數字顯示為十進位", 16,
                            &TMainForm::actCpuRadixExecute);
    actCpuRadix->setCheckable(true);
    actCpuRadix->setChecked(true);
    actCpuClearMemory =
        AddAction("actCpuClearMemory", "清除記憶體(&M)", "清除記憶體|清除記憶體區域之內容", 19,
                  &TMainForm::actCpuClearMemoryExecute);
    actCpuClearRegister =
        AddAction("actCpuClearRegister", "清除暫存器(&C)", "清除暫存器|清除暫存器區域之內容", 20,
                  &TMainForm::actCpuClearRegisterExecute);
    actAssemblyRun = AddAction("actAssemblyRun", "組譯(A&)", "組譯|將程式內容組譯", 18,
                               &TMainForm::actAssemblyRunExecute);
    actAssemblyLoad = AddAction("actAssemblyLoad", "載入(&L)", "載入|將組譯後之程式載入記憶體", 17,
                                &TMainForm::actAssemblyLoadExecute);
    actEditClearMessage = AddAction("actEditClearMessage", "清除訊息(&M)", "清除訊息", 21,
                                    &TMainForm::actEditClearMessageExecute);
    actEditInsertLine =
        AddAction("actEditInsertLine", "插入一行(&I)", "插入一行|在目前位置之前插入一行", 22,
                  &TMainForm::actEditInsertLineExecute);
    actEditDeleteLine =
        AddAction("actEditDeleteLine", "刪除一行(&D)", "刪除一行|將現在位置之行刪除", 23,
                  &TMainForm::actEditDeleteLineExecute);

    for (QAction* action : {actFileSave, actFileSaveAs, actFileSaveMemory, actCpuRun, actCpuStep,
                            actCpuMicroStep, actCpuHalt, actCpuReset, actAssemblyRun,
                            actAssemblyLoad, actEditInsertLine, actEditDeleteLine}) {
        action->setEnabled(false);
    }
    stateActions_ = {actFileSave, actFileSaveAs,    actAssemblyRun,  actAssemblyLoad,
                     actCpuRun,   actCpuStep,       actCpuMicroStep, actCpuHalt,
                     actCpuReset, actFileSaveMemory};
    actCpuStepBack =
        AddAction("actCpuStepBack", "回上一指令(&B)", "回上一指令|回到上一個指令執行之前", 24,
                  &TMainForm::actCpuStepBackExecute);
    actCpuMicroStepBack = AddAction("actCpuMicroStepBack", "回上一微指令(&V)",
                                    "回上一微指令|回到上一個微指令執行之前", 25,
                                    &TMainForm::actCpuMicroStepBackExecute);
    actCpuToggleBreakpoint = AddAction("actCpuToggleBreakpoint", "設定/取消中斷點(&T)",
                                       "中斷點|在目前這一行設定或取消中斷點", 26,
                                       &TMainForm::actCpuToggleBreakpointExecute);
    actCpuStepBack->setEnabled(false);
    actCpuMicroStepBack->setEnabled(false);
    actCpuToggleBreakpoint->setEnabled(false);
    const std::pair<QAction*, const char*> keys[] = {{actCpuRun, "F5"},
                                                     {actCpuHalt, "Shift+F5"},
                                                     {actCpuStep, "F10"},
                                                     {actCpuMicroStep, "F11"},
                                                     {actCpuStepBack, "Shift+F10"},
                                                     {actCpuMicroStepBack, "Shift+F11"},
                                                     {actCpuToggleBreakpoint, "F9"}};
    for (const auto& [action, key] : keys) {
        action->setShortcut(QKeySequence(QLatin1String(key)));
    }

    actEditUndo = AddAction("actEditUndo", "復原(&U)", "復原|取消上一個程式編輯動作", -1,
                            &TMainForm::actEditUndoExecute);
    actEditUndo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    actEditRedo = AddAction("actEditRedo", "重做(&R)", "重做|重做剛才復原的程式編輯動作", -1,
                            &TMainForm::actEditRedoExecute);
    actEditRedo->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    actEditUndo->setEnabled(false);
    actEditRedo->setEnabled(false);

    actAssemblyRunLoad =
        AddAction("actAssemblyRunLoad", "組譯並載入(&B)", "組譯並載入|將程式內容組譯並載入記憶體",
                  -1, &TMainForm::actAssemblyRunLoadExecute);
    actCpuRunToCursor = AddAction("actCpuRunToCursor", "執行到游標處(&C)",
                                  "執行到游標處|以最快速度執行到目前這一行的指令之前", -1,
                                  &TMainForm::actCpuRunToCursorExecute);
    actCpuClearBreakpoints =
        AddAction("actCpuClearBreakpoints", "清除所有中斷點", "清除所有中斷點|取消每一行的中斷點",
                  -1, &TMainForm::actCpuClearBreakpointsExecute);
    // They are available with the command they extend.
    actAssemblyRunLoad->setEnabled(false);
    actCpuRunToCursor->setEnabled(false);
    actCpuClearBreakpoints->setEnabled(false);
    connect(actAssemblyRun, &QAction::enabledChanged, actAssemblyRunLoad, &QAction::setEnabled);
    connect(actCpuStep, &QAction::enabledChanged, actCpuRunToCursor, &QAction::setEnabled);
    const std::pair<QAction*, const char*> moreKeys[] = {
        {actAssemblyRunLoad, "F7"},      {actAssemblyRun, "Ctrl+F7"},
        {actAssemblyLoad, "Shift+F7"},   {actCpuReset, "Ctrl+F5"},
        {actCpuRunToCursor, "Ctrl+F10"}, {actCpuClearBreakpoints, "Ctrl+Shift+F9"}};
    for (const auto& [action, key] : moreKeys) {
        action->setShortcut(QKeySequence(QLatin1String(key)));
    }
}

void TMainForm::CreateMenus()
{
    menuBar()->setObjectName(QStringLiteral("MainMenu"));
    auto addMenu = [this](const char* name, const QString& title) {
        QMenu* menu = menuBar()->addMenu(title);
        menu->setObjectName(QLatin1String(name));
        menu->setToolTipsVisible(false);
        return menu;
    };
    mnuFile = addMenu("mnuFile", "檔案(&F)");
    mnuFile->addActions({actFileNew, actFileOpen, actFileSave, actFileSaveAs});
    mnuFile->addSeparator();
    mnuFile->addActions({actFileSaveMemory, actFileLoadMemory});
    mnuFile->addSeparator();
    mnuFile->addAction(actFileExit);

    // The clipboard commands stay out of the menu and the tool bar: they are
    // reached by their shortcuts alone.
    mnuEdit = addMenu("mnuEdit", "編輯(&E)");
    mnuEdit->addActions({actEditUndo, actEditRedo});
    mnuEdit->addSeparator();
    mnuEdit->addActions({actEditInsertLine, actEditDeleteLine});
    mnuEdit->addSeparator();
    mnuEdit->addAction(actEditClearMessage);

    mnuAssembly = addMenu("mnuAssembly", "組譯(&A)");
    mnuAssembly->addActions({actAssemblyRun, actAssemblyLoad, actAssemblyRunLoad});

    mnuCpu = addMenu("mnuCpu", "處理器(&C)");
    mnuCpu->addActions({actCpuRun, actCpuStep, actCpuMicroStep, actCpuStepBack, actCpuMicroStepBack,
                        actCpuHalt, actCpuReset});
    mnuCpu->addSeparator();
    mnuCpu->addActions({actCpuToggleBreakpoint, actCpuClearBreakpoints, actCpuRunToCursor});
    mnuCpu->addSeparator();
    mnuCpu->addActions({actCpuClearMemory, actCpuClearRegister});
    mnuCpu->addSeparator();
    mnuCpu->addAction(actCpuRadix);

    for (QMenu* menu : {mnuFile, mnuEdit, mnuAssembly, mnuCpu}) {
        connect(menu, &QMenu::aboutToShow, this, &TMainForm::mnuFileClick);
    }

    mnuOption = addMenu("mnuOption", "選項(&O)");
    auto addOption = [this](const char* name, const QString& caption, const QString& hint,
                            void (TMainForm::*handler)()) {
        QAction* option = mnuOption->addAction(caption);
        option->setObjectName(QLatin1String(name));
        SetHint(option, hint);
        connect(option, &QAction::triggered, this, handler);
        return option;
    };
    mnuOptionSetColor =
        addOption("mnuOptionSetColor", "設定SET色彩(&S)...", "設定SET色彩|設定SET動作之色彩",
                  &TMainForm::mnuOptionSetColorClick);
    mnuOptionGetColor =
        addOption("mnuOptionGetColor", "設定GET色彩(&G)...", "設定GET色彩|設定GET動作之色彩",
                  &TMainForm::mnuOptionGetColorClick);
    mnuOptionTextColor =
        addOption("mnuOptionTextColor", "設定文字色彩(&T)...", "設定文字色彩|設定顯示之文字色彩",
                  &TMainForm::mnuOptionTextColorClick);
    mnuOption->addSeparator();
    mnuOptionViewHint = addOption("mnuOptionViewHint", "隱藏提示(&H)", "隱藏提示|隱藏按鈕之提示",
                                  &TMainForm::mnuOptionViewHintClick);
    mnuOptionViewHint->setCheckable(true);
    mnuOptionViewHint->setChecked(true);

    mnuHelp = addMenu("mnuHelp", "&Help");
    mnuHelp->menuAction()->setStatusTip(QStringLiteral("Help topics"));
    mnuHelp->addAction(actHelpAbout);
    mnuHelp->menuAction()->setVisible(false);
}

void TMainForm::CreateToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    auto button = [this](QAction* action, const char* name) {
        ToolBar1->addAction(action);
        ToolBar1->widgetForAction(action)->setObjectName(QLatin1String(name));
    };
    // Buttons bound to actions that must not show: a button of their own,
    // hidden, so that the action itself stays visible and its shortcut live.
    auto hiddenButton = [this](QAction* action, const char* name) {
        auto* tool = new QToolButton(ToolBar1);
        tool->setObjectName(QLatin1String(name));
        tool->setDefaultAction(action);
        ToolBar1->addWidget(tool)->setVisible(false);
    };
    button(actFileNew, "tbtnNew");
    button(actFileOpen, "tbtnOpen");
    button(actFileSave, "tbtnSave");
    ToolBar1->addSeparator()->setVisible(false);
    hiddenButton(actEditCut, "tbtnCut");
    hiddenButton(actEditCopy, "tbtnCopy");
    hiddenButton(actEditPaste, "tbtnPaste");
    ToolBar1->addSeparator();
    button(actEditInsertLine, "tbtnInsertLine");
    button(actEditDeleteLine, "tbtnDeleteLine");
    ToolBar1->addSeparator();
    button(actAssemblyRun, "tbtnAssemblyRun");
    button(actAssemblyLoad, "tbtnAssemblyLoad");
    ToolBar1->addSeparator();
    button(actFileLoadMemory, "tbtnLoadMemory");
    button(actFileSaveMemory, "tbtnSaveMemory");
    ToolBar1->addSeparator();
    button(actCpuRun, "tbtnRun");
    runControl_->AddIntervalField(ToolBar1);
    button(actCpuStep, "tbtnStep");
    button(actCpuMicroStep, "tbtnMicroStep");
    button(actCpuStepBack, "tbtnStepBack");
    button(actCpuMicroStepBack, "tbtnMicroStepBack");
    button(actCpuHalt, "tbtnHalt");
    button(actCpuReset, "tbtnReset");
    ToolBar1->addSeparator();
    button(actCpuRadix, "tbtnRadix");
    ToolBar1->addSeparator();
    button(actEditClearMessage, "tbtnClearMessage");
    button(actCpuClearMemory, "tbtnClearMemory");
    button(actCpuClearRegister, "tbtnClearRegister");
    ShowShortcutsInToolTips(ToolBar1);
}

void TMainForm::ShowRunCommand(bool running)
{
    actCpuRun->setIcon(ImageListIcon(running ? 11 : 10));
    actCpuRun->setText(running ? QStringLiteral("暫停(&P)") : QStringLiteral("執行(&R)"));
    SetHint(actCpuRun, running ? QStringLiteral("暫停|暫停程式") : QStringLiteral("執行|執行程式"));
}

// The built-in examples, in a submenu of the File menu before Exit.
void TMainForm::CreateExamplesMenu()
{
    mnuFileExamples = new QMenu(QStringLiteral("範例程式(&E)"), mnuFile);
    mnuFileExamples->setObjectName(QStringLiteral("mnuFileExamples"));
    mnuFileExamples->setToolTipsVisible(false);
    SetHint(mnuFileExamples->menuAction(), QStringLiteral("範例程式|開啟程式內附的範例程式"));
    mnuFile->insertMenu(actFileExit, mnuFileExamples);
    mnuFile->insertSeparator(actFileExit);
    int number = 0;
    for (const ExampleProgram& example : BuiltInExamples()) {
        QAction* item = mnuFileExamples->addAction(example.title);
        item->setObjectName(QStringLiteral("mnuFileExample%1").arg(++number));
        item->setData(example.resource);
        item->setStatusTip(QStringLiteral("開啟範例程式 ") + example.file);
        connect(item, &QAction::triggered, this,
                [this, resource = example.resource] { mnuFileExampleClick(resource); });
    }
}

// Zoom, after the items of the Options menu.
void TMainForm::CreateZoomActions()
{
    actOptionZoomIn = AddAction("actOptionZoomIn", "放大(&I)", "放大|放大視窗的文字與圖示", -1,
                                &TMainForm::actOptionZoomInExecute);
    actOptionZoomIn->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))});
    actOptionZoomOut = AddAction("actOptionZoomOut", "縮小(&U)", "縮小|縮小視窗的文字與圖示", -1,
                                 &TMainForm::actOptionZoomOutExecute);
    actOptionZoomOut->setShortcut(QKeySequence(QStringLiteral("Ctrl+-")));
    actOptionZoomReset =
        AddAction("actOptionZoomReset", "原始大小(&Z)", "原始大小|以原始大小顯示視窗", -1,
                  &TMainForm::actOptionZoomResetExecute);
    actOptionZoomReset->setShortcut(QKeySequence(QStringLiteral("Ctrl+0")));
    // Like the other items of the Options menu, they are not commands of the
    // action list.
    for (QAction* zoom : {actOptionZoomIn, actOptionZoomOut, actOptionZoomReset}) {
        zoom->setParent(this);
    }
    mnuOption->addSeparator();
    mnuOption->addActions({actOptionZoomIn, actOptionZoomOut, actOptionZoomReset});
    connect(zoom_, &TZoom::zoomChanged, this, &TMainForm::ShowZoom);
    ShowZoom();
}
