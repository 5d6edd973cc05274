// Assemblies and appearances: what their files say, the feature visit and
// the component and appearance calls as the add-in makes them, and the
// ribbon's macro steps that clear every appearance.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

#include "fixtures.h"
#include "host/errors.h"
#include "host/host.h"
#include "host/model_files.h"
#include "host/scenario.h"
#include "host/text.h"

using namespace vxhost;

// ---- the files ----

TEST(AssemblyFiles, FeaturesAndAnAppearanceAreWrittenAndReadBackWhole)
{
    vxtest::TempDir dir;
    ModelDocument assembly{PRO_MDL_ASSEMBLY, "gearbox"};
    assembly.features = {
        {923, 0, 1, "", 0},
        {PRO_FEAT_COMPONENT, 0, 1, "shaft", PRO_MDL_PART},
        {PRO_FEAT_COMPONENT, PRO_FEAT_SUPPRESSED, 1, "齿轮", PRO_MDL_ASSEMBLY},
        {PRO_FEAT_COMPONENT, 0, 0, "cover", PRO_MDL_PART},
    };
    write_model_file(dir.path() / "gearbox.asm.1", assembly);
    const ModelDocument back = read_model_file(dir.path() / "gearbox.asm.1");
    ASSERT_EQ(back.features.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back.features[i].type, assembly.features[i].type);
        EXPECT_EQ(back.features[i].status, assembly.features[i].status);
        EXPECT_EQ(back.features[i].visibility, assembly.features[i].visibility);
        EXPECT_EQ(back.features[i].model, assembly.features[i].model);
        EXPECT_EQ(back.features[i].model_type, assembly.features[i].model_type);
    }

    ModelDocument part{PRO_MDL_PART, ""};
    Appearance a;
    a.ambient = 0.1;
    a.diffuse = 0.2;
    a.highlight = 0.3;
    a.shininess = 0.4;
    a.transparency = 0.5;
    a.color = {0.0, 1000 * static_cast<double>(0.001f), 0.333};
    a.highlight_color = {0.0, 0.0, 1.0};
    a.reflection = 0.9;
    a.name = std::u16string(PRO_PATH_SIZE - 1, u'n');   // fills its buffer
    a.label = u"铸铁";
    a.description = u"grey \"cast\" iron\n";
    a.keywords = u"";
    part.appearance = a;
    write_model_file(dir.path() / "shaft.prt.1", part);
    const ModelDocument part_back = read_model_file(dir.path() / "shaft.prt.1");
    ASSERT_TRUE(part_back.appearance);
    EXPECT_TRUE(*part_back.appearance == a);

    // Fields left out take the default appearance's values.
    const ModelDocument some = read_model_file(
        dir.write("some.prt.1", R"({"type": "part", "appearance": {"color": [1, 0, 0]}})"));
    Appearance expected;
    expected.color = {1.0, 0.0, 0.0};
    ASSERT_TRUE(some.appearance);
    EXPECT_TRUE(*some.appearance == expected);
    EXPECT_FALSE(read_model_file(dir.write("none.prt.1", R"({"type": "part"})")).appearance);
}

TEST(AssemblyFiles, MalformedFeaturesAndAppearancesAreErrors)
{
    struct Case {
        const char* file;
        std::string text;
        const char* message;
    };
    const std::string long_text(PRO_PATH_SIZE, 'x');
    const Case cases[] = {
        {"a.asm.1", R"({"type": "assembly", "features": {"type": 1000}})", "\"features\" must be a list"},
        {"a.asm.1", R"({"type": "assembly", "features": [1000]})", "feature 1: a feature must be an object"},
        {"a.asm.1", R"({"type": "assembly", "features": [{"model": "s.prt"}]})", "feature 1: a feature has no \"type\""},
        {"a.asm.1", R"({"type": "assembly", "features": [{"type": 923}, {"type": 1000}]})",
         "feature 2: a component has no \"model\""},
        {"a.asm.1", R"({"type": "assembly", "features": [{"type": 1000, "model": "s.drw"}]})",
         "places name.prt or name.asm"},
        {"a.asm.1", R"({"type": "assembly", "features": [{"type": 1000, "model": "shaft"}]})",
         "places name.prt or name.asm"},
        {"a.asm.1", R"({"type": "assembly", "features": [{"type": 1000, "model": "a/b.prt"}]})",
         "places name.prt or name.asm"},
        {"a.asm.1", R"({"type": "assembly", "features": [{"type": 1000, "model": "s.prt", "status": "5"}]})",
         "\"status\" must be a whole number"},
        {"a.asm.1", R"({"type": "assembly", "features": [{"type": 1.5}]})", "\"type\" must be a whole number"},
        {"a.asm.1", R"({"type": "assembly", "features": [{"type": 4294967296}]})", "\"type\" must be a whole number"},
        {"a.prt.1", R"({"type": "part", "features": [{"type": 1000, "model": "s.prt"}]})",
         "only an assembly has components"},
        {"a.drw.1", R"({"type": "drawing", "features": [{"type": 923}]})", "only a part or an assembly has features"},
        {"a.asm.1", R"({"type": "assembly", "appearance": {}})", "only a part has an \"appearance\""},
        {"a.prt.1", R"({"type": "part", "appearance": [0.5]})", "\"appearance\" must be an object"},
        {"a.prt.1", R"({"type": "part", "appearance": {"color": [1, 0]}})", "\"color\" must be [red, green, blue]"},
        {"a.prt.1", R"({"type": "part", "appearance": {"highlight_color": [1, 0, "0"]}})",
         "\"highlight_color\" must be [red, green, blue]"},
        {"a.prt.1", R"({"type": "part", "appearance": {"ambient": "0.5"}})", "\"ambient\" must be a number"},
        {"a.prt.1", R"({"type": "part", "appearance": {"name": 3}})", "\"name\" must be a string"},
        {"a.prt.1", "{\"type\": \"part\", \"appearance\": {\"keywords\": \"" + long_text + "\"}}",
         "\"keywords\" must have at most 259 UTF-16 units"},
    };
    vxtest::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const fs::path file = dir.write(c.file, c.text);
        try {
            read_model_file(file);
            ADD_FAILURE() << "read";
        } catch (const HostError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

// ---- the toolkit calls ----

namespace {

// What the test's filter and action saw, and what they answer.
struct VisitLog {
    std::vector<std::string> filtered;     // "model:id"
    std::vector<std::string> acted;        // "model:id status"
    ProError filter_answer = PRO_TK_NO_ERROR;
    int skip_id = 0;                       // the filter skips this id
    int stop_id = 0;                       // the action answers 99 for this id
    decltype(&::ProSolidFeatVisit) visit = nullptr;
    ProMdl nested = nullptr;               // the action visits this model from inside
};
VisitLog* log_now = nullptr;

std::string where(const ProFeature* f) { return std::to_string(f->id); }

ProError test_filter(ProFeature* feature, ProAppData data)
{
    EXPECT_EQ(data, log_now);
    log_now->filtered.push_back(where(feature));
    feature->id = -1;   // the action must get its item whole all the same
    if (feature->type == PRO_FEATURE && static_cast<int>(log_now->filtered.size()) == log_now->skip_id)
        return PRO_TK_CONTINUE;
    return log_now->filter_answer;
}

ProError test_action(ProFeature* feature, ProError status, ProAppData data)
{
    EXPECT_EQ(data, log_now);
    log_now->acted.push_back(where(feature) + " " + std::to_string(status));
    if (log_now->nested) {
        const ProMdl nested = log_now->nested;
        log_now->nested = nullptr;
        EXPECT_EQ(log_now->visit(nested, test_action, nullptr, data), PRO_TK_BAD_CONTEXT);
    }
    return feature->id == log_now->stop_id ? 99 : PRO_TK_NO_ERROR;
}

}  // namespace

class Assemblies : public ::testing::Test {
protected:
    Assemblies()
    {
        disk.folder("models");
        host.map_drive('D', disk.path());
        host.set_working_directory(u"D:\\models\\");
        log_now = &log;
        log.visit = visit;
    }
    ~Assemblies() override { log_now = nullptr; }

    // An assembly file whose features are JSON objects, one a string.
    void store(const std::string& file, const std::string& features, const char* folder = "models")
    {
        disk.write(fs::path(folder) / file, R"({"type": "assembly", "features": [)" + features + "]}");
    }

    Model& model(const std::string& name, int type)
    {
        for (const auto& m : host.session().models())
            if (m->name == name && m->type == type)
                return *m;
        throw HostError("no model " + name);
    }

    ProFeature feature(ProMdl owner, int id) { return ProFeature{PRO_FEATURE, id, owner}; }

    vxtest::TempDir disk;
    Host host;
    VisitLog log;
    decltype(&::ProSolidFeatVisit) visit = host.entry<decltype(&::ProSolidFeatVisit)>("ProSolidFeatVisit");
    decltype(&::ProFeatureTypeGet) type_get = host.entry<decltype(&::ProFeatureTypeGet)>("ProFeatureTypeGet");
    decltype(&::ProFeatureStatusGet) status_get =
        host.entry<decltype(&::ProFeatureStatusGet)>("ProFeatureStatusGet");
    decltype(&::ProFeatureVisibilityGet) visibility_get =
        host.entry<decltype(&::ProFeatureVisibilityGet)>("ProFeatureVisibilityGet");
    decltype(&::ProAsmcompMdlGet) placed_get = host.entry<decltype(&::ProAsmcompMdlGet)>("ProAsmcompMdlGet");
    decltype(&::ProMdlToModelitem) to_item = host.entry<decltype(&::ProMdlToModelitem)>("ProMdlToModelitem");
    decltype(&::ProSurfaceAppearancepropsGet) props_get =
        host.entry<decltype(&::ProSurfaceAppearancepropsGet)>("ProSurfaceAppearancepropsGet");
    decltype(&::ProSurfaceAppearancepropsSet) props_set =
        host.entry<decltype(&::ProSurfaceAppearancepropsSet)>("ProSurfaceAppearancepropsSet");
    decltype(&::ProWindowRepaint) repaint = host.entry<decltype(&::ProWindowRepaint)>("ProWindowRepaint");
    decltype(&::ProMacroLoad) macro_load = host.entry<decltype(&::ProMacroLoad)>("ProMacroLoad");
};

// The filter sees every feature in order; -7 skips one, any other answer
// visits it and reaches the action as its status; a non-zero answer of
// the action ends the visit and is what the visit returns.
TEST_F(Assemblies, TheVisitFollowsItsFilterAndStopsWhereTheActionSays)
{
    store("a.asm.1", R"({"type": 923}, {"type": 1000, "model": "p.prt"}, {"type": 979}, {"type": 1000, "model": "q.prt"})");
    const ProMdl a = host.open_model("a", PRO_MDL_ASSEMBLY);
    struct Case {
        const char* why;
        ProError filter_answer;
        int skip_id, stop_id;
        bool no_filter;
        ProError result;
        std::vector<std::string> filtered, acted;
    };
    const Case cases[] = {
        {"all visited", 0, 0, 0, false, 0, {"1", "2", "3", "4"}, {"1 0", "2 0", "3 0", "4 0"}},
        {"the second skipped", 0, 2, 0, false, 0, {"1", "2", "3", "4"}, {"1 0", "3 0", "4 0"}},
        {"a status passed on", 5, 0, 0, false, 0, {"1", "2", "3", "4"}, {"1 5", "2 5", "3 5", "4 5"}},
        {"stopped at the third", 0, 0, 3, false, 99, {"1", "2", "3"}, {"1 0", "2 0", "3 0"}},
        {"no filter", 0, 0, 0, true, 0, {}, {"1 0", "2 0", "3 0", "4 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        log.filtered.clear();
        log.acted.clear();
        log.filter_answer = c.filter_answer;
        log.skip_id = c.skip_id;
        log.stop_id = c.stop_id;
        EXPECT_EQ(visit(a, test_action, c.no_filter ? nullptr : test_filter, &log), c.result);
        EXPECT_EQ(log.filtered, c.filtered);
        EXPECT_EQ(log.acted, c.acted);
    }
    EXPECT_TRUE(host.errors().empty());

    // What no visit is given.
    const ProMdl drawing = host.open_model("a", PRO_MDL_DRAWING);
    EXPECT_EQ(visit(a, nullptr, test_filter, &log), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(visit(drawing, test_action, test_filter, &log), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(visit(reinterpret_cast<ProMdl>(&log), test_action, test_filter, &log), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(visit(nullptr, test_action, test_filter, &log), PRO_TK_BAD_INPUTS);
}

// An assembly that places itself cannot be visited without end: the
// visit of a model whose visit is under way is refused, and said so.
TEST_F(Assemblies, AVisitOfAModelWhoseVisitIsUnderWayIsRefused)
{
    store("loop.asm.1", R"({"type": 1000, "model": "loop.asm"})");
    const ProMdl loop = host.open_model("loop", PRO_MDL_ASSEMBLY);
    log.nested = loop;
    EXPECT_EQ(visit(loop, test_action, nullptr, &log), PRO_TK_NO_ERROR);
    EXPECT_EQ(log.acted, std::vector<std::string>{"1 0"});
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_NE(host.errors()[0].find("loop.asm is under way already"), std::string::npos);
    // Once it is over, the model can be visited again.
    EXPECT_EQ(visit(loop, test_action, nullptr, &log), PRO_TK_NO_ERROR);
}

TEST_F(Assemblies, AFeaturesTypeStatusAndVisibilityAreWhatItsFileSays)
{
    store("a.asm.1", R"({"type": 923}, {"type": 1000, "model": "p.prt", "status": 5},
                        {"type": 1000, "model": "p.prt", "visibility": 0})");
    const ProMdl a = host.open_model("a", PRO_MDL_ASSEMBLY);
    struct Case {
        int id;
        int type, status, visibility;
    };
    for (const Case& c : {Case{1, 923, 0, 1}, Case{2, 1000, 5, 1}, Case{3, 1000, 0, 0}}) {
        SCOPED_TRACE(c.id);
        ProFeature f = feature(a, c.id);
        int type = -1, status = -1, visible = -1;
        EXPECT_EQ(type_get(&f, &type), PRO_TK_NO_ERROR);
        EXPECT_EQ(status_get(&f, &status), PRO_TK_NO_ERROR);
        EXPECT_EQ(visibility_get(&f, &visible), PRO_TK_NO_ERROR);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(visible, c.visibility);
    }
    // Items that name no feature; the output is left alone.
    ProModelitem whole{};
    ASSERT_EQ(to_item(a, &whole), PRO_TK_NO_ERROR);
    ProFeature bad[] = {feature(a, 0), feature(a, 4), feature(a, -1), whole,
                        feature(reinterpret_cast<ProMdl>(&log), 1), feature(nullptr, 1)};
    for (ProFeature& f : bad) {
        int type = 7;
        EXPECT_EQ(type_get(&f, &type), PRO_TK_BAD_INPUTS);
        EXPECT_EQ(type, 7);
    }
    ProFeature good = feature(a, 1);
    EXPECT_EQ(type_get(nullptr, nullptr), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(status_get(&good, nullptr), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(visibility_get(&good, nullptr), PRO_TK_BAD_INPUTS);
}

// The placed model comes from the session, else from beside the
// assembly, else from the working directory; a model that is nowhere is
// an error the host records.
TEST_F(Assemblies, AComponentsModelIsFoundInSessionBesideTheAssemblyOrInTheWorkingDirectory)
{
    store("top.asm.1",
          R"({"type": 1000, "model": "beside.prt"}, {"type": 1000, "model": "WORK.prt"},
             {"type": 1000, "model": "sub.asm"}, {"type": 1000, "model": "gone.prt"}, {"type": 923})",
          "projects");
    disk.write("projects/beside.prt.2", R"({"type": "part", "note": "beside, 2"})");
    disk.write("models/beside.prt.5", R"({"type": "part", "note": "in the working directory"})");
    disk.write("models/work.prt.1", R"({"type": "part", "note": "work"})");
    store("sub.asm.1", R"({"type": 1000, "model": "work.prt"})");
    const ProMdl top = host.open_model("top", PRO_MDL_ASSEMBLY, u"D:\\projects\\");

    const char* notes[] = {"beside, 2", "work", "", ""};
    int types[] = {PRO_MDL_PART, PRO_MDL_PART, PRO_MDL_ASSEMBLY};
    for (int id = 1; id <= 3; ++id) {
        SCOPED_TRACE(id);
        ProAsmcomp c = feature(top, id);
        ProMdl placed = nullptr;
        ASSERT_EQ(placed_get(&c, &placed), PRO_TK_NO_ERROR);
        const Model* m = host.session().find(placed);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->type, types[id - 1]);
        EXPECT_EQ(m->document.note, notes[id - 1]);
        ProModelitem item{};
        ASSERT_EQ(to_item(placed, &item), PRO_TK_NO_ERROR);
        EXPECT_EQ(item.type, types[id - 1]);
        EXPECT_EQ(item.owner, placed);
        // Asked again, the same model in session.
        ProMdl again = nullptr;
        ASSERT_EQ(placed_get(&c, &again), PRO_TK_NO_ERROR);
        EXPECT_EQ(again, placed);
    }
    EXPECT_TRUE(host.errors().empty());

    ProAsmcomp gone = feature(top, 4), datum = feature(top, 5);
    ProMdl placed = nullptr;
    EXPECT_EQ(placed_get(&gone, &placed), PRO_TK_E_NOT_FOUND);
    EXPECT_EQ(placed, nullptr);
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_NE(host.errors()[0].find("top.asm places gone.prt"), std::string::npos);
    EXPECT_EQ(placed_get(&datum, &placed), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(placed_get(&datum, nullptr), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(to_item(nullptr, nullptr), PRO_TK_BAD_INPUTS);
}

// A part shows the default appearance until it is given one; every field
// given is kept, in session and in the next stored version.
TEST_F(Assemblies, AnAppearanceSetIsKeptWholeAndSavedWithThePart)
{
    const ProMdl part = host.open_model("shaft", PRO_MDL_PART);
    ProModelitem item{};
    ASSERT_EQ(to_item(part, &item), PRO_TK_NO_ERROR);
    ProSurfaceAppearanceProps props;
    std::memset(&props, 0x5A, sizeof props);
    ASSERT_EQ(props_get(&item, &props), PRO_TK_NO_ERROR);
    const Appearance d;
    EXPECT_EQ(props.ambient, d.ambient);
    EXPECT_EQ(props.color_rgb[0], d.color[0]);
    EXPECT_EQ(std::u16string(props.name), d.name);
    EXPECT_EQ(std::u16string(props.keywords), u"");

    props.ambient = 0.8;
    props.diffuse = 0.8;
    props.highlight = 0.7;
    props.shininess = 0.6;
    props.transparency = 0.0;
    props.color_rgb[0] = 0.0;
    props.color_rgb[1] = 1000 * static_cast<double>(0.001f);   // a little above 1: accepted
    props.color_rgb[2] = 0.5;
    props.highlight_color[2] = 1.0;
    props.reflection = 0.25;
    const std::u16string longest(PRO_PATH_SIZE - 1, u'钢');
    std::memcpy(props.description, longest.c_str(), sizeof props.description);
    ASSERT_EQ(props_set(&item, &props), PRO_TK_NO_ERROR);

    ProSurfaceAppearanceProps back;
    std::memset(&back, 0x5A, sizeof back);
    ASSERT_EQ(props_get(&item, &back), PRO_TK_NO_ERROR);
    EXPECT_EQ(std::memcmp(&back, &props, offsetof(ProSurfaceAppearanceProps, name)), 0);
    EXPECT_EQ(std::u16string(back.description), longest);
    EXPECT_EQ(std::u16string(back.name), d.name);

    auto save = host.entry<decltype(&::ProMdlSave)>("ProMdlSave");
    ASSERT_EQ(save(part), PRO_TK_NO_ERROR);
    const ModelDocument stored = read_model_file(disk.path() / "models" / "shaft.prt.1");
    ASSERT_TRUE(stored.appearance);
    EXPECT_TRUE(*stored.appearance == *host.session().find(part)->document.appearance);
    EXPECT_EQ(stored.appearance->color[1], 1000 * static_cast<double>(0.001f));
    EXPECT_EQ(stored.appearance->description, longest);
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(Assemblies, AnAppearanceTheHostCannotKeepIsRefusedAndThePartKeepsItsOwn)
{
    const ProMdl part = host.open_model("shaft", PRO_MDL_PART);
    ProModelitem item{};
    ASSERT_EQ(to_item(part, &item), PRO_TK_NO_ERROR);
    ProSurfaceAppearanceProps good;
    ASSERT_EQ(props_get(&item, &good), PRO_TK_NO_ERROR);
    good.color_rgb[0] = 0.125;
    ASSERT_EQ(props_set(&item, &good), PRO_TK_NO_ERROR);

    struct Case {
        const char* why;
        void (*spoil)(ProSurfaceAppearanceProps&);
    };
    const Case cases[] = {
        {"not a number", [](ProSurfaceAppearanceProps& p) { p.ambient = std::nan(""); }},
        {"infinite", [](ProSurfaceAppearanceProps& p) {
             p.color_rgb[2] = std::numeric_limits<double>::infinity(); }},
        {"a label without its end", [](ProSurfaceAppearanceProps& p) {
             for (ProWchar& c : p.label) c = u'x'; }},
        {"keywords without their end", [](ProSurfaceAppearanceProps& p) {
             for (ProWchar& c : p.keywords) c = u'y'; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ProSurfaceAppearanceProps bad = good;
        bad.color_rgb[0] = 0.75;
        c.spoil(bad);
        const std::size_t errors = host.errors().size();
        EXPECT_EQ(props_set(&item, &bad), PRO_TK_BAD_INPUTS);
        EXPECT_EQ(host.errors().size(), errors + 1);
        EXPECT_EQ(host.session().find(part)->document.appearance->color[0], 0.125);
    }

    // Items that are no part's.
    const ProMdl assembly = host.open_model("top", PRO_MDL_ASSEMBLY);
    ProModelitem whole{}, wrong_type = item;
    ASSERT_EQ(to_item(assembly, &whole), PRO_TK_NO_ERROR);
    wrong_type.type = PRO_FEATURE;
    for (ProModelitem* i : {&whole, &wrong_type, static_cast<ProModelitem*>(nullptr)}) {
        EXPECT_EQ(props_get(i, &good), PRO_TK_BAD_INPUTS);
        EXPECT_EQ(props_set(i, &good), PRO_TK_BAD_INPUTS);
    }
    EXPECT_EQ(props_get(&item, nullptr), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(props_set(&item, nullptr), PRO_TK_BAD_INPUTS);
}

TEST_F(Assemblies, ARepaintNeedsTheWindow)
{
    EXPECT_EQ(repaint(-1), PRO_TK_BAD_CONTEXT);    // no window open
    host.open_model("shaft", PRO_MDL_PART);
    host.open_model("top", PRO_MDL_ASSEMBLY);
    const auto& windows = host.session().windows();
    EXPECT_EQ(repaint(-1), PRO_TK_NO_ERROR);
    EXPECT_EQ(host.transcript().back(), "window " + std::to_string(windows[1].id) + " repainted: top.asm");
    EXPECT_EQ(repaint(windows[0].id), PRO_TK_NO_ERROR);
    EXPECT_EQ(host.transcript().back(), "window " + std::to_string(windows[0].id) + " repainted: shaft.prt");
    EXPECT_EQ(repaint(windows[1].id + 1), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(repaint(0), PRO_TK_BAD_INPUTS);
    // An emptied window is still a window, and is drawn showing nothing.
    host.empty_window(windows[1].id);
    EXPECT_EQ(repaint(-1), PRO_TK_NO_ERROR);
    EXPECT_EQ(host.transcript().back(), "window " + std::to_string(windows[1].id) + " repainted: empty");
}

// ---- the ribbon's macro steps ----

namespace {

const char16_t* const kClearSteps =
    u"~ Activate `main_dlg_cur` `page_View_control_btn` 1; "
    u"~ Select `main_dlg_cur` `View:ProCmdViewGallery`; "
    u"~ Select `main_dlg_cur`  `ProCmdViewGallery_layoutph.palette_holder.clearAppearance`; "
    u"~ Close `main_dlg_cur`  `ProCmdViewGallery_layoutph.palette_holder.clearAppearance`; "
    u"~ Activate `main_dlg_cur` `clearAllAppearance`; "
    u"~ FocusIn `UI Message Dialog` `yes`;"
    u"~ Activate `UI Message Dialog` `yes`;";

std::vector<std::string> tabs_notified;

ProError on_tab(char* left, char* entered)
{
    tabs_notified.push_back(std::string(left) + ">" + entered);
    return PRO_TK_NO_ERROR;
}

}  // namespace

// The steps clear every appearance of the current model and of all it
// places, whatever their status, and the tab buttons switch tabs as a
// click does, telling the add-in.
TEST_F(Assemblies, TheGallerysStepsClearEveryAppearanceBelowTheCurrentModel)
{
    const std::string red = R"({"type": "part", "appearance": {"color": [1, 0, 0]}})";
    for (const char* part : {"p", "q", "r", "s", "other"})
        disk.write(std::string("models/") + part + ".prt.1", red);
    store("top.asm.1", R"({"type": 1000, "model": "p.prt"}, {"type": 1000, "model": "sub.asm", "status": 5})");
    store("sub.asm.1", R"({"type": 1000, "model": "q.prt", "visibility": 0}, {"type": 1000, "model": "deep.asm"})");
    store("deep.asm.1", R"({"type": 1000, "model": "r.prt"}, {"type": 1000, "model": "p.prt"})");
    host.open_model("other", PRO_MDL_PART);
    host.open_model("s", PRO_MDL_PART);
    host.open_model("top", PRO_MDL_ASSEMBLY);
    tabs_notified.clear();
    auto set = host.entry<decltype(&::ProNotificationSet)>("ProNotificationSet");
    ASSERT_EQ(set(PRO_RIBBON_TAB_SWITCH, reinterpret_cast<ProFunction>(on_tab)), PRO_TK_NO_ERROR);
    host.switch_tab("page_Tools");
    host.hold_macros(true);

    ASSERT_EQ(macro_load((u"aa " + std::u16string(kClearSteps) + u"~ Activate `main_dlg_cur` `page_Tools_control_btn` 1;").c_str()),
              PRO_TK_NO_ERROR);
    EXPECT_EQ(host.run_macros(), 1);
    EXPECT_TRUE(host.errors().empty()) << host.errors()[0];
    for (const char* part : {"p", "q", "r"})
        EXPECT_FALSE(model(part, PRO_MDL_PART).document.appearance) << part;
    for (const char* part : {"other", "s"})
        EXPECT_TRUE(model(part, PRO_MDL_PART).document.appearance) << part;
    EXPECT_EQ(host.current_tab(), "page_Tools");
    EXPECT_EQ(tabs_notified, (std::vector<std::string>{"Home>page_Tools", "page_Tools>page_View",
                                                      "page_View>page_Tools"}));

    // On a part, the part's own appearance goes.
    host.open_model("s", PRO_MDL_PART);
    macro_load((u"aa " + std::u16string(kClearSteps)).c_str());
    host.run_macros();
    EXPECT_FALSE(model("s", PRO_MDL_PART).document.appearance);
    EXPECT_TRUE(model("other", PRO_MDL_PART).document.appearance);
    EXPECT_EQ(host.current_tab(), "page_View");
    EXPECT_TRUE(host.errors().empty());
}

// A step whose element is not there, or not reachable yet, stops its
// macro: the error names the step, and nothing after it runs.
TEST_F(Assemblies, AStepOnAnElementOutOfReachStopsItsMacro)
{
    disk.write("models/p.prt.1", R"({"type": "part", "appearance": {"color": [1, 0, 0]}})");
    host.open_model("p", PRO_MDL_PART);
    host.hold_macros(true);
    struct Case {
        const char16_t* macro;
        const char* error;
        const char* tab_after;
    };
    const Case cases[] = {
        {u"~ Select `main_dlg_cur` `View:ProCmdViewGallery`;", "step 1 \"~ Select `main_dlg_cur` `View:ProCmdViewGallery`\": View:ProCmdViewGallery is on the View tab, and page_Model is shown", "page_Model"},
        {u"~ Activate `main_dlg_cur` `page_View_control_btn` 1; ~ Select `main_dlg_cur` `ProCmdViewGallery_layoutph.palette_holder.clearAppearance`;",
         "step 2 \"~ Select `main_dlg_cur` `ProCmdViewGallery_layoutph.palette_holder.clearAppearance`\": ProCmdViewGallery_layoutph.palette_holder.clearAppearance is in the gallery, which is not open", "page_View"},
        {u"~ Close `main_dlg_cur` `ProCmdViewGallery_layoutph.palette_holder.clearAppearance`;", "which is not open", "page_Model"},
        {u"~ Activate `main_dlg_cur` `clearAllAppearance`;", "clearAllAppearance is offered once the gallery's clear entry is chosen", "page_Model"},
        {u"~ FocusIn `UI Message Dialog` `yes`;", "UI Message Dialog is not open", "page_Model"},
        {u"~ Activate `UI Message Dialog` `yes`;", "UI Message Dialog is not open", "page_Model"},
        {u"~ Activate `main_dlg_cur` `page_Nowhere_control_btn` 1;", "no button page_Nowhere_control_btn in main_dlg_cur", "page_Model"},
        {u"~ Activate `main_dlg_cur` `_control_btn` 1;", "no button _control_btn in main_dlg_cur", "page_Model"},
        {u"~ Activate `main_dlg_cur` `page_View` 1;", "no button page_View in main_dlg_cur", "page_Model"},
        {u"~ Activate `main_dlg_cur` `page_View_control_btn`;", "takes the value 1", "page_Model"},
        {u"~ Activate `main_dlg_cur` `page_View_control_btn` 0;", "takes the value 1", "page_Model"},
        {u"~ Activate `main_dlg_cur` `clearAllAppearance` 1;", "clearAllAppearance takes no value", "page_Model"},
        {u"~ Activate `UI Message Dialog` `no`;", "no Activate for no of UI Message Dialog", "page_Model"},
        {u"~ Select `main_dlg_cur` `View:ProCmdViewGallery` `more`;", "Select takes a dialog and one component", "page_Model"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(to_utf8(c.macro));
        host.switch_tab("page_Model");
        const std::size_t errors = host.errors().size();
        macro_load((std::u16string(c.macro) + u"~ Activate `main_dlg_cur` `page_Tools_control_btn` 1;").c_str());
        host.run_macros();
        ASSERT_EQ(host.errors().size(), errors + 1);
        EXPECT_NE(host.errors().back().find(c.error), std::string::npos) << host.errors().back();
        EXPECT_EQ(host.current_tab(), c.tab_after);
    }
    EXPECT_TRUE(model("p", PRO_MDL_PART).document.appearance);
}

// ---- the scenario steps ----

TEST_F(Assemblies, ScenariosShowEachPartsColourAndTheActiveTab)
{
    disk.write("models/p.prt.1", R"({"type": "part", "appearance": {"color": [0.25, 0.5, 1.000000047]}})");
    disk.write("models/q.prt.1", R"({"type": "part"})");
    store("top.asm.1", R"({"type": 923}, {"type": 1000, "model": "p.prt"}, {"type": 1000, "model": "sub.asm", "status": 5},
                          {"type": 1000, "model": "gone.prt", "visibility": 0}, {"type": 1000, "model": "top.asm"})");
    store("sub.asm.1", R"({"type": 1000, "model": "q.prt"}, {"type": 1000, "model": "p.prt", "visibility": 0})");
    std::ostringstream out, err;
    const std::string text = "colours\nopen assembly top\ntab page_View\ncolours\nribbon\nopen part q\ncolours\n";
    ASSERT_EQ(run_scenario_text(host, disk.path() / "protk.dat", text, disk.path() / "s.scn", out, err), 0)
        << err.str();
    std::vector<std::string> shown;
    for (const auto& line : host.transcript())
        if (line.rfind("retrieved", 0) != 0 && line.rfind("open ", 0) != 0 && line.rfind("no ", 0) != 0)
            shown.push_back(line);
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "colours: no model open",
                         "tab Home -> page_View",
                         "colours of top.asm",
                         "  p.prt: colour 0.250 0.500 1.000",
                         "  sub.asm, suppressed",
                         "    q.prt: no appearance of its own",
                         "    p.prt, hidden: colour 0.250 0.500 1.000",
                         "  gone.prt, hidden: missing",
                         "  top.asm: places itself",
                         "ribbon tab: page_View",
                         "colours of q.prt: no appearance of its own",
                     }));
}
