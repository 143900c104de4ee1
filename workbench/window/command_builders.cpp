// The window's actions, menus and tool bar, made from their tables.
#include "workbench/window/command_table.h"

#include "workbench/commands/example_programs.h"
#include "workbench/widgets/widget_support.h"
#include "workbench/window/main_form.h"

#include <QAction>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

QAction* ActionOf(TMainForm& window, const char* name)
{
    return window.findChild<QAction*>(QLatin1String(name));
}

// The built-in examples, in the order and with the titles of their index.
void BuildExamplesMenu(TMainForm& window, QMenu* menu)
{
    window.mnuFileExamples = menu->addMenu(QStringLiteral("範例程式(&E)"));
    QMenu* examples = window.mnuFileExamples;
    examples->setObjectName(QStringLiteral("mnuFileExamples"));
    examples->setToolTipsVisible(false);
    SetActionHint(examples->menuAction(), QStringLiteral("範例程式|開啟程式內附的範例程式"));
    int number = 0;
    for (const ExampleProgram& example : BuiltInExamples()) {
        QAction* item = examples->addAction(example.title);
        item->setObjectName(QStringLiteral("mnuFileExample%1").arg(++number));
        item->setData(example.resource);
        item->setStatusTip(QStringLiteral("開啟範例程式 ") + example.file);
        QObject::connect(
            item, &QAction::triggered, &window,
            [&window, resource = example.resource] { window.mnuFileExampleClick(resource); });
    }
}

} // namespace

void BuildCommands(TMainForm& window)
{
    window.ActionList = new QObject(&window);
    window.ActionList->setObjectName(QStringLiteral("ActionList"));
    for (const CommandSpec& command : Commands()) {
        auto* action = new QAction(QString::fromUtf8(command.caption),
                                   command.listed ? window.ActionList : &window);
        action->setObjectName(QLatin1String(command.name));
        SetActionHint(action, QString::fromUtf8(command.hint));
        if (command.icon != CommandIcon::None) {
            action->setIcon(CommandIconImage(command.icon));
        }
        QList<QKeySequence> keys;
        for (const char* key : command.keys) {
            if (key) {
                keys << QKeySequence(QLatin1String(key));
            }
        }
        action->setShortcuts(keys);
        action->setEnabled(command.availableAtStart);
        action->setCheckable(command.toggle != Toggle::None);
        action->setChecked(command.toggle == Toggle::On);
        if (command.handler) {
            QObject::connect(action, &QAction::triggered, &window, command.handler);
        }
        window.addAction(action); // shortcuts work whether or not a menu shows the action
        window.*command.action = action;
    }
}

void BuildMenus(TMainForm& window)
{
    window.menuBar()->setObjectName(QStringLiteral("MainMenu"));
    for (const MenuSpec& spec : Menus()) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromUtf8(spec.title));
        menu->setObjectName(QLatin1String(spec.name));
        menu->setToolTipsVisible(false);
        for (const char* item : spec.items) {
            if (qstrcmp(item, "-") == 0) {
                menu->addSeparator();
            } else if (qstrcmp(item, "mnuFileExamples") == 0) {
                BuildExamplesMenu(window, menu);
            } else {
                menu->addAction(ActionOf(window, item));
            }
        }
        window.*spec.menu = menu;
    }
    for (QMenu* menu : {window.mnuFile, window.mnuEdit, window.mnuAssembly, window.mnuCpu}) {
        QObject::connect(menu, &QMenu::aboutToShow, &window, &TMainForm::mnuFileClick);
    }
    window.mnuHelp->menuAction()->setStatusTip(QStringLiteral("Help topics"));
    window.mnuHelp->menuAction()->setVisible(false);
}

void BuildToolBar(TMainForm& window, const std::function<void(QToolBar*)>& addSpeedField)
{
    QToolBar* bar = window.addToolBar(QStringLiteral("ToolBar1"));
    window.ToolBar1 = bar;
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->toggleViewAction()->setEnabled(false);
    window.setContextMenuPolicy(Qt::NoContextMenu);
    for (const ToolButtonSpec& spec : ToolButtons()) {
        if (qstrcmp(spec.command, "-") == 0) {
            bar->addSeparator()->setVisible(spec.shown);
        } else if (qstrcmp(spec.command, "interval") == 0) {
            addSpeedField(bar);
        } else if (QAction* action = ActionOf(window, spec.command); spec.shown) {
            bar->addAction(action);
            bar->widgetForAction(action)->setObjectName(QLatin1String(spec.button));
        } else {
            // A button of its own, hidden, so that the action stays visible.
            auto* tool = new QToolButton(bar);
            tool->setObjectName(QLatin1String(spec.button));
            tool->setDefaultAction(action);
            bar->addWidget(tool)->setVisible(false);
        }
    }
    ShowShortcutsInToolTips(bar);
}
