#include "workbench/machine_view/machine_view.h"

#include "machine/cpu.h"
#include "texts/cell_description.h"
#include "workbench/widgets/event_hooks.h"
#include "workbench/widgets/up_down.h"
#include "workbench/widgets/widget_support.h"
#include "workbench/widgets/window_font.h"

#include <algorithm>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

constexpr QRgb Fuchsia = 0xffff00ff;

// The listing's own font is 12 pixels high where the window's is 13, and
// grows with it.
constexpr int ListingPixels = 12;
// The listing's blue.
constexpr QRgb ListingColour = 0xff0000ff;

QLabel* NewLabel(const QString& text, QWidget* parent, Qt::Alignment alignment = Qt::AlignRight)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

// Makes a widget show its display field, when the field changed.
// The light background of a value that the last run wrote.
constexpr QRgb MarkColour = 0xfffff1b8;

void ShowField(QLineEdit* widget, DisplayField& field)
{
    if (!field.dirty) {
        return;
    }
    if (widget->text() != field.text) {
        widget->setText(field.text);
    }
    SetTag(widget, field.tag);
    if (field.highlighted || field.marked) {
        SetFieldColours(widget,
                        field.highlighted ? std::optional<unsigned>(field.colour) : std::nullopt,
                        field.marked ? std::optional<unsigned>(MarkColour) : std::nullopt);
    } else {
        FollowParentColour(widget);
    }
    field.dirty = false;
}

} // namespace

TMachineView::TMachineView(QWidget* parent) : QFrame(parent), hooks_(new EventHooks(this))
{
    setObjectName(QStringLiteral("pnlMemory"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(6);
    layout->addWidget(CreateInstructionRow());
    layout->addWidget(CreateRegisters());
    auto* memoryRow = new QHBoxLayout;
    memoryRow->setSpacing(6);
    memoryRow->addWidget(CreateMemoryPage(), 0, Qt::AlignTop);
    memoryRow->addWidget(CreatePcWindow(), 0, Qt::AlignTop);
    layout->addLayout(memoryRow);
    below_ = new QVBoxLayout;
    below_->setSpacing(2);
    layout->addLayout(below_, 1);
    LayOut();

    AttachNumberField(txtPC);
    for (QLineEdit* field : registers) {
        AttachNumberField(field);
    }
    // A cell's tool tip describes its value in every reading.
    auto describeCell = [this](QEvent* event, int address) {
        if (!machine_) {
            return false;
        }
        const std::string text = CellDescription(
            machine_->GetMemory(address), machine_->GetMemory((address + 1) % CCpu::MemorySize));
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                           QString::fromStdString(text));
        return true;
    };
    for (int offset = 0; offset < MachineDisplay::PageSize; ++offset) {
        hooks_->On(memory[offset], QEvent::ToolTip, [this, describeCell, offset](QEvent* event) {
            return describeCell(event, display_.page * MachineDisplay::PageSize + offset);
        });
    }
    for (int row = 0; row < MachineDisplay::PcWindowRows; ++row) {
        hooks_->On(pcWindowFields[row], QEvent::ToolTip, [this, describeCell, row](QEvent* event) {
            return describeCell(event, display_.pcWindow[row].address);
        });
    }
    for (QLineEdit* field : memory) {
        AttachNumberField(field);
        hooks_->On(field, QEvent::FocusIn, [field](QEvent*) {
            QTimer::singleShot(0, field, &QLineEdit::selectAll); // after the click placed the caret
            return false;
        });
    }
    connect(udPC, &TUpDown::clicked, this, [this](int position) {
        if (machine_) {
            const QScopedValueRollback committing(committingUserEdit_, true);
            machine_->SetPc(position);
        }
    });
    RememberRestartView();
    connect(tabMM, &QTabBar::currentChanged, this, [this](int page) {
        display_.page = page;
        tabMMChange();
    });
}

void TMachineView::AddBelowMemory(QWidget* widget, int stretch)
{
    below_->addWidget(widget, stretch);
}

QLineEdit* TMachineView::NewValueField(const QString& name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setAlignment(Qt::AlignCenter);
    SetTag(field, -1);
    return field;
}

// The value fields are as wide as their digits in the font, the address
// labels as their fields, and the listing's own font keeps its size in
// proportion to the window's.
void TMachineView::LayOut()
{
    // The registers, drawn without a frame, keep the room of a framed field.
    auto setWidth = [](const auto& fields, int width) {
        for (QLineEdit* field : fields) {
            field->setFixedWidth(width);
        }
    };
    const int byteWidth = LineEditWidthFor(txtPC, QStringLiteral("000"));
    setWidth(std::initializer_list<QLineEdit*>{txtPC, txtIRH, txtIRL}, byteWidth);
    setWidth(registers, byteWidth);
    setWidth(memory, byteWidth);
    setWidth(pcWindowFields, byteWidth);
    setWidth(decodedFields, LineEditWidthFor(txtPC, QStringLiteral("0")));
    udPC->setFixedHeight(txtPC->sizeHint().height());
    // An address label is as wide as its field allows.
    auto setLabelWidth = [](const auto& labels, int width) {
        for (QLabel* label : labels) {
            label->setMinimumWidth(width);
            RenewSizeHint(label);
        }
    };
    setLabelWidth(memoryLabels, byteWidth - 4);
    setLabelWidth(pcWindowLabels, byteWidth - 4);
    QFont listingFont = lblInstruction->font();
    listingFont.setPixelSize(
        qRound(ListingPixels * QFontInfo(font()).pixelSize() / double(WindowFontPixels)));
    lblInstruction->setFont(listingFont);
}

QWidget* TMachineView::CreateInstructionRow()
{
    auto* box = new QWidget(this);
    auto* rows = new QVBoxLayout(box);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(4);

    auto* registersRow = new QHBoxLayout;
    registersRow->setSpacing(2);
    txtPC = NewValueField(QStringLiteral("txtPC"), box);
    udPC = new TUpDown(0, 255, 0, box);
    udPC->setObjectName(QStringLiteral("udPC"));
    txtIRH = NewValueField(QStringLiteral("txtIRH"), box);
    txtIRL = NewValueField(QStringLiteral("txtIRL"), box);
    registersRow->addWidget(NewLabel(QStringLiteral("PC:"), box));
    registersRow->addWidget(txtPC);
    registersRow->addWidget(udPC);
    registersRow->addSpacing(16);
    registersRow->addWidget(NewLabel(QStringLiteral("IR:"), box));
    registersRow->addWidget(txtIRH);
    registersRow->addWidget(txtIRL);
    registersRow->addWidget(NewLabel(QStringLiteral("("), box));
    const char* decodedNames[] = {"txtInstr", "txtR1", "txtR2", "txtR3"};
    for (std::size_t i = 0; i < decodedFields.size(); ++i) {
        decodedFields[i] = NewValueField(QLatin1String(decodedNames[i]), box);
        registersRow->addWidget(decodedFields[i]);
    }
    registersRow->addWidget(NewLabel(QStringLiteral(")"), box));
    registersRow->addStretch();
    for (QLineEdit* field : {txtIRH, txtIRL}) {
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
    }
    for (QLineEdit* field : decodedFields) {
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
    }

    auto* phaseRow = new QHBoxLayout;
    phaseRow->setSpacing(2);
    const char* lampNames[] = {"sbtnFetch", "sbtnDecode", "sbtnExecute"};
    const char* lampTexts[] = {"Fetch", "Decode", "Execute"};
    const char* lampHints[] = {"執行 FETCH 之微指令", "執行 DECODE 之微指令",
                               "執行 EXECUTE 之微指令"};
    for (std::size_t i = 0; i < lamps.size(); ++i) {
        lamps[i] = new QToolButton(box);
        lamps[i]->setObjectName(QLatin1String(lampNames[i]));
        lamps[i]->setText(QLatin1String(lampTexts[i]));
        lamps[i]->setToolTip(QLatin1String(lampTexts[i]));
        lamps[i]->setStatusTip(QString::fromUtf8(lampHints[i]));
        lamps[i]->setFocusPolicy(Qt::NoFocus);
        lamps[i]->setEnabled(false);
        phaseRow->addWidget(lamps[i]);
    }
    phaseRow->addSpacing(16);
    lblInstruction = new QLabel(box);
    lblInstruction->setObjectName(QStringLiteral("lblInstruction"));
    lblInstruction->setFont(QFont(QStringLiteral("Arial")));
    ::SetTextColour(lblInstruction, ListingColour);
    phaseRow->addWidget(lblInstruction, 1);

    rows->addLayout(registersRow);
    rows->addLayout(phaseRow);
    return box;
}

QWidget* TMachineView::CreateRegisters()
{
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    for (int n = 0; n < CCpu::RegisterCount; ++n) {
        const int column = n / 4;
        const int row = n % 4;
        registers[n] = NewValueField(QStringLiteral("txtRegister%1").arg(n), box);
        registers[n]->setFrame(false);
        grid->addWidget(NewLabel(QStringLiteral("R%1:").arg(n, 0, 16).toUpper(), box), row,
                        2 * column);
        grid->addWidget(registers[n], row, 2 * column + 1);
    }
    for (int n = 1; n < CCpu::RegisterCount; ++n) {
        setTabOrder(registers[n - 1], registers[n]);
    }
    grid->setColumnStretch(8, 1);
    return box;
}

QWidget* TMachineView::CreateMemoryPage()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabMM = new QTabBar(box);
    tabMM->setObjectName(QStringLiteral("tabMM"));
    tabMM->setDrawBase(false);
    tabMM->setExpanding(false);
    tabMM->setUsesScrollButtons(false);
    for (int page = 0; page < MachineDisplay::PageCount; ++page) {
        tabMM->addTab(QStringLiteral("%1-%2")
                          .arg(page * 32, 2, 16, QLatin1Char('0'))
                          .arg(page * 32 + 31, 2, 16, QLatin1Char('0'))
                          .toUpper());
    }
    layout->addWidget(tabMM);

    auto* frame = new QFrame(box);
    frame->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    for (int offset = 0; offset < MachineDisplay::PageSize; ++offset) {
        const int column = offset / 8;
        const int row = offset % 8;
        memoryLabels[offset] = NewLabel(QString(), frame, Qt::AlignHCenter);
        memoryLabels[offset]->setObjectName(QStringLiteral("lblMemory%1").arg(offset));
        memory[offset] = NewValueField(QStringLiteral("txtMemory%1").arg(offset), frame);
        grid->addWidget(memoryLabels[offset], row, 3 * column);
        grid->addWidget(memory[offset], row, 3 * column + 1);
    }
    // Spare width goes between the columns, keeping each label by its cell.
    for (int column = 0; column < 3; ++column) {
        grid->setColumnStretch(3 * column + 2, 1);
    }
    layout->addWidget(frame);
    return box;
}

QWidget* TMachineView::CreatePcWindow()
{
    grpMemoryPc = new QGroupBox(QStringLiteral("PC"), this);
    grpMemoryPc->setObjectName(QStringLiteral("grpMemoryPc"));
    auto* grid = new QGridLayout(grpMemoryPc);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    for (int row = 0; row < MachineDisplay::PcWindowRows; ++row) {
        pcWindowLabels[row] = NewLabel(QString(), grpMemoryPc, Qt::AlignHCenter);
        pcWindowLabels[row]->setObjectName(QStringLiteral("lblPcWindow%1").arg(row));
        pcWindowFields[row] = NewValueField(QStringLiteral("txtPcWindow%1").arg(row), grpMemoryPc);
        pcWindowFields[row]->setReadOnly(true);
        pcWindowFields[row]->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(pcWindowLabels[row], row, 0);
        grid->addWidget(pcWindowFields[row], row, 1);
    }
    // The cell at PC and the one after it, where the next instruction stands.
    ::SetTextColour(pcWindowLabels[2], Fuchsia);
    ::SetTextColour(pcWindowFields[2], Fuchsia);
    ::SetTextColour(pcWindowFields[3], Fuchsia);
    return grpMemoryPc;
}

void TMachineView::Sync()
{
    if (syncHeld_) {
        return;
    }
    MachineDisplay& display = display_;
    if (txtStart) {
        ShowField(txtStart, display.start);
    }
    if (display.pc.dirty) {
        udPC->SetPosition(display.pc.tag);
    }
    ShowField(txtPC, display.pc);
    ShowField(txtIRH, display.irh);
    ShowField(txtIRL, display.irl);
    for (std::size_t i = 0; i < decodedFields.size(); ++i) {
        ShowField(decodedFields[i], display.decoded[i]);
    }
    for (std::size_t n = 0; n < registers.size(); ++n) {
        ShowField(registers[n], display.registers[n]);
    }
    for (std::size_t offset = 0; offset < memory.size(); ++offset) {
        ShowField(memory[offset], display.memory[offset]);
    }
    if (display.pageLabelsDirty) {
        const QSignalBlocker blocker(tabMM);
        tabMM->setCurrentIndex(display.page);
        for (int offset = 0; offset < MachineDisplay::PageSize; ++offset) {
            memoryLabels[offset]->setText(display.Format(display.page * 32 + offset));
        }
        display.pageLabelsDirty = false;
    }
    for (std::size_t row = 0; row < pcWindowFields.size(); ++row) {
        PcWindowRow& cell = display.pcWindow[row];
        if (cell.dirty) {
            pcWindowLabels[row]->setText(cell.addressText);
            SetTag(pcWindowLabels[row], cell.address);
            pcWindowFields[row]->setText(cell.valueText);
            cell.dirty = false;
        }
    }
    for (std::size_t lamp = 0; lamp < lamps.size(); ++lamp) {
        lamps[lamp]->setEnabled(display.lamps[lamp]);
    }
    if (display.instructionDirty) {
        lblInstruction->setText(display.instruction);
        display.instructionDirty = false;
    }
    frameClock_.start();
    emit synced();
}

int TMachineView::RegisterOf(const QObject* field) const
{
    const auto found = std::find(registers.begin(), registers.end(), field);
    return found == registers.end() ? -1 : static_cast<int>(found - registers.begin());
}

int TMachineView::MemoryOffsetOf(const QObject* field) const
{
    const auto found = std::find(memory.begin(), memory.end(), field);
    return found == memory.end() ? -1 : static_cast<int>(found - memory.begin());
}

DisplayField* TMachineView::DisplayFieldOf(const QObject* field)
{
    if (field == txtStart) {
        return &display_.start;
    }
    if (field == txtPC) {
        return &display_.pc;
    }
    if (const int n = RegisterOf(field); n >= 0) {
        return &display_.registers[n];
    }
    if (const int offset = MemoryOffsetOf(field); offset >= 0) {
        return &display_.memory[offset];
    }
    return nullptr;
}
