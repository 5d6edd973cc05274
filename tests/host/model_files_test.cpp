// Stored versions on disk: their names, their content, and which is newest.
#include <gtest/gtest.h>

#include "fixtures.h"
#include "host/errors.h"
#include "host/model_files.h"
#include "host/text.h"
#include "toolkit.h"

using namespace vxhost;

TEST(ModelFileNames, OnlyNameTypeAndNumberedVersionMakeAStoredVersion)
{
    struct Case {
        const char* file;
        bool valid;
        const char* name = "";
        int type = 0;
        int version = 0;
    };
    const Case cases[] = {
        {"bracket.prt.3", true, "bracket", PRO_MDL_PART, 3},
        {"PUMP.ASM.12", true, "PUMP", PRO_MDL_ASSEMBLY, 12},
        {"bracket.Drw.007", true, "bracket", PRO_MDL_DRAWING, 7},
        {"a.b.drw.2", true, "a.b", PRO_MDL_DRAWING, 2},
        {"支架.prt.1", true, "支架", PRO_MDL_PART, 1},
        {"bracket.prt.999999999", true, "bracket", PRO_MDL_PART, 999999999},
        {"bracket.prt.1234567890", false},   // more digits than a version has
        {"bracket.prt", false},
        {"bracket.prt.", false},
        {"bracket.prt.x", false},
        {"bracket.prt.3a", false},
        {"bracket.prt.-1", false},
        {"bracket.prt.+1", false},
        {".prt.1", false},
        {"bracket.sld.1", false},
        {"bracket.prt.1.bak", false},
        {"bracket", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const auto id = parse_model_file_name(fs::path(to_utf16(c.file)));
        ASSERT_EQ(id.has_value(), c.valid);
        if (!c.valid)
            continue;
        EXPECT_EQ(id->name, c.name);
        EXPECT_EQ(id->type, c.type);
        EXPECT_EQ(id->version, c.version);
    }
    const std::string longest(PRO_NAME_SIZE - 1, 'n');
    EXPECT_TRUE(parse_model_file_name(longest + ".prt.1"));
    EXPECT_FALSE(parse_model_file_name(longest + "n.prt.1"));
    EXPECT_EQ(model_file_name("bracket", PRO_MDL_DRAWING, 10), fs::path("bracket.drw.10"));
}

TEST(ModelFileNames, NewestIsTheHighestNumberOfThatNameIgnoringCase)
{
    vxtest::TempDir dir;
    for (const char* file : {"bracket.drw.2", "bracket.drw.10", "BRACKET.DRW.9", "Bracket.drw.1",
                             "bracket.prt.50", "bracket2.drw.60", "bracket.drw"})
        dir.write(file, "{}");
    dir.folder("bracket.drw.70");   // a folder, not a stored version
#ifndef _WIN32
    dir.write("\xff\xfe.drw.80", "{}");   // not UTF-8: no model's name
#endif

    const auto versions = stored_versions(dir.path(), "bracket", PRO_MDL_DRAWING);
    std::vector<int> numbers;
    for (const auto& v : versions)
        numbers.push_back(v.id.version);
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 9, 10}));
    const auto newest = newest_version(dir.path(), "BrAcKeT", PRO_MDL_DRAWING);
    ASSERT_TRUE(newest);
    EXPECT_EQ(newest->file, dir.path() / "bracket.drw.10");
    EXPECT_FALSE(newest_version(dir.path(), "bracket", PRO_MDL_ASSEMBLY));
    EXPECT_FALSE(newest_version(dir.path() / "no such folder", "bracket", PRO_MDL_DRAWING));
}

TEST(ModelFiles, MalformedFilesAreErrorsThatNameTheFile)
{
    struct Case {
        const char* why;
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {"empty", "", "not JSON"},
        {"cut short", R"({"type": "part")", "not JSON"},
        {"a comment", "// part\n{\"type\": \"part\"}", "not JSON"},
        {"broken UTF-8", "{\"type\": \"part\", \"note\": \"\xC3\x28\"}", "not JSON"},
        {"NUL bytes", std::string("{\"type\": \0\"part\"}", 17), "not JSON"},
        {"a number beyond a double", R"({"type": "part", "x": 1e400})", "not JSON"},
        {"a number below a double", R"({"type": "part", "x": -1e400})", "not JSON"},
        {"deeply nested", std::string(100000, '[') + std::string(100000, ']'), "not a JSON object"},
        {"an array", R"(["part"])", "not a JSON object"},
        {"no type", R"({"note": "bracket"})", "no \"type\""},
        {"type not text", R"({"type": 2})", "\"type\" must be a string"},
        {"unknown type", R"({"type": "sketch"})", "must be part, assembly or drawing, not \"sketch\""},
        {"type of another file", R"({"type": "drawing"})", "holds a drawing, not a part"},
        {"note not text", R"({"type": "part", "note": ["x"]})", "\"note\" must be a string"},
        {"too large", "{\"type\": \"part\", \"note\": \"" + std::string(2 << 20, 'x') + "\"}",
         "larger than"},
    };
    vxtest::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const fs::path file = dir.write("m.prt.1", c.text);
        try {
            read_model_file(file);
            ADD_FAILURE() << "read";
        } catch (const HostError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind(file.string() + ": ", 0), 0u) << message;
            EXPECT_NE(message.find(c.message), std::string::npos) << message;
        }
    }
    EXPECT_THROW(read_model_file(dir.path() / "gone.prt.1"), HostError);
    EXPECT_THROW(read_model_file(dir.path()), HostError);   // a folder
}

TEST(ModelFiles, OptionalAndUnknownFieldsMayBeAbsentOrPresent)
{
    vxtest::TempDir dir;
    const ModelDocument minimal = read_model_file(dir.write("m.prt.1", R"({"type":"part"})"));
    EXPECT_EQ(minimal.type, PRO_MDL_PART);
    EXPECT_EQ(minimal.note, "");
    const ModelDocument later = read_model_file(dir.write(
        "m.asm.1", R"({"type": "assembly", "note": "pump", "components": [{"name": "shaft"}]})"));
    EXPECT_EQ(later.type, PRO_MDL_ASSEMBLY);
    EXPECT_EQ(later.note, "pump");

    // What the host writes it reads back, and it never overwrites.
    const fs::path file = dir.path() / "sub" / "m.drw.3";
    write_model_file(file, ModelDocument{PRO_MDL_DRAWING, "sheet 1, 泵"});
    const ModelDocument back = read_model_file(file);
    EXPECT_EQ(back.type, PRO_MDL_DRAWING);
    EXPECT_EQ(back.note, "sheet 1, 泵");
    EXPECT_THROW(write_model_file(file, ModelDocument{PRO_MDL_DRAWING, "other"}), HostError);
    EXPECT_EQ(read_model_file(file).note, "sheet 1, 泵");
    EXPECT_THROW(write_model_file(dir.path() / "x.odd.1", ModelDocument{3, ""}), HostError);
}
