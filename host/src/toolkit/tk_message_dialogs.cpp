// Message dialogs: modal, answered with a queued button or closed with
// the default one.
#include <algorithm>
#include <string>

#include "guard.h"
#include "tk_calls.h"

namespace vxhost {

namespace {

const char* button_name(int code)
{
    switch (code) {
    case PRO_UI_MESSAGE_OK: return "OK";
    case PRO_UI_MESSAGE_CANCEL: return "Cancel";
    }
    return "?";
}

// The message types this host shows.
bool known_type(ProUIMessageType type) { return type == PRO_UI_MESSAGE_INFO; }

// The codes of a live host array of buttons, or nothing when it is not one.
std::optional<std::vector<int>> button_list(HostState& s, const ProUIMessageButton* buttons)
{
    const ArrayInfo* info = s.arrays.find(buttons);
    if (info == nullptr || info->object_size != static_cast<int>(sizeof(ProUIMessageButton)) ||
        info->count < 1)
        return std::nullopt;
    return std::vector<int>(buttons, buttons + info->count);
}

std::string render(const MessageDialog& d)
{
    std::string line = "message dialog \"" + d.title + "\": " + d.text + " [";
    for (std::size_t i = 0; i < d.buttons.size(); ++i) {
        line += i ? " " : "";
        line += button_name(d.buttons[i]);
        line += d.buttons[i] == d.default_button ? "*" : "";
    }
    return line + "] -> " + button_name(d.chosen);
}

// The button the user presses: the next queued answer when the dialog
// has it, else the default.
int press(HostState& s, const MessageDialog& d)
{
    if (s.dialog_answers.empty())
        return d.default_button;
    const int answer = s.dialog_answers.front();
    s.dialog_answers.pop_front();
    for (int code : d.buttons)
        if (code == answer)
            return answer;
    s.error("message dialog \"" + d.text + "\" has no button " + std::to_string(answer));
    return d.default_button;
}

}  // namespace

namespace tk {

ProError ProUIMessageDialogDisplay(ProUIMessageType type, const ProWchar* title,
                                   const ProWchar* message, ProUIMessageButton* buttons,
                                   ProUIMessageButton default_button, ProUIMessageButton* p_chosen)
{
    HostState& state = current_state();
    return guarded("ProUIMessageDialogDisplay",
                   call_args(type, title, message, block_text(state, buttons), default_button),
                   [&](HostState& s) -> ProError {
                       if (!title || !message || !p_chosen)
                           return PRO_TK_BAD_INPUTS;
                       const auto codes = button_list(s, buttons);
                       if (!codes)
                           return PRO_TK_BAD_INPUTS;
                       // What the real host would refuse to show.
                       if (!known_type(type)) {
                           s.error("ProUIMessageDialogDisplay: unknown message type " +
                                   std::to_string(type));
                           return PRO_TK_BAD_INPUTS;
                       }
                       if (std::find(codes->begin(), codes->end(), default_button) == codes->end()) {
                           s.error("ProUIMessageDialogDisplay: the default button " +
                                   std::to_string(default_button) + " is not in the list");
                           return PRO_TK_BAD_INPUTS;
                       }
                       MessageDialog d{type, to_utf8(wide_text(title, PRO_PATH_SIZE)),
                                       to_utf8(wide_text(message, 4096)), *codes,
                                       default_button, 0};
                       d.chosen = press(s, d);
                       *p_chosen = d.chosen;
                       s.note(render(d));
                       s.message_dialogs.push_back(d);
                       return PRO_TK_NO_ERROR;
                   });
}

}  // namespace tk

void Host::answer_dialog(int button) { state_->dialog_answers.push_back(button); }
const std::vector<MessageDialog>& Host::message_dialogs() const { return state_->message_dialogs; }

}  // namespace vxhost
