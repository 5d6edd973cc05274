// The single-fault sweep: every host call the add-in makes, failed in turn.
//
// Each row of `rows` is one thing the add-in does: start-up, a
// notification, a command, shut-down. The row runs once and its journal is
// kept. Then, for every call k of that journal, the row runs again from a
// fresh host and workspace, once for each status call k can fail with
// (vxhost::failing_statuses) and once with call k returning 0 without
// writing its outputs. After every run:
//  - no crash (each run is a child process of its own off Windows);
//  - no ledger error and no host error;
//  - nothing outstanding but the directory history and the tab copy, and
//    the block whose own free call (a call named ...Free) was the faulted
//    one; a selection, which has no free call, goes with its holder;
//  - nothing outstanding after unload, but that block, and no timer set
//    (but one whose KillTimer was the faulted call);
//  - the row's own invariant (the purge: the newest version of every model
//    still in place, every removed file in the bin).
//
// Adding a command is one row in `rows`, with a function or two above it:
//
//     {"rename", prepare_rename, pick("QVX_MdlRenamemenu"), check_rename},
//
// `prepare` builds the workspace, loads the add-in (r.load()) and queues
// what the user will do (dialog input, picks, answers); what `act` does is
// what is swept; `check` (nullptr when the generic checks say it all) adds
// to r.problems what of the row's invariant it finds broken. A row that
// needs Windows' own shell or a hurried clock goes in the `#ifndef _WIN32`
// part of the table. A host error that follows from a fault by the course
// the add-in is meant to take (the timed save goes on with a dialog whose
// creation failed) is listed in `consequences`.
//
// Off Windows the runs are forked, VX_JOBS at a time (default: the
// processors). On Windows they run in this process, one after the other.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <thread>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "../host/fixtures.h"
#include "host/host.h"
#include "host/text.h"
#include "workspace.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VX_LSAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VX_LSAN 1
#endif
#ifdef VX_LSAN
extern "C" void __lsan_do_leak_check(void);
#endif

namespace {

namespace fs = std::filesystem;

// One run of a row: a fresh host over a throw-away drive D:, working
// directory D:\models\, files listed by name so that every run makes the
// same calls in the same order.
struct Run {
    Run()
    {
        disk.folder("models");
        host.map_drive('D', disk.path());
        host.set_working_directory(u"D:\\models\\");
        host.set_listing_order(vxhost::ListingOrder::ByName);
    }

    void load()
    {
        const int status = host.load(VX_PROTK_DAT);
        if (status != 0)
            problems.push_back("start-up status " + std::to_string(status));
    }

    // Stored versions that hold their own names, so that a move can be
    // told from a copy.
    void store(std::initializer_list<const char*> files)
    {
        for (const char* file : files)
            disk.write(fs::path("models") / file, file);
    }

    fs::path models() const { return disk.path() / "models"; }

    vxtest::TempDir disk;
    vxhost::Host host;
    vxtest::Snapshot before;   // of D:\models\ as the swept part begins
    std::u16string directory_before;   // the working directory then
    std::size_t journal_from = 0;      // the swept part's first call
    std::size_t bin_from = 0;
    std::vector<std::string> problems;
};

struct Row {
    const char* name;
    void (*prepare)(Run& r);
    std::function<void(Run& r)> act;
    void (*check)(Run& r);
};

// How gtest names a row in its messages.
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

std::function<void(Run&)> pick(const char* button)
{
    return [button](Run& r) { r.host.pick(button); };
}

void loaded(Run& r) { r.load(); }

// ---- the rows' workspaces and invariants ----

void prepare_directories(Run& r)
{
    r.disk.folder("models/sub");
    r.load();
}

// Change to a new folder, then to the start-up one, which is entry 0.
void change_directories(Run& r)
{
    r.host.change_directory(u"D:\\models\\sub");
    r.host.change_directory(u"D:\\models");
}

void switch_tabs(Run& r)
{
    r.host.switch_tab("Model");
    r.host.switch_tab("View");
}

// Whatever failed, the history holds no entry twice.
void check_history(Run& r)
{
    for (const auto& a : r.host.outstanding()) {
        std::vector<std::u16string> paths = r.host.path_array(a.block);
        std::sort(paths.begin(), paths.end());
        if (std::adjacent_find(paths.begin(), paths.end()) != paths.end())
            r.problems.push_back("the history holds an entry twice");
    }
}

void prepare_drawing(Run& r)
{
    r.host.store_model(u"D:\\models\\", "bracket", PRO_MDL_PART, 1);
    r.host.store_model(u"D:\\models\\", "bracket", PRO_MDL_DRAWING, 1);
    r.load();
    r.host.open_model("bracket", PRO_MDL_PART);
}

void prepare_no_drawing(Run& r)
{
    r.host.store_model(u"D:\\models\\", "shaft", PRO_MDL_PART, 1);
    r.load();
    r.host.open_model("shaft", PRO_MDL_PART);
}


// Sheet 1 of a drawing: a dimension of each kind, a symbol attached in a
// view, an item of another kind; all selected, and a point to pick.
void prepare_align(Run& r)
{
    r.disk.write("models/plate.drw.1", R"({"type": "drawing", "sheets": [{"items": [
        {"id": 1, "type": 8, "position": [10, 20, 0]},
        {"id": 2, "type": 28, "position": [30, 40, 5]},
        {"id": 3, "type": 76, "attachment": {"type": 2, "view": "TOP", "location": [50, 60, 7],
                                             "reference": "edge 3"}},
        {"id": 4, "type": 12}]}]})");
    r.load();
    r.host.open_model("plate", PRO_MDL_DRAWING);
    r.host.select_items({1, 2, 3, 4});
    r.host.queue_pick({50, 80, 0});
}

// An assembly of a part with an appearance of its own, a sub-assembly and
// a hidden part, current, with the user on a tab to come back to.
void prepare_colours(Run& r)
{
    const char* part = R"({"type": "part", "appearance": {"color": [0.1, 0.2, 0.3], "name": "steel"}})";
    for (const char* name : {"p", "q", "hidden"})
        r.disk.write(std::string("models/") + name + ".prt.1", part);
    r.disk.write("models/sub.asm.1", R"({"type": "assembly", "features": [{"type": 1000, "model": "q.prt"}]})");
    r.disk.write("models/top.asm.1", R"({"type": "assembly", "features": [{"type": 923},
        {"type": 1000, "model": "p.prt"}, {"type": 1000, "model": "sub.asm"},
        {"type": 1000, "model": "hidden.prt", "visibility": 0}]})");
    r.load();
    r.host.switch_tab("page_Tools");
    r.host.open_model("top", PRO_MDL_ASSEMBLY);
}

// What the user does in the dialog TimeSave once it opens: 5 minutes,
// both boxes, OK (and Cancel, should OK leave it open).
void enter_timed_save(Run& r)
{
    r.host.type_text("InputTime", u"5");
    r.host.set_check("CBAutoSave", true);
    r.host.set_check("CBSaveAll", true);
    r.host.press("CommitOK");
    r.host.press("CommitCancel");
}

void prepare_timed_save(Run& r)
{
    r.load();
    enter_timed_save(r);
}

// Everything the add-in releases at shut-down held: a tab copy, a
// history of two entries, a timed save running.
void prepare_shutdown(Run& r)
{
    prepare_directories(r);
    r.host.switch_tab("Model");
    r.host.change_directory(u"D:\\models\\sub");
    enter_timed_save(r);
    r.host.pick("QVX_TimeSavemenu");
    r.host.clear_dialog_input();
}

// Whatever failed, no stored version is lost or changed: saves only add.
void check_nothing_lost(Run& r)
{
    const vxtest::Snapshot after = vxtest::snapshot(r.models());
    for (const auto& [name, content] : r.before) {
        const auto now = after.find(name);
        if (now == after.end() || now->second != content)
            r.problems.push_back("lost or changed: " + name);
    }
}

// The same folder, however written ("D:\a" and "d:/a/").
bool same_folder(const std::u16string& a, const std::u16string& b)
{
    const auto pa = vxhost::parse_windows_path(a), pb = vxhost::parse_windows_path(b);
    return pa && pb && pa->folder_text() == pb->folder_text();
}

// The swept part's calls of one name, in order.
std::vector<const vxhost::JournalEntry*> swept_calls(const Run& r, const std::string& name)
{
    std::vector<const vxhost::JournalEntry*> found;
    for (std::size_t i = r.journal_from; i < r.host.journal().size(); ++i)
        if (r.host.journal()[i].name == name)
            found.push_back(&r.host.journal()[i]);
    return found;
}

// A call of no output faulted unwritten reports a change it did not make,
// and the add-in has no way to tell.
bool reported_not_made(const std::vector<const vxhost::JournalEntry*>& calls, std::size_t i)
{
    return i < calls.size() && calls[i]->faulted && calls[i]->status == PRO_TK_NO_ERROR;
}

// A folder of parts below the working directory.
const char16_t* const kPartFolder = u"D:\\models\\parts\\";

// The part bracket and its drawing in the folder of parts, the part
// current, the user typing the new name; a drawing bracket in the working
// directory too, which is not the part's.
void prepare_rename(Run& r)
{
    r.host.store_model(kPartFolder, "bracket", PRO_MDL_PART, 3);
    r.host.store_model(kPartFolder, "bracket", PRO_MDL_DRAWING, 2);
    r.host.store_model(u"D:\\models\\", "bracket", PRO_MDL_DRAWING, 5);
    r.load();
    r.host.open_model("bracket", PRO_MDL_PART, kPartFolder);
    r.host.type_entry(u"flange");
}

// Nothing stored is lost; the working directory is the user's again (but
// when the change that sets it back is the faulted call); the drawing
// renamed, if any, is the one beside the part, and only when the part
// was renamed (or the host said so).
void check_rename(Run& r)
{
    check_nothing_lost(r);
    const auto changes = swept_calls(r, "ProDirectoryChange");
    const auto renames = swept_calls(r, "ProMdlRename");
    const bool set_back_faulted = !changes.empty() && changes.back()->faulted;
    if (!same_folder(r.host.working_directory(), r.directory_before) && !set_back_faulted)
        r.problems.push_back("the working directory is left at " +
                             vxhost::to_utf8(r.host.working_directory()));
    const vxhost::Model* part = nullptr;
    const vxhost::Model* drawing = nullptr;
    for (const auto& m : r.host.session().models())
        if (m->name == "flange")
            (m->type == PRO_MDL_PART ? part : drawing) = m.get();
    if (!drawing)
        return;
    if (!part && !reported_not_made(renames, 0))
        r.problems.push_back("the drawing is renamed and the part is not");
    if (!same_folder(drawing->folder, kPartFolder) && !reported_not_made(changes, 0))
        r.problems.push_back("the drawing renamed is the one in " + vxhost::to_utf8(drawing->folder));
}

// The history the dialog lists: the start-up directory, then the three
// folders visited.
const char16_t* const kHistory[] = {u"D:\\models", u"D:\\models\\a\\", u"D:\\models\\b\\",
                                    u"D:\\models\\c\\"};

// A history of four entries, the user in the last; in the dialog the
// user selects the second and presses OK (Cancel, should OK leave it
// open).
void prepare_change_directory(Run& r)
{
    for (const char* folder : {"models/a", "models/b", "models/c"})
        r.disk.folder(folder);
    r.load();
    for (const char16_t* folder : {kHistory[1], kHistory[2], kHistory[3]})
        r.host.change_directory(folder);
    r.host.choose_items("WorkDirList", {1});
    r.host.press("CommitChangeDir");
    r.host.press("CommitCancelChangeDir");
}

// Whatever failed, the working directory is where it was or an entry of
// the history.
void check_change_directory(Run& r)
{
    const std::u16string now = r.host.working_directory();
    if (same_folder(now, r.directory_before))
        return;
    for (const char16_t* folder : kHistory)
        if (same_folder(now, folder))
            return;
    r.problems.push_back("the working directory is " + vxhost::to_utf8(now) +
                         ", no entry of the history");
}

#ifndef _WIN32
// The explorer is started on `folder` or not at all.
void check_explorer_on(Run& r, const std::u16string& folder)
{
    for (const auto& e : r.host.shell_executions())
        if (e.parameters != folder)
            r.problems.push_back("the explorer is handed " +
                                 (e.parameters ? "\"" + vxhost::to_utf8(*e.parameters) + "\"" : "nothing"));
}

void prepare_model_folder(Run& r)
{
    r.host.store_model(kPartFolder, "bracket", PRO_MDL_PART, 1);
    r.load();
    r.host.open_model("bracket", PRO_MDL_PART, kPartFolder);
}

void check_model_folder(Run& r) { check_explorer_on(r, kPartFolder); }
void check_working_directory(Run& r) { check_explorer_on(r, u"D:\\models\\"); }

// Two models in windows of their own, the timed save set on both and
// started: what is swept is the first tick.
void prepare_tick(Run& r)
{
    r.host.store_model(u"D:\\models\\", "bracket", PRO_MDL_PART, 3);
    r.host.store_model(u"D:\\models\\", "housing", PRO_MDL_PART, 1);
    r.load();
    r.host.open_model("housing", PRO_MDL_PART);
    r.host.open_model("bracket", PRO_MDL_PART);
    enter_timed_save(r);
    r.host.pick("QVX_TimeSavemenu");
    r.host.clear_dialog_input();
}

void prepare_purge(Run& r)
{
    r.store({"bracket.prt.1", "bracket.prt.2", "bracket.prt.10", "housing.drw.1", "housing.drw.2",
             "gear.asm.1", "shaft.prt", "shaft.prt.3", "notes.txt", "archive/housing.prt.1"});
    r.load();
}

void check_purge(Run& r)
{
    for (auto& problem :
         vxtest::purge_problems(r.host, r.models(), u"D:\\models\\", r.before, r.bin_from, false))
        r.problems.push_back(std::move(problem));
}
#endif

const Row rows[] = {
    {"start-up", [](Run&) {}, loaded, nullptr},
    {"ribbon tab switch", loaded, switch_tabs, nullptr},
    {"directory change", prepare_directories, change_directories, check_history},
    {"open drawing", prepare_drawing, pick("QVX_OpenSamenameDrwmenu"), nullptr},
    {"open drawing, none of that name", prepare_no_drawing, pick("QVX_OpenSamenameDrwmenu"), nullptr},
    {"align vertically", prepare_align, pick("QVX_VerticalAlignmenu"), nullptr},
    {"align horizontally", prepare_align, pick("QVX_HorizonAlignmenu"), nullptr},
    {"random colours", prepare_colours, pick("QVX_PaintColormenu"), nullptr},
    {"clear colours", prepare_colours, pick("QVX_ClearColormenu"), nullptr},
    {"about", loaded, pick("QVX_Aboutmenu"), nullptr},
    {"timed save dialog", prepare_timed_save, pick("QVX_TimeSavemenu"), nullptr},
    {"rename", prepare_rename, pick("QVX_MdlRenamemenu"), check_rename},
    {"change working directory", prepare_change_directory, pick("QVX_ChangeWorkDirectorymenu"),
     check_change_directory},
#ifndef _WIN32
    // On Windows the shell would start a real explorer, once a run.
    {"open model folder", prepare_model_folder, pick("QVX_ShowDirmenu"), check_model_folder},
    {"open working directory", loaded, pick("QVX_ShowWorkDirmenu"), check_working_directory},
    // On Windows the add-in calls the real shell: the versions would land
    // in the user's own recycle bin, once a run.
    {"purge", prepare_purge, pick("QVX_PurgeWorkDirmenu"), check_purge},
    // The host's clock can be hurried off Windows only.
    {"timed save tick", prepare_tick, [](Run& r) { r.host.advance_clock(5 * 60000); },
     check_nothing_lost},
#endif
    {"shut-down", prepare_shutdown, [](Run& r) { r.host.unload(); }, check_history},
};

// ---- one run ----

// A fault on one call of a row's swept part.
struct Variant {
    std::size_t index = 0;   // in the swept part's journal
    std::string call;
    int nth = 0;             // of the calls of that name in the swept part
    bool unwritten = false;
    int status = 0;

    std::string text() const
    {
        return "call " + std::to_string(index + 1) + " " + call + " (#" + std::to_string(nth) +
               " of its name) " +
               (unwritten ? "returning 0 unwritten" : "failing with " + std::to_string(status));
    }
};

std::string outstanding_text(const std::vector<vxhost::Allocation>& blocks)
{
    std::string text;
    for (const auto& a : blocks)
        text += std::string(text.empty() ? "" : ", ") + vxhost::kind_name(a.kind) + " block#" +
                std::to_string(a.serial) + " made by " + a.made_by;
    return text;
}

// The block a faulted free call was given ("&block#N", "block#N"): it
// stays outstanding by the fault's doing, not the add-in's. 0 for none.
int faulted_free_block(const vxhost::JournalEntry& entry)
{
    const std::string& name = entry.name;
    if (name.size() < 4 || name.compare(name.size() - 4, 4, "Free") != 0)
        return 0;
    const std::string args = entry.args();
    const std::size_t at = args.find("block#");
    return at == std::string::npos ? 0 : std::atoi(args.c_str() + at + 6);
}

// The outstanding blocks that are the add-in's to answer for: not the one
// whose free call was faulted, and no selection, which has no free call of
// its own and goes with the array or attachment that holds it.
std::vector<vxhost::Allocation> held(const Run& r, int excused)
{
    std::vector<vxhost::Allocation> blocks = r.host.outstanding();
    blocks.erase(std::remove_if(blocks.begin(), blocks.end(),
                                [excused](const vxhost::Allocation& a) {
                                    return a.serial == excused ||
                                           a.kind == vxhost::AllocKind::Selection;
                                }),
                 blocks.end());
    return blocks;
}

// Host errors that follow from a fault by the course the add-in is meant
// to take, not from a mistake of its own.
struct Consequence {
    const char* faulted;   // the call the fault was on
    const char* error;     // a piece of the host's error text
    bool unwritten_only = false;   // only when the call reported success
};

const Consequence consequences[] = {
    // The dialog commands examine no status of their dialog calls: once
    // the creation is refused, the host tells of each call on a dialog it
    // does not have.
    {"ProUIDialogCreate", ": no dialog "},
    // Without the history's size, a name list or the names set, the list
    // of the dialog ChangeWorkDirectory stays empty, and the user's
    // selection, made beforehand, names an item it lacks.
    {"ProArraySizeGet", "WorkDirList has no item"},
    {"ProArrayAlloc", "WorkDirList has no item"},
    {"ProUIListNamesSet", "WorkDirList has no item"},
    // Names reported set and not set (unwritten): the labels that follow
    // are for items the list does not have.
    {"ProUIListNamesSet", "label(s) for the 0 item(s) of WorkDirList", true},
};

bool excused_error(const Variant* v, const std::string& error)
{
    for (const Consequence& c : consequences)
        if (v && v->call == c.faulted && (v->unwritten || !c.unwritten_only) &&
            error.find(c.error) != std::string::npos)
            return true;
    return false;
}

void check_records(Run& r, const Variant* v, const char* when)
{
    for (const auto& e : r.host.ledger_errors())
        r.problems.push_back(std::string(when) + ": ledger error: " + e);
    for (const auto& e : r.host.errors())
        if (!excused_error(v, e))
            r.problems.push_back(std::string(when) + ": host error: " + e);
}

// The fault landed on the call it was meant for, and only there: the
// sweep's own check that a run repeats the recorded one.
int check_fault_landed(Run& r, const Variant& v, std::size_t mark)
{
    const auto& journal = r.host.journal();
    int excused = 0;
    std::size_t faulted = 0;
    for (std::size_t i = mark; i < journal.size(); ++i) {
        if (!journal[i].faulted)
            continue;
        ++faulted;
        if (i - mark != v.index || journal[i].name != v.call)
            r.problems.push_back("the fault landed on " + journal[i].name + " at call " +
                                 std::to_string(i - mark + 1));
        excused = faulted_free_block(journal[i]);
    }
    if (faulted != 1)
        r.problems.push_back(std::to_string(faulted) + " calls faulted, not 1");
    return excused;
}

// Runs the row, faulted as the variant says (none: the recording run),
// and gives the problems found and, through `calls`, the swept part's
// journal.
std::vector<std::string> run_row(const Row& row, const Variant* v,
                                 std::vector<vxhost::JournalEntry>* calls = nullptr)
{
    Run r;
    try {
        row.prepare(r);
        r.before = vxtest::snapshot(r.models());
        r.directory_before = r.host.working_directory();
        r.bin_from = r.host.recycle_bin().size();
        const std::size_t mark = r.journal_from = r.host.journal().size();
        if (v && v->unwritten)
            r.host.inject_unwritten(v->call, v->nth);
        else if (v)
            r.host.inject_fault(v->call, v->status, v->nth);
        row.act(r);
        r.host.clear_faults();
        if (calls)
            calls->assign(r.host.journal().begin() + static_cast<std::ptrdiff_t>(mark),
                          r.host.journal().end());
        const int excused = v ? check_fault_landed(r, *v, mark) : 0;
        check_records(r, v, "after the run");
        const auto blocks = held(r, excused);
        const auto count = [&blocks](vxhost::AllocKind kind) {
            return static_cast<std::size_t>(
                std::count_if(blocks.begin(), blocks.end(),
                              [kind](const vxhost::Allocation& a) { return a.kind == kind; }));
        };
        if (count(vxhost::AllocKind::Array) > 1 || count(vxhost::AllocKind::String) > 1 ||
            count(vxhost::AllocKind::Array) + count(vxhost::AllocKind::String) != blocks.size())
            r.problems.push_back("outstanding beyond the history and the tab copy: " +
                                 outstanding_text(blocks));
        if (row.check)
            row.check(r);
        r.host.unload();
        check_records(r, v, "after unload");
        if (!held(r, excused).empty())
            r.problems.push_back("outstanding after unload: " + outstanding_text(held(r, excused)));
#ifndef _WIN32
        // A timer left running would tick into a library that is gone;
        // only a faulted KillTimer excuses one.
        if (!r.host.timers().empty() && !(v && v->call == "KillTimer"))
            r.problems.push_back("a timer still set after unload");
#endif
    } catch (const std::exception& e) {
        r.problems.push_back(std::string("exception: ") + e.what());
    }
    return r.problems;
}

// Every fault of the recorded journal: each failing status, and unwritten.
std::vector<Variant> variants_of(const std::vector<vxhost::JournalEntry>& calls)
{
    std::vector<Variant> variants;
    std::map<std::string, int> seen;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const int nth = ++seen[calls[i].name];
        for (int status : vxhost::failing_statuses(calls[i].name))
            variants.push_back(Variant{i, calls[i].name, nth, false, status});
        variants.push_back(Variant{i, calls[i].name, nth, true, 0});
    }
    return variants;
}

// ---- running the variants ----

struct Outcome {
    std::string variant;
    std::string problems;   // empty: survived
};

#ifndef _WIN32

unsigned jobs()
{
    if (const char* text = std::getenv("VX_JOBS"))
        if (const int n = std::atoi(text); n > 0)
            return static_cast<unsigned>(n);
    return std::max(1u, std::thread::hardware_concurrency());
}

// In a child of its own: a crash there is a finding, not the end of the
// sweep. The child writes its problems to `report` and exits 1 if any.
[[noreturn]] void run_child(const Row& row, const Variant& v, const fs::path& report)
{
    alarm(120);   // a run that hangs is killed, and that is a finding too
    const auto problems = run_row(row, &v);
    {
        std::ofstream out(report, std::ios::binary);
        for (const auto& p : problems)
            out << p << '\n';
    }
#ifdef VX_LSAN
    __lsan_do_leak_check();   // exits with an error of its own on a leak
#endif
    _exit(problems.empty() ? 0 : 1);
}

std::string read_report(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string exit_text(int status)
{
    if (WIFSIGNALED(status))
        return "crashed: signal " + std::to_string(WTERMSIG(status));
    if (WIFEXITED(status) && WEXITSTATUS(status) != 1)
        return "exited with " + std::to_string(WEXITSTATUS(status)) + " (see the output above)";
    return {};
}

std::vector<Outcome> run_all(const Row& row, const std::vector<Variant>& variants)
{
    vxtest::TempDir reports;
    std::vector<Outcome> outcomes(variants.size());
    std::map<pid_t, std::size_t> running;
    std::size_t next = 0;
    const auto reap = [&] {
        int status = 0;
        const pid_t pid = waitpid(-1, &status, 0);
        if (pid <= 0)
            return;
        const std::size_t i = running.at(pid);
        running.erase(pid);
        outcomes[i].variant = variants[i].text();
        if (!(WIFEXITED(status) && WEXITSTATUS(status) == 0))
            outcomes[i].problems =
                read_report(reports.path() / std::to_string(i)) + exit_text(status);
    };
    const unsigned parallel = jobs();
    while (next < variants.size() || !running.empty()) {
        if (next < variants.size() && running.size() < parallel) {
            std::fflush(nullptr);   // nothing buffered is written twice
            const pid_t pid = fork();
            if (pid == 0)
                run_child(row, variants[next], reports.path() / std::to_string(next));
            if (pid < 0) {
                outcomes[next] = Outcome{variants[next].text(), "cannot fork"};
                ++next;
                continue;
            }
            running[pid] = next++;
            continue;
        }
        reap();
    }
    return outcomes;
}

#else

std::vector<Outcome> run_all(const Row& row, const std::vector<Variant>& variants)
{
    std::vector<Outcome> outcomes;
    for (const Variant& v : variants) {
        std::string problems;
        for (const auto& p : run_row(row, &v))
            problems += p + "\n";
        outcomes.push_back(Outcome{v.text(), problems});
    }
    return outcomes;
}

#endif

std::string label(const char* name)
{
    std::string text = name;
    for (char& c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return text;
}

class FaultSweep : public ::testing::TestWithParam<Row> {};

TEST_P(FaultSweep, EveryCallFailedInTurnLeavesNothingBroken)
{
    const Row& row = GetParam();
    const auto start = std::chrono::steady_clock::now();
    std::vector<vxhost::JournalEntry> calls;
    const auto recorded = run_row(row, nullptr, &calls);
    ASSERT_EQ(recorded, std::vector<std::string>{}) << "the run without faults";
    ASSERT_FALSE(calls.empty()) << "the row makes no host call";
    for (const auto& call : calls)
        ASSERT_FALSE(vxhost::failing_statuses(call.name).empty())
            << call.name << ": no failing statuses (host/src/toolkit/statuses.cpp)";

    const std::vector<Variant> variants = variants_of(calls);
    const std::vector<Outcome> outcomes = run_all(row, variants);
    std::size_t failed = 0;
    for (const Outcome& o : outcomes) {
        if (o.problems.empty())
            continue;
        if (++failed <= 20)
            ADD_FAILURE() << o.variant << ":\n" << o.problems;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "fault sweep, " << row.name << ": " << calls.size() << " calls, "
              << outcomes.size() << " runs, " << outcomes.size() - failed << " survived, "
              << seconds << " s" << std::endl;
    RecordProperty("runs", static_cast<int>(outcomes.size()));
    RecordProperty("survived", static_cast<int>(outcomes.size() - failed));
    EXPECT_EQ(failed, 0u) << "of " << outcomes.size() << " runs";
}

INSTANTIATE_TEST_SUITE_P(Rows, FaultSweep, ::testing::ValuesIn(rows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return label(info.param.name);
                         });

}  // namespace
