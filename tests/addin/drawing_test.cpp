// Open Drawing of the Same Name, over stored versions in the throw-away
// drive D: (working directory D:\models\).
#include "addin_fixture.h"

using vxtest::AddinTest;

namespace {

const char* const button = "QVX_OpenSamenameDrwmenu";
const char* const notice = "当前工作目录下未发现同名工程图";

// The window and model calls the command makes, from a journal entry on.
const std::vector<std::string> window_calls = {"ProMdlLoad", "ProObjectwindowCreate",
                                               "ProMdlDisplay", "ProWindowActivate"};

}  // namespace

class OpenDrawing : public AddinTest {
protected:
    // Opens the model in a window of its own, then picks the command.
    void pick_for(const std::string& name, int type, const std::u16string& folder = u"D:\\models\\")
    {
        host.open_model(name, type, folder);
        mark = host.journal().size();
        ASSERT_TRUE(host.pick(button));
    }

    std::size_t mark = 0;
};

TEST_F(OpenDrawing, ThePartsOrAssemblysDrawingOpensInItsOwnActiveWindow)
{
    struct Case {
        int type;
        std::string name;
    };
    const Case cases[] = {
        {PRO_MDL_PART, "bracket"},
        {PRO_MDL_ASSEMBLY, "pump"},
        {PRO_MDL_PART, std::string(PRO_NAME_SIZE - 1, 'x')},   // fills the name buffer
        {PRO_MDL_ASSEMBLY, "泵体"},
    };
    load();
    host.switch_tab("Model");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.store_model(u"D:\\models\\", c.name, c.type, 1);
        host.store_model(u"D:\\models\\", c.name, PRO_MDL_DRAWING, 1, "the drawing");
        host.close_all_windows();
        pick_for(c.name, c.type);

        const std::string quoted = "\"" + c.name + "\"";
        const auto made = calls(window_calls, mark);
        ASSERT_EQ(made.size(), 4u);
        EXPECT_EQ(made[0], "ProMdlLoad(" + quoted + ", 4, false)");
        EXPECT_EQ(made[1], "ProObjectwindowCreate(" + quoted + ", 4)");

        const vxhost::Session& session = host.session();
        ASSERT_EQ(session.windows().size(), 2u);
        const vxhost::Window& mine = session.windows()[0];
        const vxhost::Window& drawing = session.windows()[1];
        EXPECT_EQ(mine.model->type, c.type);
        EXPECT_EQ(drawing.model->type, PRO_MDL_DRAWING);
        EXPECT_EQ(drawing.model->name, c.name);
        EXPECT_EQ(drawing.model->document.note, "the drawing");
        EXPECT_TRUE(drawing.shown);
        EXPECT_EQ(made[3], "ProWindowActivate(" + std::to_string(drawing.id) + ")");
        EXPECT_EQ(session.active(), drawing.id);
        EXPECT_EQ(host.current_model(), drawing.model);
        for (std::size_t i = mark; i < host.journal().size(); ++i)
            EXPECT_EQ(host.journal()[i].status, PRO_TK_NO_ERROR) << host.journal()[i].name;
    }
    EXPECT_TRUE(host.message_dialogs().empty());
    EXPECT_EQ(outstanding(), (std::vector<std::string>{"array ProArrayAlloc", "string ProStringCopy"}));
    expect_clean();
}

// Whatever keeps the host from loading the drawing, the user gets one
// notice and nothing opens or comes into session.
TEST_F(OpenDrawing, WithoutALoadableDrawingOneNoticeAndNothingOpens)
{
    struct Case {
        const char* why;
        std::string name;
        std::u16string folder;   // of the part
        int errors;              // host errors the case records
    };
    const Case cases[] = {
        {"no drawing of that name", "shaft", u"D:\\models\\", 0},
        {"only beside the part, not in the working directory", "bolt", u"D:\\parts\\", 0},
        {"its newest version is unreadable", "plate", u"D:\\models\\", 1},
        {"the host refuses the load", "nut", u"D:\\models\\", 0},
        {"the host reports the load but gives no drawing", "pin", u"D:\\models\\", 0},
    };
    disk.write("models/shaft.drw", R"({"type":"drawing"})");             // no version number
    disk.write("models/shaft.drw.x", R"({"type":"drawing"})");
    disk.write("models/shaft.prt.1", R"({"type":"part"})");
    disk.write("parts/bolt.drw.1", R"({"type":"drawing"})");
    disk.write("models/plate.drw.1", R"({"type":"drawing"})");
    disk.write("models/plate.drw.2", R"({"type":"drawing")");            // cut short
    disk.write("models/nut.drw.1", R"({"type":"drawing"})");
    disk.write("models/pin.drw.1", R"({"type":"drawing"})");
    host.inject_fault("ProMdlLoad", PRO_TK_GENERAL_ERROR, 0, "\"nut\"");
    host.inject_unwritten("ProMdlLoad", 0, "\"pin\"");
    load();
    int errors = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        host.close_all_windows();
        const std::size_t dialogs = host.message_dialogs().size();
        const std::size_t models = host.session().models().size();
        host.answer_dialog(PRO_UI_MESSAGE_OK);
        pick_for(c.name, PRO_MDL_PART, c.folder);

        EXPECT_EQ(calls(window_calls, mark),
                  std::vector<std::string>{"ProMdlLoad(\"" + c.name + "\", 4, false)"});
        ASSERT_EQ(host.message_dialogs().size(), dialogs + 1);
        const vxhost::MessageDialog& d = host.message_dialogs().back();
        EXPECT_EQ(d.title, "提示");
        EXPECT_EQ(d.text, notice);
        EXPECT_EQ(d.buttons, std::vector<int>{PRO_UI_MESSAGE_OK});
        EXPECT_EQ(d.default_button, PRO_UI_MESSAGE_OK);
        EXPECT_EQ(d.chosen, PRO_UI_MESSAGE_OK);
        EXPECT_EQ(host.session().windows().size(), 1u);
        EXPECT_EQ(host.session().models().size(), models + 1);    // the part alone
        EXPECT_EQ(host.current_model()->name, c.name);
        errors += c.errors;
        EXPECT_EQ(host.errors().size(), static_cast<std::size_t>(errors));
        EXPECT_EQ(outstanding(), std::vector<std::string>{"array ProArrayAlloc"});
    }
    EXPECT_EQ(host.ledger_errors(), std::vector<std::string>{});
}

TEST_F(OpenDrawing, TheNewestVersionIsLoadedByNumberNotByText)
{
    for (int version : {1, 2, 10})
        host.store_model(u"D:\\models\\", "bracket", PRO_MDL_DRAWING, version,
                         "version " + std::to_string(version));
    load();
    pick_for("bracket", PRO_MDL_PART);
    ASSERT_NE(host.current_model(), nullptr);
    EXPECT_EQ(host.current_model()->type, PRO_MDL_DRAWING);
    EXPECT_EQ(host.current_model()->version, 10);
    EXPECT_EQ(host.current_model()->document.note, "version 10");
    expect_clean();
}

// A drawing that is in session already is used as it is, wherever it
// came from, and one that has a window keeps it.
TEST_F(OpenDrawing, ADrawingInSessionIsShownInTheWindowItHas)
{
    disk.write("elsewhere/bracket.drw.4", R"({"type":"drawing"})");
    load();
    host.open_model("bracket", PRO_MDL_DRAWING, u"D:\\elsewhere\\");
    pick_for("bracket", PRO_MDL_PART);
    const vxhost::Session& session = host.session();
    ASSERT_EQ(session.windows().size(), 2u);
    EXPECT_EQ(session.active(), session.windows()[0].id);
    EXPECT_EQ(host.current_model()->version, 4);
    EXPECT_TRUE(host.message_dialogs().empty());
    expect_clean();
}

// Should the host not give the current model or its name after all, the
// command stops: nothing is loaded and no notice is shown. A call that
// reports success without writing gives nothing either, and what was in
// the variable before is never passed on.
TEST_F(OpenDrawing, WithoutTheCurrentModelOrItsNameNothingHappens)
{
    host.store_model(u"D:\\models\\", "bracket", PRO_MDL_DRAWING, 1);
    load();
    host.open_model("bracket", PRO_MDL_PART);
    const std::pair<const char*, bool> cases[] = {
        {"ProMdlCurrentGet", false}, {"ProMdlNameGet", false},
        {"ProMdlCurrentGet", true},  {"ProMdlNameGet", true},
    };
    for (const auto& [failing, unwritten] : cases) {
        SCOPED_TRACE(std::string(failing) + (unwritten ? " unwritten" : " failing"));
        // The availability check asks for the current model too: fail
        // only the command's own call.
        const std::size_t before = host.count(failing);
        host.availability(button);
        const int nth = static_cast<int>(host.count(failing) - before) + 1;
        inject(failing, unwritten, nth);
        mark = host.journal().size();
        ASSERT_TRUE(host.pick(button));
        host.clear_faults();

        EXPECT_TRUE(host.journal().back().faulted);
        EXPECT_EQ(host.journal().back().name, failing);
        EXPECT_EQ(calls(window_calls, mark), std::vector<std::string>{});
        EXPECT_TRUE(host.message_dialogs().empty());
        EXPECT_EQ(host.session().models().size(), 1u);
    }
    EXPECT_EQ(outstanding(), std::vector<std::string>{"array ProArrayAlloc"});
    expect_clean();
}

// Once the drawing is loaded, a window or display the host refuses stops
// nothing: the remaining calls are still made, and no notice appears.
TEST_F(OpenDrawing, AfterTheLoadARefusedStepStopsNothing)
{
    host.store_model(u"D:\\models\\", "bracket", PRO_MDL_PART, 1);
    host.store_model(u"D:\\models\\", "bracket", PRO_MDL_DRAWING, 1);
    load();
    for (const char* refused : {"ProObjectwindowCreate", "ProMdlDisplay", "ProWindowActivate"}) {
        SCOPED_TRACE(refused);
        host.close_all_windows();
        host.inject_fault(refused, PRO_TK_GENERAL_ERROR);
        pick_for("bracket", PRO_MDL_PART);
        host.clear_faults();
        std::vector<std::string> names;
        for (const auto& made : calls(window_calls, mark))
            names.push_back(made.substr(0, made.find('(')));
        EXPECT_EQ(names, window_calls);
        EXPECT_TRUE(host.message_dialogs().empty());
    }
    expect_clean();
}
