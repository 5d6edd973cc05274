// Everything the host keeps, shared by the Host class and the host
// functions the add-in calls.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/arrays.h"
#include "host/commands.h"
#include "host/host.h"
#include "host/library.h"
#include "host/messages.h"
#include "toolkit_host.h"

namespace vxhost {

struct HostState {
    // set-up
    std::string language = "usascii";
    std::vector<std::string> arguments{"vxhost"};
    std::string version_text = "vxhost 1.0";
    std::optional<std::string> display_version = std::string("1.0.0");
    std::string build_text = "vxhost build 1";

    // the loaded library and the table it was given
    std::optional<Registration> registration;
    Library library;
    fs::path library_path;
    ProTerminateEntry terminate = nullptr;
    bool started = false;
    std::optional<int> startup_status;
    std::set<std::string> omitted;
    int table_version = PRO_HOST_TABLE_VERSION;
    std::vector<ProHostEntry> entries;
    std::string text_dir;
    std::vector<char*> argv;
    ProHostTable table{};

    // what the add-in sees
    Menubar menubar;
    CommandRegistry commands;
    std::optional<int> last_action_status;   // what the last command run gave
    std::map<int, ProFunction> notifications;
    std::string tab = "Home";
    DriveMap drives;
    std::u16string workdir;     // empty: the first drive's root
    Session session;
    Ledger ledger;              // before arrays, which use it
    ArrayTable arrays{ledger};
    MessageCache messages;
    std::vector<MessageDialog> message_dialogs;   // every one shown, in order
    std::deque<int> dialog_answers;               // buttons the user will press
    // What the user will type at the prompts for text; nullopt: Esc.
    std::deque<std::optional<std::u16string>> typed;
    ListingOrder listing_order = ListingOrder::Directory;
    unsigned listing_seed = 0;
    std::vector<ShellRequest> shell_requests;     // every shell call, in order
    std::vector<RecycledFile> recycled;           // what went to a recycle bin
    std::vector<ShellExecution> executions;       // every ShellExecuteW call, in order
    std::deque<std::u16string> macro_queue;       // macros waiting for control to come back
    std::vector<std::u16string> macros_loaded;    // every macro the add-in queued, in order
    bool hold_macros = false;                     // the queue waits for run_macros()
    bool running_macros = false;                  // the queue is being carried out

    // records
    std::vector<RequestedKey> keys;
    Journal journal;
    Faults faults;
    std::vector<std::string> errors;
    std::vector<std::string> transcript;

    void note(std::string line) { transcript.push_back(std::move(line)); }
    void error(std::string message) { errors.push_back(std::move(message)); }
    std::u16string working_directory() const;
};

// The state of the one Host alive; the host functions reach it here.
HostState& current_state();

// Runs a command of the add-in as the user's pick or a macro step does:
// only when its availability function offers it, then whatever macros it
// queued. False when there is no such command or it is not available.
bool run_command(HostState& s, const std::string& what, uiCmdCmdId id);

// Changes the working directory and tells the add-in. `by_addin` only
// changes what the transcript says.
ProError change_working_directory(HostState& s, const char16_t* path, bool by_addin);
void notify_directory_changed(HostState& s, const std::u16string& path);
void notify_tab_switch(HostState& s, const std::string& left, const std::string& entered);

}  // namespace vxhost
