// Everything the host keeps, shared by the Host class and the host
// functions the add-in calls.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/arrays.h"
#include "host/commands.h"
#include "host/dialogs.h"
#include "host/host.h"
#include "host/library.h"
#include "host/messages.h"
#include "models/drawings.h"
#include "records/handles.h"
#include "host/timers.h"
#include "system/folders.h"
#include "toolkit_host.h"

namespace vxhost {

// A drive's recycle bin as a command has made sure of it, and the lines
// its index is owed when the command ends.
struct RecycleBin {
    fs::path folder;
    fs::path index;
    std::string lines;
};

// The View tab's appearance gallery, which macros open and choose from.
struct AppearanceGallery {
    bool open = false;           // its palette is shown
    bool clear_chosen = false;   // its clear-appearance entry was chosen, clearAllAppearance offered
    bool confirming = false;     // "UI Message Dialog" asks whether to clear all appearances
};

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
    ProInitializeEntry initialize = nullptr;
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
    std::string tab = "Home";                     // the ribbon tab shown (ui/ribbon.h)
    AppearanceGallery gallery;                    // the View tab's gallery, as macros left it
    DriveMap drives;
    std::u16string workdir;     // empty: the first drive's root
    Session session;
    Ledger ledger;              // before arrays, which use it
    ArrayTable arrays{ledger};
    MessageCache messages;
    // Where each (folder, file) the add-in names as its message file lies;
    // empty when it is nowhere. Found again at each load.
    std::map<std::pair<std::string, std::string>, std::optional<fs::path>> message_paths;
    std::vector<MessageDialog> message_dialogs;   // every one shown, in order
    std::deque<int> dialog_answers;               // buttons the user will press
    // What the user will type at the prompts for text; nullopt: Esc.
    std::deque<std::optional<std::u16string>> typed;
    ListingOrder listing_order = ListingOrder::Directory;
    unsigned listing_seed = 0;
    std::vector<ShellRequest> shell_requests;     // every shell call, in order
    std::vector<RecycledFile> recycled;           // what went to a recycle bin
    std::vector<ShellExecution> executions;       // every ShellExecuteW call, in order

    // while a command runs (see CommandScope)
    int commands_running = 0;                     // scopes open, nested
    FolderCache folders;                          // the folders it reached and listed
    std::map<char, RecycleBin> bins;              // by drive: the bins it made sure of

    std::deque<std::u16string> macro_queue;       // macros waiting for control to come back
    std::vector<std::u16string> macros_loaded;    // every macro the add-in queued, in order
    bool hold_macros = false;                     // the queue waits for run_macros()
    bool running_macros = false;                  // the queue is being carried out
    std::vector<const Model*> visits;             // solids whose feature visit is under way

    // drawings: what the user selected and will pick, and the records
    // behind the handles of the selection and detail calls
    std::vector<SelectedItem> selection_buffer;
    std::deque<MousePick> picks;
    HandleTable<SelectionRecord> selections{ledger, AllocKind::Selection};
    std::map<const void*, std::vector<void*>> selection_arrays;   // the selections in each
    HandleTable<SymbolDataRecord> symbol_data{ledger, AllocKind::SymbolData};
    HandleTable<AttachmentRecord> attachments{ledger, AllocKind::Attachment};
    std::map<const void*, int> string_arrays;     // the number of strings in each handed out
    std::vector<std::unique_ptr<ViewRecord>> views;
    Model* saving = nullptr;                      // the host's save dialog is open for it
    Dialogs dialogs;                              // the add-in's, built from layouts
    std::deque<DialogInput> dialog_input;         // what the user will do in dialogs
    std::vector<DialogRun> dialog_runs;           // every modal run, in order
#ifndef _WIN32
    Timers timers;                                // thread timers, on the host's clock
#endif

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

// One command of the user's: a pick, a command a macro runs, a timer's
// procedure. What the host learns of folders while it runs holds until it
// ends; then the lines owed to the recycle bins' indexes are written, and
// all of it is forgotten. Scopes nest, the outermost ends the command; a
// host call made outside any command is a command of its own (guarded()
// opens a scope), so nothing learnt outlives the call.
class CommandScope {
public:
    explicit CommandScope(HostState& s) : s_(s) { ++s_.commands_running; }
    ~CommandScope();
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    HostState& s_;
};

// Writes the lines the shell owes to the recycle bins' indexes; an index
// that cannot be written is a recorded error.
void write_bin_indexes(HostState& s);

// Runs a command of the add-in as the user's pick or a macro step does:
// only when its availability function offers it, then whatever macros it
// queued. False when there is no such command or it is not available.
bool run_command(HostState& s, const std::string& what, uiCmdCmdId id);

// A string array for the add-in: one ledger block of the pointers and the
// strings they point to, released by ProStringarrayFree; nullptr when the
// block cannot be had.
char** hand_out_strings(HostState& s, const std::vector<std::string>& strings, const char* call);

// Changes the working directory and tells the add-in. `by_addin` only
// changes what the transcript says.
ProError change_working_directory(HostState& s, const char16_t* path, bool by_addin);
void notify_directory_changed(HostState& s, const std::u16string& path);
void notify_tab_switch(HostState& s, const std::string& left, const std::string& entered);
// Shows another ribbon tab, as a click on it does, and tells the add-in.
void switch_ribbon_tab(HostState& s, const std::string& tab);

// The host idles for a while: its message loop runs and delivers the
// timer ticks that come due (off Windows on the host's own clock; on
// Windows only what is due now, as the system's clock cannot be
// hurried). Returns the ticks delivered.
int idle(HostState& s, long long milliseconds);

}  // namespace vxhost
