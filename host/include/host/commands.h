// The commands the add-in registers, each under an action name.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit.h"

namespace vxhost {

struct Command {
    std::string action;
    uiCmdCmdActFn action_fn = nullptr;
    uiCmdAccessFn access_fn = nullptr;
    uiCmdPriority priority = 0;
    bool non_active_window = false;
    bool accessory_window = false;
    int number = 0;          // 1, 2, ... in order of registration: "cmd#N"
};

class CommandRegistry {
public:
    // PRO_TK_E_FOUND for an action already registered, PRO_TK_BAD_INPUTS
    // for a missing name or action function.
    ProError add(Command command, uiCmdCmdId* id);

    // The command an id stands for; nullptr for an id the host never gave.
    const Command* find(uiCmdCmdId id) const;
    const Command* find(const std::string& action) const;

    // The handle given for a command: the address of its record, which
    // stays put because records are held by pointer.
    static uiCmdCmdId id_of(const Command& command);

    const std::vector<std::unique_ptr<Command>>& all() const { return commands_; }
    void clear()
    {
        commands_.clear();
        next_number_ = 1;
    }

private:
    std::vector<std::unique_ptr<Command>> commands_;
    int next_number_ = 1;
};

}  // namespace vxhost
