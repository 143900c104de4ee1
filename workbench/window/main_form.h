#pragma once

#include "workbench/window/window_states.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <memory>

class CAssembler;
class CCpu;
class QAction;
class QColorDialog;
class QMenu;
class QToolBar;
class TAboutBox;
class TAssemblyCommands;
class TDocumentCommands;
class TFileChooser;
class TMachineView;
class TMemoryImageCommands;
class TMessageLog;
class TProgramEditor;
class TProgramFollower;
class TRunControl;
class TZoom;

// The workbench's one main window: it owns the machine and the assembler,
// declares every user command, and wires the parts that carry them out: the
// program editor, the machine view, run control, the document and memory
// image commands and the message log. It keeps the window state and title.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Window states and title.
    void SetState(int state);
    int RecordedState() const { return recordedState_; }

    // Machine view.
    void HandleMachineEvent(int code, int value, int index);
    QString FormatNumber(int value) const;
    int ParseNumber(const QString& text) const;
    void ClearHighlights();
    void ShowMemoryNearPc(int first);
    void tabMMChange();

    // Message log.
    void ShowErrorMessage(int subCode, int number);

    // Program editor.
    void CommitEdits();
    void RenumberRows(int firstRow);
    void UpdateLineActions();
    void ShowOperandEditor();
    void pnlOperandExit();
    QString CellText(int row, int column) const;
    void SetCellText(int row, int column, const QString& text);
    bool IsEmptyRow(int row) const;

    // Document.
    bool SaveChangesPrompt();

    CCpu& Machine() { return *cpu_; }
    CAssembler& Assembler() { return *assembler_; }

signals:
    // Every state requested of the window, once it is applied.
    void stateRequested(int state);

public slots:
    void actFileNewExecute();
    void actFileOpenExecute();
    void actFileSaveExecute();
    void actFileSaveAsExecute();
    void actFileExitExecute();
    void actHelpAboutExecute();
    void actEditCutExecute();
    void actEditCopyExecute();
    void actEditPasteExecute();
    void actFileSaveMemoryExecute();
    void actFileLoadMemoryExecute();
    void actCpuRunExecute();
    void actCpuStepExecute();
    void actCpuMicroStepExecute();
    void actCpuHaltExecute();
    void actCpuResetExecute();
    void actCpuRadixExecute();
    void actCpuClearMemoryExecute();
    void actCpuClearRegisterExecute();
    void actAssemblyRunExecute();
    void actAssemblyLoadExecute();
    void actEditClearMessageExecute();
    void actEditInsertLineExecute();
    void actEditDeleteLineExecute();
    void mnuFileClick();
    void mnuOptionSetColorClick();
    void mnuOptionGetColorClick();
    void mnuOptionTextColorClick();
    void mnuOptionViewHintClick();
    void tmrRunCpuTimer();

    // Following the program in the grid.
    void actCpuStepBackExecute();
    void actCpuMicroStepBackExecute();
    void actCpuToggleBreakpointExecute();
    // Classroom: the built-in examples and zoom.
    void mnuFileExampleClick(const QString& resource);
    void actOptionZoomInExecute();
    void actOptionZoomOutExecute();
    void actOptionZoomResetExecute();

    // Sizes the window for its screen and centres it there.
    void FitToScreen();

    // Undo and redo of the program.
    void actEditUndoExecute();
    void actEditRedoExecute();

    // Assemble and Load in one, running to the current row, all breakpoints away.
    void actAssemblyRunLoadExecute();
    void actCpuRunToCursorExecute();
    void actCpuClearBreakpointsExecute();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void customEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction.
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateCommands();
    void CreateExamplesMenu();
    void CreateZoomActions();
    void LayOutForFont();
    void ShowZoom();
    void WireParts();
    void LayOutClient();
    QAction* AddAction(const char* name, const QString& caption, const QString& hint, int icon,
                       void (TMainForm::*handler)());
    static void SetHint(QAction* action, const QString& hint);

    void ApplyTitle(TitleRule rule);
    bool FormCloseQuery();
    void MachineHalted();
    void ShowRunCommand(bool running);
    void ShowLineCommands(bool canInsert, bool canDelete);
    QColor AskColour(const QColor& preset);

    void FollowProgram();

public:
    // The commands, named as the window's objects.
    QObject* ActionList = nullptr;
    QAction* actFileNew = nullptr;
    QAction* actFileOpen = nullptr;
    QAction* actFileSave = nullptr;
    QAction* actFileSaveAs = nullptr;
    QAction* actFileExit = nullptr;
    QAction* actEditCut = nullptr;
    QAction* actEditCopy = nullptr;
    QAction* actEditPaste = nullptr;
    QAction* actHelpAbout = nullptr;
    QAction* actFileSaveMemory = nullptr;
    QAction* actFileLoadMemory = nullptr;
    QAction* actCpuRun = nullptr;
    QAction* actCpuStep = nullptr;
    QAction* actCpuMicroStep = nullptr;
    QAction* actCpuHalt = nullptr;
    QAction* actCpuReset = nullptr;
    QAction* actCpuRadix = nullptr;
    QAction* actCpuClearMemory = nullptr;
    QAction* actCpuClearRegister = nullptr;
    QAction* actAssemblyRun = nullptr;
    QAction* actAssemblyLoad = nullptr;
    QAction* actEditClearMessage = nullptr;
    QAction* actEditInsertLine = nullptr;
    QAction* actEditDeleteLine = nullptr;
    QAction* actCpuStepBack = nullptr;
    QAction* actCpuMicroStepBack = nullptr;
    QAction* actCpuToggleBreakpoint = nullptr;
    QAction* actEditUndo = nullptr;
    QAction* actEditRedo = nullptr;
    QAction* actAssemblyRunLoad = nullptr;
    QAction* actCpuRunToCursor = nullptr;
    QAction* actCpuClearBreakpoints = nullptr;
    QAction* mnuOptionSetColor = nullptr;
    QAction* mnuOptionGetColor = nullptr;
    QAction* mnuOptionTextColor = nullptr;
    QAction* mnuOptionViewHint = nullptr;
    QAction* actOptionZoomIn = nullptr;
    QAction* actOptionZoomOut = nullptr;
    QAction* actOptionZoomReset = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuFileExamples = nullptr;
    QMenu* mnuEdit = nullptr;
    QMenu* mnuAssembly = nullptr;
    QMenu* mnuCpu = nullptr;
    QMenu* mnuOption = nullptr;
    QMenu* mnuHelp = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QColorDialog* ColorDialog = nullptr;
    TAboutBox* AboutBox = nullptr;

private:
    int recordedState_ = 0;
    bool hintsShown_ = true;
    std::array<QAction*, StateCommandCount> stateActions_{};

    TFileChooser* files_ = nullptr;
    TMessageLog* log_ = nullptr;
    TProgramEditor* editor_ = nullptr;
    TMachineView* view_ = nullptr;
    TRunControl* runControl_ = nullptr;
    TMemoryImageCommands* memoryImages_ = nullptr;
    TDocumentCommands* documents_ = nullptr;
    TAssemblyCommands* assembly_ = nullptr;
    TProgramFollower* follower_ = nullptr;
    TZoom* zoom_ = nullptr;

    // Created after the controls and destroyed after the generated fields.
    std::unique_ptr<CCpu> cpu_;
    std::unique_ptr<CAssembler> assembler_;
};

// The application's reference to its one main window, assigned before the
// window's constructor runs so the machine's first events reach it.
extern TMainForm* MainForm;

// The event sink given to the machine and the assembler.
void MachineEventSink(int code, int value, int index);
