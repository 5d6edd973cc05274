// Drawings with their sheets and detail items: the model files that hold
// them, the selection buffer, the mouse pick and the detail calls, called
// as the add-in calls them, and the scenario steps that drive them.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "fixtures.h"
#include "host/errors.h"
#include "host/host.h"
#include "host/model_files.h"
#include "host/scenario.h"

using namespace vxhost;

namespace {

// Sheet 1 (current): two dimensions, a symbol, an item of another type.
// Sheet 2: a dimension and a second symbol.
const char* const plate = R"({"type": "drawing", "note": "plate", "current_sheet": 1, "sheets": [
  {"items": [
    {"id": 1, "type": 8, "position": [10, 20, 0]},
    {"id": 2, "type": 28, "position": [30, 40, 5]},
    {"id": 3, "type": 76, "attachment": {"type": 2, "view": "TOP", "location": [50, 60, 7],
                                         "reference": "edge 3"}},
    {"id": 4, "type": 12}]},
  {"items": [
    {"id": 8, "type": 76, "attachment": {"location": [1, 2, 3]}},
    {"id": 9, "type": 8, "position": [-1.5, 2.25, 0]}]}]})";

std::string error_of(const std::string& text)
{
    try {
        parse_model_document(text);
    } catch (const HostError& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST(DrawingFiles, SheetsAndTheirItemsSurviveAFormatAndParse)
{
    const ModelDocument document = parse_model_document(plate);
    ASSERT_EQ(document.sheets.size(), 2u);
    EXPECT_EQ(document.current_sheet, 1);
    const DetailItem& symbol = document.sheets[0].items[2];
    EXPECT_EQ(symbol.attachment.type, 2);
    EXPECT_EQ(symbol.attachment.view, "TOP");
    EXPECT_EQ(symbol.attachment.location, (Point{50, 60, 7}));
    EXPECT_EQ(symbol.attachment.reference, "edge 3");
    const DetailItem& bare = document.sheets[1].items[0];   // type, view, reference left out
    EXPECT_EQ(bare.attachment.type, 0);
    EXPECT_EQ(bare.attachment.view, "");
    EXPECT_EQ(bare.attachment.reference, "");

    const ModelDocument again = parse_model_document(format_model_document(document));
    EXPECT_EQ(format_model_document(again), format_model_document(document));
    ASSERT_EQ(again.sheets.size(), 2u);
    EXPECT_EQ(again.sheets[1].items[1].position, (Point{-1.5, 2.25, 0}));
    EXPECT_EQ(again.sheets[0].items[3].type, 12);

    // A drawing without sheets has one, empty, and its file stays as it was.
    const ModelDocument plain = parse_model_document(R"({"type": "drawing"})");
    EXPECT_EQ(sheet_count(plain), 1);
    EXPECT_EQ(plain.current_sheet, 1);
    EXPECT_EQ(format_model_document(plain).find("sheets"), std::string::npos);
}

TEST(DrawingFiles, MalformedSheetsAreRefusedSayingWhere)
{
    const auto drawing = [](const std::string& fields) {
        return R"({"type": "drawing", )" + fields + "}";
    };
    const auto item = [&](const std::string& text) {
        return drawing(R"("sheets": [{"items": [)" + text + "]}]");
    };
    struct Case {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {drawing(R"("sheets": 3)"), "\"sheets\" must be an array"},
        {drawing(R"("sheets": [3])"), "sheet 1 must be an object"},
        {drawing(R"("sheets": [{"items": {}}])"), "\"items\" must be an array"},
        {item("3"), "sheet 1, item 1: an item must be an object"},
        {item(R"({"type": 12})"), "sheet 1, item 1: no \"id\""},
        {item(R"({"id": 0, "type": 12})"), "\"id\" is a number from 1"},
        {item(R"({"id": "1", "type": 12})"), "\"id\" must be a whole number"},
        {item(R"({"id": 1.5, "type": 12})"), "\"id\" must be a whole number"},
        {item(R"({"id": 4294967297, "type": 12})"), "\"id\" must be a whole number"},
        {item(R"({"id": 1})"), "no \"type\""},
        {item(R"({"id": 1, "type": 12}, {"id": 2, "type": 8})"),
         "sheet 1, item 2: no \"position\""},
        {item(R"({"id": 1, "type": 28, "position": [1, 2]})"), "\"position\" must be three numbers"},
        {item(R"({"id": 1, "type": 8, "position": [1, "2", 3]})"), "must be three numbers"},
        {item(R"({"id": 1, "type": 76})"), "no \"attachment\""},
        {item(R"({"id": 1, "type": 76, "attachment": [1, 2, 3]})"), "\"attachment\" must be an object"},
        {item(R"({"id": 1, "type": 76, "attachment": {"type": 1}})"), "no \"location\""},
        {item(R"({"id": 1, "type": 76, "attachment": {"location": [1, 2, 3], "view": 3}})"),
         "\"view\" must be a string"},
        {drawing(R"("sheets": [{"items": [{"id": 5, "type": 12}]}, {"items": [{"id": 5, "type": 8,
             "position": [0, 0, 0]}]}])"),
         "sheet 2: two items of id 5"},
        {drawing(R"("sheets": [{}, {}], "current_sheet": 3)"), "\"current_sheet\" must be a sheet from 1 to 2"},
        {drawing(R"("current_sheet": 0)"), "\"current_sheet\" must be a sheet from 1 to 1"},
        {R"({"type": "part", "sheets": [{}]})", "only a drawing has \"sheets\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string error = error_of(c.text);
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

#define VX_HOST_CALL(name) decltype(&::name) name = host.entry<decltype(&::name)>(#name)

class Drawings : public ::testing::Test {
protected:
    Drawings()
    {
        host.map_drive('D', disk.path());
        host.set_working_directory(u"D:\\work\\");
        disk.write("work/plate.drw.1", plate);
        drawing = host.open_model("plate", PRO_MDL_DRAWING);
    }

    Model& model() { return *const_cast<Model*>(host.session().find(drawing)); }
    DetailItem& item(int id)
    {
        for (Sheet& sheet : model().document.sheets)
            for (DetailItem& i : sheet.items)
                if (i.id == id)
                    return i;
        throw HostError("no item " + std::to_string(id));
    }

    // The selection buffer as the add-in gets it, and its selections' items.
    ProSelection* selections()
    {
        ProSelection* array = nullptr;
        EXPECT_EQ(ProSelbufferSelectionsGet(&array), PRO_TK_NO_ERROR);
        return array;
    }
    std::vector<std::pair<int, int>> items_of(ProSelection* array)
    {
        int n = -1;
        EXPECT_EQ(ProArraySizeGet(array, &n), PRO_TK_NO_ERROR);
        std::vector<std::pair<int, int>> found;
        for (int i = 0; i < n; ++i) {
            ProModelitem got{-1, -1, nullptr};
            EXPECT_EQ(ProSelectionModelitemGet(array[i], &got), PRO_TK_NO_ERROR);
            EXPECT_EQ(got.owner, drawing);
            found.emplace_back(got.type, got.id);
        }
        return found;
    }

    bool contains(const std::vector<std::string>& lines, const std::string& text)
    {
        for (const auto& line : lines)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

    vxtest::TempDir disk;
    Host host;
    ProMdl drawing = nullptr;
    VX_HOST_CALL(ProArraySizeGet);
    VX_HOST_CALL(ProArrayFree);
    VX_HOST_CALL(ProArrayAlloc);
    VX_HOST_CALL(ProMdlSave);
    VX_HOST_CALL(ProSelbufferSelectionsGet);
    VX_HOST_CALL(ProSelectionModelitemGet);
    VX_HOST_CALL(ProSelectionarrayFree);
    VX_HOST_CALL(ProMousePickGet);
    VX_HOST_CALL(ProDrawingDimensionPosGet);
    VX_HOST_CALL(ProDrawingDimensionMove);
    VX_HOST_CALL(ProDtlsyminstDataGet);
    VX_HOST_CALL(ProDtlsyminstdataFree);
    VX_HOST_CALL(ProDtlsyminstModify);
    VX_HOST_CALL(ProDtlsyminstdataAttachmentGet);
    VX_HOST_CALL(ProDtlsyminstdataAttachmentSet);
    VX_HOST_CALL(ProDtlattachGet);
    VX_HOST_CALL(ProDtlattachAlloc);
    VX_HOST_CALL(ProDtlattachFree);
    VX_HOST_CALL(ProDrawingCurrentSheetGet);
    VX_HOST_CALL(ProDwgSheetRegenerate);
};

// Each read of the buffer is a fresh array of fresh selections, in the
// order the user selected, and leaves the buffer as it was.
TEST_F(Drawings, TheSelectionBufferIsHandedOverAsAFreshArrayEachTime)
{
    host.select_items({3, 1, 4});
    ProSelection* first = selections();
    ProSelection* second = selections();
    ASSERT_NE(first, second);
    const std::vector<std::pair<int, int>> selected = {{76, 3}, {8, 1}, {12, 4}};
    EXPECT_EQ(items_of(first), selected);
    EXPECT_EQ(items_of(second), selected);
    EXPECT_NE(first[0], second[0]);
    EXPECT_EQ(ProSelectionarrayFree(first), PRO_TK_NO_ERROR);
    EXPECT_EQ(ProSelectionarrayFree(second), PRO_TK_NO_ERROR);

    host.select_items({});
    ProSelection* none = selections();
    EXPECT_TRUE(items_of(none).empty());
    EXPECT_EQ(ProSelectionarrayFree(none), PRO_TK_NO_ERROR);

    EXPECT_TRUE(host.outstanding().empty());
    EXPECT_TRUE(host.ledger_errors().empty());
}

TEST_F(Drawings, ASelectionArrayIsFreedOnlyByItsOwnCallAndOnlyOnce)
{
    host.select_items({1, 2});
    ProSelection* array = selections();
    ProSelection kept = array[0];
    ProArray as_array = array;
    EXPECT_EQ(ProArrayFree(&as_array), PRO_TK_BAD_INPUTS);
    ASSERT_EQ(host.ledger_errors().size(), 1u);
    EXPECT_NE(host.ledger_errors()[0].find("ProArrayFree given selection array"), std::string::npos)
        << host.ledger_errors()[0];
    EXPECT_EQ(items_of(array).size(), 2u);   // still whole

    EXPECT_EQ(ProSelectionarrayFree(array), PRO_TK_NO_ERROR);
    EXPECT_TRUE(host.outstanding().empty());   // the selections went with it
    ProModelitem item{-1, -1, nullptr};
    EXPECT_EQ(ProSelectionModelitemGet(kept, &item), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(item.type, -1);
    EXPECT_EQ(ProSelectionarrayFree(array), PRO_TK_BAD_INPUTS);
    ProArray plain = nullptr;
    ASSERT_EQ(ProArrayAlloc(1, sizeof(ProSelection), 1, &plain), PRO_TK_NO_ERROR);
    EXPECT_EQ(ProSelectionarrayFree(static_cast<ProSelection*>(plain)), PRO_TK_BAD_INPUTS);
    ProArrayFree(&plain);

    const auto& errors = host.ledger_errors();
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_NE(errors[1].find("ProSelectionModelitemGet given selection block#"), std::string::npos);
    EXPECT_NE(errors[1].find("already released by ProSelectionarrayFree"), std::string::npos) << errors[1];
    EXPECT_NE(errors[2].find("already released by ProSelectionarrayFree"), std::string::npos) << errors[2];
    EXPECT_NE(errors[3].find("wanted a block of kind selection array"), std::string::npos) << errors[3];
}

TEST_F(Drawings, TheUserSelectsOnTheCurrentSheetOfTheCurrentDrawing)
{
    EXPECT_THROW(host.select_items({9}), HostError);    // on sheet 2
    EXPECT_THROW(host.select_items({77}), HostError);
    host.select_items({1});
    host.close_all_windows();                           // the selection goes with its window
    EXPECT_THROW(host.select_items({1}), HostError);
    ProSelection* array = selections();
    EXPECT_TRUE(items_of(array).empty());
    ProSelectionarrayFree(array);
    host.open_model("bracket", PRO_MDL_PART);
    EXPECT_THROW(host.select_items({}), HostError);
}

TEST_F(Drawings, APickGivesTheUsersPointAndButtonOrNothing)
{
    host.queue_pick(Point{50, 80, -2}, PRO_MIDDLE_BUTTON);
    host.queue_failed_pick();
    ProMouseButton pressed = -1;
    double point[3] = {7, 7, 7};
    for (ProMouseButton wrong : {0, 8, PRO_LEFT_BUTTON | 16})
        EXPECT_EQ(ProMousePickGet(wrong, &pressed, point), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(ProMousePickGet(PRO_LEFT_BUTTON, nullptr, point), PRO_TK_BAD_INPUTS);

    ASSERT_EQ(ProMousePickGet(PRO_LEFT_BUTTON, &pressed, point), PRO_TK_NO_ERROR);
    EXPECT_EQ(pressed, PRO_MIDDLE_BUTTON);    // reported as pressed, not as expected
    EXPECT_EQ((Point{point[0], point[1], point[2]}), (Point{50, 80, -2}));

    pressed = -1;
    point[0] = 7;
    EXPECT_EQ(ProMousePickGet(PRO_LEFT_BUTTON, &pressed, point), PRO_TK_USER_ABORT);
    EXPECT_TRUE(host.errors().empty());
    EXPECT_EQ(ProMousePickGet(PRO_LEFT_BUTTON, &pressed, point), PRO_TK_USER_ABORT);
    EXPECT_EQ(host.errors().size(), 1u);   // no pick was given to the user
    EXPECT_EQ(pressed, -1);
    EXPECT_EQ(point[0], 7);
}

// A detail call takes a model item of the drawing it works on and of the
// family it serves; anything else is bad input and writes nothing.
TEST_F(Drawings, DetailCallsTakeOnlyTheirOwnKindOfItem)
{
    const ProMdl part = host.open_model("bracket", PRO_MDL_PART);
    disk.write("work/other.drw.1", R"({"type": "drawing", "sheets": [{"items": [
        {"id": 1, "type": 8, "position": [0, 0, 0]}]}]})");
    const ProMdl other = host.open_model("other", PRO_MDL_DRAWING);
    struct Case {
        const char* why;
        ProModelitem item;
        ProMdl drawing;   // the drawing the dimension call names
    };
    const Case dimension_cases[] = {
        {"a symbol", {76, 3, drawing}, drawing},
        {"another type", {12, 4, drawing}, drawing},
        {"an id that is no item", {8, 77, drawing}, drawing},
        {"the type not the item's", {28, 1, drawing}, drawing},
        {"owned by a part", {8, 1, part}, part},
        {"owned by no model", {8, 1, nullptr}, drawing},
        {"of another drawing than named", {8, 1, other}, drawing},
    };
    for (const Case& c : dimension_cases) {
        SCOPED_TRACE(c.why);
        ProModelitem dimension = c.item;
        double position[3] = {7, 7, 7};
        EXPECT_EQ(ProDrawingDimensionPosGet(c.drawing, &dimension, position), PRO_TK_BAD_INPUTS);
        EXPECT_EQ(position[0], 7);
        EXPECT_EQ(ProDrawingDimensionMove(c.drawing, &dimension, position), PRO_TK_BAD_INPUTS);
    }
    ProModelitem good{8, 1, drawing};
    double nan_position[3] = {NAN, 0, 0};
    EXPECT_EQ(ProDrawingDimensionMove(drawing, &good, nan_position), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(item(1).position, (Point{10, 20, 0}));

    const ProModelitem symbol_cases[] = {{8, 1, drawing}, {76, 77, drawing}, {76, 3, part}, {76, 3, nullptr}};
    for (ProModelitem symbol : symbol_cases) {
        ProDtlsyminstdata data = nullptr;
        EXPECT_EQ(ProDtlsyminstDataGet(&symbol, PRODISPMODE_SYMBOLIC, &data), PRO_TK_BAD_INPUTS);
        EXPECT_EQ(data, nullptr);
    }
    ProModelitem symbol{76, 3, drawing};
    ProDtlsyminstdata data = nullptr;
    EXPECT_EQ(ProDtlsyminstDataGet(&symbol, 2, &data), PRO_TK_BAD_INPUTS);
    EXPECT_TRUE(host.outstanding().empty());
    EXPECT_TRUE(host.ledger_errors().empty());
}

// The add-in's road for a symbol: its record, the attachment in it, a new
// attachment of the same parts with another location, set and applied.
// Only the instance's own modification changes the drawing.
TEST_F(Drawings, ASymbolTakesANewAttachmentThroughItsRecord)
{
    ProModelitem symbol{76, 3, drawing};
    ProDtlsyminstdata data = nullptr;
    ProDtlattach read = nullptr, made = nullptr;
    ASSERT_EQ(ProDtlsyminstDataGet(&symbol, PRODISPMODE_SYMBOLIC, &data), PRO_TK_NO_ERROR);
    ASSERT_EQ(ProDtlsyminstdataAttachmentGet(data, &read), PRO_TK_NO_ERROR);
    ProDtlattachType type = -1;
    ProView view = nullptr, view_again = nullptr;
    ProSelection reference = nullptr;
    double location[3] = {0, 0, 0};
    ASSERT_EQ(ProDtlattachGet(read, &type, &view, location, &reference), PRO_TK_NO_ERROR);
    ASSERT_EQ(ProDtlattachGet(read, nullptr, &view_again, nullptr, nullptr), PRO_TK_NO_ERROR);
    EXPECT_EQ(type, 2);
    EXPECT_NE(view, nullptr);
    EXPECT_EQ(view, view_again);
    EXPECT_NE(reference, nullptr);
    EXPECT_EQ((Point{location[0], location[1], location[2]}), (Point{50, 60, 7}));
    ProModelitem none{-1, -1, nullptr};
    EXPECT_EQ(ProSelectionModelitemGet(reference, &none), PRO_TK_E_NOT_FOUND);

    location[1] = 80;
    ASSERT_EQ(ProDtlattachAlloc(type, view, location, reference, &made), PRO_TK_NO_ERROR);
    EXPECT_EQ(ProDtlattachFree(read), PRO_TK_NO_ERROR);      // takes the reference with it
    EXPECT_EQ(ProDtlsyminstdataAttachmentSet(data, made), PRO_TK_NO_ERROR);
    EXPECT_EQ(item(3).attachment.location, (Point{50, 60, 7}));
    EXPECT_EQ(ProDtlsyminstModify(&symbol, data), PRO_TK_NO_ERROR);
    EXPECT_EQ(ProDtlattachFree(made), PRO_TK_NO_ERROR);
    EXPECT_EQ(ProDtlsyminstdataFree(data), PRO_TK_NO_ERROR);

    const Attachment& now = item(3).attachment;
    EXPECT_EQ(now.location, (Point{50, 80, 7}));
    EXPECT_EQ(now.type, 2);
    EXPECT_EQ(now.view, "TOP");
    EXPECT_EQ(now.reference, "edge 3");
    EXPECT_TRUE(contains(host.transcript(), "plate.drw: symbol 3 from (50, 60, 7) to (50, 80, 7)"));
    EXPECT_TRUE(host.outstanding().empty());
    EXPECT_TRUE(host.ledger_errors().empty());
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(Drawings, DetailHandlesUsedWronglyAreRecorded)
{
    host.select_items({1});
    ProSelection* selected = selections();
    ProModelitem symbol{76, 3, drawing}, second{76, 8, drawing};
    ProDtlsyminstdata data = nullptr, other = nullptr;
    ProDtlattach read = nullptr, made = nullptr;
    ProView view = nullptr;
    ProSelection reference = nullptr;
    double location[3] = {1, 2, 3};
    ASSERT_EQ(ProDtlsyminstDataGet(&symbol, PRODISPMODE_SYMBOLIC, &data), PRO_TK_NO_ERROR);
    ASSERT_EQ(ProDtlsyminstDataGet(&second, PRODISPMODE_NUMERIC, &other), PRO_TK_NO_ERROR);
    ASSERT_EQ(ProDtlsyminstdataAttachmentGet(data, &read), PRO_TK_NO_ERROR);
    ASSERT_EQ(ProDtlattachGet(read, nullptr, &view, nullptr, &reference), PRO_TK_NO_ERROR);

    // Handles of the wrong kind, references that are no attachment's and
    // views the host never gave.
    EXPECT_EQ(ProDtlattachFree(reinterpret_cast<ProDtlattach>(data)), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(ProDtlsyminstdataFree(reinterpret_cast<ProDtlsyminstdata>(read)), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(ProDtlattachAlloc(0, nullptr, location, selected[0], &made), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(ProDtlattachAlloc(0, reinterpret_cast<ProView>(&location), location, nullptr, &made),
              PRO_TK_BAD_INPUTS);
    // A record applied to another instance, an attachment in a view of
    // another drawing.
    EXPECT_EQ(ProDtlsyminstModify(&second, data), PRO_TK_BAD_INPUTS);
    disk.write("work/other.drw.1", R"({"type": "drawing", "sheets": [{"items": [
        {"id": 1, "type": 76, "attachment": {"location": [0, 0, 0]}}]}]})");
    ProModelitem elsewhere{76, 1, host.open_model("other", PRO_MDL_DRAWING)};
    ProDtlsyminstdata foreign = nullptr;
    ASSERT_EQ(ProDtlsyminstDataGet(&elsewhere, PRODISPMODE_SYMBOLIC, &foreign), PRO_TK_NO_ERROR);
    ASSERT_EQ(ProDtlsyminstdataAttachmentSet(foreign, read), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(host.errors().size(), 3u);
    // Released handles: the reference went with its attachment.
    EXPECT_EQ(ProDtlattachFree(read), PRO_TK_NO_ERROR);
    EXPECT_EQ(ProDtlattachAlloc(0, view, location, reference, &made), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(ProDtlattachGet(read, nullptr, nullptr, location, nullptr), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(ProDtlsyminstdataFree(data), PRO_TK_NO_ERROR);
    EXPECT_EQ(ProDtlsyminstdataFree(data), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(made, nullptr);

    const auto& errors = host.ledger_errors();
    ASSERT_EQ(errors.size(), 5u);
    EXPECT_NE(errors[0].find("ProDtlattachFree given symbol data block#"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("wanted a block of kind attachment"), std::string::npos) << errors[0];
    EXPECT_NE(errors[1].find("ProDtlsyminstdataFree given attachment block#"), std::string::npos) << errors[1];
    EXPECT_NE(errors[2].find("ProDtlattachAlloc given selection block#"), std::string::npos) << errors[2];
    EXPECT_NE(errors[2].find("already released by ProDtlattachFree"), std::string::npos) << errors[2];
    EXPECT_NE(errors[3].find("ProDtlattachGet given attachment block#"), std::string::npos) << errors[3];
    EXPECT_NE(errors[4].find("already released by ProDtlsyminstdataFree"), std::string::npos) << errors[4];
    ProDtlsyminstdataFree(other);
    ProDtlsyminstdataFree(foreign);
    ProSelectionarrayFree(selected);
    EXPECT_TRUE(host.outstanding().empty());
}

// Moves and modifications stay in session until the drawing is saved;
// the saved version holds them, and only them.
TEST_F(Drawings, ChangesAreWrittenWhenTheDrawingIsSaved)
{
    ProModelitem dimension{28, 2, drawing}, symbol{76, 3, drawing};
    double position[3] = {0, 0, 0};
    ASSERT_EQ(ProDrawingDimensionPosGet(drawing, &dimension, position), PRO_TK_NO_ERROR);
    EXPECT_EQ((Point{position[0], position[1], position[2]}), (Point{30, 40, 5}));
    position[0] = 12.125;
    ASSERT_EQ(ProDrawingDimensionMove(drawing, &dimension, position), PRO_TK_NO_ERROR);
    EXPECT_TRUE(contains(host.transcript(),
                         "plate.drw: reference dimension 2 from (30, 40, 5) to (12.125, 40, 5)"));

    ProDtlsyminstdata data = nullptr;
    ProDtlattach made = nullptr;
    double location[3] = {-4, 0.5, 9};
    ASSERT_EQ(ProDtlsyminstDataGet(&symbol, PRODISPMODE_SYMBOLIC, &data), PRO_TK_NO_ERROR);
    ASSERT_EQ(ProDtlattachAlloc(5, nullptr, location, nullptr, &made), PRO_TK_NO_ERROR);
    ASSERT_EQ(ProDtlsyminstdataAttachmentSet(data, made), PRO_TK_NO_ERROR);
    ASSERT_EQ(ProDtlsyminstModify(&symbol, data), PRO_TK_NO_ERROR);
    ProDtlattachFree(made);
    ProDtlsyminstdataFree(data);
    EXPECT_FALSE(fs::exists(disk.path() / "work" / "plate.drw.2"));

    ASSERT_EQ(ProMdlSave(drawing), PRO_TK_NO_ERROR);
    const ModelDocument saved = read_model_file(disk.path() / "work" / "plate.drw.2");
    EXPECT_EQ(format_model_document(saved), format_model_document(model().document));
    EXPECT_EQ(saved.sheets[0].items[1].position, (Point{12.125, 40, 5}));
    const Attachment& now = saved.sheets[0].items[2].attachment;
    EXPECT_EQ(now.location, (Point{-4, 0.5, 9}));
    EXPECT_EQ(now.type, 5);
    EXPECT_EQ(now.view, "");
    EXPECT_EQ(now.reference, "");
    EXPECT_EQ(saved.sheets[0].items[0].position, (Point{10, 20, 0}));
    EXPECT_EQ(saved.note, "plate");
}

TEST_F(Drawings, ASheetOfTheDrawingIsRegeneratedAndRecorded)
{
    int sheet = -1;
    ASSERT_EQ(ProDrawingCurrentSheetGet(drawing, &sheet), PRO_TK_NO_ERROR);
    EXPECT_EQ(sheet, 1);
    EXPECT_EQ(ProDwgSheetRegenerate(drawing, 2), PRO_TK_NO_ERROR);
    EXPECT_EQ(ProDwgSheetRegenerate(drawing, 1), PRO_TK_NO_ERROR);
    for (int wrong : {0, 3, -1})
        EXPECT_EQ(ProDwgSheetRegenerate(drawing, wrong), PRO_TK_BAD_INPUTS);
    const ProMdl part = host.open_model("bracket", PRO_MDL_PART);
    EXPECT_EQ(ProDwgSheetRegenerate(part, 1), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(ProDrawingCurrentSheetGet(part, &sheet), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(model().regenerated_sheets, (std::vector<int>{2, 1}));
    EXPECT_TRUE(contains(host.transcript(), "plate.drw: sheet 2 regenerated"));

    disk.write("work/bare.drw.1", R"({"type": "drawing"})");
    const ProMdl bare = host.open_model("bare", PRO_MDL_DRAWING);
    ASSERT_EQ(ProDrawingCurrentSheetGet(bare, &sheet), PRO_TK_NO_ERROR);
    EXPECT_EQ(sheet, 1);
    EXPECT_EQ(ProDwgSheetRegenerate(bare, 1), PRO_TK_NO_ERROR);
}

TEST_F(Drawings, ScenarioStepsSelectPickAndListItems)
{
    std::ostringstream out, err;
    const auto run = [&](const std::string& text) {
        out.str("");
        err.str("");
        return run_scenario_text(host, disk.path() / "protk.dat", text, disk.path() / "t.scn", out, err);
    };
    ASSERT_EQ(run("items\nselect 3 1\npoint 1.5 -2 0 right\npoint none\n"), 0) << err.str();
    const std::string text = out.str();
    for (const char* line : {"plate.drw sheet 1 (current): 4 item(s)\n", "  dimension 1 at (10, 20, 0)\n",
                             "  reference dimension 2 at (30, 40, 5)\n",
                             "  symbol 3 at (50, 60, 7), type 2, view TOP, reference edge 3\n",
                             "  item 4 (type 12)\n", "plate.drw sheet 2: 2 item(s)\n",
                             "  symbol 8 at (1, 2, 3), type 0\n",
                             "select on plate.drw: symbol 3, dimension 1\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "--- in ---\n" << text;
    ProMouseButton pressed = 0;
    double point[3];
    ASSERT_EQ(ProMousePickGet(PRO_LEFT_BUTTON, &pressed, point), PRO_TK_NO_ERROR);
    EXPECT_EQ(pressed, PRO_RIGHT_BUTTON);
    EXPECT_EQ((Point{point[0], point[1], point[2]}), (Point{1.5, -2, 0}));
    EXPECT_EQ(ProMousePickGet(PRO_LEFT_BUTTON, &pressed, point), PRO_TK_USER_ABORT);

    struct Case {
        const char* step;
        const char* error;
    };
    const Case cases[] = {
        {"select 1 x\n", "an item id must be a whole number, not x"},
        {"select 9\n", "no item 9 on its current sheet"},
        {"point 1 2\n", "point takes X Y Z and a button, or none"},
        {"point 1 2 3 thumb\n", "the button is left, middle or right, not thumb"},
        {"point 1 two 3\n", "a coordinate must be a number, not two"},
        {"point 1 2 inf\n", "a coordinate must be a number, not inf"},
        {"close\nitems\n", "items: no drawing is current"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.step), 2) << c.step;
        EXPECT_NE(err.str().find(c.error), std::string::npos) << err.str();
    }
}
