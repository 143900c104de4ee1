#pragma once

#include <array>
#include <string>

// Every command reports what it has just done as one of these states; the
// state decides which commands are available and whether the title changes.
enum WindowState : int {
    StateNew = 0,
    StateSaved = 1,
    StateOpened = 2,
    StateModified = 3,
    StateMemoryChanged = 4,
    StateRegisterChanged = 5,
    StateStartChanged = 6,
    StateMemorySaved = 7,
    StateMemoryLoaded = 8,
    StateMemoryCleared = 9,
    StateRegistersCleared = 10,
    StateAssembled = 11,
    StateLoaded = 12,
    StateRunning = 13,
    StatePaused = 14,
    StateHalted = 15,
    StateReset = 16,
};

// The commands whose availability the states switch.
enum StateCommand : int {
    CommandSave,
    CommandSaveAs,
    CommandAssemble,
    CommandLoad,
    CommandRun,
    CommandStep,
    CommandMicroStep,
    CommandHalt,
    CommandReset,
    CommandSaveMemory,
    StateCommandCount,
};

using CommandAvailability = std::array<bool, StateCommandCount>;

enum class TitleRule {
    Unchanged,
    SourceAndMemoryIfAny, // new, saved, opened
    SourceAndMemory,      // memory saved, memory loaded
    SourceOnly,           // memory cleared
};

struct StateEffects {
    TitleRule title = TitleRule::Unchanged;
    bool halted = false; // stop the run, restore the Run command, empty the listing
};

// The title rule of a state, whether or not it is applied.
TitleRule TitleRuleOf(int state);

// Applies the state's changes on top of `available` (leaving every command the
// state does not name as it is) and tells what else the window must do.
// Numbers outside the table change nothing.
StateEffects ApplyWindowState(int state, CommandAvailability& available);

// The title for a rule that changes it.
std::string WindowTitle(TitleRule rule, const std::string& sourceFileName,
                        const std::string& memoryFileName);
