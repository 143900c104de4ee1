// Undo and redo of the program: the steps of the program editor's history.
#include "workbench/editor/program_editor.h"

#include "workbench/rules/editor_forms.h"

#include <QTableWidget>
#include <QUndoStack>

#include <utility>

namespace {

// One undoable step: how to do it and how to take it back, the cell to show
// afterwards, and whether it changes what a saved file holds (an empty row
// inserted or deleted does not).
class ProgramStep final : public QUndoCommand {
public:
    ProgramStep(int row, int column, bool changesProgram, std::function<void()> apply,
                std::function<void()> revert, bool applied)
        : row(row), column(column), changesProgram(changesProgram), apply_(std::move(apply)),
          revert_(std::move(revert)), applied_(applied)
    {
    }

    void redo() override
    {
        if (!std::exchange(applied_, false)) {
            apply_();
        }
    }
    void undo() override { revert_(); }

    const int row;
    const int column;
    const bool changesProgram;

private:
    std::function<void()> apply_;
    std::function<void()> revert_;
    bool applied_; // done before it was recorded: the first redo does nothing
};

} // namespace

void TProgramEditor::Record(int row, int column, bool changesProgram, std::function<void()> apply,
                            std::function<void()> revert, bool applied)
{
    history_->push(
        new ProgramStep(row, column, changesProgram, std::move(apply), std::move(revert), applied));
}

// A cell takes a new text; a mnemonic chosen on the last row also appends the
// empty row below it.
void TProgramEditor::EditCell(int row, int column, const QString& text, bool appendsRow)
{
    Record(
        row, column, true,
        [this, row, column, text, appendsRow] {
            SetCellText(row, column, text);
            if (appendsRow) {
                InsertRowAt(row + 1, {});
            }
        },
        [this, row, column, before = CellText(row, column), appendsRow] {
            if (appendsRow) {
                RemoveRowAt(row + 1);
            }
            SetCellText(row, column, before);
        });
}

void TProgramEditor::RecordStartChange(int previous, int address)
{
    Record(
        -1, -1, true, [this, address] { emit startRestored(address); },
        [this, previous] { emit startRestored(previous); }, true);
}

void TProgramEditor::MarkSaved()
{
    history_->setClean();
}

void TProgramEditor::Undo()
{
    Retrace(true);
}

void TProgramEditor::Redo()
{
    Retrace(false);
}

// Undoes or redoes one step and shows the cell it changed.
void TProgramEditor::Retrace(bool undo)
{
    const auto* step = static_cast<const ProgramStep*>(
        history_->command(undo ? history_->index() - 1 : history_->index()));
    if (!step) {
        return;
    }
    if (undo) {
        history_->undo();
    } else {
        history_->redo();
    }
    if (step->row >= 0) {
        const int row = qMin(step->row, RowCount() - 1);
        sgrdCode->setCurrentCell(
            row, step->column >= 0 ? step->column : qMax(+LabelColumn, sgrdCode->currentColumn()));
        sgrdCode->scrollTo(sgrdCode->model()->index(row, NumberColumn));
    }
    UpdateLineActions();
    if (step->changesProgram) {
        emit programRestored(AtSavedContents());
    }
}

// The contents are those saved when no step between here and the saved
// point changes the program.
bool TProgramEditor::AtSavedContents() const
{
    const int saved = history_->cleanIndex();
    if (saved < 0) {
        return false;
    }
    for (int index = qMin(saved, history_->index()); index < qMax(saved, history_->index());
         ++index) {
        if (static_cast<const ProgramStep*>(history_->command(index))->changesProgram) {
            return false;
        }
    }
    return true;
}
