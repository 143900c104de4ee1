#pragma once

#include "assembler/program_layout.h"
#include "assembler/source_file.h"
#include "workbench/editor/line_number_delegate.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class EventHooks;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QSpacerItem;
class QTableWidget;
class QUndoStack;
class TOperandPanel;

// The program: one grid row per source line (line number, label, mnemonic,
// operand), the START field above it, and the floating editors laid over a
// cell while it is edited. The floating editors are children of the window.
class TProgramEditor : public QWidget {
    Q_OBJECT

public:
    explicit TProgramEditor(QWidget* window);
    ~TProgramEditor() override;

    // Ends whatever floating edit is open: the label and the operand are
    // committed, the mnemonic box closes without change.
    void CommitEdits();
    void RenumberRows(int firstRow);
    void UpdateLineActions();
    void ShowOperandEditor();
    void pnlOperandExit();
    void InsertLine();
    void DeleteLine();

    int RowCount() const;
    QString CellText(int row, int column) const;
    void SetCellText(int row, int column, const QString& text);
    bool IsEmptyRow(int row) const;
    // Whether any row holds something.
    bool HasProgram() const;
    // Every row, the last (empty) one included; texts as the file's bytes.
    std::vector<SourceRow> Rows() const;
    // One row per source line and an empty row at the end; not yet numbered.
    void SetRows(const std::vector<SourceRow>& rows);
    // One empty row, numbered.
    void Clear();

    QLineEdit* StartField() const { return txtStart; }

    // Following the loaded program: the row of the instruction the machine
    // works on (-1 for none), shown and scrolled into view; breakpoints, which
    // move with their rows and are dropped with the program.
    void MarkExecutingRow(int row);
    const RowMarks& Marks() const { return marks_; }
    int CurrentRow() const;
    void ToggleBreakpoint(int row);
    // A breakpoint is set on a row with code but data and taken from any row.
    bool CanToggleBreakpoint(int row) const;
    void ClearBreakpoints();
    std::vector<int> BreakpointRows() const;
    // Makes the row current and scrolls to it, any open edit committed first.
    void SelectRow(int row);
    // The loaded program's address and machine code beside each row, in two
    // read-only columns after the operand while they are shown.
    void ShowMachineCode(const std::vector<LineCode>& code);
    void SetMachineCodeShown(bool shown);
    // Lays the grid, START and the floating editors out from the font.
    void LayOut();
    // The grid shows this many rows, NaturalRows unless the window is short of room.
    static constexpr int NaturalRows = 11;
    void SetShownRows(int rows);
    int ShownRows() const { return shownRows_; }

    // Undo and redo: every committed cell edit, line command and START change
    // is one step. New and Open (SetRows, Clear) start afresh.
    void Undo();
    void Redo();
    // START is committed by the machine view; the step only tells it back.
    void RecordStartChange(int previous, int address);
    // The program was saved: its contents are the file's.
    void MarkSaved();

signals:
    // A committed edit changed the program.
    void modified();
    // The grid was left with one empty row.
    void emptied();
    void lineCommandsChanged(bool canInsert, bool canDelete);
    void breakpointsChanged();
    // Rows were inserted (`delta` > 0) or deleted before row `firstRow`.
    void rowsMoved(int firstRow, int delta);

    void undoAvailable(bool available);
    void redoAvailable(bool available);
    // A step undone or redone changed the program, which now holds the saved
    // contents or not.
    void programRestored(bool saved);
    // A START change undone or redone: the address to show and give the machine.
    void startRestored(int address);

private:
    void CreateFloatingEditors();
    void BuildLayout();
    int RowHeight() const;
    void AttachFloatingEditors();
    void EmptyGrid();
    void NumberRows(int firstRow);
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
    void CommitOperand(int row, const QString& operand);
    void MoveToNextCell(bool backwards);
    void MoveMarks(int firstRow, int delta);
    void UpdateRow(int row);
    void FillMachineCode();

    // Keyboard editing of the grid.
    bool sgrdCodeKeyPress(QKeyEvent* event);
    void OpenCellEditor(int row, int column);

    // Undo and redo. A step remembers the cell to show once it is undone or
    // redone (column -1 keeps the current one, row -1 shows none).
    void EditCell(int row, int column, const QString& text, bool appendsRow = false);
    void InsertRowAt(int at, const QStringList& texts, bool breakpoint = false);
    // Whether the row had a breakpoint.
    bool RemoveRowAt(int at);
    QStringList RowTexts(int row) const;
    void Record(int row, int column, bool changesProgram, std::function<void()> apply,
                std::function<void()> revert, bool applied = false);
    void Retrace(bool undo);
    bool AtSavedContents() const;

    QWidget* window_;
    EventHooks* hooks_;
    QLabel* lblStart;
    QLineEdit* txtStart;
    QTableWidget* sgrdCode;
    QLineEdit* txtLabel = nullptr;
    QComboBox* cboOpcode = nullptr;
    TOperandPanel* pnlOperand = nullptr;
    QSpacerItem* startIndent_ = nullptr; // START's place above the mnemonic column
    int shownRows_ = NaturalRows;
    bool closingEditor_ = false; // focus handed back to the grid is not leaving an editor
    // The rows the floating editors edit; their tags mirror them.
    int labelRow_ = 0;
    int mnemonicRow_ = 0;
    int operandRow_ = 0;
    RowMarks marks_;
    std::vector<LineCode> code_;    // of the loaded program
    std::vector<int> rowsWithCode_; // the rows whose code cells hold text
    bool codeShown_ = false;
    // Not a child: it goes while the editor is whole, and its last signals
    // still reach an editor.
    std::unique_ptr<QUndoStack> history_;
};
