// The window's commands, menus and tool bar as data.
#include "workbench/window/command_table.h"

#include "workbench/window/main_form.h"

#include <QPixmap>

QIcon CommandIconImage(CommandIcon icon)
{
    // Each size is rendered for itself. None carries the "@2x" scale, which an
    // icon would prefer on a scaled screen at any size.
    const int index = static_cast<int>(icon);
    QIcon image(QPixmap(QStringLiteral(":/icons/%1.png").arg(index)));
    for (const int pixels : {32, 48, 64, 96}) {
        image.addPixmap(QPixmap(QStringLiteral(":/icons/%1-%2.png").arg(index).arg(pixels)));
    }
    return image;
}

namespace {

using enum CommandIcon;
using Form = TMainForm;

// Member, name, caption, hint; icon, keys, handler, listed, available at start, toggle:
// one command a row, its texts on the first line.
// clang-format off
const CommandSpec commands[] = {
    {&Form::actFileNew, "actFileNew", "建立新檔(&N)", "建立新檔|建立新的編輯區域",
     New, {"Ctrl+N"}, &Form::actFileNewExecute, true, true, Toggle::None},
    {&Form::actFileOpen, "actFileOpen", "開啟舊檔(&O)...", "開啟舊檔|從磁碟中開啟舊有的檔案至編輯區域",
     Open, {"Ctrl+O"}, &Form::actFileOpenExecute, true, true, Toggle::None},
    {&Form::actFileSave, "actFileSave", "儲存檔案(&S)", "儲存檔案|將編輯區域之內容存入磁碟",
     Save, {"Ctrl+S"}, &Form::actFileSaveExecute, true, false, Toggle::None},
    {&Form::actFileSaveAs, "actFileSaveAs", "另存新檔(&A)...", "另存新檔|將編輯區域之內容存為其他檔案",
     None, {}, &Form::actFileSaveAsExecute, true, false, Toggle::None},
    {&Form::actFileExit, "actFileExit", "關閉(&X)", "關閉|關閉程式",
     None, {}, &Form::actFileExitExecute, true, true, Toggle::None},
    {&Form::actEditCut, "actEditCut", "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard",
     Cut, {"Ctrl+X"}, &Form::actEditCutExecute, true, true, Toggle::None},
    {&Form::actEditCopy, "actEditCopy", "&Copy", "Copy|Copies the selection and puts it on the Clipboard",
     Copy, {"Ctrl+C"}, &Form::actEditCopyExecute, true, true, Toggle::None},
    {&Form::actEditPaste, "actEditPaste", "&Paste", "Paste|Inserts Clipboard contents",
     Paste, {"Ctrl+V"}, &Form::actEditPasteExecute, true, true, Toggle::None},
    {&Form::actHelpAbout, "actHelpAbout", "&About...", "About|Displays program information, version number, and copyright",
     None, {}, &Form::actHelpAboutExecute, true, true, Toggle::None},
    {&Form::actFileSaveMemory, "actFileSaveMemory", "儲存記憶體內容(&M)...", "儲存記憶體內容|將記憶體區域之內容存入磁碟",
     Save, {}, &Form::actFileSaveMemoryExecute, true, false, Toggle::None},
    {&Form::actFileLoadMemory, "actFileLoadMemory", "載入記憶體內容(&L)...", "載入記憶體內容|從磁碟中載入記憶體內容",
     LoadMemory, {}, &Form::actFileLoadMemoryExecute, true, true, Toggle::None},
    {&Form::actCpuRun, "actCpuRun", "執行(&G)", "執行|執行程式",
     Run, {"F5"}, &Form::actCpuRunExecute, true, false, Toggle::None},
    {&Form::actCpuStep, "actCpuStep", "下一指令(&S)", "下一指令|執行下一個指令",
     Step, {"F10"}, &Form::actCpuStepExecute, true, false, Toggle::None},
    {&Form::actCpuMicroStep, "actCpuMicroStep", "下一微指令(&M)", "下一微指令|執行下一個微指令",
     MicroStep, {"F11"}, &Form::actCpuMicroStepExecute, true, false, Toggle::None},
    {&Form::actCpuHalt, "actCpuHalt", "停止(&H)", "停止|停止程式",
     Halt, {"Shift+F5"}, &Form::actCpuHaltExecute, true, false, Toggle::None},
    {&Form::actCpuReset, "actCpuReset", "重置(&R)", "重置|將程式重置",
     Reset, {"Ctrl+F5"}, &Form::actCpuResetExecute, true, false, Toggle::None},
    {&Form::actCpuRadix, "actCpuRadix", "十進位顯示(&D)", "十進位|將數字顯示為十進位",
     Radix, {}, &Form::actCpuRadixExecute, true, true, Toggle::On},
    {&Form::actCpuClearMemory, "actCpuClearMemory", "清除記憶體(&M)", "清除記憶體|清除記憶體區域之內容",
     ClearMemory, {}, &Form::actCpuClearMemoryExecute, true, true, Toggle::None},
    {&Form::actCpuClearRegister, "actCpuClearRegister", "清除暫存器(&C)", "清除暫存器|清除暫存器區域之內容",
     ClearRegisters, {}, &Form::actCpuClearRegisterExecute, true, true, Toggle::None},
    {&Form::actAssemblyRun, "actAssemblyRun", "組譯(A&)", "組譯|將程式內容組譯",
     Assemble, {"Ctrl+F7"}, &Form::actAssemblyRunExecute, true, false, Toggle::None},
    {&Form::actAssemblyLoad, "actAssemblyLoad", "載入(&L)", "載入|將組譯後之程式載入記憶體",
     Load, {"Shift+F7"}, &Form::actAssemblyLoadExecute, true, false, Toggle::None},
    {&Form::actEditClearMessage, "actEditClearMessage", "清除訊息(&M)", "清除訊息",
     ClearMessages, {}, &Form::actEditClearMessageExecute, true, true, Toggle::None},
    {&Form::actEditInsertLine, "actEditInsertLine", "插入一行(&I)", "插入一行|在目前位置之前插入一行",
     InsertLine, {}, &Form::actEditInsertLineExecute, true, false, Toggle::None},
    {&Form::actEditDeleteLine, "actEditDeleteLine", "刪除一行(&D)", "刪除一行|將現在位置之行刪除",
     DeleteLine, {}, &Form::actEditDeleteLineExecute, true, false, Toggle::None},
    // Added beside the specified commands.
    {&Form::actCpuStepBack, "actCpuStepBack", "回上一指令(&B)", "回上一指令|回到上一個指令執行之前",
     StepBack, {"Shift+F10"}, nullptr, true, false, Toggle::None},
    {&Form::actCpuMicroStepBack, "actCpuMicroStepBack", "回上一微指令(&V)", "回上一微指令|回到上一個微指令執行之前",
     MicroStepBack, {"Shift+F11"}, nullptr, true, false, Toggle::None},
    {&Form::actCpuToggleBreakpoint, "actCpuToggleBreakpoint", "設定/取消中斷點(&T)", "中斷點|在目前這一行設定或取消中斷點",
     Breakpoint, {"F9"}, nullptr, true, false, Toggle::None},
    {&Form::actEditUndo, "actEditUndo", "復原(&U)", "復原|取消上一個程式編輯動作",
     None, {"Ctrl+Z"}, nullptr, true, false, Toggle::None},
    {&Form::actEditRedo, "actEditRedo", "重做(&R)", "重做|重做剛才復原的程式編輯動作",
     None, {"Ctrl+Y", "Ctrl+Shift+Z"}, nullptr, true, false, Toggle::None},
    {&Form::actAssemblyRunLoad, "actAssemblyRunLoad", "組譯並載入(&B)", "組譯並載入|將程式內容組譯並載入記憶體",
     None, {"F7"}, nullptr, true, false, Toggle::None},
    {&Form::actCpuRunToCursor, "actCpuRunToCursor", "執行到游標處(&C)", "執行到游標處|以最快速度執行到目前這一行的指令之前",
     None, {"Ctrl+F10"}, nullptr, true, false, Toggle::None},
    {&Form::actCpuClearBreakpoints, "actCpuClearBreakpoints", "清除所有中斷點", "清除所有中斷點|取消每一行的中斷點",
     None, {"Ctrl+Shift+F9"}, nullptr, true, false, Toggle::None},
    // The Options menu's items.
    {&Form::mnuOptionSetColor, "mnuOptionSetColor", "設定SET色彩(&S)...", "設定SET色彩|設定SET動作之色彩",
     None, {}, &Form::mnuOptionSetColorClick, false, true, Toggle::None},
    {&Form::mnuOptionGetColor, "mnuOptionGetColor", "設定GET色彩(&G)...", "設定GET色彩|設定GET動作之色彩",
     None, {}, &Form::mnuOptionGetColorClick, false, true, Toggle::None},
    {&Form::mnuOptionTextColor, "mnuOptionTextColor", "設定文字色彩(&T)...", "設定文字色彩|設定顯示之文字色彩",
     None, {}, &Form::mnuOptionTextColorClick, false, true, Toggle::None},
    {&Form::mnuOptionViewHint, "mnuOptionViewHint", "隱藏提示(&H)", "隱藏提示|隱藏按鈕之提示",
     None, {}, &Form::mnuOptionViewHintClick, false, true, Toggle::On},
    {&Form::actOptionZoomIn, "actOptionZoomIn", "放大(&I)", "放大|放大視窗的文字與圖示",
     None, {"Ctrl++", "Ctrl+="}, nullptr, false, true, Toggle::None},
    {&Form::actOptionZoomOut, "actOptionZoomOut", "縮小(&U)", "縮小|縮小視窗的文字與圖示",
     None, {"Ctrl+-"}, nullptr, false, false, Toggle::None},
    {&Form::actOptionZoomReset, "actOptionZoomReset", "原始大小(&Z)", "原始大小|以原始大小顯示視窗",
     None, {"Ctrl+0"}, nullptr, false, false, Toggle::None},
    {&Form::actOptionNarration, "actOptionNarration", "逐步說明(&N)", "逐步說明|在訊息區以文字說明每一個微指令",
     None, {}, nullptr, false, true, Toggle::Off},
    {&Form::actOptionDatapath, "actOptionDatapath", "資料路徑(&P)", "資料路徑|在另一個視窗中以大圖顯示資料路徑",
     None, {}, nullptr, false, true, Toggle::Off},
    {&Form::actOptionMachineCode, "actOptionMachineCode", "顯示機器碼(&C)", "顯示機器碼|在程式表格中顯示每一行的位址與機器碼",
     None, {}, nullptr, false, true, Toggle::Off},
};
// clang-format on

const char* const fileItems[] = {
    "actFileNew",        "actFileOpen",       "actFileSave", "actFileSaveAs",   "-",
    "actFileSaveMemory", "actFileLoadMemory", "-",           "mnuFileExamples", "-",
    "actFileExit"};
const char* const editItems[] = {"actEditUndo",        "actEditRedo",       "-",
                                 "actEditInsertLine",  "actEditDeleteLine", "-",
                                 "actEditClearMessage"};
const char* const assemblyItems[] = {"actAssemblyRun", "actAssemblyLoad", "actAssemblyRunLoad"};
const char* const cpuItems[] = {"actCpuRun",
                                "actCpuStep",
                                "actCpuMicroStep",
                                "actCpuStepBack",
                                "actCpuMicroStepBack",
                                "actCpuHalt",
                                "actCpuReset",
                                "-",
                                "actCpuToggleBreakpoint",
                                "actCpuClearBreakpoints",
                                "actCpuRunToCursor",
                                "-",
                                "actCpuClearMemory",
                                "actCpuClearRegister",
                                "-",
                                "actCpuRadix"};
const char* const optionItems[] = {"mnuOptionSetColor",   "mnuOptionGetColor",
                                   "mnuOptionTextColor",  "-",
                                   "mnuOptionViewHint",   "-",
                                   "actOptionZoomIn",     "actOptionZoomOut",
                                   "actOptionZoomReset",  "-",
                                   "actOptionNarration",  "actOptionDatapath",
                                   "actOptionMachineCode"};
const char* const helpItems[] = {"actHelpAbout"};

const MenuSpec menus[] = {
    {&Form::mnuFile, "mnuFile", "檔案(&F)", fileItems},
    {&Form::mnuEdit, "mnuEdit", "編輯(&E)", editItems},
    {&Form::mnuAssembly, "mnuAssembly", "組譯(&A)", assemblyItems},
    {&Form::mnuCpu, "mnuCpu", "處理器(&C)", cpuItems},
    {&Form::mnuOption, "mnuOption", "選項(&O)", optionItems},
    {&Form::mnuHelp, "mnuHelp", "&Help", helpItems},
};

// The clipboard commands stay off the tool bar: hidden buttons keep their
// actions visible and their keys live.
const ToolButtonSpec toolButtons[] = {
    {"actFileNew", "tbtnNew", true},
    {"actFileOpen", "tbtnOpen", true},
    {"actFileSave", "tbtnSave", true},
    {"-", nullptr, false},
    {"actEditCut", "tbtnCut", false},
    {"actEditCopy", "tbtnCopy", false},
    {"actEditPaste", "tbtnPaste", false},
    {"-", nullptr, true},
    {"actEditInsertLine", "tbtnInsertLine", true},
    {"actEditDeleteLine", "tbtnDeleteLine", true},
    {"-", nullptr, true},
    {"actAssemblyRun", "tbtnAssemblyRun", true},
    {"actAssemblyLoad", "tbtnAssemblyLoad", true},
    {"-", nullptr, true},
    {"actFileLoadMemory", "tbtnLoadMemory", true},
    {"actFileSaveMemory", "tbtnSaveMemory", true},
    {"-", nullptr, true},
    {"actCpuRun", "tbtnRun", true},
    {"interval", nullptr, true},
    {"actCpuStep", "tbtnStep", true},
    {"actCpuMicroStep", "tbtnMicroStep", true},
    {"actCpuStepBack", "tbtnStepBack", true},
    {"actCpuMicroStepBack", "tbtnMicroStepBack", true},
    {"actCpuHalt", "tbtnHalt", true},
    {"actCpuReset", "tbtnReset", true},
    {"-", nullptr, true},
    {"actCpuRadix", "tbtnRadix", true},
    {"-", nullptr, true},
    {"actEditClearMessage", "tbtnClearMessage", true},
    {"actCpuClearMemory", "tbtnClearMemory", true},
    {"actCpuClearRegister", "tbtnClearRegister", true},
};

} // namespace

std::span<const CommandSpec> Commands()
{
    return commands;
}

const std::array<QAction * TMainForm::*, StateCommandCount>& StateCommandActions()
{
    static const std::array<QAction * TMainForm::*, StateCommandCount> actions = {
        &Form::actFileSave, &Form::actFileSaveAs,    &Form::actAssemblyRun,  &Form::actAssemblyLoad,
        &Form::actCpuRun,   &Form::actCpuStep,       &Form::actCpuMicroStep, &Form::actCpuHalt,
        &Form::actCpuReset, &Form::actFileSaveMemory};
    return actions;
}

std::span<const MenuSpec> Menus()
{
    return menus;
}

std::span<const ToolButtonSpec> ToolButtons()
{
    return toolButtons;
}
