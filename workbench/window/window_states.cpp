#include "workbench/window/window_states.h"

#include <vector>

namespace {

struct StateRow {
    std::vector<StateCommand> madeAvailable;
    std::vector<StateCommand> madeUnavailable;
    TitleRule title = TitleRule::Unchanged;
};

const std::vector<StateRow>& StateTable()
{
    using enum TitleRule;
    static const std::vector<StateRow> table = {
        /* new */ {
            {}, {CommandSave, CommandSaveAs, CommandAssemble, CommandLoad}, SourceAndMemoryIfAny},
        /* saved */ {{}, {CommandSave}, SourceAndMemoryIfAny},
        /* opened */
        {{CommandSaveAs, CommandAssemble}, {CommandSave, CommandLoad}, SourceAndMemoryIfAny},
        /* modified */ {{CommandSave, CommandSaveAs, CommandAssemble}, {CommandLoad}},
        /* memory changed */ {{CommandRun, CommandStep, CommandMicroStep, CommandSaveMemory}, {}},
        /* register changed */ {},
        /* start changed: Reset only while Run is available, see below */ {},
        /* memory saved */ {{}, {CommandSaveMemory}, SourceAndMemory},
        /* memory loaded */ {{}, {CommandSaveMemory}, SourceAndMemory},
        /* memory cleared */
        {{},
         {CommandRun, CommandStep, CommandMicroStep, CommandHalt, CommandReset, CommandSaveMemory},
         SourceOnly},
        /* registers cleared */ {},
        /* assembled */ {{CommandLoad}, {}},
        /* loaded */
        {{CommandRun, CommandStep, CommandMicroStep, CommandSaveMemory},
         {CommandHalt, CommandReset}},
        /* running */ {{CommandHalt}, {CommandStep, CommandMicroStep, CommandReset}},
        /* paused */ {{CommandStep, CommandMicroStep, CommandHalt}, {CommandReset}},
        /* halted */ {{CommandReset}, {CommandRun, CommandStep, CommandMicroStep, CommandHalt}},
        /* reset */ {{CommandRun, CommandStep, CommandMicroStep}, {CommandHalt, CommandReset}},
    };
    return table;
}

const StateRow* RowOf(int state)
{
    const auto& table = StateTable();
    if (state < 0 || state >= static_cast<int>(table.size())) {
        return nullptr;
    }
    return &table[state];
}

} // namespace

TitleRule TitleRuleOf(int state)
{
    const StateRow* row = RowOf(state);
    return row ? row->title : TitleRule::Unchanged;
}

StateEffects ApplyWindowState(int state, CommandAvailability& available)
{
    const StateRow* row = RowOf(state);
    if (!row) {
        return {};
    }
    for (StateCommand command : row->madeAvailable) {
        available[command] = true;
    }
    for (StateCommand command : row->madeUnavailable) {
        available[command] = false;
    }
    if (state == StateStartChanged && available[CommandRun]) {
        available[CommandReset] = true;
    }
    return {row->title, state == StateHalted};
}

std::string WindowTitle(TitleRule rule, const std::string& source, const std::string& memory)
{
    const std::string title = "MIRA - " + source;
    switch (rule) {
    case TitleRule::SourceAndMemoryIfAny:
        return memory.empty() ? title : title + " (" + memory + ")";
    case TitleRule::SourceAndMemory:
        return title + " (" + memory + ")";
    default:
        return title;
    }
}
