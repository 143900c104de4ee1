#include "main_form.h"

#include "about_box.h"
#include "assembler/assembler.h"
#include "event_hooks.h"
#include "machine/cpu.h"
#include "machine_view.h"
#include "up_down.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

TMainForm* MainForm = nullptr;

void MachineEventSink(int code, int value, int index)
{
    if (MainForm) {
        MainForm->HandleMachineEvent(code, value, index);
    }
}

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent)
{
    MainForm = this;
    Q_INIT_RESOURCE(icons);
    setWindowIcon(QIcon(QStringLiteral(":/icons/mira.png")));
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("MIRA"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    QFont windowFont = font();
    windowFont.setFamilies({QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans TC"),
                            QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("sans-serif")});
    windowFont.setPixelSize(13);
    setFont(windowFont);

    hooks_ = new EventHooks(this);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(false);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateDialogs();
    CreateEditor();
    CreateOperandPanel();
    LayOutEditor();
    CreateMessageLog();
    pnlMemory = new TMachineView(this);
    AttachNumberField(txtStart);
    AttachNumberField(pnlMemory->txtPC);
    for (QLineEdit* field : pnlMemory->registers) {
        AttachNumberField(field);
    }
    for (QLineEdit* field : pnlMemory->memory) {
        AttachNumberField(field);
        hooks_->On(field, QEvent::FocusIn, [field](QEvent*) {
            QTimer::singleShot(0, field, &QLineEdit::selectAll); // after the click placed the caret
            return false;
        });
    }
    connect(pnlMemory->udPC, &TUpDown::clicked, this, &TMainForm::udPCClick);
    connect(pnlMemory->tabMM, &QTabBar::currentChanged, this, [this](int page) {
        display_.page = page;
        tabMMChange();
    });
    LayOutClient();
    textColour_ = palette().color(QPalette::WindowText);
    display_.textColour = textColour_.rgba();

    display_.bulk = true;
    cpu_ = std::make_unique<CCpu>(&MachineEventSink);
    assembler_ = std::make_unique<CAssembler>(&MachineEventSink);
    display_.bulk = false;
    ClearHighlights();
    SetState(StateMemoryCleared);
    RenumberRows(0);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

TMainForm::~TMainForm()
{
    // The controls outlive this part of the window; their focus changes while
    // they are torn down must not reach its handlers.
    delete hooks_;
    hooks_ = nullptr;
    cpu_.reset();
    assembler_.reset();
    MainForm = nullptr;
}

void TMainForm::LayOutClient()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    auto* left = new QVBoxLayout;
    left->setContentsMargins(5, 0, 5, 2);
    left->setSpacing(4);
    auto* startRow = new QHBoxLayout;
    startRow->setSpacing(0);
    startRow->addSpacing(StartLabelIndent());
    startRow->addWidget(lblStart);
    startRow->addWidget(txtStart);
    startRow->addStretch();
    left->addLayout(startRow);
    left->addWidget(sgrdCode);
    left->addWidget(mmMessage, 1);

    auto* bevel = new QFrame(client);
    bevel->setObjectName(QStringLiteral("Bevel2"));
    bevel->setFrameShape(QFrame::VLine);
    bevel->setFrameShadow(QFrame::Sunken);

    auto* columns = new QHBoxLayout(client);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addLayout(left);
    columns->addWidget(bevel);
    columns->addWidget(pnlMemory);
    setCentralWidget(client);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool TMainForm::FormCloseQuery()
{
    return SaveChangesPrompt();
}

void TMainForm::SetState(int state)
{
    if (state == recordedState_) {
        // The file names may have changed since the state was last applied.
        ApplyTitle(TitleRuleOf(state));
        return;
    }
    CommandAvailability available{};
    for (int command = 0; command < StateCommandCount; ++command) {
        available[command] = stateActions_[command]->isEnabled();
    }
    const StateEffects effects = ApplyWindowState(state, available);
    for (int command = 0; command < StateCommandCount; ++command) {
        stateActions_[command]->setEnabled(available[command]);
    }
    ApplyTitle(effects.title);
    if (effects.halted) {
        tmrRunCpu->stop();
        ShowRunCommand(false);
        display_.instruction.clear();
        display_.instructionDirty = true;
        SyncView();
    }
    recordedState_ = state;
}

void TMainForm::ApplyTitle(TitleRule rule)
{
    if (rule != TitleRule::Unchanged) {
        setWindowTitle(QString::fromStdString(
            WindowTitle(rule, sourceFileName_.toStdString(), memoryFileName_.toStdString())));
    }
}
