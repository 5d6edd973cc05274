// Align Vertically and Align Horizontally on a drawing in the throw-away
// drive D: (working directory D:\models\): the user selects items of the
// drawing, picks the command and then a point.
#include "addin_fixture.h"

#include "host/model_files.h"

using vxhost::Attachment;
using vxhost::DetailItem;
using vxhost::Point;
using vxtest::AddinTest;

namespace {

const char* const vertical = "QVX_VerticalAlignmenu";
const char* const horizontal = "QVX_HorizonAlignmenu";

// Sheet 1 (current): dimensions of both kinds, a symbol attached in a view
// to a reference, an item of another type and a third dimension; sheet 2
// another dimension.
const char* const plate = R"({"type": "drawing", "sheets": [
  {"items": [
    {"id": 1, "type": 8, "position": [10, 20, 0]},
    {"id": 2, "type": 28, "position": [30, 40, 5]},
    {"id": 3, "type": 76, "attachment": {"type": 2, "view": "TOP", "location": [50, 60, 7],
                                         "reference": "edge 3"}},
    {"id": 4, "type": 12},
    {"id": 5, "type": 8, "position": [-15, 2.5, 0]}]},
  {"items": [{"id": 9, "type": 8, "position": [1, 2, 3]}]}]})";

// The calls of the command, those a run of it may make.
const std::vector<std::string> command_calls = {
    "ProSelbufferSelectionsGet", "ProArraySizeGet", "ProMessageDisplay", "ProMousePickGet",
    "ProSelectionModelitemGet", "ProDrawingDimensionPosGet", "ProDrawingDimensionMove",
    "ProDtlsyminstDataGet", "ProDtlsyminstdataAttachmentGet", "ProDtlattachGet",
    "ProDtlattachAlloc", "ProDtlsyminstdataAttachmentSet", "ProDtlsyminstModify",
    "ProDtlattachFree", "ProDtlsyminstdataFree", "ProSelectionarrayFree",
    "ProDrawingCurrentSheetGet", "ProDwgSheetRegenerate"};

}  // namespace

class Align : public AddinTest {
protected:
    Align()
    {
        disk.write("models/plate.drw.1", plate);
        load();
        open();
    }

    // The drawing as its file has it, current and in a window of its own.
    void open()
    {
        host.close_all_windows();
        host.open_model("plate", PRO_MDL_DRAWING);
    }

    // The user selects `ids`, picks the command and then `point`.
    void align(const char* button, const std::vector<int>& ids, const Point& point = {50, 80, 0},
               int pressed = PRO_LEFT_BUTTON)
    {
        host.select_items(ids);
        host.queue_pick(point, pressed);
        run(button);
    }

    // Picks the command as the user set it up, keeping the journal's mark
    // and what the host held before.
    void run(const char* button)
    {
        before = outstanding();
        mark = host.journal().size();
        regenerated_before = drawing().regenerated_sheets.size();
        ASSERT_TRUE(host.pick(button));
    }

    const vxhost::Model& drawing() const { return *host.current_model(); }
    const DetailItem& item(int id) const
    {
        for (const auto& sheet : drawing().document.sheets)
            for (const DetailItem& i : sheet.items)
                if (i.id == id)
                    return i;
        throw std::runtime_error("no item " + std::to_string(id));
    }
    Point at(int id) const
    {
        const DetailItem& i = item(id);
        return i.type == PRO_SYMBOL_INSTANCE ? i.attachment.location : i.position;
    }
    // The sheets regenerated since the run began.
    std::vector<int> regenerated() const
    {
        const auto& all = drawing().regenerated_sheets;
        return std::vector<int>(all.begin() + static_cast<long>(regenerated_before), all.end());
    }
    std::string file_text() const { return vxhost::format_model_document(drawing().document); }

    // The names of the command's calls since the mark.
    std::vector<std::string> made() const
    {
        std::vector<std::string> names;
        for (const auto& call : calls(command_calls, mark))
            names.push_back(call.substr(0, call.find('(')));
        return names;
    }
    std::size_t made(const std::string& call) const
    {
        return calls({call}, mark).size();
    }

    // Nothing left over that was not there before the run, no ledger
    // error and no host error.
    void expect_released() const
    {
        EXPECT_EQ(outstanding(), before);
        expect_clean();
    }

    std::size_t mark = 0;
    std::size_t regenerated_before = 0;
    std::vector<std::string> before;
};

// One item, one point: the command gives it the point's y, or its x, and
// keeps all the rest. The button the host reports and the point's z play
// no part.
TEST_F(Align, AnItemTakesOneCoordinateOfThePickedPoint)
{
    struct Case {
        const char* button;
        int id;
        Point pick;
        int pressed;
        Point after;
    };
    const Case cases[] = {
        {vertical, 1, {50, 80, 0}, PRO_LEFT_BUTTON, {10, 80, 0}},
        {horizontal, 1, {50, 80, 0}, PRO_LEFT_BUTTON, {50, 20, 0}},
        {vertical, 2, {50, 80, -9}, PRO_MIDDLE_BUTTON, {30, 80, 5}},
        {horizontal, 2, {50, 80, 99}, PRO_RIGHT_BUTTON, {50, 40, 5}},
        {vertical, 3, {-0.125, 1e6, 3}, PRO_RIGHT_BUTTON, {50, 1e6, 7}},
        {horizontal, 3, {-0.125, 1e6, 3}, 0, {-0.125, 60, 7}},
        {horizontal, 5, {-15, 2.5, 0}, PRO_LEFT_BUTTON, {-15, 2.5, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " item " + std::to_string(c.id));
        open();
        align(c.button, {c.id}, c.pick, c.pressed);
        EXPECT_EQ(at(c.id), c.after);
        expect_released();
    }
    const Attachment& symbol = item(3).attachment;
    EXPECT_EQ(symbol.type, 2);
    EXPECT_EQ(symbol.view, "TOP");
    EXPECT_EQ(symbol.reference, "edge 3");
}

// Dimensions of both kinds and a symbol go to the same coordinate in one
// run; the item of another type is passed over without a call. The steps
// come in their order: the buffer, its count, prompt and pick once, each
// item in the buffer's order, the release, then the current sheet.
TEST_F(Align, AMixedSelectionLinesUpOnOnePointInOneRun)
{
    align(vertical, {5, 3, 4, 2, 1}, {50, 80, 0});
    EXPECT_EQ(at(5), (Point{-15, 80, 0}));
    EXPECT_EQ(at(3), (Point{50, 80, 7}));
    EXPECT_EQ(at(2), (Point{30, 80, 5}));
    EXPECT_EQ(at(1), (Point{10, 80, 0}));
    const Attachment& symbol = item(3).attachment;
    EXPECT_EQ(symbol.type, 2);
    EXPECT_EQ(symbol.view, "TOP");
    EXPECT_EQ(symbol.reference, "edge 3");

    const std::vector<std::string> dimension = {"ProSelectionModelitemGet", "ProDrawingDimensionPosGet",
                                                "ProDrawingDimensionMove"};
    std::vector<std::string> expected = {"ProSelbufferSelectionsGet", "ProArraySizeGet",
                                         "ProMessageDisplay", "ProMousePickGet"};
    expected.insert(expected.end(), dimension.begin(), dimension.end());
    expected.insert(expected.end(),
                    {"ProSelectionModelitemGet", "ProDtlsyminstDataGet", "ProDtlsyminstdataAttachmentGet",
                     "ProDtlattachGet", "ProDtlattachAlloc", "ProDtlsyminstdataAttachmentSet",
                     "ProDtlsyminstModify", "ProDtlattachFree", "ProDtlattachFree",
                     "ProDtlsyminstdataFree", "ProSelectionModelitemGet"});
    expected.insert(expected.end(), dimension.begin(), dimension.end());
    expected.insert(expected.end(), dimension.begin(), dimension.end());
    expected.insert(expected.end(), {"ProSelectionarrayFree", "ProDrawingCurrentSheetGet",
                                     "ProDwgSheetRegenerate"});
    EXPECT_EQ(made(), expected);

    const auto picked = calls({"ProMessageDisplay", "ProMousePickGet", "ProDtlsyminstDataGet",
                               "ProDwgSheetRegenerate"}, mark);
    EXPECT_EQ(picked, (std::vector<std::string>{
                          "ProMessageDisplay(\"Vexholm.txt\", \"QVX_MESSAGE_LeftMouseSelectPosition\")",
                          "ProMousePickGet(1)", "ProDtlsyminstDataGet({76, 3, model#1}, 1)",
                          "ProDwgSheetRegenerate(model#1, 1)"}));
    EXPECT_EQ(regenerated(), std::vector<int>{1});
    expect_released();
}

// Whatever the selection holds, the array is released and the current
// sheet regenerated; the prompt and the pick come only when something is
// selected, and only items of the three types move.
TEST_F(Align, TheCurrentSheetIsRegeneratedWhateverIsSelected)
{
    struct Case {
        const char* why;
        std::vector<int> ids;
        int sheet;                 // the current one
        std::size_t prompts;       // prompt and pick, each
    };
    const Case cases[] = {
        {"an empty selection", {}, 1, 0},
        {"only an item of another type", {4}, 1, 1},
        {"a dimension on the second sheet", {9}, 2, 1},
    };
    const std::string file = plate;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        disk.write("models/plate.drw.1",
                   file.substr(0, file.size() - 1) + ", \"current_sheet\": " + std::to_string(c.sheet) + "}");
        open();
        const std::string untouched = file_text();
        host.select_items(c.ids);
        if (c.prompts)
            host.queue_pick(Point{50, 80, 0});
        run(vertical);
        EXPECT_EQ(made("ProMessageDisplay"), c.prompts);
        EXPECT_EQ(made("ProMousePickGet"), c.prompts);
        EXPECT_EQ(made("ProSelectionarrayFree"), 1u);
        EXPECT_EQ(regenerated(), std::vector<int>{c.sheet});
        if (c.sheet == 1) {
            EXPECT_EQ(file_text(), untouched);
            EXPECT_EQ(made("ProDrawingDimensionPosGet") + made("ProDtlsyminstDataGet"), 0u);
        } else {
            EXPECT_EQ(at(9), (Point{1, 80, 3}));
        }
        expect_released();
    }
}

// A selection buffer that cannot be read ends the command on the spot.
TEST_F(Align, AnUnreadableSelectionBufferDoesNothingAtAll)
{
    const std::string untouched = file_text();
    for (bool unwritten : {false, true}) {
        SCOPED_TRACE(unwritten ? "unwritten" : "failed");
        inject("ProSelbufferSelectionsGet", unwritten);
        align(vertical, {1, 3});
        host.clear_faults();
        EXPECT_EQ(made(), std::vector<std::string>{"ProSelbufferSelectionsGet"});
        EXPECT_TRUE(regenerated().empty());
        EXPECT_EQ(file_text(), untouched);
        expect_released();
    }
}

// Without a point nothing moves; the array is still released and the
// sheet regenerated. So also when the count of the selection cannot be
// read, when there is then neither prompt nor pick.
TEST_F(Align, WithoutAPointOrACountNothingMovesAndTheRunEndsAsUsual)
{
    struct Case {
        const char* why;
        void (*set_up)(vxhost::Host& host);
        std::size_t picks;
    };
    const Case cases[] = {
        {"the user gives no point", [](vxhost::Host& h) { h.queue_failed_pick(); }, 1},
        {"the pick writes no point",
         [](vxhost::Host& h) { h.inject_unwritten("ProMousePickGet"); }, 1},
        {"the count cannot be read",
         [](vxhost::Host& h) { h.inject_fault("ProArraySizeGet", PRO_TK_BAD_INPUTS); }, 0},
        {"the count is not written",
         [](vxhost::Host& h) { h.inject_unwritten("ProArraySizeGet"); }, 0},
    };
    const std::string untouched = file_text();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        open();
        host.select_items({1, 2, 3});
        c.set_up(host);
        run(horizontal);
        host.clear_faults();
        EXPECT_EQ(made("ProMousePickGet"), c.picks);
        EXPECT_EQ(made("ProSelectionModelitemGet"), 0u);
        EXPECT_EQ(made("ProSelectionarrayFree"), 1u);
        EXPECT_EQ(regenerated(), std::vector<int>{1});
        EXPECT_EQ(file_text(), untouched);
        expect_released();
    }
}

// One item that cannot be read, or read in full, stays where it is; those
// before and after it are aligned all the same, and whatever the symbol's
// step obtained is released on its way out.
TEST_F(Align, AnItemThatCannotBeReadIsSkippedAndTheRestAligned)
{
    struct Case {
        const char* call;
        int id;              // the item it fails for: the second of 1, id, 2
        bool unwritten;
    };
    const Case cases[] = {
        {"ProSelectionModelitemGet", 3, false},
        {"ProSelectionModelitemGet", 5, true},
        {"ProDrawingDimensionPosGet", 5, false},
        {"ProDrawingDimensionPosGet", 5, true},
        {"ProDtlsyminstDataGet", 3, false},
        {"ProDtlsyminstDataGet", 3, true},
        {"ProDtlsyminstdataAttachmentGet", 3, false},
        {"ProDtlsyminstdataAttachmentGet", 3, true},
        {"ProDtlattachGet", 3, false},
        {"ProDtlattachGet", 3, true},
        {"ProDtlattachAlloc", 3, false},
        {"ProDtlattachAlloc", 3, true},
        // Failures the command does not look at: the symbol stays, and
        // still nothing is left over.
        {"ProDtlsyminstdataAttachmentSet", 3, false},
        {"ProDtlsyminstModify", 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.call) + (c.unwritten ? " unwritten" : " failed"));
        open();
        const Point kept = at(c.id);
        host.select_items({1, c.id, 2});
        host.queue_pick(Point{50, 80, 0});
        // The item's own call: the second ModelitemGet, else the only one.
        const int nth = std::string(c.call) == "ProSelectionModelitemGet" ||
                                std::string(c.call) == "ProDrawingDimensionPosGet"
                            ? 2
                            : 1;
        inject(c.call, c.unwritten, nth);
        run(vertical);
        host.clear_faults();
        EXPECT_EQ(at(c.id), kept);
        EXPECT_EQ(at(1), (Point{10, 80, 0}));
        EXPECT_EQ(at(2), (Point{30, 80, 5}));
        EXPECT_EQ(regenerated(), std::vector<int>{1});
        expect_released();
    }
}

// Should the command find no current model it does nothing; without the
// current sheet it aligns and releases as always, and regenerates nothing.
TEST_F(Align, WithoutTheCurrentModelNothingAndWithoutTheSheetNoRegeneration)
{
    // The availability check asks for the current model too: fail only
    // the command's own call.
    const std::size_t asked = host.count("ProMdlCurrentGet");
    host.availability(vertical);
    const int nth = static_cast<int>(host.count("ProMdlCurrentGet") - asked) + 1;
    for (bool unwritten : {false, true}) {
        open();
        inject("ProMdlCurrentGet", unwritten, nth, {}, PRO_TK_E_NOT_FOUND);
        const std::string untouched = file_text();
        align(vertical, {1, 3});
        host.clear_faults();
        EXPECT_TRUE(made().empty());
        EXPECT_EQ(file_text(), untouched);
        EXPECT_TRUE(regenerated().empty());
        expect_released();

        open();
        inject("ProDrawingCurrentSheetGet", unwritten);
        align(vertical, {1, 3});
        host.clear_faults();
        EXPECT_EQ(at(1), (Point{10, 80, 0}));
        EXPECT_EQ(at(3), (Point{50, 80, 7}));
        EXPECT_EQ(made("ProSelectionarrayFree"), 1u);
        EXPECT_EQ(made("ProDwgSheetRegenerate"), 0u);
        EXPECT_TRUE(regenerated().empty());
        expect_released();
    }
}

// The drawing changes in session; its next stored version holds the
// aligned items when it is saved.
TEST_F(Align, TheAlignedDrawingIsWrittenWhenSaved)
{
    align(horizontal, {1, 3}, {42, 0, 0});
    const auto save = host.entry<decltype(&::ProMdlSave)>("ProMdlSave");
    ProMdl model = nullptr;
    ASSERT_EQ(host.entry<decltype(&::ProMdlCurrentGet)>("ProMdlCurrentGet")(&model), PRO_TK_NO_ERROR);
    ASSERT_EQ(save(model), PRO_TK_NO_ERROR);
    const auto saved = vxhost::read_model_file(disk.path() / "models" / "plate.drw.2");
    EXPECT_EQ(saved.sheets[0].items[0].position, (Point{42, 20, 0}));
    EXPECT_EQ(saved.sheets[0].items[2].attachment.location, (Point{42, 60, 7}));
    EXPECT_EQ(saved.sheets[0].items[2].attachment.reference, "edge 3");
    EXPECT_EQ(saved.sheets[0].items[1].position, (Point{30, 40, 5}));
    expect_released();
}
