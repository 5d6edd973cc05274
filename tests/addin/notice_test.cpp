// The add-in's notice dialog in both its forms, through a probe library
// that carries the add-in's notice code and shows one dialog per style.
#include "addin_fixture.h"

using vxtest::AddinTest;

namespace {

class NoticeTest : public AddinTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(host.load_library(VX_NOTICE_PROBE, vxtest::text_dir()), 0);
    }
};

struct Form {
    const char* action;
    std::vector<int> buttons;
};

const Form forms[] = {
    {"Probe_Style1", {PRO_UI_MESSAGE_OK}},
    {"Probe_Style0", {PRO_UI_MESSAGE_OK, PRO_UI_MESSAGE_CANCEL}},
    {"Probe_Style2", {PRO_UI_MESSAGE_OK, PRO_UI_MESSAGE_CANCEL}},
    {"Probe_StyleMinus1", {PRO_UI_MESSAGE_OK, PRO_UI_MESSAGE_CANCEL}},
};

}  // namespace

// Every button of every form: the dialog shows the title, the text and the
// form's buttons with OK the default, gives back the button pressed, and
// leaves no button list behind.
TEST_F(NoticeTest, EachStyleShowsItsButtonsAndGivesBackTheOnePressed)
{
    for (const Form& form : forms) {
        for (int pressed : form.buttons) {
            SCOPED_TRACE(std::string(form.action) + " pressing " + std::to_string(pressed));
            const std::size_t shown = host.message_dialogs().size();
            host.answer_dialog(pressed);
            ASSERT_TRUE(host.run_action(form.action));
            ASSERT_EQ(host.message_dialogs().size(), shown + 1);
            const vxhost::MessageDialog& d = host.message_dialogs().back();
            EXPECT_EQ(d.type, 3);
            EXPECT_EQ(d.title, "提示");
            EXPECT_EQ(d.text, "probe notice");
            EXPECT_EQ(d.buttons, form.buttons);
            EXPECT_EQ(d.default_button, PRO_UI_MESSAGE_OK);
            EXPECT_EQ(host.last_action_status(), pressed);
            EXPECT_TRUE(host.outstanding().empty());
        }
    }
    expect_clean();
}

TEST_F(NoticeTest, ClosedWithoutAnAnswerTheDefaultIsGiven)
{
    ASSERT_TRUE(host.run_action("Probe_Style2"));
    EXPECT_EQ(host.last_action_status(), PRO_UI_MESSAGE_OK);
}

// When the host cannot give a button list, nothing is shown and OK is
// the answer; when the dialog fails, the list is still released.
TEST_F(NoticeTest, WithoutAButtonListNothingIsShownAndTheListIsAlwaysReleased)
{
    host.inject_fault("ProArrayAlloc", PRO_TK_OUT_OF_MEMORY, 1);
    ASSERT_TRUE(host.run_action("Probe_Style2"));
    EXPECT_TRUE(host.message_dialogs().empty());
    EXPECT_EQ(host.last_action_status(), PRO_UI_MESSAGE_OK);

    host.inject_fault("ProUIMessageDialogDisplay", PRO_TK_GENERAL_ERROR, 1);
    host.answer_dialog(PRO_UI_MESSAGE_CANCEL);
    ASSERT_TRUE(host.run_action("Probe_Style2"));
    EXPECT_EQ(host.last_action_status(), PRO_UI_MESSAGE_OK) << "no button chosen: OK";
    EXPECT_TRUE(host.outstanding().empty());
    expect_clean();
}
