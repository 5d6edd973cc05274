// The host's idle loop. The real host runs a Win32 message loop between
// the user's actions; the add-in's thread timer (SetTimer with no window)
// is served by it, since WM_TIMER goes to the timer procedure only when
// the thread dispatches its messages. Off Windows the host plays the timer
// on a clock of its own (host/timers.h), and this loop delivers its ticks.
#include <algorithm>
#include <chrono>

#include "host/host.h"
#include "state.h"
#include "ui/macros.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vxhost {

namespace {

#ifdef _WIN32

int pump_windows_messages(int milliseconds)
{
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(milliseconds);
    int dispatched = 0;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Not ours to take: leave it for whoever asked to quit.
                PostQuitMessage(static_cast<int>(message.wParam));
                return dispatched;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
            ++dispatched;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now());
        if (left.count() <= 0)
            return dispatched;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
    }
}

#else

std::string timer_name(const ThreadTimer& t) { return "timer " + std::to_string(t.id); }

// One WM_TIMER dispatched: the procedure runs, then what it queued, as one
// command of its own. A procedure in a library that is gone is never
// called; false then.
bool deliver_tick(HostState& s, const ThreadTimer& tick)
{
    if (tick.orphaned) {
        s.error(clock_text(s.timers.now()) + ": " + timer_name(tick) +
                " came due after its library was unloaded; its procedure is not called");
        s.timers.kill(tick.id);
        return false;
    }
    s.note("clock " + clock_text(s.timers.now()) + ": " + timer_name(tick) + " ticks");
    const CommandScope command(s);
    tick.proc(nullptr, WM_TIMER, tick.id, static_cast<DWORD>(s.timers.now()));
    run_macro_queue(s);
    return true;
}

#endif

}  // namespace

#ifdef _WIN32

int idle(HostState& s, long long milliseconds)
{
    s.note("wait " + clock_text(milliseconds) +
           ": the system's clock drives Windows timers and cannot be hurried; what is due now runs");
    return pump_windows_messages(0);
}

int Host::pump_messages(int milliseconds) { return pump_windows_messages(milliseconds); }

#else

int idle(HostState& s, long long milliseconds)
{
    const long long until = s.timers.now() + std::max(0LL, milliseconds);
    int dispatched = 0;
    while (const auto tick = s.timers.take_tick(until))
        dispatched += deliver_tick(s, *tick) ? 1 : 0;
    return dispatched;
}

int Host::pump_messages(int milliseconds) { return idle(*state_, milliseconds); }

void Host::pass_busy_time(long long milliseconds) { state_->timers.elapse(milliseconds); }
long long Host::clock() const { return state_->timers.now(); }
const std::vector<ThreadTimer>& Host::timers() const { return state_->timers.list(); }

#endif

int Host::advance_clock(long long milliseconds) { return idle(*state_, milliseconds); }

}  // namespace vxhost
