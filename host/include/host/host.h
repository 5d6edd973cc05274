// The stand-in CAD host: loads the add-in's library, hands it the table of
// host functions and plays the host's side of every call, while recording
// what happened for tests and for the transcript.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/dialogs.h"
#include "host/errors.h"
#include "host/journal.h"
#include "host/ledger.h"
#include "host/menu.h"
#include "host/paths.h"
#include "host/registration.h"
#include "host/session.h"
#include "host/shell.h"
#include "host/text.h"
#include "host/timers.h"
#include "toolkit_host.h"

namespace vxhost {

struct HostState;

// A modal message dialog as the user saw it, and the button that closed it.
struct MessageDialog {
    int type = 0;
    std::string title;
    std::string text;
    std::vector<int> buttons;   // codes, in the order shown
    int default_button = 0;
    int chosen = 0;
};

// A (message file, key) pair the add-in asked for.
struct RequestedKey {
    std::string file;
    std::string key;
    bool operator==(const RequestedKey& other) const
    {
        return file == other.file && key == other.key;
    }
};

class Host {
public:
    // Only one Host may be alive at a time: the host functions the add-in
    // calls reach it through a single global. A second one throws HostError.
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // ---- set-up, before load ----
    void set_language(const std::string& language);     // default "usascii"
    const std::string& language() const;
    void set_arguments(std::vector<std::string> arguments);   // argv for the add-in
    void set_versions(std::string version_text, std::optional<std::string> display_version,
                      std::string build_text);
    void map_drive(char letter, const fs::path& folder);
    // The working directory, no notification (a trailing \ is added).
    void set_working_directory(const std::u16string& path);

    // ---- loading ----
    // Reads the registration file, loads its library and starts it;
    // returns the start-up status. A library that does not start is
    // unloaded again. Throws HostError for a bad file or library.
    int load(const fs::path& protk_dat);
    int load_library(const fs::path& library, const fs::path& text_dir);
    // Stops the add-in, unloads the library and checks it is gone (an
    // error is recorded if not). Nothing happens when none is loaded.
    void unload();
    // Stops the add-in and starts it again in the library, which stays
    // loaded: start-up apart from the loading of the library, for
    // measuring it. Returns the start-up status, as load does; HostError
    // when no add-in is loaded.
    int restart();
    bool loaded() const;
    std::optional<int> startup_status() const;
    const std::optional<Registration>& registration() const;

    // Test hooks for the next load: leave a named function out of the
    // table, or hand over a table of another version.
    void omit_entry(const std::string& name);
    void table_version(int version);

    // A host function as the runtime finds it in the table, by name; for
    // tests that call the host as the add-in would. nullptr when absent.
    ProHostFn table_entry(const std::string& name) const;
    template <class Fn>
    Fn entry(const std::string& name) const
    {
        return reinterpret_cast<Fn>(table_entry(name));
    }

    // ---- menus and commands ----
    const Menubar& menubar() const;
    const MenuItem* find_item(const std::string& name) const;
    std::vector<std::string> render_menu() const;
    // The availability the button's command reports; empty for no such button.
    std::optional<int> availability(const std::string& button);
    // Every button, in menu order, with its availability.
    std::vector<std::pair<std::string, int>> availabilities();
    // Runs the button's command if it is available; true when it ran.
    bool pick(const std::string& button);
    // The integer the last command action that ran gave the host.
    std::optional<int> last_action_status() const;
    bool run_action(const std::string& action);

    // ---- notifications ----
    void switch_tab(const std::string& tab);
    const std::string& current_tab() const;
    void fire_tab_switch(const std::string& left, const std::string& entered);
    void fire_directory_changed(const std::u16string& path);

    // ---- macros ----
    // Every macro the add-in handed over with ProMacroLoad, in order.
    const std::vector<std::u16string>& macros() const;
    // Held, queued macros wait for run_macros() instead of running when
    // control comes back to the host; for looking between the two.
    void hold_macros(bool hold);
    // Carries out the queued macros now; returns how many ran.
    int run_macros();
    std::size_t macros_queued() const;

    // ---- message dialogs ----
    // The button the user presses in the next message dialog; with none
    // queued the dialog is closed with its default button.
    void answer_dialog(int button);
    const std::vector<MessageDialog>& message_dialogs() const;

    // ---- the add-in's dialogs ----
    // What the user does in the add-in's next modal dialogs, in order: each
    // run takes inputs until the dialog ends, and leaves the rest for the
    // next. A run that finds none left is closed by the host, recorded as
    // an error.
    void type_text(const std::string& component, const std::u16string& text);
    void set_check(const std::string& component, bool set);
    void press(const std::string& component);
    // Selects these items of a list (0 first), in place of what was
    // selected; none clears the selection. An item the list lacks is
    // recorded as an error and changes nothing.
    void choose_items(const std::string& list, std::vector<int> items);
    void close_dialog();
    void wait_in_dialog(long long milliseconds);
    void look_in_dialog(std::function<void()> look);
    std::size_t dialog_input_left() const;
    void clear_dialog_input();      // the user has nothing more to do
    // Every modal run, in order.
    const std::vector<DialogRun>& dialog_runs() const;
    // A dialog the add-in has created and not destroyed, as the host holds
    // it (for a look while it runs); nullptr when there is none.
    const Dialog* dialog(const std::string& name) const;

    // ---- the message area's input line ----
    // What the user types at the next prompt for text, in order: a text
    // (empty: Enter alone) or an abort (Esc). A prompt with nothing queued
    // is a host error and reads as aborted.
    void type_entry(const std::u16string& text);
    void abort_entry();

    // ---- working directory ----
    // As the user would change it: same checks and notification as the
    // add-in's ProDirectoryChange.
    ProError change_directory(const std::u16string& path);
    std::u16string working_directory() const;
    const DriveMap& drives() const;
    std::optional<fs::path> real_path(const std::u16string& windows_path) const;
    std::optional<std::u16string> windows_path(const fs::path& real) const;

    // ---- files and the shell ----
    // The order every later ProFilesList gives its files in.
    void set_listing_order(ListingOrder order, unsigned seed = 0);
    // Every SHFileOperationW call, in order (empty on Windows, where the
    // add-in calls the real shell).
    const std::vector<ShellRequest>& shell_requests() const;
    // What the shell moved to a recycle bin, in order.
    const std::vector<RecycledFile>& recycle_bin() const;
    // Every ShellExecuteW call, in order (empty on Windows, where the
    // add-in calls the real shell).
    const std::vector<ShellExecution>& shell_executions() const;

    // ---- models and windows ----
    // Opens the model in a new window, which becomes active. The model is
    // read from its newest stored version in `folder` (empty: the working
    // directory) when there is one -- HostError when that file is
    // unreadable -- else it is made in session.
    ProMdl open_model(const std::string& name, int type, const std::u16string& folder = {});
    // Writes a stored version of a model into a folder of a mapped drive
    // (empty: the working directory); returns its real path. HostError for
    // a bad name, type or folder, or a file that exists already.
    fs::path store_model(const std::u16string& folder, const std::string& name, int type,
                         int version, const std::string& note = {});
    void close_all_windows();
    // The current model and everything it places, one line a component
    // with each part's colour (models/assemblies.h); empty with no model.
    std::vector<std::string> render_colours();
    // The window stays open and shows no model; HostError for no such window.
    void empty_window(int window);
    // The host does (not) let the model be saved; HostError when no model
    // of that name and type is in session.
    void set_read_only(const std::string& name, int type, bool read_only);
    const Model* current_model() const;
    const Session& session() const;

    // ---- drawings ----
    // The user selects detail items of the current sheet of the current
    // drawing, by id, in this order; the selection buffer holds them until
    // the next selection or until the windows close. HostError when no
    // drawing is current or an id is no item of its current sheet.
    void select_items(const std::vector<int>& ids);
    // What the user does at the next ProMousePickGet, in turn: picks this
    // point with this button, or gives no point. A pick with none queued
    // gives no point either, and is recorded as an error.
    void queue_pick(const Point& point, int button = PRO_LEFT_BUTTON);
    void queue_failed_pick();

    // ---- records ----
    const std::vector<JournalEntry>& journal() const;
    std::size_t count(const std::string& call) const;
    std::vector<std::string> call_names() const;
    void clear_journal();

    std::vector<Allocation> outstanding() const;
    // The elements of a live host array of paths (260-unit wide buffers),
    // as the host holds them; empty for any other block.
    std::vector<std::u16string> path_array(const void* block) const;
    const std::vector<std::string>& ledger_errors() const;
    const std::vector<std::string>& errors() const;     // text files, library, runtime reports
    const std::vector<RequestedKey>& keys_requested() const;

    // The call fails with `status` (every time, only its nth call from
    // now on, or only calls whose argument text holds `args_contain`).
    void inject_fault(const std::string& call, ProError status, int nth = 0,
                      const std::string& args_contain = {});
    // The call returns 0 but writes none of its outputs, as a faulty host
    // might; chosen as inject_fault chooses.
    void inject_unwritten(const std::string& call, int nth = 0,
                          const std::string& args_contain = {});
    void clear_faults();
    // The host's memory runs out (true) or is there again: while it is
    // out, every block a call would hand the add-in is refused, so the
    // call's own handling of a failed allocation runs.
    void set_out_of_memory(bool out);

    const std::vector<std::string>& transcript() const;
    void note(const std::string& line);   // adds a transcript line

    // ---- time ----
    // Waits `milliseconds` as the real host's idle loop does: on Windows a
    // Win32 message loop runs meanwhile, so a thread timer's WM_TIMER
    // reaches its procedure; elsewhere the host's own clock moves on and
    // its loop delivers the ticks that come due. Returns the messages
    // dispatched.
    int pump_messages(int milliseconds);
    // Time the timed save goes by passes while the host idles: off Windows
    // as pump_messages; on Windows, where the system's clock cannot be
    // hurried, only what is due now is dispatched. Returns the ticks.
    int advance_clock(long long milliseconds);
#ifndef _WIN32
    // Time passes while the host is busy and reads no messages: a timer
    // that comes due keeps one tick pending however many periods pass.
    void pass_busy_time(long long milliseconds);
    long long clock() const;     // milliseconds since the host began
    // The thread timers the add-in has set and not stopped.
    const std::vector<ThreadTimer>& timers() const;
#endif

private:
    int start(const fs::path& library, const fs::path& text_dir, const std::string& name);
    int start_addin(const fs::path& text_dir);
    void stop_addin();
    void build_entries();
    void build_table(const fs::path& text_dir);
    void close_library();
    void forget_addin();
    bool run_command(const std::string& what, uiCmdCmdId id);

    std::unique_ptr<HostState> state_;
};

}  // namespace vxhost
