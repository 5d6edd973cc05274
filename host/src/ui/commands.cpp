#include "host/commands.h"

namespace vxhost {

ProError CommandRegistry::add(Command command, uiCmdCmdId* id)
{
    if (command.action.empty() || !command.action_fn)
        return PRO_TK_BAD_INPUTS;
    if (find(command.action))
        return PRO_TK_E_FOUND;
    command.number = next_number_++;
    commands_.push_back(std::make_unique<Command>(std::move(command)));
    if (id)
        *id = id_of(*commands_.back());
    return PRO_TK_NO_ERROR;
}

const Command* CommandRegistry::find(uiCmdCmdId id) const
{
    for (const auto& command : commands_)
        if (id_of(*command) == id)
            return command.get();
    return nullptr;
}

const Command* CommandRegistry::find(const std::string& action) const
{
    for (const auto& command : commands_)
        if (command->action == action)
            return command.get();
    return nullptr;
}

uiCmdCmdId CommandRegistry::id_of(const Command& command)
{
    return reinterpret_cast<uiCmdCmdId>(const_cast<Command*>(&command));
}

}  // namespace vxhost
