#include "window_invariants.h"

#include "machine/cpu.h"
#include "window_parts.h"
#include "workbench/widgets/widget_support.h"
#include "workbench/window/main_form.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>

namespace {

// A field shows the value: as its tag, and as its text unless the user is
// typing in it, typed the same value in another form ("5" for 05), or typed a
// value the machine refused.
void ExpectShows(TMainForm& form, const QLineEdit* field, int value, QStringList& faults)
{
    const bool typing = field == form.focusWidget();
    const int typed = form.ParseNumber(field->text());
    const bool readsAsValue =
        field->text() == form.FormatNumber(value) || (typed == value && value >= 0) || typed > 255;
    if (TagOf(field) != value || (!typing && !readsAsValue)) {
        faults << QString("%1 shows \"%2\" (tag %3) while the machine holds %4")
                      .arg(field->objectName(), field->text())
                      .arg(TagOf(field))
                      .arg(value);
    }
}

} // namespace

QStringList GridFaults(const TMainForm& form, const WindowParts& parts)
{
    QStringList faults;
    const int rows = parts.sgrdCode->rowCount();
    if (rows < 1) {
        return {"the grid has no row"};
    }
    for (int row = 0; row < rows; ++row) {
        if (form.CellText(row, 0) != QString::number(row + 1)) {
            faults << QString("row %1 is numbered \"%2\"").arg(row + 1).arg(form.CellText(row, 0));
            break;
        }
    }
    if (!form.CellText(rows - 1, 2).isEmpty() || !form.CellText(rows - 1, 3).isEmpty()) {
        faults << QString("the last row holds \"%1\" \"%2\"")
                      .arg(form.CellText(rows - 1, 2), form.CellText(rows - 1, 3));
    }
    return faults;
}

QStringList EditorFaults(const WindowParts& parts)
{
    const int shown = int(parts.txtLabel->isVisible()) + int(parts.cboOpcode->isVisible()) +
                      int(parts.pnlOperand->isVisible());
    return shown > 1 ? QStringList{QString("%1 floating editors show at once").arg(shown)}
                     : QStringList{};
}

QStringList ViewFaults(TMainForm& form, const WindowParts& view)
{
    if (view.tmrRunCpu->isActive()) {
        return {}; // the fastest run brings the view up to date once a frame
    }
    QStringList faults;
    CCpu& machine = form.Machine();
    ExpectShows(form, view.txtPC, machine.Pc(), faults);
    for (int n = 0; n < CCpu::RegisterCount; ++n) {
        ExpectShows(form, view.registers[n], machine.GetRegister(n), faults);
    }
    const int page = view.tabMM->currentIndex();
    for (int offset = 0; offset < 32; ++offset) {
        ExpectShows(form, view.memory[offset], machine.GetMemory(32 * page + offset), faults);
        if (view.memoryLabels[offset]->text() != form.FormatNumber(32 * page + offset)) {
            faults << "memory label " + view.memoryLabels[offset]->text();
        }
    }
    for (int row = 0; row < 8; ++row) {
        const int address = (machine.Pc() + 254 + row) % CCpu::MemorySize;
        if (TagOf(view.pcWindowLabels[row]) != address ||
            view.pcWindowLabels[row]->text() != form.FormatNumber(address) ||
            view.pcWindowFields[row]->text() != form.FormatNumber(machine.GetMemory(address))) {
            faults << QString("PC window row %1 shows %2: \"%3\"")
                          .arg(row)
                          .arg(view.pcWindowLabels[row]->text(), view.pcWindowFields[row]->text());
        }
    }
    return faults;
}
