// The one way into the host from the add-in: every host function runs its
// body through guarded(), which journals the call, applies an injected
// fault and keeps exceptions from crossing into the add-in.
#pragma once

#include <exception>
#include <string>

#include "host/text.h"
#include "state.h"

namespace vxhost {

template <class Body>
ProError guarded(const char* call, std::string args, Body body)
{
    HostState& s = current_state();
    const auto id = s.journal.begin(call, args);
    if (const auto status = s.faults.check(call, args)) {
        s.journal.finish(id, *status, true);
        return *status;
    }
    ProError status = PRO_TK_GENERAL_ERROR;
    try {
        status = body(s);
    } catch (const std::exception& e) {
        s.error(std::string(call) + ": " + e.what());
    }
    s.journal.finish(id, status);
    return status;
}

// Argument text for the journal.
inline std::string quoted(const char* text)
{
    return text ? "\"" + std::string(text) + "\"" : "(null)";
}

inline std::string quoted(const char16_t* text)
{
    return text ? "\"" + to_utf8(wide_text(text, PRO_PATH_SIZE)) + "\"" : "(null)";
}

inline std::string flag(ProBoolean value) { return value ? "true" : "false"; }

template <class... Parts>
std::string join_args(const Parts&... parts)
{
    std::string text;
    ((text += (text.empty() ? "" : ", ") + std::string(parts)), ...);
    return text;
}

std::string command_text(const HostState& s, uiCmdCmdId id);
std::string model_text(const HostState& s, ProMdl model);

}  // namespace vxhost
