// The one way into the host from the add-in: every host function runs its
// body through guarded(), which journals the call, applies an injected
// fault and keeps exceptions from crossing into the add-in.
#pragma once

#include <exception>
#include <string>

#include "host/journal.h"
#include "host/text.h"
#include "state.h"

namespace vxhost {

// A faulted call returns its status without running the body; one faulted
// as "unwritten" returns 0 without running it, so it writes no output.
template <class Body>
ProError guarded(const char* call, CallArgs args, Body body)
{
    HostState& s = current_state();
    const CommandScope scope(s);
    const auto hit = s.faults.check(call, args);
    const auto id = s.journal.begin(call, std::move(args));
    if (hit) {
        s.journal.finish(id, hit->status, true);
        return hit->status;
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

inline Word flag(ProBoolean value) { return Word{value ? "true" : "false"}; }
inline Word pointer_flag(const void* p) { return Word{p ? "fn" : "(null)"}; }

// The journal's names of the host's handles: cmd#N, model#N, block#N.
Word command_text(const HostState& s, uiCmdCmdId id);
Word model_text(const HostState& s, ProMdl model);
Word block_text(const HostState& s, const void* block);

}  // namespace vxhost
