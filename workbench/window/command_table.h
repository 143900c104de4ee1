#pragma once

#include "workbench/window/window_states.h"

#include <QIcon>

#include <array>
#include <functional>
#include <span>

class QAction;
class QMenu;
class QToolBar;
class TMainForm;

// The pictures of the commands, by their number in the window's icons.
enum class CommandIcon : int {
    None = -1,
    Cut = 0,
    Copy = 1,
    Paste = 2,
    New = 6,
    Open = 7,
    Save = 8,
    LoadMemory = 9,
    Run = 10,
    Pause = 11,
    Halt = 12,
    Step = 13,
    Reset = 14,
    MicroStep = 15,
    Radix = 16,
    Load = 17,
    Assemble = 18,
    ClearMemory = 19,
    ClearRegisters = 20,
    ClearMessages = 21,
    InsertLine = 22,
    DeleteLine = 23,
    StepBack = 24,
    MicroStepBack = 25,
    Breakpoint = 26,
};

// The icon in every size a zoomed tool bar asks for.
QIcon CommandIconImage(CommandIcon icon);

// Whether a command is switched on and off, and how it starts.
enum class Toggle : unsigned char { None, On, Off };

// One command of the window: the action member it is made into, its name,
// caption and hint "short|long", icon, keys and handler (none for a command
// wired to its part directly). Commands of the action list belong to the
// window's list of actions; the others (the Options menu's items) to the
// window itself.
struct CommandSpec {
    QAction* TMainForm::*action;
    const char* name;
    const char* caption;
    const char* hint;
    CommandIcon icon;
    std::array<const char*, 2> keys;
    void (TMainForm::*handler)();
    bool listed;
    bool availableAtStart;
    Toggle toggle;
};
std::span<const CommandSpec> Commands();
// The actions of the commands that the window states switch, by StateCommand.
const std::array<QAction * TMainForm::*, StateCommandCount>& StateCommandActions();

// A menu of the menu bar and its items by name: "-" is a separator, a
// submenu's name puts the submenu there.
struct MenuSpec {
    QMenu* TMainForm::*menu;
    const char* name;
    const char* title;
    std::span<const char* const> items;
};
std::span<const MenuSpec> Menus();

// The tool bar from the left: a command's name and its button's, "-" a
// separator, "interval" where the speed field stands; what is not shown is
// there all the same.
struct ToolButtonSpec {
    const char* command;
    const char* button;
    bool shown;
};
std::span<const ToolButtonSpec> ToolButtons();

// The window's actions, menus and tool bar, made from the tables.
void BuildCommands(TMainForm& window);
void BuildMenus(TMainForm& window);
void BuildToolBar(TMainForm& window, const std::function<void(QToolBar*)>& addSpeedField);
