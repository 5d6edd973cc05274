#include "host/host.h"

#include <cstdio>
#include <cstdlib>
#include <type_traits>

#include "toolkit/guard.h"
#include "state.h"
#include "toolkit/tk_calls.h"
#include "ui/macros.h"

namespace vxhost {

namespace {

HostState* g_state = nullptr;

// The runtime's start-up complaints.
void report_from_runtime(const char* message)
{
    HostState& s = current_state();
    const std::string text = message ? message : "(null)";
    s.error(text);
    s.note("report: " + text);
}

}  // namespace

HostState& current_state()
{
    if (!g_state) {
        std::fputs("vxhost: a host function was called with no Host alive\n", stderr);
        std::abort();
    }
    return *g_state;
}

CommandScope::~CommandScope()
{
    if (--s_.commands_running > 0 || (s_.bins.empty() && s_.folders.empty()))
        return;   // inside a command, or a call that learnt nothing
    try {
        write_bin_indexes(s_);
    } catch (const std::exception& e) {
        s_.error(std::string("the end of a command: ") + e.what());
    }
    s_.bins.clear();
    s_.folders.clear();
}

std::u16string HostState::working_directory() const
{
    if (!workdir.empty() || drives.empty())
        return workdir;
    return std::u16string{static_cast<char16_t>(*drives.first()), u':', u'\\'};
}

Word command_text(const HostState& s, uiCmdCmdId id)
{
    if (!id)
        return Word{"(null)"};
    const Command* command = s.commands.find(id);
    return Word{command ? "cmd#" + std::to_string(command->number) : "cmd?"};
}

Word model_text(const HostState& s, ProMdl model)
{
    if (!model)
        return Word{"(null)"};
    const Model* found = s.session.find(model);
    return Word{found ? "model#" + std::to_string(found->number) : "model?"};
}

Word block_text(const HostState& s, const void* block) { return Word{s.ledger.name_of(block)}; }

Host::Host()
{
    if (g_state)
        throw HostError("only one Host may be alive at a time");
    state_ = std::make_unique<HostState>();
    g_state = state_.get();
    build_entries();
}

Host::~Host()
{
    unload();
    g_state = nullptr;
}

// ---- set-up ----

void Host::set_language(const std::string& language) { state_->language = language; }
const std::string& Host::language() const { return state_->language; }
void Host::set_arguments(std::vector<std::string> arguments) { state_->arguments = std::move(arguments); }

void Host::set_versions(std::string version_text, std::optional<std::string> display_version,
                        std::string build_text)
{
    state_->version_text = std::move(version_text);
    state_->display_version = std::move(display_version);
    state_->build_text = std::move(build_text);
}

void Host::map_drive(char letter, const fs::path& folder) { state_->drives.map(letter, folder); }

void Host::set_working_directory(const std::u16string& path)
{
    std::u16string text = path;
    if (text.empty() || (text.back() != u'\\' && text.back() != u'/'))
        text += u'\\';
    state_->workdir = text;
}

// ---- loading ----

int Host::load(const fs::path& protk_dat)
{
    Registration reg = parse_registration(protk_dat);
    state_->registration = reg;
    return start(reg.exec_file, reg.text_dir, reg.name);
}

int Host::load_library(const fs::path& library, const fs::path& text_dir)
{
    return start(library, text_dir, library.stem().string());
}

int Host::start(const fs::path& library, const fs::path& text_dir, const std::string& name)
{
    HostState& s = *state_;
    if (s.library.is_open())
        throw HostError("an add-in is already loaded: " + s.library_path.string());
    s.library.open(library);
    s.library_path = library;
    auto init = reinterpret_cast<ProInitializeEntry>(s.library.symbol("user_initialize_plus"));
    s.terminate = reinterpret_cast<ProTerminateEntry>(s.library.symbol("user_terminate_plus"));
    if (!init || !s.terminate) {
        close_library();
        throw HostError(library.string() + ": no entry point " +
                        (init ? "user_terminate_plus" : "user_initialize_plus"));
    }
    s.initialize = init;
    s.note("load " + name);
    return start_addin(text_dir);
}

int Host::start_addin(const fs::path& text_dir)
{
    HostState& s = *state_;
    build_table(text_dir);
    const int status = s.initialize(&s.table);
    s.startup_status = status;
    s.note("start-up status " + std::to_string(status));
    s.started = status == 0;
    if (!s.started) {
        // A library that did not start is not kept, as the real host does.
        forget_addin();
        close_library();
    }
    return status;
}

int Host::restart()
{
    HostState& s = *state_;
    if (!s.library.is_open())
        throw HostError("restart: no add-in is loaded");
    stop_addin();
    return start_addin(fs::path(s.text_dir));
}

void Host::build_entries()
{
    HostState& s = *state_;
    s.entries.clear();
    auto add = [&s](const char* name, ProHostFn fn) {
        if (!s.omitted.count(name))
            s.entries.push_back(ProHostEntry{name, fn});
    };
#define VX_CHECKED_ENTRY(result, name, params)                                          \
    static_assert(std::is_same_v<decltype(&tk::name), result(*) params>,                 \
                  "the host's " #name " must match the list in toolkit_host.h");        \
    add(#name, reinterpret_cast<ProHostFn>(&tk::name));
#define VX_FORWARDED_ENTRY(result, name, params, args) VX_CHECKED_ENTRY(result, name, params)
#define VX_TEXT_ENTRY(result, name, params) VX_CHECKED_ENTRY(result, name, params)
    TK_FORWARDED_CALLS(VX_FORWARDED_ENTRY)
    TK_TEXT_CALLS(VX_TEXT_ENTRY)
#undef VX_TEXT_ENTRY
#undef VX_FORWARDED_ENTRY
#undef VX_CHECKED_ENTRY
    s.entries.push_back(ProHostEntry{nullptr, nullptr});
}

void Host::build_table(const fs::path& text_dir)
{
    HostState& s = *state_;
    build_entries();
    s.message_paths.clear();
    s.text_dir = text_dir.string();
    s.argv.clear();
    for (auto& argument : s.arguments)
        s.argv.push_back(argument.data());
    s.argv.push_back(nullptr);

    s.table = ProHostTable{};
    s.table.version = s.table_version;
    s.table.entries = s.entries.data();
    s.table.text_dir = s.text_dir.c_str();
    s.table.language = s.language.c_str();
    s.table.version_text = s.version_text.c_str();
    s.table.display_version = s.display_version ? s.display_version->c_str() : nullptr;
    s.table.build_text = s.build_text.c_str();
    s.table.argc = static_cast<int>(s.arguments.size());
    s.table.argv = s.argv.data();
    s.table.report = report_from_runtime;
}

void Host::unload()
{
    HostState& s = *state_;
    if (!s.library.is_open())
        return;
    stop_addin();
    s.note("unload");
    close_library();
#ifdef _WIN32
    end_explorer_children();
#endif
}

void Host::stop_addin()
{
    HostState& s = *state_;
    if (s.started && s.terminate)
        s.terminate();
    s.started = false;
    forget_addin();
}

// The add-in's commands, callbacks, menus and dialogs point into its
// library: they go with it, so that a fresh load starts clean. A timer it
// left running stays, and its procedure is never called again.
void Host::forget_addin()
{
    HostState& s = *state_;
    s.commands.clear();
    s.notifications.clear();
    s.menubar.reset();
    s.dialogs.clear();
#ifndef _WIN32
    s.timers.orphan_all();
#endif
}

void Host::close_library()
{
    HostState& s = *state_;
    s.library.close();
    s.initialize = nullptr;
    s.terminate = nullptr;
    if (Library::still_loaded(s.library_path))
        s.error("the library is still loaded after unloading: " + s.library_path.string());
}

bool Host::loaded() const { return state_->library.is_open(); }
std::optional<int> Host::startup_status() const { return state_->startup_status; }
const std::optional<Registration>& Host::registration() const { return state_->registration; }
void Host::omit_entry(const std::string& name) { state_->omitted.insert(name); }
void Host::table_version(int version) { state_->table_version = version; }

ProHostFn Host::table_entry(const std::string& name) const
{
    for (const ProHostEntry& entry : state_->entries)
        if (entry.name && name == entry.name)
            return entry.fn;
    return nullptr;
}

// ---- menus and commands ----

const Menubar& Host::menubar() const { return state_->menubar; }
const MenuItem* Host::find_item(const std::string& name) const { return state_->menubar.find(name); }
std::vector<std::string> Host::render_menu() const { return state_->menubar.render(); }

namespace {

std::optional<int> command_availability(const Command* command)
{
    if (!command)
        return std::nullopt;
    return command->access_fn ? command->access_fn(0) : ACCESS_AVAILABLE;
}

}  // namespace

std::optional<int> Host::availability(const std::string& button)
{
    const MenuItem* item = find_item(button);
    if (!item || item->kind != MenuItem::Kind::Button)
        return std::nullopt;
    return command_availability(state_->commands.find(item->command));
}

std::vector<std::pair<std::string, int>> Host::availabilities()
{
    std::vector<std::pair<std::string, int>> list;
    for (const MenuItem* button : state_->menubar.buttons()) {
        const auto state = command_availability(state_->commands.find(button->command));
        list.emplace_back(button->name, state.value_or(ACCESS_UNAVAILABLE));
    }
    return list;
}

bool run_command(HostState& s, const std::string& what, uiCmdCmdId id)
{
    const Command* command = s.commands.find(id);
    const auto state = command_availability(command);
    if (!state) {
        s.note(what + ": no such command");
        return false;
    }
    if (*state != ACCESS_AVAILABLE) {
        s.note(what + ": not available");
        return false;
    }
    s.note(what + ": runs " + command->action);
    CommandScope scope(s);
    s.last_action_status = command->action_fn(id, nullptr, nullptr);
    // Control is back with the host: what the command queued runs now.
    run_macro_queue(s);
    return true;
}

bool Host::run_command(const std::string& what, uiCmdCmdId id)
{
    return vxhost::run_command(*state_, what, id);
}

std::optional<int> Host::last_action_status() const { return state_->last_action_status; }

bool Host::pick(const std::string& button)
{
    const MenuItem* item = find_item(button);
    if (!item || item->kind != MenuItem::Kind::Button) {
        note("pick " + button + ": no such button");
        return false;
    }
    return run_command("pick " + button, item->command);
}

bool Host::run_action(const std::string& action)
{
    const Command* command = state_->commands.find(action);
    if (!command) {
        note("run " + action + ": no such command");
        return false;
    }
    return run_command("run " + action, CommandRegistry::id_of(*command));
}

// ---- notifications ----

void Host::switch_tab(const std::string& tab) { switch_ribbon_tab(*state_, tab); }

const std::string& Host::current_tab() const { return state_->tab; }

void Host::fire_tab_switch(const std::string& left, const std::string& entered)
{
    notify_tab_switch(*state_, left, entered);
}

void Host::fire_directory_changed(const std::u16string& path)
{
    notify_directory_changed(*state_, path);
}

// ---- working directory ----

ProError Host::change_directory(const std::u16string& path)
{
    return change_working_directory(*state_, path.c_str(), false);
}

std::u16string Host::working_directory() const { return state_->working_directory(); }
const DriveMap& Host::drives() const { return state_->drives; }

std::optional<fs::path> Host::real_path(const std::u16string& windows_path) const
{
    return state_->drives.to_real(windows_path, state_->working_directory());
}

std::optional<std::u16string> Host::windows_path(const fs::path& real) const
{
    return state_->drives.to_windows(real);
}

// ---- models (opening and storing them: models.cpp) ----

void Host::close_all_windows()
{
    state_->session.close_all_windows();
    state_->selection_buffer.clear();   // a selection lives in its window
    note("close all windows");
}

const Model* Host::current_model() const { return state_->session.current(); }
const Session& Host::session() const { return state_->session; }

// ---- records ----

const std::vector<JournalEntry>& Host::journal() const { return state_->journal.entries(); }
std::size_t Host::count(const std::string& call) const { return state_->journal.count(call); }
std::vector<std::string> Host::call_names() const { return state_->journal.names(); }
void Host::clear_journal() { state_->journal.clear(); }

std::vector<Allocation> Host::outstanding() const { return state_->ledger.outstanding(); }
const std::vector<std::string>& Host::ledger_errors() const { return state_->ledger.errors(); }
void Host::set_out_of_memory(bool out) { state_->ledger.set_out_of_memory(out); }

std::vector<std::u16string> Host::path_array(const void* block) const
{
    std::vector<std::u16string> paths;
    const ArrayInfo* info = state_->arrays.find(block);
    if (info == nullptr || info->object_size != static_cast<int>(sizeof(ProPath)))
        return paths;
    const auto* elements = static_cast<const ProPath*>(block);
    for (int i = 0; i < info->count; ++i) {
        const ProWchar* p = elements[i];
        std::size_t n = 0;
        while (n < PRO_PATH_SIZE && p[n] != 0)
            ++n;
        paths.emplace_back(p, n);
    }
    return paths;
}
const std::vector<std::string>& Host::errors() const { return state_->errors; }
const std::vector<RequestedKey>& Host::keys_requested() const { return state_->keys; }

void Host::inject_fault(const std::string& call, ProError status, int nth,
                        const std::string& args_contain)
{
    state_->faults.add(Fault{call, status, nth, args_contain, 0, false});
}

void Host::inject_unwritten(const std::string& call, int nth, const std::string& args_contain)
{
    state_->faults.add(Fault{call, PRO_TK_NO_ERROR, nth, args_contain, 0, true});
}

void Host::clear_faults() { state_->faults.clear(); }

void Host::hold_macros(bool hold) { state_->hold_macros = hold; }

int Host::run_macros()
{
    const bool held = state_->hold_macros;
    state_->hold_macros = false;
    const int run = run_macro_queue(*state_);
    state_->hold_macros = held;
    return run;
}

const std::vector<std::u16string>& Host::macros() const { return state_->macros_loaded; }
std::size_t Host::macros_queued() const { return state_->macro_queue.size(); }

const std::vector<std::string>& Host::transcript() const { return state_->transcript; }
void Host::note(const std::string& line) { state_->note(line); }

}  // namespace vxhost
