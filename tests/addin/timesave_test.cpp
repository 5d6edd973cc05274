// The timed save: the dialog TimeSave and its entries, the thread timer it
// starts, and the saves on each tick. Off Windows the host plays the timer
// on its own clock, so these tests make hours pass at once; on Windows
// the add-in sets real timers, and the tests there look for them.
#include "addin_fixture.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#include <wctype.h>
#endif

using vxtest::AddinTest;

namespace {

const char* const kButton = "QVX_TimeSavemenu";
const char* const kPanel = "InputTime";
const char* const kAutoSave = "CBAutoSave";
const char* const kSaveAll = "CBSaveAll";
const char* const kOk = "CommitOK";
const char* const kCancel = "CommitCancel";
const char* const kRangeMessage = "时间范围必须设定在5~60分钟以内。";
const char* const kNotice = "message: Models saved by timed save.";
constexpr unsigned kMinute = 60000;

}  // namespace

class TimeSave : public AddinTest {
protected:
    void SetUp() override { load(); }

    // Opens the dialog, which takes what the user was given to do.
    void open_dialog() { ASSERT_TRUE(host.pick(kButton)); }

    // Types `text`, sets the boxes asked for and presses OK; Cancel if OK
    // leaves the dialog open. The status the dialog ended with: 1 for OK.
    int enter(const std::u16string& text, bool auto_save = false, bool save_all = false)
    {
        host.type_text(kPanel, text);
        if (auto_save)
            host.set_check(kAutoSave, true);
        if (save_all)
            host.set_check(kSaveAll, true);
        host.press(kOk);
        host.press(kCancel);
        host.pick(kButton);
        host.clear_dialog_input();
        return host.dialog_runs().back().status;
    }

    // What the dialog shows when it opens next; left through Cancel.
    std::map<std::string, std::string> shown()
    {
        host.press(kCancel);
        host.pick(kButton);
        return host.dialog_runs().back().opened_with;
    }

    std::size_t range_messages() const
    {
        return std::count_if(host.message_dialogs().begin(), host.message_dialogs().end(),
                             [](const vxhost::MessageDialog& d) { return d.text == kRangeMessage; });
    }

    // Transcript lines from `from` on that tell what a save did.
    std::vector<std::string> story(std::size_t from) const
    {
        std::vector<std::string> lines;
        const auto& t = host.transcript();
        for (std::size_t i = from; i < t.size(); ++i)
            if (t[i].rfind("saved ", 0) == 0 || t[i].rfind("macro queued", 0) == 0 ||
                t[i] == kNotice || t[i].rfind("host dialog", 0) == 0)
                lines.push_back(t[i].substr(0, t[i].find(" in D:")));
        return lines;
    }

    // Only the directory history is left.
    void expect_only_the_history() const
    {
        EXPECT_EQ(outstanding(), std::vector<std::string>{"array ProArrayAlloc"});
        EXPECT_EQ(host.ledger_errors(), std::vector<std::string>{});
    }
};

TEST_F(TimeSave, TheFirstOpeningShowsTenMinutesAndBothBoxesClear)
{
    const auto opened = shown();
    EXPECT_EQ(opened.at(kPanel), "\"10\"");
    EXPECT_EQ(opened.at(kAutoSave), "clear");
    EXPECT_EQ(opened.at(kSaveAll), "clear");
    EXPECT_EQ(host.dialog_runs().back().status, 0);
    expect_only_the_history();
    expect_clean();
}

// The command stops the timer before it builds the dialog, presets what
// is on, binds the two buttons and destroys the dialog when it is left.
TEST_F(TimeSave, TheCommandBuildsRunsAndDestroysTheDialog)
{
    ASSERT_EQ(enter(u"25", true, true), 1);
    const std::size_t from = host.journal().size();
    shown();
    std::vector<std::string> made;
    for (std::size_t i = from; i < host.journal().size(); ++i) {
        const auto& e = host.journal()[i];
        if (e.name.rfind("ProUI", 0) == 0 || e.name == "KillTimer")
            made.push_back(e.name + "(" + e.args() + ")");
    }
    std::vector<std::string> expected = {
        "ProUIDialogCreate(\"TimeSave\", \"TimeSave\")",
        "ProUIInputpanelInputtypeSet(\"TimeSave\", \"InputTime\", 2)",
        "ProUICheckbuttonSet(\"TimeSave\", \"CBAutoSave\")",
        "ProUICheckbuttonSet(\"TimeSave\", \"CBSaveAll\")",
        "ProUIInputpanelValueSet(\"TimeSave\", \"InputTime\", \"25\")",
        "ProUIPushbuttonActivateActionSet(\"TimeSave\", \"CommitOK\", fn)",
        "ProUIPushbuttonActivateActionSet(\"TimeSave\", \"CommitCancel\", fn)",
        "ProUIDialogActivate(\"TimeSave\")",
        "ProUIDialogExit(\"TimeSave\", 0)",
        "ProUIDialogDestroy(\"TimeSave\")",
    };
#ifndef _WIN32
    // Off Windows the host plays the timer and journals it.
    expected.insert(expected.begin(), "KillTimer((null), 32767)");
#endif
    EXPECT_EQ(made, expected);
    expect_clean();
}

// Each entry as OK reads it: accepted (the value the next opening shows)
// or refused with the range message, the dialog staying open.
TEST_F(TimeSave, EntriesAreReadByTheIntervalRule)
{
    struct Case {
        const char* label;
        std::u16string text;
        int accepted;     // 0: refused
    };
    const Case cases[] = {
        {"lowest", u"5", 5},
        {"highest", u"60", 60},
        {"below", u"4", 0},
        {"above", u"61", 0},
        {"zero", u"0", 0},
        {"negative", u"-5", 0},
        {"empty", u"", 0},
        {"no digits", u"ten", 0},
        {"leading blank", u" 7", 7},
        {"plus sign", u"+7", 7},
        {"leading zero", u"07", 7},
        {"zeros", u"0005", 5},
        {"trailing word", u"7 min", 7},
        {"decimal point", u"7.9", 7},
        {"tab, line and page breaks", u"\t\n\v\f\r8", 8},
        {"no-break space", u"\u00A09", 9},
        {"ideographic space", u"\u30009", 9},
        {"line separator", u"\u202810", 10},
        {"zero-width space is none", u"\u200B7", 0},
        {"two signs", u"+-7", 0},
        {"blank after the sign", u"- 7", 0},
        {"full-width fifteen", u"\uFF11\uFF15", 15},
        {"full-width sixty-one", u"\uFF16\uFF11", 0},
        {"Arabic-Indic twenty", u"\u0662\u0660", 20},
        {"Extended Arabic-Indic sixty", u"\u06F6\u06F0", 60},
        {"Devanagari forty-five", u"\u096A\u096B", 45},
        {"Bengali", u"\u09EA\u09E6", 40},
        {"Gurmukhi", u"\u0A6B\u0A6F", 59},
        {"Gujarati", u"\u0AE9\u0AE6", 30},
        {"Oriya", u"\u0B6A", 0},
        {"Telugu", u"\u0C6C", 6},
        {"Kannada", u"\u0CE7\u0CEE", 18},
        {"Malayalam", u"\u0D6B\u0D6B", 55},
        {"Thai", u"\u0E53\u0E50", 30},
        {"Lao", u"\u0ED2\u0ED5", 25},
        {"Tibetan", u"\u0F25\u0F20", 50},
        {"Myanmar", u"\u1041\u1042", 12},
        {"Khmer", u"\u17E9", 9},
        {"Mongolian", u"\u1811\u1819", 19},
        {"scripts mixed", u"1\u0665", 15},
        {"past a range's nine", u"\u066A5", 0},
        {"just under the bound", u"2147483647", 0},
        {"beyond the 32-bit range", u"2147483648", 0},
        {"far beyond", u"99999999999999999999999", 0},
        {"beyond the lower bound", u"-2147483649", 0},
    };
    std::size_t messages = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const int status = enter(c.text);
        if (c.accepted) {
            EXPECT_EQ(status, 1);
            EXPECT_EQ(range_messages(), messages);
            EXPECT_EQ(shown().at(kPanel), "\"" + std::to_string(c.accepted) + "\"");
            // Back to the start for the next case.
            ASSERT_EQ(enter(u"10"), 1);
        } else {
            EXPECT_EQ(status, 0) << "left through Cancel";
            EXPECT_EQ(range_messages(), ++messages);
            EXPECT_EQ(host.dialog_runs().back().inputs.size(), 3u) << "the dialog stayed open";
            EXPECT_EQ(shown().at(kPanel), "\"10\"");
        }
    }
    expect_only_the_history();
    expect_clean();
}

// Refused: neither the interval nor the boxes change, though the user had
// ticked them. Corrected, OK takes the new entry and the boxes.
TEST_F(TimeSave, ARefusedEntryChangesNoSettingAndTheUserMayCorrectIt)
{
    EXPECT_EQ(enter(u"4", true, true), 0);
    auto opened = shown();
    EXPECT_EQ(opened.at(kPanel), "\"10\"");
    EXPECT_EQ(opened.at(kAutoSave), "clear");
    EXPECT_EQ(opened.at(kSaveAll), "clear");

    host.set_check(kAutoSave, true);
    host.type_text(kPanel, u"99");
    host.press(kOk);
    host.type_text(kPanel, u"12");
    host.press(kOk);
    open_dialog();
    EXPECT_EQ(host.dialog_runs().back().status, 1);
    EXPECT_EQ(range_messages(), 2u);
    opened = shown();
    EXPECT_EQ(opened.at(kPanel), "\"12\"");
    EXPECT_EQ(opened.at(kAutoSave), "set");
    EXPECT_EQ(opened.at(kSaveAll), "clear");
    expect_only_the_history();
    expect_clean();
}

// OK clears a box as well as it sets one: the host writes each state.
TEST_F(TimeSave, OkStoresTheBoxesAsTheyStand)
{
    ASSERT_EQ(enter(u"8", true, true), 1);
    host.set_check(kAutoSave, false);
    ASSERT_EQ(enter(u"9"), 1);
    const auto opened = shown();
    EXPECT_EQ(opened.at(kAutoSave), "clear");
    EXPECT_EQ(opened.at(kSaveAll), "set");
    expect_clean();
}

// A text the host does not give is refused: nothing is read that was not
// handed over, and nothing is freed that was not.
TEST_F(TimeSave, OkWithoutATextFromTheHostIsARefusedEntry)
{
    for (const bool unwritten : {true, false}) {
        SCOPED_TRACE(unwritten ? "returns 0 without the text" : "fails");
        host.clear_faults();
        inject("ProUIInputpanelValueGet", unwritten);
        const std::size_t frees = host.count("ProWstringFree");
        EXPECT_EQ(enter(u"30"), 0);
        EXPECT_EQ(host.count("ProWstringFree"), frees);
    }
    EXPECT_EQ(range_messages(), 2u);
    host.clear_faults();
    EXPECT_EQ(shown().at(kPanel), "\"10\"");
    expect_only_the_history();
    expect_clean();
}

// Closing the window ends the dialog without OK or Cancel: nothing is
// stored and the timer stays stopped.
TEST_F(TimeSave, ClosingTheWindowLeavesTheTimerStopped)
{
    ASSERT_EQ(enter(u"5", true), 1);
    host.type_text(kPanel, u"20");
    host.close_dialog();
    open_dialog();
    EXPECT_TRUE(host.dialog_runs().back().closed);
#ifndef _WIN32
    EXPECT_TRUE(host.timers().empty());
#endif
    EXPECT_EQ(shown().at(kPanel), "\"5\"");
    expect_clean();
}

// The layout cannot be had: nothing is reported to the user and the
// command returns. The command examines no status of its dialog calls, so
// the host tells of each later one that there is no such dialog, and of
// nothing else.
TEST_F(TimeSave, WithoutItsDialogTheCommandReturnsQuietly)
{
    host.inject_fault("ProUIDialogCreate", PRO_TK_E_NOT_FOUND);
    open_dialog();
    EXPECT_EQ(host.last_action_status(), 0);
    EXPECT_TRUE(host.dialog_runs().empty());
    EXPECT_TRUE(host.message_dialogs().empty());
    expect_only_the_history();
    std::vector<std::string> expected;
    for (const char* call : {"ProUIInputpanelInputtypeSet", "ProUIInputpanelValueSet",
                             "ProUIPushbuttonActivateActionSet", "ProUIPushbuttonActivateActionSet",
                             "ProUIDialogActivate", "ProUIDialogDestroy"})
        expected.push_back(std::string(call) + ": no dialog TimeSave");
    EXPECT_EQ(host.errors(), expected);
}

#ifndef _WIN32
// ---- the timer and the saves, on the host's own clock ------------------------

class TimedSaves : public TimeSave {
protected:
    void SetUp() override
    {
        store_parts();
        TimeSave::SetUp();
    }

    // The newest stored versions of three parts in D:\models\.
    void store_parts()
    {
        for (const char* name : {"bracket.prt.3", "housing.prt.4", "shaft.prt.1"})
            disk.write(std::string("models/") + name, R"({"type": "part"})");
    }

    // Ticks delivered while `minutes` pass.
    int wait(double minutes) { return host.advance_clock(static_cast<long long>(minutes * kMinute + 0.5)); }

    std::size_t saves() const { return host.count("ProMacroLoad"); }
};

TEST_F(TimedSaves, TheFirstSaveComesOneFullIntervalAfterOkAndThenEveryInterval)
{
    host.open_model("bracket", PRO_MDL_PART);
    ASSERT_EQ(enter(u"5", true), 1);
    ASSERT_EQ(host.timers().size(), 1u);
    EXPECT_EQ(host.timers()[0].period, 5u * kMinute);
    EXPECT_NE(host.timers()[0].id, 10u) << "the identifier is the host's, not the one asked for";

    host.advance_clock(5LL * kMinute - 1);
    EXPECT_EQ(saves(), 0u);
    EXPECT_EQ(host.advance_clock(1), 1);
    EXPECT_EQ(saves(), 1u);
    EXPECT_EQ(wait(60), 12);
    EXPECT_EQ(saves(), 13u);
    expect_only_the_history();
    expect_clean();
}

// Cancel starts the timer with the interval in force when the dialog
// opened, whether one ran or not, and the count starts afresh.
TEST_F(TimedSaves, CancelRestartsTheTimerWithTheIntervalInForce)
{
    host.open_model("bracket", PRO_MDL_PART);
    host.press(kCancel);
    open_dialog();
    ASSERT_EQ(host.timers().size(), 1u);
    EXPECT_EQ(host.timers()[0].period, 10u * kMinute) << "a timer though none ran before";

    ASSERT_EQ(enter(u"7", true), 1);
    wait(3);
    host.type_text(kPanel, u"30");
    host.press(kCancel);
    open_dialog();
    ASSERT_EQ(host.timers().size(), 1u);
    EXPECT_EQ(host.timers()[0].period, 7u * kMinute);
    EXPECT_EQ(wait(6.9), 0) << "the count starts at Cancel";
    EXPECT_EQ(wait(0.1), 1);
    EXPECT_EQ(saves(), 1u);
    expect_clean();
}

TEST_F(TimedSaves, NoSaveWhileTheDialogIsOpenAndOneTimerHoweverOftenItOpens)
{
    host.open_model("bracket", PRO_MDL_PART);
    ASSERT_EQ(enter(u"5", true), 1);
    for (int i = 0; i < 5; ++i) {
        host.look_in_dialog([this] { EXPECT_TRUE(host.timers().empty()); });
        host.wait_in_dialog(30LL * kMinute);
        host.press(i % 2 ? kCancel : kOk);
        open_dialog();
        EXPECT_EQ(host.timers().size(), 1u);
    }
    EXPECT_EQ(saves(), 0u);
    EXPECT_EQ(host.count("SetTimer"), host.count("KillTimer") + 1);
    EXPECT_EQ(wait(5), 1);
    expect_clean();
}

TEST_F(TimedSaves, WithTimedSaveOffTheTimerTicksAndNothingIsSaved)
{
    host.open_model("bracket", PRO_MDL_PART);
    ASSERT_EQ(enter(u"5", false, true), 1);
    EXPECT_EQ(wait(20), 4);
    for (const char* call : {"ProMacroLoad", "ProWindowsVisit", "ProMdlSave", "ProMessageDisplay"})
        EXPECT_EQ(host.count(call), 0u) << call;
    EXPECT_EQ(host.timers().size(), 1u);
}

// A timer that Windows does not set is not reported; the next OK tries again.
TEST_F(TimedSaves, ATimerThatIsNotSetMeansNoSaveUntilTheDialogIsLeftAgain)
{
    host.open_model("bracket", PRO_MDL_PART);
    host.inject_fault("SetTimer", 0, 1);
    ASSERT_EQ(enter(u"5", true), 1);
    EXPECT_TRUE(host.timers().empty());
    EXPECT_EQ(wait(60), 0);
    ASSERT_EQ(enter(u"5", true), 1);
    EXPECT_EQ(wait(5), 1);
    EXPECT_TRUE(host.message_dialogs().empty());
}

// One tick, as the windows stand: which models are saved directly, in
// window order, and what the queued Save command saves after the notice.
TEST_F(TimedSaves, ASaveOfAllWindowsSavesTheOthersThenQueuesTheActiveOne)
{
    struct Case {
        const char* label;
        std::vector<std::string> parts;    // opened in order; the last is active
        int emptied;                       // window made empty, 0: none
        std::vector<std::string> read_only;
        const char* fault;                 // call that fails on its first call, or nullptr
        bool save_all;
        std::vector<std::string> story;
    };
    const std::string queued = "macro queued: ~ Command `ProCmdModelSave` ;~ Activate `file_saveas` `OK`;";
    const Case cases[] = {
        {"one window", {"bracket"}, 0, {}, nullptr, true,
         {queued, kNotice, "host dialog file_saveas opens for bracket.prt", "saved bracket.prt.4"}},
        {"active window only", {"shaft", "bracket"}, 0, {}, nullptr, false,
         {queued, kNotice, "host dialog file_saveas opens for bracket.prt", "saved bracket.prt.4"}},
        {"a model in the active and another window", {"bracket", "housing", "bracket"}, 0, {}, nullptr, true,
         {"saved bracket.prt.4", "saved housing.prt.5", queued, kNotice,
          "host dialog file_saveas opens for bracket.prt", "saved bracket.prt.5"}},
        {"a model in two other windows", {"bracket", "bracket", "housing"}, 0, {}, nullptr, true,
         {"saved bracket.prt.4", "saved bracket.prt.5", queued, kNotice,
          "host dialog file_saveas opens for housing.prt", "saved housing.prt.5"}},
        {"an empty window is passed over", {"shaft", "housing", "bracket"}, 1, {}, nullptr, true,
         {"saved housing.prt.5", queued, kNotice, "host dialog file_saveas opens for bracket.prt",
          "saved bracket.prt.4"}},
        {"an unreadable permission is passed over", {"shaft", "housing", "bracket"}, 0, {},
         "ProMdlIsSaveAllowed", true,
         {"saved housing.prt.5", queued, kNotice, "host dialog file_saveas opens for bracket.prt",
          "saved bracket.prt.4"}},
        {"a read-only model is passed over", {"shaft", "housing", "bracket"}, 0, {"shaft"}, nullptr, true,
         {"saved housing.prt.5", queued, kNotice, "host dialog file_saveas opens for bracket.prt",
          "saved bracket.prt.4"}},
        {"no window list: only the queued save", {"shaft", "bracket"}, 0, {}, "ProWindowsVisit", true,
         {queued, kNotice, "host dialog file_saveas opens for bracket.prt", "saved bracket.prt.4"}},
        {"no list to fill: only the queued save", {"shaft", "bracket"}, 0, {}, "ProArrayAlloc", true,
         {queued, kNotice, "host dialog file_saveas opens for bracket.prt", "saved bracket.prt.4"}},
        {"the list cannot grow: only the queued save", {"shaft", "bracket"}, 0, {}, "ProArrayObjectAdd", true,
         {queued, kNotice, "host dialog file_saveas opens for bracket.prt", "saved bracket.prt.4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        // A fresh add-in, session and folder for each case.
        host.unload();
        host.close_all_windows();
        host.clear_faults();
        std::filesystem::remove_all(disk.path() / "models");
        store_parts();
        load();
        for (const auto& name : c.parts) {
            host.open_model(name, PRO_MDL_PART);
            const bool read_only = std::count(c.read_only.begin(), c.read_only.end(), name) > 0;
            host.set_read_only(name, PRO_MDL_PART, read_only);   // models stay in session
        }
        if (c.emptied)
            host.empty_window(host.session().windows()[c.emptied - 1].id);
        ASSERT_EQ(enter(u"5", true, c.save_all), 1);
        if (c.fault)
            host.inject_fault(c.fault, PRO_TK_GENERAL_ERROR, 1);
        const std::size_t from = host.transcript().size();
        EXPECT_EQ(wait(5), 1);
        EXPECT_EQ(story(from), c.story);
        expect_only_the_history();
        EXPECT_EQ(host.errors(), std::vector<std::string>{});
    }
}

// The notice comes as soon as the macro is queued: before the host runs
// it, and even when the queued Save then fails.
TEST_F(TimedSaves, TheNoticeComesBeforeTheQueuedSaveRuns)
{
    host.open_model("bracket", PRO_MDL_PART);
    ASSERT_EQ(enter(u"5", true), 1);
    host.hold_macros(true);
    wait(5);
    EXPECT_EQ(host.count("ProMessageDisplay"), 1u);
    EXPECT_EQ(host.macros_queued(), 1u);
    EXPECT_EQ(host.count("ProMdlSave"), 0u);
    host.hold_macros(false);
    host.run_macros();

    host.set_read_only("bracket", PRO_MDL_PART, true);
    const std::size_t from = host.transcript().size();
    wait(5);
    const auto lines = story(from);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], kNotice);
    EXPECT_FALSE(host.errors().empty()) << "the host's Save refused the read-only model";
    expect_only_the_history();
}

// Shut-down stops the timer: an hour later nothing ticks and the host
// records no tick for a library that is gone.
TEST_F(TimedSaves, AfterUnloadNoTickComes)
{
    host.open_model("bracket", PRO_MDL_PART);
    ASSERT_EQ(enter(u"5", true, true), 1);
    EXPECT_EQ(wait(5), 1);
    host.unload();
    EXPECT_TRUE(host.timers().empty());
    EXPECT_EQ(wait(60), 0);
    EXPECT_EQ(host.count("ProMacroLoad"), 1u);
    EXPECT_TRUE(host.outstanding().empty());
    expect_clean();
}

// A fresh load starts from the settings at load, whatever the last one set.
TEST_F(TimedSaves, AReloadStartsFromTheSettingsAtLoad)
{
    ASSERT_EQ(enter(u"45", true, true), 1);
    host.unload();
    load();
    EXPECT_TRUE(host.timers().empty());
    const auto opened = shown();
    EXPECT_EQ(opened.at(kPanel), "\"10\"");
    EXPECT_EQ(opened.at(kAutoSave), "clear");
    EXPECT_EQ(opened.at(kSaveAll), "clear");
    expect_clean();
}

#else
// ---- Windows: the add-in sets real thread timers ------------------------------

namespace {

// How many thread timers this thread holds, found by stopping every
// identifier Windows hands out: each one found is gone afterwards.
int stop_thread_timers()
{
    int found = 0;
    for (UINT_PTR id = 1; id <= 0xFFFF; ++id)
        found += KillTimer(nullptr, id) ? 1 : 0;
    return found;
}

}  // namespace

TEST_F(TimeSave, OkAndCancelEachSetOneTimerNoneRunsWhileTheDialogIsOpenNorAfterUnload)
{
    ASSERT_EQ(enter(u"5", true), 1);
    EXPECT_EQ(stop_thread_timers(), 1) << "after OK";

    host.press(kCancel);
    open_dialog();
    EXPECT_EQ(stop_thread_timers(), 1) << "after Cancel";

    ASSERT_EQ(enter(u"5", true), 1);
    int while_open = -1;
    host.look_in_dialog([&] { while_open = stop_thread_timers(); });
    host.press(kOk);
    open_dialog();
    EXPECT_EQ(while_open, 0);

    host.unload();
    EXPECT_EQ(stop_thread_timers(), 0) << "after shut-down";
}

// The white space the add-in skips is the platform's own: every UTF-16
// unit u in "u7u" is read as 7 exactly when iswspace counts u as a space
// (or u is the sign "+"); a digit there makes 70 or more.
TEST_F(TimeSave, TheWhiteSpaceSkippedIsThePlatformsOwn)
{
    std::vector<unsigned> accepted, expected;
    for (unsigned first = 0; first <= 0xFFFF; first += 4096) {
        host.clear_journal();
        for (unsigned u = first; u < first + 4096; ++u) {
            host.type_text(kPanel, std::u16string{static_cast<char16_t>(u), u'7', static_cast<char16_t>(u)});
            host.press(kOk);
            if (iswspace(static_cast<wint_t>(u)) || u == u'+')
                expected.push_back(u);
        }
        host.press(kCancel);
        unsigned typed = first;
        while (host.dialog_input_left() > 0) {
            open_dialog();
            const auto& run = host.dialog_runs().back();
            typed += static_cast<unsigned>(run.inputs.size() / 2);
            if (run.status == 1)
                accepted.push_back(typed - 1);
        }
    }
    EXPECT_EQ(accepted, expected);
    EXPECT_EQ(host.ledger_errors(), std::vector<std::string>{});
}
#endif
