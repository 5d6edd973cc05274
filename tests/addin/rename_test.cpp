// Rename Model and Drawing: the current part or assembly takes the name
// typed at the prompt, the drawing of its former name the same, both are
// saved, and the working directory is the user's again at the end.
#include "addin_fixture.h"

#include <algorithm>

using vxtest::AddinTest;

namespace {

const char* const kButton = "QVX_MdlRenamemenu";

// The calls that change models, files or the working directory.
const std::vector<std::string> kChanges = {"ProMdlDataGet", "ProDirectoryChange", "ProMdlRename",
                                           "ProMdlSave", "ProMdlLoad"};

}  // namespace

class Rename : public AddinTest {
protected:
    Rename()
    {
        for (const char* file : {"bracket.prt.3", "bracket.drw.2", "gear.prt.1"})
            store("models", file);
        store("projects/pump", "pump.asm.1");
        store("projects/pump", "pump.drw.1");
        store("models", "pump.drw.5");   // the assembly's namesake in the working directory
    }

    // A stored version whose note is its own file name.
    void store(const std::string& folder, const std::string& file)
    {
        const auto id = vxhost::parse_model_file_name(file);
        host.store_model(u"D:\\" + folder_text(folder), id->name, id->type, id->version, file);
    }

    static std::u16string folder_text(std::string folder)
    {
        std::replace(folder.begin(), folder.end(), '/', '\\');
        return vxhost::to_utf16(folder) + u"\\";
    }

    // Opens the model, queues what the user types (none: Esc) and picks
    // the command.
    void rename(const std::string& name, int type, const std::u16string& folder,
                const std::optional<std::u16string>& typed)
    {
        if (!host.loaded())
            load();
        host.open_model(name, type, folder);
        typed ? host.type_entry(*typed) : host.abort_entry();
        mark = host.journal().size();
        ASSERT_TRUE(host.pick(kButton));
        EXPECT_EQ(host.last_action_status(), 0);
    }

    // The files of a folder, sorted.
    std::vector<std::string> files(const std::string& folder) const
    {
        std::vector<std::string> names;
        for (const auto& entry : vxtest::fs::directory_iterator(disk.path() / folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // "bracket.prt version 3", every model in session.
    std::vector<std::string> session() const
    {
        std::vector<std::string> models;
        for (const auto& m : host.session().models())
            models.push_back(vxhost::model_label(*m) + " version " + std::to_string(m->version));
        return models;
    }

    std::string note_of(const std::string& file) const
    {
        return vxhost::read_model_file(disk.path() / file).note;
    }

    // Only the prompt was shown, once a run: no notice, no other message.
    void expect_only_the_prompt(std::size_t runs) const
    {
        std::vector<std::string> shown;
        for (const auto& line : host.transcript())
            if (line.rfind("message", 0) == 0)
                shown.push_back(line);
        EXPECT_EQ(shown, std::vector<std::string>(runs, "message: Enter the new model name:"));
        EXPECT_TRUE(host.message_dialogs().empty());
    }

    // The part bracket as it was, on disk and in session; the working
    // directory and the history as at start-up; only the prompts shown.
    void expect_nothing_changed(std::size_t prompts) const
    {
        EXPECT_EQ(files("models"), (std::vector<std::string>{"bracket.drw.2", "bracket.prt.3",
                                                             "gear.prt.1", "pump.drw.5"}));
        EXPECT_EQ(session(), std::vector<std::string>{"bracket.prt version 3"});
        EXPECT_EQ(host.working_directory(), u"D:\\models\\");
        EXPECT_EQ(history(), std::vector<std::u16string>{u"D:\\models"});
        expect_only_the_prompt(prompts);
        expect_clean();
    }

    std::size_t mark = 0;
};

// The model and the drawing of its former name, in the model's own
// folder, take the new name and are saved there; the files of the former
// name stay; the working directory is the user's again. A drawing of that
// name in the working directory is not the one looked for.
TEST_F(Rename, TheModelAndItsDrawingAreRenamedAndSavedInTheModelsFolder)
{
    struct Case {
        std::string name;
        int type;
        std::string folder;
        std::vector<std::string> files;   // the folder's afterwards
        std::string typed;
        std::string drawing;              // the file the renamed drawing came from
        std::string model;                // the renamed model's label
    };
    const Case cases[] = {
        {"bracket", PRO_MDL_PART, "models",
         {"bracket.drw.2", "bracket.prt.3", "flange.drw.1", "flange.prt.1", "gear.prt.1",
          "pump.drw.5"},
         "flange", "bracket.drw.2", "flange.prt"},
        {"pump", PRO_MDL_ASSEMBLY, "projects/pump",
         {"impeller.asm.1", "impeller.drw.1", "pump.asm.1", "pump.drw.1"}, "impeller", "pump.drw.1",
         "impeller.asm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.close_all_windows();
        const std::u16string folder = u"D:\\" + folder_text(c.folder);
        rename(c.name, c.type, folder, vxhost::to_utf16(c.typed));

        std::vector<std::string> names;
        for (const auto& made : calls(kChanges, mark))
            names.push_back(made.substr(0, made.find('(')));
        EXPECT_EQ(names, (std::vector<std::string>{"ProMdlDataGet", "ProDirectoryChange", "ProMdlRename",
                                                   "ProMdlSave", "ProMdlLoad", "ProMdlRename",
                                                   "ProMdlSave", "ProDirectoryChange"}));
        EXPECT_EQ(calls({"ProDirectoryChange", "ProMdlLoad"}, mark),
                  (std::vector<std::string>{"ProDirectoryChange(\"" + vxhost::to_utf8(folder) + "\")",
                                            "ProMdlLoad(\"" + c.name + "\", 4, false)",
                                            "ProDirectoryChange(\"D:\\models\\\")"}));
        EXPECT_EQ(files(c.folder), c.files);
        EXPECT_EQ(note_of(c.folder + "/" + c.typed + ".drw.1"), c.drawing);
        EXPECT_EQ(host.working_directory(), u"D:\\models\\");
        const auto now = session();
        EXPECT_EQ(std::vector<std::string>(now.end() - 2, now.end()),
                  (std::vector<std::string>{c.model + " version 1", c.typed + ".drw version 1"}));
    }
    EXPECT_EQ(note_of("models/pump.drw.5"), "pump.drw.5");
    expect_only_the_prompt(2);
    EXPECT_EQ(host.outstanding().size(), 1u);   // the history, moved by what it was told
    expect_clean();
}

// Every call of a full run, in order, with its arguments.
TEST_F(Rename, AFullRunMakesItsCallsInOrder)
{
    load();
    host.open_model("bracket", PRO_MDL_PART);
    host.type_entry(u"flange");
    host.clear_journal();
    ASSERT_TRUE(host.pick(kButton));
    std::vector<std::string> made;
    for (const auto& e : host.journal())
        if (e.name != "ProMdlTypeGet" && e.name.rfind("ProArray", 0) != 0)
            made.push_back(e.name + "(" + e.args() + ")");
    // The availability's own look at the current model comes first.
    made.erase(made.begin(), std::find(made.begin(), made.end(), "ProDirectoryCurrentGet()") - 1);
    EXPECT_EQ(made, (std::vector<std::string>{
                        "ProMdlCurrentGet()",
                        "ProDirectoryCurrentGet()",
                        "ProMessageDisplay(\"Vexholm.txt\", \"QVX_Enter_New_Name\")",
                        "ProMessageStringRead(32)",
                        "ProMdlDataGet(model#1)",
                        "ProDirectoryChange(\"D:\\models\\\")",
                        "ProMdlRename(model#1, \"flange\")",
                        "ProMdlSave(model#1)",
                        "ProMdlLoad(\"bracket\", 4, false)",
                        "ProMdlRename(model#2, \"flange\")",
                        "ProMdlSave(model#2)",
                        "ProDirectoryChange(\"D:\\models\\\")",
                    }));
}

// Esc or Enter alone: the command ends; nothing but the prompt is shown.
TEST_F(Rename, AnAbortedOrEmptyEntryChangesNothing)
{
    const std::optional<std::u16string> entries[] = {std::nullopt, u""};
    for (const auto& typed : entries) {
        SCOPED_TRACE(typed ? "empty" : "aborted");
        rename("bracket", PRO_MDL_PART, u"D:\\models\\", typed);
        EXPECT_EQ(calls(kChanges, mark), std::vector<std::string>{});
        EXPECT_EQ(calls({"ProMessageStringRead"}, mark), std::vector<std::string>{"ProMessageStringRead(32)"});
    }
    expect_nothing_changed(2);
}

// No drawing of the former name: the model alone is renamed and saved,
// nothing is shown, and a drawing of the new name is not looked at.
TEST_F(Rename, WithoutADrawingTheModelAloneIsRenamed)
{
    store("models", "flange.drw.1");
    rename("gear", PRO_MDL_PART, u"D:\\models\\", u"flange");
    EXPECT_EQ(calls({"ProMdlLoad"}, mark), std::vector<std::string>{"ProMdlLoad(\"gear\", 4, false)"});
    EXPECT_EQ(calls({"ProMdlRename"}, mark).size(), 1u);
    EXPECT_EQ(files("models"), (std::vector<std::string>{"bracket.drw.2", "bracket.prt.3", "flange.drw.1",
                                                         "flange.prt.1", "gear.prt.1", "pump.drw.5"}));
    EXPECT_EQ(session(), std::vector<std::string>{"flange.prt version 1"});
    EXPECT_EQ(host.working_directory(), u"D:\\models\\");
    expect_only_the_prompt(1);
    expect_clean();
}

// A name the host refuses: the model is saved under its former name, the
// drawing is neither loaded nor renamed nor saved, on disk or in session,
// and the working directory is set back.
TEST_F(Rename, ARefusedNameSavesTheModelAndLeavesItsDrawingAlone)
{
    struct Case {
        const char* why;
        std::u16string typed;
        bool drawing_in_session;
    };
    const Case cases[] = {
        {"stored in the model's folder", u"gear", false},
        {"not a model name", u"a/b", false},
        {"stored there in another case", u"GEAR", true},
        {"a model of that name in session", u"shaft", true},
    };
    load();
    host.open_model("shaft", PRO_MDL_PART, u"D:\\projects\\");   // model#1; the part is model#2
    int version = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        host.close_all_windows();
        if (c.drawing_in_session)
            host.open_model("bracket", PRO_MDL_DRAWING);
        rename("bracket", PRO_MDL_PART, u"D:\\models\\", c.typed);
        EXPECT_EQ(calls({"ProMdlRename", "ProMdlSave", "ProMdlLoad"}, mark),
                  (std::vector<std::string>{"ProMdlRename(model#2, \"" + vxhost::to_utf8(c.typed) + "\")",
                                            "ProMdlSave(model#2)"}));
        for (std::size_t i = mark; i < host.journal().size(); ++i)
            if (host.journal()[i].name == "ProMdlRename") {
                EXPECT_NE(host.journal()[i].status, PRO_TK_NO_ERROR);
            }
        EXPECT_TRUE(vxtest::fs::exists(disk.path() / "models" / ("bracket.prt." + std::to_string(++version))));
        const auto now = session();
        EXPECT_EQ(std::count(now.begin(), now.end(), "bracket.drw version 2"), c.drawing_in_session ? 1 : 0);
        EXPECT_EQ(now.size(), c.drawing_in_session ? 3u : 2u);
        EXPECT_EQ(host.working_directory(), u"D:\\models\\");
    }
    EXPECT_EQ(files("models"), (std::vector<std::string>{"bracket.drw.2", "bracket.prt.3", "bracket.prt.4",
                                                         "bracket.prt.5", "bracket.prt.6", "bracket.prt.7",
                                                         "gear.prt.1", "pump.drw.5"}));
    expect_only_the_prompt(4);
    expect_clean();
}

// The host refuses the model's folder as the working directory: the
// model is still renamed and saved in its own folder, but its drawing is
// not looked for, so that the drawing of that name in the user's own
// folder is never taken for the model's.
TEST_F(Rename, AFolderTheHostWillNotChangeToLeavesTheDrawingAlone)
{
    load();
    host.inject_fault("ProDirectoryChange", PRO_TK_INVALID_DIR, 1);
    rename("pump", PRO_MDL_ASSEMBLY, u"D:\\projects\\pump\\", u"impeller");
    EXPECT_EQ(calls(kChanges, mark),
              (std::vector<std::string>{"ProMdlDataGet(model#1)",
                                        "ProDirectoryChange(\"D:\\projects\\pump\\\")",
                                        "ProMdlRename(model#1, \"impeller\")", "ProMdlSave(model#1)",
                                        "ProDirectoryChange(\"D:\\models\\\")"}));
    EXPECT_EQ(files("models"), (std::vector<std::string>{"bracket.drw.2", "bracket.prt.3", "gear.prt.1",
                                                         "pump.drw.5"}));
    EXPECT_EQ(files("projects/pump"),
              (std::vector<std::string>{"impeller.asm.1", "pump.asm.1", "pump.drw.1"}));
    EXPECT_EQ(session(), std::vector<std::string>{"impeller.asm version 1"});
    EXPECT_EQ(host.working_directory(), u"D:\\models\\");
    expect_only_the_prompt(1);
    expect_clean();
}

// The history takes what the host reports of the command's two directory
// changes, as the host words it, and nothing of the command's own.
TEST_F(Rename, TheHistoryGrowsOnlyByWhatTheHostReports)
{
    struct Case {
        bool reported;   // the directory-change notification is set
        const char16_t* typed;
        std::vector<std::u16string> history;
    };
    const Case cases[] = {
        {true, u"impeller", {u"D:\\models", u"D:\\projects\\pump\\", u"D:\\models\\"}},
        {false, u"rotor", {u"D:\\models"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reported);
        host.unload();
        host.clear_faults();
        if (!c.reported)
            host.inject_fault("ProNotificationSet", PRO_TK_GENERAL_ERROR, 0, "23");
        rename("pump", PRO_MDL_ASSEMBLY, u"D:\\projects\\pump\\", c.typed);
        EXPECT_EQ(calls({"ProDirectoryChange"}, mark).size(), 2u);
        EXPECT_EQ(history(), c.history);
    }
    expect_clean();
}

// Without the current model, the directory to return to, a name or the
// model's record the command ends before it changes anything.
TEST_F(Rename, WhatTheHostCannotGiveEndsTheCommandBeforeAnyChange)
{
    struct Case {
        const char* call;
        bool unwritten;   // status 0, nothing written
        bool prompted;
    };
    const Case cases[] = {
        {"ProMdlCurrentGet", false, false},
        {"ProMdlCurrentGet", true, false},
        {"ProDirectoryCurrentGet", false, false},
        {"ProDirectoryCurrentGet", true, false},
        {"ProMdlDataGet", false, true},
        {"ProMdlDataGet", true, true},
        {"ProMessageStringRead", true, true},   // a name reported, none written
    };
    load();
    host.open_model("bracket", PRO_MDL_PART);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.call) + (c.unwritten ? " unwritten" : ""));
        // The availability asks for the current model too: fault only the
        // command's own call.
        const std::size_t before = host.count(c.call);
        host.availability(kButton);
        const int nth = static_cast<int>(host.count(c.call) - before) + 1;
        inject(c.call, c.unwritten, nth);
        if (c.prompted)
            host.type_entry(u"flange");
        mark = host.journal().size();
        ASSERT_TRUE(host.pick(kButton));
        host.clear_faults();
        EXPECT_EQ(calls({"ProDirectoryChange", "ProMdlRename", "ProMdlSave", "ProMdlLoad"}, mark),
                  std::vector<std::string>{});
        EXPECT_EQ(calls({"ProMessageDisplay"}, mark).size(), c.prompted ? 1u : 0u);
    }
    expect_nothing_changed(3);
}
