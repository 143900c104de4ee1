#include "window_model.h"

#include "workbench/window/main_form.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableWidget>

#include <map>

namespace {

const QString programPrompt = QStringLiteral("內容已變更，要存檔？");
const QString memoryPrompt = QStringLiteral("記憶體內容已變更，要儲存？");

// Commands that ask about unsaved program changes; "close" is the window's
// close box.
const QStringList programPromptCommands = {"actFileNew", "actFileOpen", "actFileExit", "close"};

// The items of the examples' menu, which open a program as Open does.
bool IsExample(const QString& command)
{
    return command.startsWith(QLatin1String("mnuFileExample"));
}

bool AsksAboutProgram(const QString& command)
{
    return programPromptCommands.contains(command) || IsExample(command);
}
const QStringList memoryPromptCommands = {"actFileLoadMemory", "actCpuClearMemory"};

// The window's states as the window's description states them, written out
// here rather than taken from the window's own table: the commands each state
// makes available and unavailable, and the rule by which it rebuilds the title.
struct StateRow {
    QStringList on;
    QStringList off;
    char title = 0; // 'A', 'B', 'C', or 0 when the title stays
};

const StateRow& StateRowOf(int state)
{
    static const StateRow unchanged;
    static const std::map<int, StateRow> rows = {
        {0, {{}, {"actFileSave", "actFileSaveAs", "actAssemblyRun", "actAssemblyLoad"}, 'A'}},
        {1, {{}, {"actFileSave"}, 'A'}},
        {2, {{"actFileSaveAs", "actAssemblyRun"}, {"actFileSave", "actAssemblyLoad"}, 'A'}},
        {3, {{"actFileSave", "actFileSaveAs", "actAssemblyRun"}, {"actAssemblyLoad"}}},
        {4, {{"actCpuRun", "actCpuStep", "actCpuMicroStep", "actFileSaveMemory"}, {}}},
        {7, {{}, {"actFileSaveMemory"}, 'B'}},
        {8, {{}, {"actFileSaveMemory"}, 'B'}},
        {9,
         {{},
          {"actCpuRun", "actCpuStep", "actCpuMicroStep", "actCpuHalt", "actCpuReset",
           "actFileSaveMemory"},
          'C'}},
        {11, {{"actAssemblyLoad"}, {}}},
        {12,
         {{"actCpuRun", "actCpuStep", "actCpuMicroStep", "actFileSaveMemory"},
          {"actCpuHalt", "actCpuReset"}}},
        {13, {{"actCpuHalt"}, {"actCpuStep", "actCpuMicroStep", "actCpuReset"}}},
        {14, {{"actCpuStep", "actCpuMicroStep", "actCpuHalt"}, {"actCpuReset"}}},
        {15, {{"actCpuReset"}, {"actCpuRun", "actCpuStep", "actCpuMicroStep", "actCpuHalt"}}},
        {16, {{"actCpuRun", "actCpuStep", "actCpuMicroStep"}, {"actCpuHalt", "actCpuReset"}}},
    };
    const auto found = rows.find(state);
    return found == rows.end() ? unchanged : found->second;
}

void ApplyState(int state, QMap<QString, bool>& available)
{
    const StateRow& row = StateRowOf(state);
    for (const QString& name : row.on) {
        available[name] = true;
    }
    for (const QString& name : row.off) {
        available[name] = false;
    }
    // Start changed: Reset, but only while Run is available.
    if (state == 6 && available["actCpuRun"]) {
        available["actCpuReset"] = true;
    }
}

QString Title(char rule, const QString& source, const QString& memory)
{
    const QString title = QStringLiteral("MIRA - ") + source;
    if (rule == 'C' || (rule == 'A' && memory.isEmpty())) {
        return title;
    }
    return title + " (" + memory + ")";
}

QString Describe(const QMap<QString, bool>& available)
{
    QStringList names;
    for (auto command = available.begin(); command != available.end(); ++command) {
        if (command.value()) {
            names << command.key();
        }
    }
    return names.join(u' ');
}

// The name a save writes: the suffix is added to a new name without it when
// the first filter is selected.
QString SavedName(const QFileDialog* dialog, const QString& name, const QString& suffix)
{
    const bool firstFilter = dialog->selectedNameFilter() == dialog->nameFilters().value(0);
    return !QFileInfo::exists(name) && firstFilter && !name.endsWith(suffix) ? name + suffix : name;
}

} // namespace

WindowModel::WindowModel(TMainForm& form) : form_(form), parts_(&form)
{
    available_ = Actual();
    recorded_ = form.RecordedState();
    title_ = form.windowTitle();
    QObject::connect(&form, &TMainForm::stateRequested, &connections_,
                     [this](int state) { StateRequested(state); });
    for (QFileDialog* dialog : {parts_.OpenDialog, parts_.SaveDialog}) {
        QObject::connect(dialog, &QFileDialog::fileSelected, &connections_,
                         [this, dialog](const QString& name) { FileChosen(dialog, name); });
    }
}

WindowModel::Availability WindowModel::Actual() const
{
    Availability available;
    for (const char* name :
         {"actFileSave", "actFileSaveAs", "actAssemblyRun", "actAssemblyLoad", "actCpuRun",
          "actCpuStep", "actCpuMicroStep", "actCpuHalt", "actCpuReset", "actFileSaveMemory"}) {
        available[QLatin1String(name)] =
            form_.findChild<QAction*>(QLatin1String(name))->isEnabled();
    }
    return available;
}

WindowModel::Document WindowModel::Snapshot() const
{
    Document document;
    for (int row = 0; row < parts_.sgrdCode->rowCount(); ++row) {
        document.rows.push_back(
            {form_.CellText(row, 1), form_.CellText(row, 2), form_.CellText(row, 3)});
    }
    document.start = parts_.txtStart->text();
    return document;
}

void WindowModel::StateRequested(int state)
{
    // A state asked for twice in a row changes nothing the second time.
    if (state != recorded_) {
        ApplyState(state, available_);
        recorded_ = state;
    }
    ExpectTitle(state, form_.windowTitle());
    if (command_.isEmpty()) {
        return;
    }
    if (state == StateSaved) {
        programSaved_ = true;
    } else if (state == StateMemorySaved) {
        memorySaved_ = true;
    } else if ((state == StateNew && command_ == "actFileNew") || state == StateOpened) {
        WorkMayBeDiscarded(state == StateNew ? "New" : "Open");
        opened_ = true;
    } else if (state == StateMemoryCleared && memoryUnsaved_ &&
               !(memoryAnswer_ == QMessageBox::No ||
                 (memoryAnswer_ == QMessageBox::Yes && memorySaved_))) {
        Fault("Clear Memory discarded unsaved memory");
    }
}

void WindowModel::FileChosen(QFileDialog* dialog, const QString& name)
{
    const QString title = dialog->windowTitle();
    if (title == "Open Assemble File") {
        chosenSource_ = QFileInfo(name).absoluteFilePath();
    } else if (title == "Save Assemble File") {
        savedSource_ = SavedName(dialog, name, ".asm");
    } else if (title == "Load Memory File") {
        chosenMemory_ = name;
    } else if (title == "Save Memory File") {
        savedMemory_ = SavedName(dialog, name, ".mm");
    }
}

// The title names the source file and the memory file that the state's rule
// shows, from the names chosen for the command that requested it.
void WindowModel::ExpectTitle(int state, const QString& title)
{
    const char rule = StateRowOf(state).title;
    if (rule == 0) {
        if (title != title_) {
            Fault(QString("state %1 changed the title to \"%2\"").arg(state).arg(title));
        }
        title_ = title;
        return;
    }
    QString memory = memory_;
    QStringList sources = {source_};
    switch (state) {
    case StateMemoryCleared:
        memory.clear();
        break;
    case StateMemorySaved:
        memory = savedMemory_;
        break;
    case StateMemoryLoaded:
        memory = chosenMemory_;
        break;
    case StateOpened:
        sources = {IsExample(command_) ? QString() : chosenSource_};
        break;
    case StateSaved:
        sources << savedSource_; // Save keeps the name, Save As sets it
        break;
    case StateNew:
        sources << QString(); // New drops the name, an emptied grid keeps it
        break;
    default:
        break;
    }
    memory_ = memory;
    title_ = title;
    for (const QString& source : sources) {
        if (title == Title(rule, source, memory)) {
            source_ = source;
            return;
        }
    }
    Fault(QString("state %1 gave the title \"%2\" rather than \"%3\"")
              .arg(state)
              .arg(title)
              .arg(Title(rule, sources.constFirst(), memory)));
}

void WindowModel::CommandStarts(const QString& command)
{
    static const QStringList documentCommands = {
        "actFileNew",  "actFileOpen",       "actFileSave",      "actFileSaveAs",
        "actFileExit", "actFileLoadMemory", "actCpuClearMemory"};
    command_ = command;
    // Each of these commits any edit first; committed here, the document it
    // starts from is known.
    if (documentCommands.contains(command) || IsExample(command)) {
        form_.CommitEdits();
    }
    wasVisible_ = form_.isVisible();
    // Closing commits nothing before it asks; a save that it leads to does.
    editing_ = parts_.txtLabel->isVisible() || parts_.pnlOperand->isVisible() ||
               form_.focusWidget() == parts_.txtStart;
    programUnsaved_ = form_.actFileSave->isEnabled();
    memoryUnsaved_ = form_.actFileSaveMemory->isEnabled();
    before_ = Snapshot();
    programAnswer_ = 0;
    memoryAnswer_ = 0;
    programSaved_ = false;
    memorySaved_ = false;
    opened_ = false;
}

void WindowModel::CommandEnds()
{
    if (command_.isEmpty()) {
        return;
    }
    if (wasVisible_ && !form_.isVisible()) {
        WorkMayBeDiscarded("Closing the window");
    }
    const bool stoppedByPrompt = AsksAboutProgram(command_) && programUnsaved_ &&
                                 (programAnswer_ == QMessageBox::Cancel ||
                                  (programAnswer_ == QMessageBox::Yes && !programSaved_));
    if (stoppedByPrompt && ((!editing_ && Snapshot() != before_) ||
                            !form_.actFileSave->isEnabled() || form_.isVisible() != wasVisible_)) {
        Fault(command_ + " went on after the question about unsaved changes stopped it");
    }
    if (command_ == "actFileOpen" && !opened_ && !editing_ && Snapshot() != before_) {
        Fault("an Open that opened nothing changed the program");
    }
    command_.clear();
}

void WindowModel::WorkMayBeDiscarded(const char* how)
{
    if (programUnsaved_ && !(programAnswer_ == QMessageBox::No ||
                             (programAnswer_ == QMessageBox::Yes && programSaved_))) {
        Fault(QString("%1 discarded unsaved program changes").arg(how));
    }
}

void WindowModel::PromptAnswered(const QString& text, int button)
{
    if (text == programPrompt) {
        if (!AsksAboutProgram(command_) || !programUnsaved_ || programAnswer_) {
            Fault("asked about unsaved program changes during " + command_);
        }
        programAnswer_ = button;
    } else if (text == memoryPrompt) {
        if (!memoryPromptCommands.contains(command_) || !memoryUnsaved_ || memoryAnswer_) {
            Fault("asked about unsaved memory during " + command_);
        }
        memoryAnswer_ = button;
    }
}

void WindowModel::DialogShown(const QString& title)
{
    if (title == "Load Memory File" && memoryUnsaved_ &&
        !(memoryAnswer_ == QMessageBox::No ||
          (memoryAnswer_ == QMessageBox::Yes && memorySaved_))) {
        Fault("Load Memory went on to choose a file over unsaved memory");
    }
}

QStringList WindowModel::Check()
{
    if (Actual() != available_) {
        Fault("available: " + Describe(Actual()) + "; expected: " + Describe(available_));
        available_ = Actual(); // one fault, not one per action from here on
    }
    if (form_.RecordedState() != recorded_) {
        Fault(QString("recorded state %1, expected %2").arg(form_.RecordedState()).arg(recorded_));
        recorded_ = form_.RecordedState();
    }
    if (form_.windowTitle() != title_) {
        Fault("the title changed outside any state: " + form_.windowTitle());
        title_ = form_.windowTitle();
    }
    return std::exchange(faults_, {});
}
