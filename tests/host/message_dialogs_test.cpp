// Message dialogs as the host shows them: only of a type it knows, with a
// default button that is one of the dialog's own.
#include <gtest/gtest.h>

#include "host/host.h"
#include "host_calls.h"

using vxhost::Host;

namespace {

class MessageDialogs : public ::testing::Test {
protected:
    // A host array of button codes, as the add-in makes it.
    ProUIMessageButton* buttons(std::initializer_list<int> codes)
    {
        ProArray array = nullptr;
        EXPECT_EQ(calls.array_alloc(static_cast<int>(codes.size()), sizeof(ProUIMessageButton), 1,
                                    &array),
                  PRO_TK_NO_ERROR);
        auto* list = static_cast<ProUIMessageButton*>(array);
        int i = 0;
        for (int code : codes)
            list[i++] = code;
        return list;
    }

    Host host;
    vxtest::HostCalls calls{host};
    decltype(&::ProUIMessageDialogDisplay) display =
        host.entry<decltype(&::ProUIMessageDialogDisplay)>("ProUIMessageDialogDisplay");
};

}  // namespace

// What the real host would not show is refused and recorded; the chosen
// button is then left as it was.
TEST_F(MessageDialogs, AnUnknownTypeOrADefaultOutsideTheListIsARecordedError)
{
    struct Case {
        const char* why;
        int type;
        std::initializer_list<int> codes;
        int default_button;
        const char* error;   // nullptr: shown
    };
    const Case cases[] = {
        {"a notice", PRO_UI_MESSAGE_INFO, {PRO_UI_MESSAGE_OK}, PRO_UI_MESSAGE_OK, nullptr},
        {"the second as default", PRO_UI_MESSAGE_INFO, {PRO_UI_MESSAGE_OK, PRO_UI_MESSAGE_CANCEL},
         PRO_UI_MESSAGE_CANCEL, nullptr},
        {"type 0", 0, {PRO_UI_MESSAGE_OK}, PRO_UI_MESSAGE_OK, "unknown message type 0"},
        {"type 99", 99, {PRO_UI_MESSAGE_OK}, PRO_UI_MESSAGE_OK, "unknown message type 99"},
        {"Cancel, not listed", PRO_UI_MESSAGE_INFO, {PRO_UI_MESSAGE_OK}, PRO_UI_MESSAGE_CANCEL,
         "the default button 5 is not in the list"},
        {"no button at all", PRO_UI_MESSAGE_INFO, {PRO_UI_MESSAGE_OK}, 0,
         "the default button 0 is not in the list"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const std::size_t errors = host.errors().size();
        const std::size_t shown = host.message_dialogs().size();
        ProUIMessageButton* list = buttons(c.codes);
        int chosen = -7;
        const ProError status = display(c.type, u"提示", u"text", list, c.default_button, &chosen);
        ProArray array = list;
        EXPECT_EQ(calls.array_free(&array), PRO_TK_NO_ERROR);
        if (!c.error) {
            EXPECT_EQ(status, PRO_TK_NO_ERROR);
            EXPECT_EQ(chosen, c.default_button);
            EXPECT_EQ(host.message_dialogs().size(), shown + 1);
            EXPECT_EQ(host.errors().size(), errors);
            continue;
        }
        EXPECT_EQ(status, PRO_TK_BAD_INPUTS);
        EXPECT_EQ(chosen, -7);
        EXPECT_EQ(host.message_dialogs().size(), shown);
        ASSERT_EQ(host.errors().size(), errors + 1);
        EXPECT_NE(host.errors().back().find(c.error), std::string::npos) << host.errors().back();
    }
    EXPECT_TRUE(host.outstanding().empty());
    EXPECT_TRUE(host.ledger_errors().empty());
}
