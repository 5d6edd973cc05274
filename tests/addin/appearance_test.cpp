// Random Colours, Clear Colours and About: the macros the colour commands
// queue, the switch that makes About paint, and the painting itself, over
// assemblies stored in the throw-away drive D: (working directory
// D:\models\).
#include "addin_fixture.h"

#include <array>
#include <cstdlib>
#include <ctime>

using vxtest::AddinTest;

namespace {

const char* const kPaint = "QVX_PaintColormenu";
const char* const kClear = "QVX_ClearColormenu";
const char* const kAbout = "QVX_Aboutmenu";

// The two macros as the user's host must receive them, up to the tab's name.
const std::u16string kClearMacro =
    u"aa ~ Activate `main_dlg_cur` `page_View_control_btn` 1; ~ Select `main_dlg_cur` "
    u"`View:ProCmdViewGallery`; ~ Select `main_dlg_cur`  "
    u"`ProCmdViewGallery_layoutph.palette_holder.clearAppearance`; ~ Close `main_dlg_cur`  "
    u"`ProCmdViewGallery_layoutph.palette_holder.clearAppearance`; ~ Activate `main_dlg_cur` "
    u"`clearAllAppearance`; ~ FocusIn `UI Message Dialog` `yes`;~ Activate `UI Message Dialog` "
    u"`yes`;~ Activate `main_dlg_cur` `";
const std::u16string kAboutStep = u"~ Command `QVX_About_Act`;";
const std::u16string kTail = u"_control_btn` 1;";
const std::u16string kLastStepStart = u"~ Activate `main_dlg_cur` `";

// The single-precision 0.001, widened: every colour is a whole multiple.
const double kFactor = static_cast<double>(0.001f);

using Colour = std::array<double, 3>;

struct Painted {
    std::string part;
    Colour colour;
    bool operator==(const Painted& o) const { return part == o.part && colour == o.colour; }
};

// The colours the generator gives after srand(seed), three a part. The
// test draws from the same C library's rand as the add-in: both are
// linked with the one C runtime of their system.
std::vector<Colour> draws(unsigned seed, std::size_t parts)
{
    std::srand(seed);
    std::vector<Colour> colours(parts);
    for (Colour& c : colours)
        for (double& unit : c)
            unit = static_cast<double>(std::rand() % 1001) * kFactor;
    return colours;
}

std::string appearance_json(const std::string& fields)
{
    return R"({"type": "part", "appearance": {)" + fields + "}}";
}

}  // namespace

class Colours : public AddinTest {
protected:
    void part(const std::string& name, const std::string& text = R"({"type": "part"})")
    {
        disk.write("models/" + name + ".prt.1", text);
    }

    // An assembly of components "name.prt" / "name.asm", each optionally
    // followed by its other fields, and features of other types as numbers.
    void assembly(const std::string& name, const std::string& features)
    {
        disk.write("models/" + name + ".asm.1",
                   R"({"type": "assembly", "features": [)" + features + "]}");
    }

    // Loads the add-in and opens the assembly as the current model.
    void open(const std::string& assembly_name)
    {
        if (!host.loaded())
            load();
        host.open_model(assembly_name, PRO_MDL_ASSEMBLY);
    }

    const vxhost::Model* model(const std::string& name, int type = PRO_MDL_PART) const
    {
        for (const auto& m : host.session().models())
            if (m->name == name && m->type == type)
                return m.get();
        return nullptr;
    }

    int number(const std::string& name, int type = PRO_MDL_PART) const
    {
        const vxhost::Model* m = model(name, type);
        return m ? m->number : 0;
    }

    // The appearances the host accepted, in order, from journal entry `from` on.
    std::vector<Painted> painted(std::size_t from = 0) const
    {
        std::vector<Painted> list;
        const auto& journal = host.journal();
        for (std::size_t i = from; i < journal.size(); ++i) {
            const auto& e = journal[i];
            if (e.name != "ProSurfaceAppearancepropsSet" || e.status != PRO_TK_NO_ERROR)
                continue;
            const std::string args = e.args();
            const int n = std::stoi(args.substr(args.find("model#") + 6));
            Painted p;
            for (const auto& m : host.session().models())
                if (m->number == n)
                    p.part = m->name;
            std::size_t at = args.find(", ");
            for (double& unit : p.colour) {
                unit = std::stod(args.substr(at + 2));
                at = args.find(", ", at + 2);
            }
            list.push_back(p);
        }
        return list;
    }

    std::vector<std::string> parts_painted(std::size_t from = 0) const
    {
        std::vector<std::string> names;
        for (const auto& p : painted(from))
            names.push_back(p.part);
        return names;
    }

    // The journal's arguments of every call of that name from `from` on.
    std::vector<std::string> args_of(const std::string& call, std::size_t from = 0) const
    {
        std::vector<std::string> list;
        for (std::size_t i = from; i < host.journal().size(); ++i)
            if (host.journal()[i].name == call)
                list.push_back(host.journal()[i].args());
        return list;
    }

    bool has_appearance(const std::string& name) const
    {
        const vxhost::Model* m = model(name);
        return m && m->document.appearance;
    }
};

// ---- the macros ----

// The clear macro is its text, the tab's name and the tail, nothing
// between and nothing after; the paint macro differs only by the About
// step before the last one. A name of any length is taken whole.
TEST_F(Colours, TheMacrosEndWithTheLastReportedTabWhole)
{
    ASSERT_EQ(kClearMacro.size(), 425u);
    ASSERT_EQ(kAboutStep.size(), 26u);
    ASSERT_EQ(kTail.size(), 16u);
    std::string long_name;
    while (long_name.size() < 700)
        long_name += "page_Custom_" + std::to_string(long_name.size());
    const std::string tabs[] = {"page_Model", "page_View", "", "页面_视图", "𝒱iew", long_name};
    open("top");
    host.hold_macros(true);
    for (const std::string& tab : tabs) {
        SCOPED_TRACE(tab.substr(0, 40));
        host.fire_tab_switch("page_Tools", tab);
        const std::u16string name = vxhost::to_utf16(tab);
        ASSERT_TRUE(host.pick(kClear));
        ASSERT_TRUE(host.pick(kPaint));
        ASSERT_GE(host.macros().size(), 2u);
        const std::u16string& clear = host.macros()[host.macros().size() - 2];
        const std::u16string& paint = host.macros().back();
        EXPECT_EQ(clear, kClearMacro + name + kTail);
        EXPECT_EQ(clear.size(), 441 + name.size());
        EXPECT_EQ(paint.size(), 467 + name.size());
        const std::size_t last = kClearMacro.size() - kLastStepStart.size();
        EXPECT_EQ(paint, clear.substr(0, last) + kAboutStep + clear.substr(last));
    }
    EXPECT_GE(long_name.size(), 700u);
    expect_clean();
}

// Before the host reports a tab there is none to go back to: the macros
// end with the step before the last, every earlier step unchanged, and
// the host carries them out whole.
TEST_F(Colours, BeforeAnyTabIsReportedTheMacrosLeaveOutTheirLastStep)
{
    part("p");
    assembly("top", R"({"type": 1000, "model": "p.prt"})");
    open("top");
    host.hold_macros(true);
    ASSERT_TRUE(host.pick(kClear));
    ASSERT_TRUE(host.pick(kPaint));
    const std::u16string steps = kClearMacro.substr(0, kClearMacro.size() - kLastStepStart.size());
    ASSERT_EQ(host.macros().size(), 2u);
    EXPECT_EQ(host.macros()[0], steps);
    EXPECT_EQ(host.macros()[1], steps + kAboutStep);
    EXPECT_EQ(host.run_macros(), 2);
    EXPECT_EQ(parts_painted(), std::vector<std::string>{"p"});
    EXPECT_EQ(host.current_tab(), "page_View");
    expect_clean();
}

// ---- the switch ----

// About shows its text while the switch is set; the paint command clears
// it, and the next About, whoever runs it, paints instead and sets it
// again. The clear command leaves it alone.
TEST_F(Colours, TheSwitchMakesOneAboutPaintAfterEachPaintCommand)
{
    part("p");
    assembly("top", R"({"type": 1000, "model": "p.prt"})");
    open("top");
    host.hold_macros(true);   // the macros never run: About is run from the menu
    struct Step {
        const char* pick;
        bool dialog;    // the About text is shown
        bool paints;
    };
    const Step steps[] = {
        {kAbout, true, false},
        {kPaint, false, false},
        {kAbout, false, true},    // the paint macro never reached its About step
        {kAbout, true, false},
        {kClear, false, false},
        {kAbout, true, false},
        {kPaint, false, false},
        {kClear, false, false},
        {kAbout, false, true},
        {kAbout, true, false},
    };
    for (std::size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        const Step& s = steps[i];
        SCOPED_TRACE(std::to_string(i) + " " + s.pick);
        const std::size_t dialogs = host.message_dialogs().size();
        const std::size_t from = host.journal().size();
        ASSERT_TRUE(host.pick(s.pick));
        EXPECT_EQ(host.message_dialogs().size(), dialogs + (s.dialog ? 1 : 0));
        EXPECT_EQ(painted(from).size(), s.paints ? 1u : 0u);
        EXPECT_EQ(args_of("ProWindowRepaint", from).size(), s.paints ? 1u : 0u);
    }
    EXPECT_EQ(host.macros().size(), 4u);
    EXPECT_EQ(host.macros_queued(), 4u);
    expect_clean();
}

TEST_F(Colours, AboutShowsItsNoticeAndChangesNoAppearance)
{
    part("p", appearance_json(R"("color": [0.1, 0.2, 0.3])"));
    assembly("top", R"({"type": 1000, "model": "p.prt"})");
    open("top");
    ASSERT_TRUE(host.pick(kAbout));
    ASSERT_EQ(host.message_dialogs().size(), 1u);
    const vxhost::MessageDialog& d = host.message_dialogs()[0];
    EXPECT_EQ(d.title, "提示");
    EXPECT_NE(d.text.find("Vexholm"), std::string::npos);
    EXPECT_EQ(d.buttons, std::vector<int>{PRO_UI_MESSAGE_OK});
    EXPECT_EQ(d.default_button, PRO_UI_MESSAGE_OK);
    for (const char* call : {"ProSolidFeatVisit", "ProSurfaceAppearancepropsSet", "ProWindowRepaint",
                             "ProMacroLoad"})
        EXPECT_EQ(host.count(call), 0u) << call;
    EXPECT_EQ(outstanding(), std::vector<std::string>{"array ProArrayAlloc"});   // the history
    expect_clean();
}

// ---- the painting ----

// The whole paint command as the host carries it out: every appearance
// cleared, then every visible part painted, and the user back on the tab
// he was on.
TEST_F(Colours, ThePaintMacroClearsPaintsAndReturnsToTheTab)
{
    const std::string own = appearance_json(R"("color": [0.1, 0.2, 0.3], "name": "steel", "reflection": 0.5)");
    part("p", own);
    part("q", own);
    part("hidden", own);
    assembly("sub", R"({"type": 1000, "model": "q.prt"})");
    assembly("top", R"({"type": 1000, "model": "p.prt"}, {"type": 1000, "model": "sub.asm"},
                       {"type": 1000, "model": "hidden.prt", "visibility": 0})");
    open("top");
    host.switch_tab("page_Tools");
    const std::size_t from = host.journal().size();
    ASSERT_TRUE(host.pick(kPaint));

    EXPECT_EQ(parts_painted(from), (std::vector<std::string>{"p", "q"}));
    for (const char* name : {"p", "q"}) {
        SCOPED_TRACE(name);
        const auto& a = model(name)->document.appearance;
        ASSERT_TRUE(a);
        // Painted after the clearing: the texts kept are the default
        // appearance's, not the part's own.
        EXPECT_EQ(a->name, vxhost::Appearance{}.name);
        EXPECT_EQ(a->reflection, vxhost::Appearance{}.reflection);
    }
    EXPECT_FALSE(has_appearance("hidden"));   // cleared, and not painted
    EXPECT_EQ(host.current_tab(), "page_Tools");
    EXPECT_EQ(host.transcript().back(), "tab page_View -> page_Tools");
    EXPECT_EQ(args_of("ProWindowRepaint", from), std::vector<std::string>{"-1"});
    EXPECT_EQ(host.macros_queued(), 0u);
    EXPECT_EQ(outstanding(), (std::vector<std::string>{"array ProArrayAlloc", "string ProStringCopy"}));
    expect_clean();
}

// Hidden or suppressed components are passed over with everything below
// them, and features of any other type never reach the visit action.
TEST_F(Colours, OnlyVisibleUnsuppressedComponentsArePaintedDownToTheirParts)
{
    for (const char* name : {"p1", "p2", "p3", "p4", "p5", "p6", "p7"})
        part(name);
    assembly("sub1", R"({"type": 1000, "model": "p2.prt"})");
    assembly("sub2", R"({"type": 1000, "model": "p3.prt"})");
    assembly("sub3", R"({"type": 1000, "model": "p6.prt"}, {"type": 923}, {"type": 1000, "model": "p7.prt", "visibility": 0})");
    assembly("top", R"({"type": 923}, {"type": 1000, "model": "p1.prt"},
                       {"type": 1000, "model": "sub1.asm", "status": 5},
                       {"type": 1000, "model": "sub2.asm", "visibility": 0},
                       {"type": 1000, "model": "p4.prt", "status": 5},
                       {"type": 1000, "model": "p5.prt", "visibility": 2},
                       {"type": 979},
                       {"type": 1000, "model": "sub3.asm", "status": 1},
                       {"type": 1000, "model": "p1.prt", "status": 5, "visibility": 0})");
    open("top");
    const int top = number("top", PRO_MDL_ASSEMBLY);
    const std::size_t from = host.journal().size();
    ASSERT_TRUE(host.pick(kPaint));
    EXPECT_EQ(parts_painted(from), (std::vector<std::string>{"p1", "p6"}));
    for (const char* name : {"p2", "p3", "p4", "p5", "p7"})
        EXPECT_FALSE(has_appearance(name)) << name;

    const int sub3 = number("sub3", PRO_MDL_ASSEMBLY);
    auto feature = [](int id, int owner) {
        return "feature " + std::to_string(id) + " of model#" + std::to_string(owner);
    };
    std::vector<std::string> all_of_top, components;
    for (int id = 1; id <= 9; ++id)
        all_of_top.push_back(feature(id, top));
    for (int id : {2, 3, 4, 5, 6, 8, 9})
        components.push_back(feature(id, top));
    components.insert(components.begin() + 6, {feature(1, sub3), feature(3, sub3)});
    std::vector<std::string> typed = all_of_top;
    typed.insert(typed.begin() + 8, {feature(1, sub3), feature(2, sub3), feature(3, sub3)});
    EXPECT_EQ(args_of("ProFeatureTypeGet", from), typed);
    EXPECT_EQ(args_of("ProFeatureStatusGet", from), components);
    EXPECT_EQ(args_of("ProFeatureVisibilityGet", from), components);
    EXPECT_EQ(args_of("ProAsmcompMdlGet", from),
              (std::vector<std::string>{feature(2, top), feature(8, top), feature(1, sub3)}));
    expect_clean();
}

// The appearance belongs to the part model: a part placed several times
// is painted at each visit and ends with the colour of the last one.
TEST_F(Colours, APartPlacedSeveralTimesEndsWithItsLastVisitsColour)
{
    part("p");
    part("q");
    assembly("inner", R"({"type": 1000, "model": "p.prt"})");
    assembly("sub", R"({"type": 1000, "model": "p.prt"}, {"type": 1000, "model": "inner.asm"}, {"type": 1000, "model": "q.prt"})");
    assembly("top", R"({"type": 1000, "model": "p.prt"}, {"type": 1000, "model": "sub.asm"},
                       {"type": 1000, "model": "sub.asm"}, {"type": 1000, "model": "q.prt"})");
    open("top");
    const std::size_t from = host.journal().size();
    ASSERT_TRUE(host.pick(kPaint));
    const auto list = painted(from);
    EXPECT_EQ(parts_painted(from), (std::vector<std::string>{"p", "p", "p", "q", "p", "p", "q", "q"}));
    for (const char* name : {"p", "q"}) {
        SCOPED_TRACE(name);
        Colour last{};
        for (const Painted& p : list)
            if (p.part == name)
                last = p.colour;
        const auto& a = model(name)->document.appearance;
        ASSERT_TRUE(a);
        EXPECT_EQ(a->color, last);
    }
    expect_clean();
}

// The colours are the generator's, seeded with the time of the painting
// in seconds: three draws a painted part, red, green, blue, in visit
// order, each a whole k from 0 to 1000 times the factor. A part whose
// appearance cannot be read is passed over and spends no draw.
TEST_F(Colours, TheColoursFollowTheGeneratorSeededWithThePaintingsTime)
{
    for (const char* name : {"a", "b", "c", "d", "unread", "e", "f"})
        part(name);
    assembly("sub", R"({"type": 1000, "model": "c.prt"}, {"type": 1000, "model": "unread.prt"}, {"type": 1000, "model": "d.prt"})");
    assembly("top", R"({"type": 1000, "model": "a.prt"}, {"type": 1000, "model": "b.prt"}, {"type": 1000, "model": "sub.asm"},
                       {"type": 1000, "model": "e.prt"}, {"type": 1000, "model": "f.prt"}, {"type": 1000, "model": "a.prt"})");
    load();
    host.open_model("unread", PRO_MDL_PART);   // in session first, to know its number
    host.open_model("top", PRO_MDL_ASSEMBLY);
    host.inject_fault("ProSurfaceAppearancepropsGet", PRO_TK_GENERAL_ERROR, 0,
                      "model#" + std::to_string(number("unread")));
    const std::size_t from = host.journal().size();
    const std::time_t before = std::time(nullptr);
    ASSERT_TRUE(host.pick(kPaint));
    const std::time_t after = std::time(nullptr);

    const auto list = painted(from);
    EXPECT_EQ(parts_painted(from), (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "a"}));
    EXPECT_FALSE(has_appearance("unread"));
    int seeds_matching = 0;
    for (std::time_t t = before; t <= after; ++t) {
        const auto colours = draws(static_cast<unsigned>(t), list.size());
        bool all = true;
        for (std::size_t i = 0; i < list.size(); ++i)
            all = all && list[i].colour == colours[i];
        seeds_matching += all;
    }
    EXPECT_EQ(seeds_matching, 1);
    for (const Painted& p : list)
        for (double unit : p.colour) {
            const double k = unit / kFactor;
            EXPECT_EQ(k, static_cast<int>(k)) << unit;
            EXPECT_GE(k, 0);
            EXPECT_LE(k, 1000);
            EXPECT_EQ(unit, static_cast<int>(k) * kFactor);
        }
    expect_clean();
}

// Two paintings of an unchanged assembly begun within one second give
// every part the same colour both times.
TEST_F(Colours, TwoPaintingsWithinOneSecondGiveTheSameColours)
{
    for (const char* name : {"a", "b", "c"})
        part(name);
    assembly("sub", R"({"type": 1000, "model": "b.prt"}, {"type": 1000, "model": "c.prt"})");
    assembly("top", R"({"type": 1000, "model": "a.prt"}, {"type": 1000, "model": "sub.asm"})");
    open("top");
    bool compared = false;
    for (int attempt = 0; attempt < 20 && !compared; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const std::size_t first = host.journal().size();
        ASSERT_TRUE(host.pick(kPaint));
        const std::size_t second = host.journal().size();
        ASSERT_TRUE(host.pick(kPaint));
        if (std::time(nullptr) != before)
            continue;   // the second came a second later: try again
        auto both = painted(first);
        const std::vector<Painted> one(both.begin(), both.begin() + 3);
        EXPECT_EQ(painted(second), one);
        EXPECT_EQ(parts_painted(second), (std::vector<std::string>{"a", "b", "c"}));
        compared = true;
    }
    EXPECT_TRUE(compared) << "no two paintings fell within one second";
    expect_clean();
}

// About run while the switch is cleared paints what the parts have now:
// fixed lighting, a highlight of pure blue, and the part's own
// reflection and texts, whole. A part the host does not take the new
// appearance from keeps its own, and the visit goes on; one whose
// appearance cannot be read keeps its own too.
TEST_F(Colours, APaintedPartGetsFixedLightingAndKeepsItsReflectionAndTexts)
{
    const std::string name(PRO_PATH_SIZE - 1, 'n');
    const std::string own = appearance_json(
        R"("ambient": 0.1, "diffuse": 0.2, "highlight": 0.3, "shininess": 0.4, "transparency": 0.5,
           "color": [0.9, 0.9, 0.9], "highlight_color": [0.3, 0.3, 0.3], "reflection": 0.35,
           "name": ")" + name + R"(", "label": "铸铁", "description": "grey \"cast\" iron",
           "keywords": "metal; iron")");
    for (const char* p : {"p", "refused", "unread", "q"})
        part(p, own);
    assembly("top", R"({"type": 1000, "model": "p.prt"}, {"type": 1000, "model": "refused.prt"},
                       {"type": 1000, "model": "unread.prt"}, {"type": 1000, "model": "q.prt"})");
    load();
    host.open_model("refused", PRO_MDL_PART);
    host.open_model("unread", PRO_MDL_PART);
    host.open_model("top", PRO_MDL_ASSEMBLY);
    host.inject_fault("ProSurfaceAppearancepropsSet", PRO_TK_GENERAL_ERROR, 0,
                      "model#" + std::to_string(number("refused")) + ",");
    host.inject_fault("ProSurfaceAppearancepropsGet", PRO_TK_GENERAL_ERROR, 0,
                      "model#" + std::to_string(number("unread")));
    const vxhost::Appearance before = *model("refused")->document.appearance;   // every part's own
    host.hold_macros(true);
    ASSERT_TRUE(host.pick(kPaint));
    ASSERT_TRUE(host.run_action("QVX_About_Act"));

    EXPECT_EQ(parts_painted(), (std::vector<std::string>{"p", "q"}));
    for (const char* p : {"p", "q"}) {
        SCOPED_TRACE(p);
        const vxhost::Appearance& a = *model(p)->document.appearance;
        EXPECT_EQ(a.ambient, 0.8);
        EXPECT_EQ(a.diffuse, 0.8);
        EXPECT_EQ(a.highlight, 0.7);
        EXPECT_EQ(a.shininess, 0.6);
        EXPECT_EQ(a.transparency, 0.0);
        EXPECT_EQ(a.highlight_color, (Colour{0.0, 0.0, 1.0}));
        EXPECT_EQ(a.reflection, 0.35);
        EXPECT_EQ(a.name, before.name);
        EXPECT_EQ(a.name.size(), PRO_PATH_SIZE - 1u);
        EXPECT_EQ(a.label, u"铸铁");
        EXPECT_EQ(a.description, u"grey \"cast\" iron");
        EXPECT_EQ(a.keywords, u"metal; iron");
        EXPECT_NE(a.color, before.color);
    }
    for (const char* p : {"refused", "unread"})
        EXPECT_TRUE(*model(p)->document.appearance == before) << p;
    expect_clean();
}

// A component whose type, status, visibility, model or item the host
// does not give -- refused, or "given" without a word written -- is not
// painted, and the appearance of what the host did not name is never
// asked for; the visit goes on with the next one.
TEST_F(Colours, AComponentTheHostCannotDescribeIsPassedOver)
{
    part("a");
    part("b");
    part("c");
    assembly("top", R"({"type": 1000, "model": "a.prt"}, {"type": 1000, "model": "b.prt"}, {"type": 1000, "model": "c.prt"})");
    load();
    host.open_model("b", PRO_MDL_PART);
    host.open_model("top", PRO_MDL_ASSEMBLY);
    const std::string second = "feature 2 of model#" + std::to_string(number("top", PRO_MDL_ASSEMBLY));
    const std::string b = "model#" + std::to_string(number("b"));
    // `reads`: the appearances asked for, a's and c's and, once the host
    // has named b's item, b's.
    const struct {
        const char* call;
        std::string args;
        std::size_t reads;
    } cases[] = {
        {"ProFeatureTypeGet", second, 2},       {"ProFeatureStatusGet", second, 2},
        {"ProFeatureVisibilityGet", second, 2}, {"ProAsmcompMdlGet", second, 2},
        {"ProMdlToModelitem", b, 2},            {"ProSurfaceAppearancepropsGet", b, 3},
    };
    for (const auto& c : cases)
        for (bool unwritten : {false, true}) {
            SCOPED_TRACE(std::string(c.call) + (unwritten ? " unwritten" : " refused"));
            host.clear_faults();
            inject(c.call, unwritten, 0, c.args);
            const std::size_t from = host.journal().size();
            ASSERT_TRUE(host.pick(kPaint));
            EXPECT_EQ(parts_painted(from), (std::vector<std::string>{"a", "c"}));
            EXPECT_FALSE(has_appearance("b"));
            EXPECT_EQ(args_of("ProSurfaceAppearancepropsGet", from).size(), c.reads);
            EXPECT_EQ(args_of("ProWindowRepaint", from).size(), 1u);
        }
    expect_clean();
}

// With nothing visible to paint, or no current model -- no window, the
// model refused, or "given" without a word written -- About visits
// nothing, still repaints the window once, and sets the switch again.
TEST_F(Colours, NothingToPaintStillRepaintsOnce)
{
    part("p");
    assembly("top", R"({"type": 923}, {"type": 1000, "model": "p.prt", "visibility": 0})");
    open("top");
    host.hold_macros(true);
    std::size_t from = host.journal().size();
    ASSERT_TRUE(host.pick(kPaint));
    ASSERT_TRUE(host.run_action("QVX_About_Act"));
    EXPECT_EQ(host.count("ProSolidFeatVisit"), 1u);
    EXPECT_TRUE(painted().empty());
    EXPECT_EQ(args_of("ProWindowRepaint", from), std::vector<std::string>{"-1"});

    const struct {
        const char* name;
        bool unwritten;   // with no window, unused
    } cases[] = {{"refused", false}, {"unwritten", true}, {"no window", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.clear_faults();
        ASSERT_TRUE(host.pick(kPaint));
        if (std::string(c.name) == "no window")
            host.close_all_windows();
        else
            inject("ProMdlCurrentGet", c.unwritten);
        from = host.journal().size();
        ASSERT_TRUE(host.run_action("QVX_About_Act"));
        EXPECT_EQ(args_of("ProSolidFeatVisit", from).size(), 0u);
        EXPECT_EQ(args_of("ProWindowRepaint", from), std::vector<std::string>{"-1"});
        EXPECT_TRUE(host.message_dialogs().empty());
    }
    EXPECT_EQ(host.journal().back().status, PRO_TK_BAD_CONTEXT);   // no window to repaint
    ASSERT_TRUE(host.run_action("QVX_About_Act"));
    EXPECT_EQ(host.message_dialogs().size(), 1u);
    expect_clean();
}
