#include <gtest/gtest.h>

#include "fixtures.h"
#include "host/errors.h"
#include "host/registration.h"

using namespace vxhost;

// An absolute folder as the system writes one; taken as it is.
#ifdef _WIN32
#define ABSOLUTE_TEXT_DIR "C:\\opt\\vx text"
#else
#define ABSOLUTE_TEXT_DIR "/opt/vx text"
#endif

TEST(Registration, ReadsKeywordsInAnyCaseAndSkipsComments)
{
    vxtest::TempDir dir;
    const auto file = dir.write("reg/protk.dat",
                                "! a comment\n"
                                "# another\n"
                                "\n"
                                "name Vexholm\r\n"
                                "Startup DLL\n"
                                "exec_file lib/vexholm.so\n"
                                "TEXT_DIR   \"" ABSOLUTE_TEXT_DIR "\"  \n"
                                "ALLOW_STOP TRUE\n"
                                "DELAY_START FALSE\n"
                                "REVISION 2024\n"
                                "end\n"
                                "! trailing comment\n");
    const Registration reg = parse_registration(file);
    EXPECT_EQ(reg.name, "Vexholm");
    EXPECT_EQ(reg.startup, "dll");
    EXPECT_EQ(reg.exec_file, dir.path() / "reg/lib/vexholm.so");   // relative to the file's folder
    EXPECT_EQ(reg.text_dir, fs::path(ABSOLUTE_TEXT_DIR));
    EXPECT_EQ(reg.allow_stop, "TRUE");
    EXPECT_EQ(reg.delay_start, "FALSE");
    EXPECT_EQ(reg.revision, "2024");
}

TEST(Registration, MalformedFilesNameFileAndLine)
{
    struct Case {
        const char* text;
        const char* where;      // ":line:"
        const char* problem;
    };
    const std::string ok = "NAME a\nEXEC_FILE /a.so\nTEXT_DIR /t\n";
    const Case cases[] = {
        {"EXEC_FILE /a.so\nTEXT_DIR /t\nEND\n", ":3:", "NAME missing"},
        {"NAME a\nTEXT_DIR /t\nEND\n", ":3:", "EXEC_FILE missing"},
        {"NAME a\nEXEC_FILE /a.so\n\nEND\n", ":4:", "TEXT_DIR missing"},
        {"NAME a\nEXEC_FILE /a.so\nTEXT_DIR /t\n", ":3:", "END missing"},
        {"NAME a\nSTARTUP exe\nEXEC_FILE /a.so\nTEXT_DIR /t\nEND\n", ":2:", "STARTUP must be dll"},
        {"NAME a\nCOLOUR red\nEXEC_FILE /a.so\nTEXT_DIR /t\nEND\n", ":2:", "unknown keyword COLOUR"},
        {"NAME a\nEXEC_FILE /a.so\nTEXT_DIR /t\nEND\nNAME b\n", ":5:", "after END"},
        {"NAME a\nname b\nEXEC_FILE /a.so\nTEXT_DIR /t\nEND\n", ":2:", "twice"},
        {"NAME\nEXEC_FILE /a.so\nTEXT_DIR /t\nEND\n", ":1:", "no value"},
    };
    for (const auto& c : cases) {
        try {
            parse_registration_text(c.text, "/x/protk.dat");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const HostError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(std::string("/x/protk.dat") + c.where), std::string::npos) << message;
            EXPECT_NE(message.find(c.problem), std::string::npos) << message;
        }
    }
    EXPECT_NO_THROW(parse_registration_text(ok + "END\n", "/x/protk.dat"));
}

TEST(Registration, MissingFileIsAnError)
{
    EXPECT_THROW(parse_registration("/no/such/protk.dat"), HostError);
}
