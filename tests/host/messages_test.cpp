#include <gtest/gtest.h>

#include "fixtures.h"
#include "host/errors.h"
#include "host/messages.h"

using namespace vxhost;

TEST(MessageFile, ShowsTheTranslationWhenThereIsOne)
{
    const auto file = MessageFile::parse_text("\xEF\xBB\xBF"
                                              "Plain\r\nOpen folder\r\n#\r\n#\r\n"
                                              "\n\n"
                                              "Translated\nOpen\n\xE6\x89\x93\xE5\xBC\x80\n#\n"
                                              "\n",
                                              "/t/Vexholm.txt");
    ASSERT_EQ(file.size(), 2u);
    ASSERT_NE(file.find("Plain"), nullptr);
    EXPECT_EQ(file.find("Plain")->text, "Open folder");
    EXPECT_EQ(file.find("Translated")->text, "\xE6\x89\x93\xE5\xBC\x80");
    EXPECT_EQ(file.find("Translated")->line, 7);
    EXPECT_EQ(file.find("Missing"), nullptr);
}

TEST(MessageFile, MalformedGroupsNameFileAndLine)
{
    struct Case {
        const char* text;
        const char* where;
        const char* problem;
    };
    const Case cases[] = {
        {"A\ntext\n#\n", ":1:", "cut short"},
        {"A\ntext\n#\n#\n\nB\ntext\n", ":6:", "cut short"},
        {"A\ntext\n#\nnot hash\n", ":4:", "must be #"},
        {"A\ntext\n#\n#\nA\nagain\n#\n#\n", ":5:", "already given at line 1"},
        // A group ended by a blank line instead of #.
        {"A\ntext\n#\n\nB\nb\n#\n#\n", ":4:", "must be #"},
    };
    for (const auto& c : cases) {
        try {
            MessageFile::parse_text(c.text, "/t/Vexholm.txt");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const HostError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(std::string("/t/Vexholm.txt") + c.where), std::string::npos) << message;
            EXPECT_NE(message.find(c.problem), std::string::npos) << message;
        }
    }
}

TEST(MessageCache, ParsesEachFileOnceAndReportsMissingFiles)
{
    vxtest::TempDir dir;
    const auto path = dir.write("Vexholm.txt", vxtest::message_file({"K=first"}));
    MessageCache cache;
    const MessageFile& once = cache.get(path);
    dir.write("Vexholm.txt", vxtest::message_file({"K=changed"}));
    EXPECT_EQ(&cache.get(path), &once);
    EXPECT_EQ(cache.get(path).find("K")->text, "first");
    EXPECT_THROW(cache.get(dir.path() / "none.txt"), HostError);
}
