// Thread timers as the host plays them off Windows: SetTimer with no
// window, on a clock of the host's own that only the host moves, so that
// an hour of timed saves takes no time at all.
//
// As with WM_TIMER, a timer that comes due while nobody reads the message
// queue keeps one tick pending, however many periods pass; the tick is
// delivered when the host's message loop next runs, and the timer goes on
// on its own schedule.
//
// On Windows the add-in sets real timers and none of this is built.
#pragma once

#ifndef _WIN32

#include <optional>
#include <vector>

#include "winshell.h"

namespace vxhost {

struct ThreadTimer {
    UINT_PTR id = 0;            // the host's identifier, never the one asked for
    unsigned period = 0;        // milliseconds
    TIMERPROC proc = nullptr;
    long long due = 0;          // its next expiry on the clock
    bool pending = false;       // a tick waits for the message loop
    bool orphaned = false;      // the library that set it is unloaded
};

class Timers {
public:
    // Sets a timer with a new identifier, or restarts the one of `id`, as
    // SetTimer does for a thread timer; the first expiry is one period away.
    UINT_PTR set(UINT_PTR id, unsigned period, TIMERPROC proc);
    // Stops the timer and drops its pending tick; false for no such timer.
    bool kill(UINT_PTR id);

    // Time passes with nobody reading the queue.
    void elapse(long long milliseconds);
    // The next tick for the message loop to deliver, by `until` at the
    // latest: a pending one first, else the clock moves to the earliest
    // expiry. Nothing when none comes by then; the clock is then `until`.
    std::optional<ThreadTimer> take_tick(long long until);

    // Every timer set so far now belongs to no loaded library.
    void orphan_all();

    long long now() const { return now_; }
    const std::vector<ThreadTimer>& list() const { return timers_; }

private:
    ThreadTimer* find(UINT_PTR id);
    // Moves the timer's next expiry past the clock, marking its tick.
    void expire(ThreadTimer& timer);

    std::vector<ThreadTimer> timers_;    // in order of setting
    long long now_ = 0;
    UINT_PTR next_id_ = 0x7FFF;          // counted down, as Windows does
};

}  // namespace vxhost

#endif
