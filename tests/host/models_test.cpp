// Models by name and their windows, called as the add-in calls them, and
// the scenario steps that store, open and list them.
#include <gtest/gtest.h>

#include <sstream>

#include "fixtures.h"
#include "host/host.h"
#include "host/scenario.h"

using namespace vxhost;

class ModelsByName : public ::testing::Test {
protected:
    ModelsByName()
    {
        disk.folder("work");
        host.map_drive('D', disk.path());
        host.set_working_directory(u"D:\\work\\");
    }

    vxtest::TempDir disk;
    Host host;
    decltype(&::ProMdlLoad) mdl_load = host.entry<decltype(&::ProMdlLoad)>("ProMdlLoad");
    decltype(&::ProMdlNameGet) name_get = host.entry<decltype(&::ProMdlNameGet)>("ProMdlNameGet");
    decltype(&::ProMdlDisplay) display = host.entry<decltype(&::ProMdlDisplay)>("ProMdlDisplay");
    decltype(&::ProObjectwindowCreate) window_create =
        host.entry<decltype(&::ProObjectwindowCreate)>("ProObjectwindowCreate");
    decltype(&::ProWindowActivate) activate =
        host.entry<decltype(&::ProWindowActivate)>("ProWindowActivate");
    decltype(&::ProMdlSave) save = host.entry<decltype(&::ProMdlSave)>("ProMdlSave");
    decltype(&::ProMdlRename) rename = host.entry<decltype(&::ProMdlRename)>("ProMdlRename");
};

// A save writes the next version after the newest one stored in the
// model's own folder, whatever the working directory, and never
// overwrites; a model never stored starts at version 1.
TEST_F(ModelsByName, SaveWritesTheNextVersionIntoTheModelsFolder)
{
    disk.folder("parts");
    host.store_model(u"D:\\parts\\", "bracket", PRO_MDL_PART, 3, "three");
    host.store_model(u"D:\\parts\\", "bracket", PRO_MDL_PART, 1);
    const ProMdl part = host.open_model("bracket", PRO_MDL_PART, u"D:\\parts\\");
    const ProMdl fresh = host.open_model("shaft", PRO_MDL_PART);
    const ProMdl odd = host.open_model("odd", 3);

    ASSERT_EQ(save(part), PRO_TK_NO_ERROR);
    ASSERT_EQ(save(part), PRO_TK_NO_ERROR);
    ASSERT_EQ(save(fresh), PRO_TK_NO_ERROR);
    EXPECT_EQ(save(odd), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(save(nullptr), PRO_TK_BAD_INPUTS);

    EXPECT_EQ(host.session().find(part)->version, 5);
    EXPECT_EQ(read_model_file(disk.path() / "parts" / "bracket.prt.5").note, "three");
    EXPECT_TRUE(fs::exists(disk.path() / "parts" / "bracket.prt.4"));
    EXPECT_EQ(read_model_file(disk.path() / "work" / "shaft.prt.1").type, PRO_MDL_PART);
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(ModelsByName, LoadReadsTheNewestVersionOnceAndWritesOnlyOnSuccess)
{
    host.store_model(u"D:\\work\\", "Bracket", PRO_MDL_DRAWING, 2, "two");
    host.store_model(u"D:\\work\\", "Bracket", PRO_MDL_DRAWING, 3, "three");
    host.store_model(u"D:\\work\\", "Bracket", PRO_MDL_PART, 7);

    ProMdl drawing = nullptr;
    ASSERT_EQ(mdl_load(u"bracket", PRO_MDL_DRAWING, PRO_B_FALSE, &drawing), PRO_TK_NO_ERROR);
    const Model* model = host.session().find(drawing);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->name, "Bracket");       // as spelled on disk
    EXPECT_EQ(model->version, 3);
    EXPECT_EQ(model->document.note, "three");
    EXPECT_EQ(model->folder, u"D:\\work\\");
    EXPECT_TRUE(host.session().windows().empty());   // loading opens no window

    // In session now: the same model whatever the case, the file unread.
    fs::remove(disk.path() / "work" / "Bracket.drw.3");
    ProMdl again = nullptr;
    ASSERT_EQ(mdl_load(u"BRACKET", PRO_MDL_DRAWING, PRO_B_TRUE, &again), PRO_TK_NO_ERROR);
    EXPECT_EQ(again, drawing);

    ProMdl part = nullptr;
    ASSERT_EQ(mdl_load(u"bracket", PRO_MDL_PART, PRO_B_FALSE, &part), PRO_TK_NO_ERROR);
    EXPECT_NE(part, drawing);
    EXPECT_EQ(host.session().find(part)->version, 7);

    ProMdl untouched = drawing;
    EXPECT_EQ(mdl_load(u"bracket", PRO_MDL_ASSEMBLY, PRO_B_FALSE, &untouched), PRO_TK_E_NOT_FOUND);
    EXPECT_EQ(mdl_load(u"shaft", PRO_MDL_DRAWING, PRO_B_FALSE, &untouched), PRO_TK_E_NOT_FOUND);
    EXPECT_EQ(untouched, drawing);
    EXPECT_EQ(host.session().models().size(), 2u);
    EXPECT_TRUE(host.errors().empty());
}

// Malformed text, and text the JSON reader fails on in other ways (a
// number beyond a double), alike: the file named, the load failed.
TEST_F(ModelsByName, AnUnreadableNewestVersionFailsTheLoadWithAnError)
{
    disk.write("work/plate.drw.1", R"({"type": "drawing"})");
    for (const char* text : {"garbage", R"({"type": "drawing", "x": 1e400})"}) {
        SCOPED_TRACE(text);
        const std::size_t before = host.errors().size();
        disk.write("work/plate.drw.2", text);
        ProMdl model = nullptr;
        EXPECT_EQ(mdl_load(u"plate", PRO_MDL_DRAWING, PRO_B_FALSE, &model), PRO_TK_INVALID_FILE);
        EXPECT_EQ(model, nullptr);
        EXPECT_TRUE(host.session().models().empty());
        ASSERT_EQ(host.errors().size(), before + 1);
        EXPECT_NE(host.errors()[before].find("plate.drw.2: not JSON"), std::string::npos)
            << host.errors()[before];
        int window = -1;
        EXPECT_EQ(window_create(u"plate", PRO_MDL_DRAWING, &window), PRO_TK_INVALID_FILE);
        EXPECT_EQ(window, -1);
    }
}

TEST_F(ModelsByName, BadNamesTypesAndOutputsAreBadInputs)
{
    host.store_model(u"D:\\work\\", "bracket", PRO_MDL_DRAWING, 1);
    ProName unterminated;
    for (ProWchar& c : unterminated)
        c = u'b';
    ProName longest{};
    for (int i = 0; i < PRO_NAME_SIZE - 1; ++i)
        longest[i] = u'b';
    struct Case {
        const char* why;
        const ProWchar* name;
        int type;
        bool out;
    };
    const Case cases[] = {
        {"no name", nullptr, PRO_MDL_DRAWING, true},
        {"empty name", u"", PRO_MDL_DRAWING, true},
        {"not terminated in 32 units", unterminated, PRO_MDL_DRAWING, true},
        {"a folder in the name", u"..\\work\\bracket", PRO_MDL_DRAWING, true},
        {"a wildcard", u"brack*", PRO_MDL_DRAWING, true},
        {"a type without files", u"bracket", 3, true},
        {"no output", u"bracket", PRO_MDL_DRAWING, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ProMdl model = nullptr;
        int window = -1;
        EXPECT_EQ(mdl_load(c.name, c.type, PRO_B_FALSE, c.out ? &model : nullptr), PRO_TK_BAD_INPUTS);
        EXPECT_EQ(window_create(c.name, c.type, c.out ? &window : nullptr), PRO_TK_BAD_INPUTS);
        EXPECT_EQ(model, nullptr);
        EXPECT_EQ(window, -1);
    }
    // 31 units and a terminator is the longest name: looked for, not refused.
    ProMdl model = nullptr;
    EXPECT_EQ(mdl_load(longest, PRO_MDL_DRAWING, PRO_B_FALSE, &model), PRO_TK_E_NOT_FOUND);
    EXPECT_TRUE(host.session().models().empty());
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(ModelsByName, NameGetGivesTheNameWithoutExtension)
{
    const std::string longest(PRO_NAME_SIZE - 1, 'n');
    const ProMdl model = host.open_model(longest, PRO_MDL_PART);
    ProName name;
    for (ProWchar& c : name)
        c = u'?';
    ASSERT_EQ(name_get(model, name), PRO_TK_NO_ERROR);
    EXPECT_EQ(std::u16string(name), to_utf16(longest));
    const ProMdl chinese = host.open_model("支架", PRO_MDL_ASSEMBLY);
    ASSERT_EQ(name_get(chinese, name), PRO_TK_NO_ERROR);
    EXPECT_EQ(std::u16string(name), u"支架");

    int stranger = 0;
    EXPECT_EQ(name_get(reinterpret_cast<ProMdl>(&stranger), name), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(name_get(model, nullptr), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(std::u16string(name), u"支架");
}

// A window opens inactive and empty; displaying draws the model in it and
// activating it makes its model the current one.
TEST_F(ModelsByName, WindowsOpenDrawAndActivate)
{
    host.store_model(u"D:\\work\\", "bracket", PRO_MDL_DRAWING, 1);
    const ProMdl part = host.open_model("bracket", PRO_MDL_PART);
    const int part_window = host.session().active();

    int window = -1;
    ASSERT_EQ(window_create(u"Bracket", PRO_MDL_DRAWING, &window), PRO_TK_NO_ERROR);
    ASSERT_NE(window, part_window);
    const Window* opened = host.session().windows().data() + 1;
    EXPECT_EQ(opened->id, window);
    EXPECT_FALSE(opened->shown);
    EXPECT_EQ(host.current_model(), host.session().find(part));

    int same = -1;
    ASSERT_EQ(window_create(u"bracket", PRO_MDL_DRAWING, &same), PRO_TK_NO_ERROR);
    EXPECT_EQ(same, window);
    EXPECT_EQ(host.session().windows().size(), 2u);

    ProMdl drawing = nullptr;
    ASSERT_EQ(mdl_load(u"bracket", PRO_MDL_DRAWING, PRO_B_FALSE, &drawing), PRO_TK_NO_ERROR);
    ASSERT_EQ(display(drawing), PRO_TK_NO_ERROR);
    EXPECT_TRUE(host.session().windows()[1].shown);
    EXPECT_EQ(host.session().active(), part_window);

    ASSERT_EQ(activate(window), PRO_TK_NO_ERROR);
    EXPECT_EQ(host.current_model(), host.session().find(drawing));
    for (int unknown : {0, -1, window + 1}) {
        EXPECT_EQ(activate(unknown), PRO_TK_BAD_INPUTS) << unknown;
        EXPECT_EQ(host.session().active(), window);
    }
    host.close_all_windows();
    EXPECT_EQ(activate(window), PRO_TK_BAD_INPUTS);

    // No drawing of that name: no window.
    int none = -1;
    EXPECT_EQ(window_create(u"shaft", PRO_MDL_DRAWING, &none), PRO_TK_E_NOT_FOUND);
    EXPECT_EQ(none, -1);
    EXPECT_TRUE(host.session().windows().empty());

    // Displayed with no window of its own, a model gets one, active.
    ASSERT_EQ(display(drawing), PRO_TK_NO_ERROR);
    ASSERT_EQ(host.session().windows().size(), 1u);
    EXPECT_TRUE(host.session().windows()[0].shown);
    EXPECT_EQ(host.current_model(), host.session().find(drawing));
    int stranger = 0;
    EXPECT_EQ(display(reinterpret_cast<ProMdl>(&stranger)), PRO_TK_BAD_INPUTS);
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(ModelsByName, OpeningReadsTheNewestVersionOfTheFolderGiven)
{
    disk.write("parts/shaft.prt.4", R"({"type": "part", "note": "four"})");
    host.open_model("SHAFT", PRO_MDL_PART, u"D:\\parts");
    ASSERT_NE(host.current_model(), nullptr);
    EXPECT_EQ(host.current_model()->version, 4);
    EXPECT_EQ(host.current_model()->folder, u"D:\\parts\\");
    // Not on disk: made in session, as before files existed.
    host.open_model("new", PRO_MDL_PART);
    EXPECT_EQ(host.current_model()->version, 0);
    EXPECT_EQ(host.current_model()->folder, u"D:\\work\\");
    disk.write("work/bad.asm.1", "{");
    EXPECT_THROW(host.open_model("bad", PRO_MDL_ASSEMBLY), HostError);
    EXPECT_THROW(host.store_model(u"D:\\parts\\", "shaft", PRO_MDL_PART, 4), HostError);
    EXPECT_THROW(host.store_model(u"Q:\\", "shaft", PRO_MDL_PART, 1), HostError);
    EXPECT_THROW(host.store_model(u"D:\\", "a/b", PRO_MDL_PART, 1), HostError);
    EXPECT_EQ(host.current_model()->name, "new");
}

// A rename is made in session only: the files of the former name stay
// where they are, and the next save starts the new name at version 1 in
// the model's folder, not in the working directory.
TEST_F(ModelsByName, RenameChangesTheSessionAndTheNextSaveWritesTheNewName)
{
    host.store_model(u"D:\\parts\\", "bracket", PRO_MDL_PART, 2, "two");
    const ProMdl part = host.open_model("bracket", PRO_MDL_PART, u"D:\\parts\\");
    ASSERT_EQ(rename(part, u"flange"), PRO_TK_NO_ERROR);
    const Model& model = *host.session().find(part);
    EXPECT_EQ(model.name, "flange");
    EXPECT_EQ(model.version, 0);
    EXPECT_TRUE(fs::exists(disk.path() / "parts" / "bracket.prt.2"));
    EXPECT_FALSE(fs::exists(disk.path() / "parts" / "flange.prt.1"));
    EXPECT_EQ(host.transcript().back(), "renamed bracket.prt to flange.prt in session");

    ASSERT_EQ(save(part), PRO_TK_NO_ERROR);
    EXPECT_EQ(read_model_file(disk.path() / "parts" / "flange.prt.1").note, "two");
    EXPECT_EQ(model.version, 1);
    EXPECT_EQ(fs::directory_iterator(disk.path() / "work"), fs::directory_iterator());
    // The former name is free again in session: a load reads its file.
    host.set_working_directory(u"D:\\parts\\");
    ProMdl former = nullptr;
    ASSERT_EQ(mdl_load(u"bracket", PRO_MDL_PART, PRO_B_FALSE, &former), PRO_TK_NO_ERROR);
    EXPECT_NE(former, part);
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(ModelsByName, RenameRefusesATakenNameOrNoModelsName)
{
    host.store_model(u"D:\\parts\\", "Gear", PRO_MDL_PART, 1);
    host.store_model(u"D:\\work\\", "shaft", PRO_MDL_PART, 1);       // not the model's folder
    host.store_model(u"D:\\parts\\", "plate", PRO_MDL_DRAWING, 1);   // not its type
    const ProMdl part = host.open_model("bracket", PRO_MDL_PART, u"D:\\parts\\");
    host.open_model("frame", PRO_MDL_PART, u"D:\\elsewhere\\");
    host.open_model("hub", PRO_MDL_ASSEMBLY, u"D:\\parts\\");
    ProName unterminated;
    for (ProWchar& c : unterminated)
        c = u'n';
    struct Case {
        const char16_t* name;
        ProError status;
    };
    const Case refused[] = {
        {u"gear", PRO_TK_E_FOUND},      // stored in its folder, any case
        {u"FRAME", PRO_TK_E_FOUND},     // in session, wherever it lies
        {u"Bracket", PRO_TK_E_FOUND},   // its own name
        {u"", PRO_TK_INVALID_NAME},
        {u"a\\b", PRO_TK_INVALID_NAME},
        {u"what?", PRO_TK_INVALID_NAME},
        {unterminated, PRO_TK_BAD_INPUTS},
        {nullptr, PRO_TK_BAD_INPUTS},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.status);
        EXPECT_EQ(rename(part, c.name), c.status);
        EXPECT_EQ(host.session().find(part)->name, "bracket");
    }
    EXPECT_EQ(host.transcript().back(), "rename bracket.prt to \"what?\": refused, not a model name");
    int stranger = 0;
    EXPECT_EQ(rename(reinterpret_cast<ProMdl>(&stranger), u"x"), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(rename(host.open_model("odd", 3), u"x"), PRO_TK_BAD_INPUTS);
    // Taken elsewhere or by another type is no hindrance.
    for (const char16_t* free : {u"shaft", u"plate", u"hub"})
        EXPECT_EQ(rename(part, free), PRO_TK_NO_ERROR) << to_utf8(free);
    EXPECT_TRUE(host.errors().empty());
}

class ModelSteps : public ::testing::Test {
protected:
    int run(const std::string& text)
    {
        out.str("");
        err.str("");
        return run_scenario_text(host, dir.path() / "protk.dat", text, dir.path() / "m.scn", out, err);
    }

    vxtest::TempDir dir;
    Host host;
    std::ostringstream out, err;
};

TEST_F(ModelSteps, StoreOpenAnswerAndList)
{
    dir.folder("d/work");
    const int status = run("drive D d\n"
                           "workdir D:\\work\\\n"
                           "store drawing bracket D:\\work\\ 1,2,10\n"
                           "store part bracket \"\" 3\n"
                           "open part bracket\n"
                           "open drawing bracket D:\\work\\\n"
                           "answer Cancel\n"
                           "answer 4\n"
                           "windows\n"
                           "models\n");
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_EQ(out.str(), "stored bracket.drw.1 in D:\\work\\\n"
                         "stored bracket.drw.2 in D:\\work\\\n"
                         "stored bracket.drw.10 in D:\\work\\\n"
                         "stored bracket.prt.3 in D:\\work\\\n"
                         "open bracket PRT in D:\\work\\ (version 3)\n"
                         "open bracket DRW in D:\\work\\ (version 10)\n"
                         "windows: 2\n"
                         "  window 1: bracket.prt version 3\n"
                         "  window 2: bracket.drw version 10, active\n"
                         "models in session: 2\n"
                         "  bracket.prt version 3 from D:\\work\\\n"
                         "  bracket.drw version 10 from D:\\work\\\n");
    EXPECT_TRUE(fs::exists(dir.path() / "d" / "work" / "bracket.drw.10"));
}

TEST_F(ModelSteps, BadStepsStopWithAMessage)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"open part\n", "m.scn:2: open takes 2 to 3 argument(s), not 1"},
        {"store part a D:\\ 1,x\n", "m.scn:2: a version is a number from 1, not x"},
        {"store part b D:\\ 0\n", "m.scn:2: a version is a number from 1, not 0"},
        {"store part c Q:\\ 1\n", "m.scn:2: not a folder of a mapped drive: Q:\\"},
        {"store part d D:\\ 1\nstore part d D:\\ 1\n", "m.scn:3: "},
        {"store part a/b D:\\ 1\n", "m.scn:2: not a model name: a/b"},
        {"answer Maybe\n", "m.scn:2: answer takes OK, Cancel or a button code, not Maybe"},
    };
    dir.folder("d");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(run(std::string("drive D d\n") + c.text), 2);
        EXPECT_EQ(err.str().rfind((dir.path() / c.error).string(), 0), 0u) << err.str();
        if (std::string(c.text).find("part d") != std::string::npos) {
            EXPECT_NE(err.str().find("d.prt.1: already exists"), std::string::npos) << err.str();
        }
    }
}
