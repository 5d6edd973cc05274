// The Windows thread timer as the host plays it off Windows: SetTimer and
// KillTimer with no window. The identifier is the host's own choice, as
// Windows makes it; the ticks come through the host's message loop
// (system/message_loop.cpp). On Windows the add-in sets real timers.
#ifndef _WIN32

#include "guard.h"
#include "tk_calls.h"

namespace vxhost::tk {

namespace {

Word window_text(HWND hwnd) { return Word{hwnd ? "hwnd" : "(null)"}; }

std::string minutes_text(unsigned milliseconds)
{
    if (milliseconds % 60000 == 0)
        return std::to_string(milliseconds / 60000) + " min";
    return std::to_string(milliseconds) + " ms";
}

}  // namespace

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds, TIMERPROC proc)
{
    const ProError result = guarded(
        "SetTimer",
        call_args(window_text(hwnd), id, milliseconds, pointer_flag(reinterpret_cast<const void*>(proc))),
        [&](HostState& s) -> ProError {
            // A window's timer, or one whose WM_TIMER would go to the
            // host's own queue, is none the add-in can use.
            if (hwnd) {
                s.error("SetTimer: a window the host never gave; the add-in has no windows");
                return 0;
            }
            if (!proc) {
                s.error("SetTimer: a thread timer without a procedure");
                return 0;
            }
            const UINT_PTR set = s.timers.set(id, milliseconds, proc);
            s.note("timer " + std::to_string(set) + " set: every " + minutes_text(milliseconds));
            return static_cast<ProError>(set);
        });
    // A failed or faulted call sets no timer, whatever status it gave.
    return result > 0 ? static_cast<UINT_PTR>(result) : 0;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    const ProError result = guarded("KillTimer", call_args(window_text(hwnd), id), [&](HostState& s) -> ProError {
        if (hwnd || !s.timers.kill(id)) {
            s.error("KillTimer: no timer " + std::to_string(id) + (hwnd ? " of that window" : ""));
            return 0;
        }
        s.note("timer " + std::to_string(id) + " stopped");
        return 1;
    });
    return result > 0;
}

}  // namespace vxhost::tk

#endif
