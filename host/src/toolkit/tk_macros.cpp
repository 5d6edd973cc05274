// The macro queue as the add-in reaches it: a macro handed over runs once
// control is back with the host (ui/macros.cpp).
#include "toolkit/guard.h"
#include "toolkit/tk_calls.h"

namespace vxhost::tk {

namespace {

// No macro of the add-in's comes near this; a text without a terminator
// this far is not a macro.
constexpr std::size_t kMacroLimit = 8192;

}  // namespace

ProError ProMacroLoad(const ProWchar* macro)
{
    return guarded("ProMacroLoad", CallArgs{}.wide(macro, kMacroLimit),
                   [&](HostState& s) -> ProError {
                       if (!macro)
                           return PRO_TK_BAD_INPUTS;
                       const std::u16string text = wide_text(macro, kMacroLimit);
                       if (text.size() >= kMacroLimit) {
                           s.error("ProMacroLoad: no terminator within " +
                                   std::to_string(kMacroLimit) + " units");
                           return PRO_TK_LINE_TOO_LONG;
                       }
                       s.macros_loaded.push_back(text);
                       s.macro_queue.push_back(text);
                       s.note("macro queued: " + to_utf8(text));
                       return PRO_TK_NO_ERROR;
                   });
}

}  // namespace vxhost::tk
