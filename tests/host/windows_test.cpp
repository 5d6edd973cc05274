// Windows and the models they show, whether a model may be saved, and the
// host's own Save command as a macro runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "fixtures.h"
#include "host/errors.h"
#include "host/host.h"
#include "host_calls.h"

using namespace vxhost;

namespace {

std::vector<int> visited;

ProError visit_all(int window, ProAppData data)
{
    EXPECT_EQ(data, &visited);
    visited.push_back(window);
    return PRO_TK_NO_ERROR;
}

ProError stop_at_second(int window, ProAppData)
{
    visited.push_back(window);
    return visited.size() == 2 ? PRO_TK_E_FOUND : PRO_TK_NO_ERROR;
}

}  // namespace

class Windows : public ::testing::Test {
protected:
    Windows()
    {
        visited.clear();
        disk.write("models/bracket.prt.3", R"({"type": "part"})");
        disk.write("models/housing.prt.1", R"({"type": "part"})");
        host.map_drive('D', disk.path());
        host.set_working_directory(u"D:\\models\\");
    }

    vxtest::TempDir disk;
    Host host;
    vxtest::HostCalls calls{host};
    decltype(&::ProWindowCurrentGet) current = host.entry<decltype(&::ProWindowCurrentGet)>("ProWindowCurrentGet");
    decltype(&::ProWindowsVisit) visit = host.entry<decltype(&::ProWindowsVisit)>("ProWindowsVisit");
    decltype(&::ProWindowMdlGet) window_model = host.entry<decltype(&::ProWindowMdlGet)>("ProWindowMdlGet");
    decltype(&::ProMdlIsSaveAllowed) save_allowed =
        host.entry<decltype(&::ProMdlIsSaveAllowed)>("ProMdlIsSaveAllowed");
    decltype(&::ProMacroLoad) macro_load = host.entry<decltype(&::ProMacroLoad)>("ProMacroLoad");
};

TEST_F(Windows, TheCurrentWindowAndEveryWindowInOrder)
{
    int window = -7;
    EXPECT_EQ(current(&window), PRO_TK_E_NOT_FOUND);
    EXPECT_EQ(window, -7);
    EXPECT_EQ(visit(visit_all, &visited), PRO_TK_NO_ERROR) << "no windows: nothing to visit";
    EXPECT_TRUE(visited.empty());

    const ProMdl bracket = host.open_model("bracket", PRO_MDL_PART);
    const ProMdl housing = host.open_model("housing", PRO_MDL_PART);
    host.open_model("bracket", PRO_MDL_PART);   // a second window on it
    ASSERT_EQ(current(&window), PRO_TK_NO_ERROR);
    EXPECT_EQ(window, 3);
    EXPECT_EQ(visit(visit_all, &visited), PRO_TK_NO_ERROR);
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 3}));

    visited.clear();
    EXPECT_EQ(visit(stop_at_second, nullptr), PRO_TK_E_FOUND) << "the visit's own result";
    EXPECT_EQ(visited, (std::vector<int>{1, 2}));
    EXPECT_EQ(visit(nullptr, nullptr), PRO_TK_BAD_INPUTS);

    ProMdl model = nullptr;
    ASSERT_EQ(window_model(2, &model), PRO_TK_NO_ERROR);
    EXPECT_EQ(model, housing);
    ASSERT_EQ(window_model(3, &model), PRO_TK_NO_ERROR);
    EXPECT_EQ(model, bracket);
    EXPECT_EQ(window_model(9, &model), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(window_model(1, nullptr), PRO_TK_BAD_INPUTS);
}

// An emptied window stays open and in the visit, but shows no model; when
// it is the active one there is no current model.
TEST_F(Windows, AnEmptiedWindowShowsNoModel)
{
    host.open_model("bracket", PRO_MDL_PART);
    host.open_model("housing", PRO_MDL_PART);
    host.empty_window(2);
    ProMdl model = reinterpret_cast<ProMdl>(&visited);
    EXPECT_EQ(window_model(2, &model), PRO_TK_E_NOT_FOUND);
    EXPECT_EQ(model, reinterpret_cast<ProMdl>(&visited)) << "nothing written";
    EXPECT_EQ(calls.mdl_current(&model), PRO_TK_E_NOT_FOUND);
    int window = 0;
    EXPECT_EQ(current(&window), PRO_TK_NO_ERROR);
    EXPECT_EQ(window, 2);
    visit(visit_all, &visited);
    EXPECT_EQ(visited, (std::vector<int>{1, 2}));
    EXPECT_THROW(host.empty_window(5), HostError);
}

TEST_F(Windows, AReadOnlyModelMayNotBeSaved)
{
    const ProMdl bracket = host.open_model("bracket", PRO_MDL_PART);
    const ProMdl odd = host.open_model("odd", 3);
    const auto save = host.entry<decltype(&::ProMdlSave)>("ProMdlSave");
    ProBoolean allowed = 99;
    ASSERT_EQ(save_allowed(bracket, PRO_B_TRUE, &allowed), PRO_TK_NO_ERROR);
    EXPECT_EQ(allowed, PRO_B_TRUE);
    ASSERT_EQ(save_allowed(odd, PRO_B_TRUE, &allowed), PRO_TK_NO_ERROR);
    EXPECT_EQ(allowed, PRO_B_FALSE) << "a type with no files";

    host.set_read_only("bracket", PRO_MDL_PART, true);
    ASSERT_EQ(save_allowed(bracket, PRO_B_FALSE, &allowed), PRO_TK_NO_ERROR);
    EXPECT_EQ(allowed, PRO_B_FALSE);
    EXPECT_EQ(save(bracket), PRO_TK_GENERAL_ERROR);
    EXPECT_FALSE(std::filesystem::exists(disk.path() / "models/bracket.prt.4"));
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_NE(host.errors()[0].find("cannot save bracket.prt: it is read-only"), std::string::npos);

    int stranger = 0;
    EXPECT_EQ(save_allowed(reinterpret_cast<ProMdl>(&stranger), PRO_B_TRUE, &allowed), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(save_allowed(bracket, 2, &allowed), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(save_allowed(bracket, PRO_B_TRUE, nullptr), PRO_TK_BAD_INPUTS);
    EXPECT_THROW(host.set_read_only("nothing", PRO_MDL_PART, true), HostError);
}

// ProCmdModelSave opens the host's save dialog for the active window's
// model; its OK saves it. What stands in the way stops the macro.
TEST_F(Windows, TheSaveMacroSavesTheActiveWindowsModel)
{
    const char16_t* const macro = u"~ Command `ProCmdModelSave` ;~ Activate `file_saveas` `OK`;";
    struct Case {
        const char* label;
        std::function<void()> setup;
        const char16_t* macro;
        bool saved;              // housing.prt.2 written
        const char* error;       // the macro's error, nullptr when none
    };
    const Case cases[] = {
        {"the active model", [] {}, macro, true, nullptr},
        {"no window", [this] { host.close_all_windows(); }, macro, false,
         "no model in the active window to save"},
        {"an empty active window", [this] { host.empty_window(host.session().active()); }, macro, false,
         "no model in the active window to save"},
        {"read-only", [this] { host.set_read_only("housing", PRO_MDL_PART, true); }, macro, false,
         "housing.prt was not saved"},
        {"OK with no save dialog open", [] {}, u"~ Activate `file_saveas` `OK`;", false,
         "the dialog file_saveas is not open"},
        {"another component", [] {}, u"~ Command `ProCmdModelSave`;~ Activate `file_saveas` `Cancel`;", false,
         "no Activate for Cancel of file_saveas"},
        {"a dialog left open", [] {}, u"~ Command `ProCmdModelSave`;", false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::filesystem::remove(disk.path() / "models/housing.prt.2");
        host.open_model("bracket", PRO_MDL_PART);
        host.open_model("housing", PRO_MDL_PART);
        host.set_read_only("housing", PRO_MDL_PART, false);
        c.setup();
        const std::size_t errors = host.errors().size();
        ASSERT_EQ(macro_load(c.macro), PRO_TK_NO_ERROR);
        EXPECT_EQ(host.run_macros(), 1);
        EXPECT_EQ(std::filesystem::exists(disk.path() / "models/housing.prt.2"), c.saved);
        EXPECT_FALSE(std::filesystem::exists(disk.path() / "models/bracket.prt.4"));
        if (c.error) {
            ASSERT_GT(host.errors().size(), errors);
            EXPECT_NE(host.errors().back().find(c.error), std::string::npos) << host.errors().back();
        } else {
            EXPECT_EQ(host.errors().size(), errors);
        }
        host.close_all_windows();
    }
    // The dialog the last macro left open was cancelled with it.
    const auto& t = host.transcript();
    EXPECT_NE(std::find(t.begin(), t.end(), "host dialog file_saveas cancelled: its macro did not answer it"),
              t.end());
}
