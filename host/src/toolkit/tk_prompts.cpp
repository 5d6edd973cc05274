// The message area's input line: the add-in reads what the user types.
//
// A scenario or a test queues the entries beforehand (Host::type_entry,
// Host::abort_entry). ProMessageStringRead takes the next one: a text is
// written into the add-in's buffer, no further than the limit it gave
// (the field takes no more keys than that); Enter alone, or Esc, gives a
// non-zero status and leaves the buffer as it was.
#include <cstring>

#include "guard.h"
#include "tk_calls.h"

namespace vxhost {

namespace {

// The text as far as a field of `units` units with its terminator takes
// it, never half a surrogate pair.
std::u16string fit_field(const std::u16string& text, std::size_t units)
{
    if (text.size() < units)
        return text;
    std::size_t n = units - 1;
    if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] < 0xDC00)
        --n;
    return text.substr(0, n);
}

}  // namespace

namespace tk {

ProError ProMessageStringRead(int max_len, ProWchar* string)
{
    return guarded("ProMessageStringRead", call_args(max_len), [&](HostState& s) -> ProError {
        if (max_len < 1 || !string)
            return PRO_TK_BAD_INPUTS;
        if (s.typed.empty()) {
            s.error("ProMessageStringRead: the add-in waits for an entry and none was typed");
            s.note("entry: none typed, taken as aborted");
            return PRO_TK_USER_ABORT;
        }
        const std::optional<std::u16string> entry = s.typed.front();
        s.typed.pop_front();
        if (!entry) {
            s.note("entry: aborted");
            return PRO_TK_USER_ABORT;
        }
        const std::u16string text = fit_field(*entry, static_cast<std::size_t>(max_len));
        if (text.empty()) {
            s.note("entry: nothing typed");
            return PRO_TK_GENERAL_ERROR;
        }
        std::memcpy(string, text.c_str(), (text.size() + 1) * sizeof(ProWchar));
        s.note("entry: typed \"" + to_utf8(text) + "\"" +
               (text.size() < entry->size()
                    ? " (the field takes " + std::to_string(max_len - 1) + " units, not " +
                          std::to_string(entry->size()) + ")"
                    : ""));
        return PRO_TK_NO_ERROR;
    });
}

}  // namespace tk

void Host::type_entry(const std::u16string& text) { state_->typed.push_back(text); }
void Host::abort_entry() { state_->typed.push_back(std::nullopt); }

}  // namespace vxhost
