#pragma once

#include "machine_display.h"
#include "window_states.h"

#include <QColor>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMessageBox>
#include <QString>

#include <array>
#include <memory>

class CAssembler;
class CCpu;
class EventHooks;
class QAction;
class QColorDialog;
class QComboBox;
class QFileDialog;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMouseEvent;
class QPlainTextEdit;
class QTableWidget;
class QTimer;
class QToolBar;
class QToolButton;
struct SourceRow;
class TAboutBox;
class TMachineView;
class TUpDown;

// The workbench's one main window: it owns the machine and the assembler,
// hosts every control and declares every user command.
class TMainForm : public QMainWindow, private MachineDisplayHost {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Window states and title. Virtual so that a window may watch every state
    // requested of it.
    virtual void SetState(int state);
    int RecordedState() const { return recordedState_; }

    // Machine view.
    void HandleMachineEvent(int code, int value, int index);
    QString FormatNumber(int value) const;
    int ParseNumber(const QString& text) const;
    void ClearHighlights();
    void ShowMemoryNearPc(int first);
    void tabMMChange();
    int Radix() const { return display_.radix; }

    // Message log.
    void ShowErrorMessage(int subCode, int number);

    // Program editor.
    void CommitEdits();
    void RenumberRows(int firstRow);
    void UpdateLineActions();
    void ShowOperandEditor();
    void pnlOperandExit();

    // Document.
    bool SaveChangesPrompt();
    QString CellText(int row, int column) const;
    void SetCellText(int row, int column, const QString& text);
    bool IsEmptyRow(int row) const;

    CCpu& Machine() { return *cpu_; }
    CAssembler& Assembler() { return *assembler_; }

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

protected:
    void closeEvent(QCloseEvent* event) override;
    void customEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // MachineDisplayHost
    int ReadMemory(int address) override;
    void MachineHalted() override;
    void MemoryChanged() override;
    void ShowError(int subCode, int number) override;

    // Construction, by concern.
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateDialogs();
    void CreateEditor();
    void CreateOperandPanel();
    void LayOutEditor();
    void CreateMessageLog();
    void LayOutClient();
    int StartLabelIndent() const;
    QAction* AddAction(const char* name, const QString& caption, const QString& hint, int icon,
                       void (TMainForm::*handler)());
    void SetHint(QAction* action, const QString& hint);
    void ApplyTitle(TitleRule rule);
    bool FormCloseQuery();

    // Machine view.
    void SyncView();
    void AttachNumberField(QLineEdit* field);
    bool NumberFieldKeyPress(QLineEdit* field, QKeyEvent* event);
    void CommitNumberField(QLineEdit* field);
    DisplayField* DisplayFieldOf(QLineEdit* field);
    void udPCClick(int position);
    void SetTextColour(const QColor& colour);
    QColor AskColour(const QColor& preset);

    // Program editor.
    bool sgrdCodeMouseUp(QMouseEvent* event);
    void sgrdCodeTopLeftChanged();
    void PlaceOverCell(QWidget* editor, int row, int column);
    void HideFloatingEditor(QWidget* editor);
    int TopRow() const;
    int VisibleRowCount() const;
    void txtLabelEnter();
    bool txtLabelKeyPress(QKeyEvent* event);
    void txtLabelExit();
    void CommitLabel();
    void cboOpcodeClick();
    bool cboOpcodeKeyPress(QKeyEvent* event);
    void cboOpcodeExit();
    void cboR1Enter(QComboBox* box);
    void AttachFloatingEditors();

    // Operand panel.
    void AttachOperandFields();
    void cboR1Click();
    void cboR2Click();
    bool cboR1KeyPress(QComboBox* box, QKeyEvent* event);
    bool OperandFieldKeyPress(QLineEdit* field, QKeyEvent* event);
    void pnlOperandFocusOut(QEvent* event);

    // Run control.
    void ShowRunCommand(bool running);
    void CreateIntervalField();
    int RunInterval() const;
    bool AskToSaveMemory();
    bool txtIntervalKeyPress(QKeyEvent* event);
    bool AskToSave(QAction* save, void (TMainForm::*saveCommand)(), const QString& question);
    QString ChooseFile(QFileDialog* dialog, const QString& title, const QStringList& filters,
                       const QString& fileName = QString());
    // The name a save writes, and where the file it replaces was moved.
    struct SaveTarget {
        QString name;
        QString backup; // empty when nothing was moved
    };
    SaveTarget PrepareSaveTarget(QString name, const QString& suffix);
    void UndoBackup(const SaveTarget& target);

    // Document.
    SourceRow ProgramRow(int row) const;
    void EmptyGrid();
    void ShowStartAddress(int address, const QString& text);
    bool WriteSourceFile();

public:
    // Components, named as the window's objects.
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
    QAction* mnuOptionSetColor = nullptr;
    QAction* mnuOptionGetColor = nullptr;
    QAction* mnuOptionTextColor = nullptr;
    QAction* mnuOptionViewHint = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuEdit = nullptr;
    QMenu* mnuAssembly = nullptr;
    QMenu* mnuCpu = nullptr;
    QMenu* mnuOption = nullptr;
    QMenu* mnuHelp = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QColorDialog* ColorDialog = nullptr;
    QFileDialog* OpenDialog = nullptr;
    QFileDialog* SaveDialog = nullptr;
    TAboutBox* AboutBox = nullptr;

    QTimer* tmrRunCpu = nullptr;
    QLineEdit* txtInterval = nullptr;
    TUpDown* udInterval = nullptr;

    QTableWidget* sgrdCode = nullptr;
    QLabel* lblStart = nullptr;
    QLineEdit* txtStart = nullptr;
    QLineEdit* txtLabel = nullptr;
    QComboBox* cboOpcode = nullptr;

    QFrame* pnlOperand = nullptr;
    QComboBox* cboR1 = nullptr;
    QComboBox* cboR2 = nullptr;
    QComboBox* cboR3 = nullptr;
    QLabel* lblAddr = nullptr;
    QLineEdit* txtAddress = nullptr;
    QLineEdit* txtRotate = nullptr;
    QLineEdit* txtNumber = nullptr;

    TMachineView* pnlMemory = nullptr;
    QPlainTextEdit* mmMessage = nullptr;

private:
    EventHooks* hooks_ = nullptr;
    MachineDisplay display_{*this};
    int recordedState_ = 0;
    QString sourceFileName_;
    QString memoryFileName_;
    QString openDialogFileName_; // what the file dialogs last held when accepted
    QString saveDialogFileName_;
    QColor textColour_;
    bool hintsShown_ = true;
    QEvent* pendingRunMessage_ = nullptr; // posted, not yet handled
    bool deferViewSync_ = false;
    QElapsedTimer frameClock_;
    int startLabelIndent_ = 0;
    int assembledStart_ = 0;     // the start address of the last successful Assemble
    bool closingEditor_ = false; // focus handed back to the grid is not leaving an editor
    std::array<QAction*, StateCommandCount> stateActions_{};

    // Created last and destroyed first, after the generated fields.
    std::unique_ptr<CCpu> cpu_;
    std::unique_ptr<CAssembler> assembler_;
};

// The application's reference to its one main window, assigned before the
// window's constructor runs so the machine's first events reach it.
extern TMainForm* MainForm;

// The event sink given to the machine and the assembler.
void MachineEventSink(int code, int value, int index);
