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
class TOptionCommands;
class TProgramEditor;
class TProgramFollower;
class TRunControl;
class TStartAddress;
class TStepPicture;
class TZoom;

// The workbench's one main window: it owns the machine and the assembler,
// declares every user command, and wires the parts that carry them out. It
// keeps the window state and title.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Window states and title.
    void SetState(int state);
    int RecordedState() const { return recordedState_; }

    // The window's event sink: the view shows each event, run control
    // records it and ends a run that halted, the log takes each error.
    void HandleMachineEvent(int code, int value, int index);

    // For those who drive the window by the names of its operations: each
    // is carried out by the part it belongs to.
    QString FormatNumber(int value) const;
    int ParseNumber(const QString& text) const;
    void ClearHighlights();
    void ShowMemoryNearPc(int first);
    void tabMMChange();
    void ShowErrorMessage(int subCode, int number);
    void CommitEdits();
    void RenumberRows(int firstRow);
    void UpdateLineActions();
    void ShowOperandEditor();
    void pnlOperandExit();
    QString CellText(int row, int column) const;
    void SetCellText(int row, int column, const QString& text);
    bool IsEmptyRow(int row) const;
    bool SaveChangesPrompt();
    // Sizes the window for its screen and centres it there.
    void FitToScreen();

    CCpu& Machine() { return *cpu_; }
    CAssembler& Assembler() { return *assembler_; }

signals:
    // Every state requested of the window, once it is applied.
    void stateRequested(WindowState state);

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

    // Added beside the specified commands.
    void mnuFileExampleClick(const QString& resource);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    void CreateParts();
    void ApplyTitle(TitleRule rule);
    bool FormCloseQuery();

public:
    // The Run command's caption, hint and icon: Run, or Pause while running.
    void ShowRunCommand(bool running);

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
    QAction* actOptionNarration = nullptr;
    QAction* actOptionDatapath = nullptr;
    QAction* actOptionMachineCode = nullptr;

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
    int recordedState_ = StateNew;
    // Which state-driven commands are available; their actions mirror it.
    CommandAvailability available_{};

    // The widget parts, children of the window.
    TMessageLog* log_ = nullptr;
    TProgramEditor* editor_ = nullptr;
    TMachineView* view_ = nullptr;

    // The other parts, each destroyed before what it uses: the machine
    // before the assembler, and every command before the machine.
    std::unique_ptr<CAssembler> assembler_;
    std::unique_ptr<CCpu> cpu_;
    std::unique_ptr<TFileChooser> files_;
    std::unique_ptr<TStartAddress> start_;
    std::unique_ptr<TRunControl> runControl_;
    std::unique_ptr<TMemoryImageCommands> memoryImages_;
    std::unique_ptr<TDocumentCommands> documents_;
    std::unique_ptr<TAssemblyCommands> assembly_;
    std::unique_ptr<TProgramFollower> follower_;
    std::unique_ptr<TStepPicture> picture_;
    std::unique_ptr<TOptionCommands> options_;
    std::unique_ptr<TZoom> zoom_;
};

// The application's reference to its one main window, assigned before the
// window's constructor runs so the machine's first events reach it.
extern TMainForm* MainForm;

// The event sink given to the machine and the assembler.
void MachineEventSink(int code, int value, int index);
