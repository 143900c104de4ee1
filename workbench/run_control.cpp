// Run control and the machine commands: run, pause, step, micro-step, halt,
// reset, the clear commands and the memory image files.
#include "event_hooks.h"
#include "key_filters.h"
#include "machine/cpu.h"
#include "main_form.h"
#include "up_down.h"
#include "widget_support.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QToolBar>

namespace {

// The window's private run message, number 1025: one more micro-step of the
// fastest run.
const QEvent::Type RunMessage = static_cast<QEvent::Type>(1025);

constexpr int FastestInterval = 1;
constexpr int FrameMilliseconds = 16;

const QStringList& MemoryFileFilters()
{
    static const QStringList filters = {QStringLiteral("Memory files(*.mm)"),
                                        QStringLiteral("All Files (*.*)")};
    return filters;
}

} // namespace

void TMainForm::CreateIntervalField()
{
    txtInterval = new QLineEdit(QStringLiteral("10"), ToolBar1);
    txtInterval->setObjectName(QStringLiteral("txtInterval"));
    txtInterval->setFocusPolicy(Qt::ClickFocus);
    txtInterval->setAlignment(Qt::AlignRight);
    txtInterval->setFixedWidth(LineEditWidthFor(txtInterval, QStringLiteral("20")));
    udInterval = new TUpDown(0, 20, 10, ToolBar1);
    udInterval->setObjectName(QStringLiteral("udInterval"));
    udInterval->setFixedHeight(txtInterval->sizeHint().height());
    ToolBar1->addWidget(txtInterval);
    ToolBar1->addWidget(udInterval);
    connect(udInterval, &TUpDown::clicked, this,
            [this](int position) { txtInterval->setText(QString::number(position)); });
    connect(txtInterval, &QLineEdit::textChanged, this, [this](const QString& text) {
        bool number = false;
        const int position = text.toInt(&number);
        if (number && position >= udInterval->minimum() && position <= udInterval->maximum()) {
            udInterval->SetPosition(position);
        }
    });
    hooks_->On(txtInterval, QEvent::KeyPress, [this](QEvent* event) {
        return txtIntervalKeyPress(static_cast<QKeyEvent*>(event));
    });

    tmrRunCpu = new QTimer(this);
    tmrRunCpu->setObjectName(QStringLiteral("tmrRunCpu"));
    connect(tmrRunCpu, &QTimer::timeout, this, &TMainForm::tmrRunCpuTimer);
}

bool TMainForm::txtIntervalKeyPress(QKeyEvent* event)
{
    const QChar typed = TypedCharacter(event);
    if (typed.isNull() || typed == Backspace) {
        return false;
    }
    return ApplyKeyVerdict(txtInterval, IntervalKey(typed, EditStateOf(txtInterval)));
}

int TMainForm::RunInterval() const
{
    return udInterval->Position() * 33 + 1;
}

void TMainForm::ShowRunCommand(bool running)
{
    actCpuRun->setIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(running ? 11 : 10)));
    actCpuRun->setText(running ? QStringLiteral("暫停(&P)") : QStringLiteral("執行(&R)"));
    SetHint(actCpuRun, running ? QStringLiteral("暫停|暫停程式") : QStringLiteral("執行|執行程式"));
}

void TMainForm::actCpuRunExecute()
{
    CommitEdits();
    const bool running = tmrRunCpu->isActive();
    ShowRunCommand(!running);
    if (running) {
        SetState(StatePaused);
        tmrRunCpu->stop();
    } else {
        SetState(StateRunning);
        tmrRunCpu->start(RunInterval());
    }
    SyncView();
}

void TMainForm::tmrRunCpuTimer()
{
    if (tmrRunCpu->interval() != FastestInterval) {
        cpu_->MicroStep();
        return;
    }
    if (!tmrRunCpu->isActive()) {
        return;
    }
    // The view is brought up to date once a frame, not once a micro-step.
    deferViewSync_ = true;
    cpu_->MicroStep();
    deferViewSync_ = false;
    if (!tmrRunCpu->isActive() || frameClock_.elapsed() >= FrameMilliseconds) {
        SyncView();
    }
    // One run message of our own at a time: neither timer ticks nor run
    // messages from elsewhere start a second chain.
    if (tmrRunCpu->isActive() && !pendingRunMessage_) {
        pendingRunMessage_ = new QEvent(RunMessage);
        QCoreApplication::postEvent(this, pendingRunMessage_);
    }
}

void TMainForm::customEvent(QEvent* event)
{
    if (event->type() == RunMessage) {
        if (event == pendingRunMessage_) {
            pendingRunMessage_ = nullptr;
        }
        tmrRunCpuTimer();
        return;
    }
    QMainWindow::customEvent(event);
}

void TMainForm::actCpuStepExecute()
{
    CommitEdits();
    SetState(StatePaused);
    cpu_->Step();
}

void TMainForm::actCpuMicroStepExecute()
{
    CommitEdits();
    SetState(StatePaused);
    cpu_->MicroStep();
}

void TMainForm::actCpuHaltExecute()
{
    CommitEdits();
    cpu_->Halt();
}

void TMainForm::actCpuResetExecute()
{
    CommitEdits();
    SetState(StateReset);
    cpu_->Reset();
    actEditClearMessageExecute();
}

void TMainForm::actCpuClearMemoryExecute()
{
    CommitEdits();
    if (!AskToSaveMemory()) {
        return;
    }
    display_.bulk = true;
    cpu_->ClearMemory(-1);
    memoryFileName_.clear();
    SetState(StateMemoryCleared);
    display_.bulk = false;
}

void TMainForm::actCpuClearRegisterExecute()
{
    CommitEdits();
    cpu_->ClearRegisters(-1);
    SetState(StateRegistersCleared);
}

// Asks whether unsaved work is saved first; true to go on (saved, or No).
bool TMainForm::AskToSave(QAction* save, void (TMainForm::*saveCommand)(), const QString& question)
{
    if (!save->isEnabled()) {
        return true;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("訊息"), question,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    switch (box.exec()) {
    case QMessageBox::Yes:
        (this->*saveCommand)();
        return !save->isEnabled(); // go on only once the work is saved
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

bool TMainForm::AskToSaveMemory()
{
    return AskToSave(actFileSaveMemory, &TMainForm::actFileSaveMemoryExecute,
                     QStringLiteral("記憶體內容已變更，要儲存？"));
}

QString TMainForm::ChooseFile(QFileDialog* dialog, const QString& title, const QStringList& filters,
                              const QString& fileName)
{
    const qsizetype filterIndex = dialog->nameFilters().indexOf(dialog->selectedNameFilter());
    dialog->setWindowTitle(title);
    dialog->setNameFilters(filters);
    if (dialog->acceptMode() == QFileDialog::AcceptSave && filterIndex >= 0 &&
        filterIndex < filters.size()) {
        dialog->selectNameFilter(filters.at(filterIndex));
    }
    dialog->selectFile(fileName);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return {};
    }
    const QString name = dialog->selectedFiles().constFirst();
    (dialog == OpenDialog ? openDialogFileName_ : saveDialogFileName_) = name;
    return name;
}

TMainForm::SaveTarget TMainForm::PrepareSaveTarget(QString name, const QString& suffix)
{
    const bool firstFilter = SaveDialog->selectedNameFilter() == SaveDialog->nameFilters().value(0);
    if (!QFileInfo::exists(name) && firstFilter && !name.endsWith(suffix)) {
        name += suffix;
    }
    // The previous file moves aside to its bare name with ".bak", in its own
    // folder; an older backup of that name stays, and the move is then skipped.
    // Only a file is moved: a device or a pipe keeps its place.
    const QFileInfo target(name);
    if (!target.isFile()) {
        return {name, {}};
    }
    const QString backup =
        target.dir().filePath(target.completeBaseName() + QStringLiteral(".bak"));
    return {name, QFile::rename(name, backup) ? backup : QString()};
}

// After a failed save the previous file returns to its name.
void TMainForm::UndoBackup(const SaveTarget& target)
{
    if (!target.backup.isEmpty()) {
        QFile::rename(target.backup, target.name);
    }
}

void TMainForm::actFileSaveMemoryExecute()
{
    CommitEdits();
    const QString chosen =
        ChooseFile(SaveDialog, QStringLiteral("Save Memory File"), MemoryFileFilters());
    if (chosen.isEmpty()) {
        return;
    }
    const SaveTarget target = PrepareSaveTarget(chosen, QStringLiteral(".mm"));
    if (!cpu_->SaveMemoryFile(QFile::encodeName(target.name).toStdString())) {
        UndoBackup(target);
        return;
    }
    memoryFileName_ = target.name;
    SetState(StateMemorySaved);
}

void TMainForm::actFileLoadMemoryExecute()
{
    CommitEdits();
    if (!AskToSaveMemory()) {
        return;
    }
    display_.bulk = true;
    const QString name =
        ChooseFile(OpenDialog, QStringLiteral("Load Memory File"), MemoryFileFilters());
    if (!name.isEmpty() && cpu_->LoadMemoryFile(QFile::encodeName(name).toStdString())) {
        memoryFileName_ = name;
        SetState(StateMemoryLoaded);
    }
    display_.bulk = false;
}
