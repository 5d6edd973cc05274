#include "host/timers.h"

#ifndef _WIN32

#include <algorithm>

namespace vxhost {

namespace {

// What SetTimer makes of a period out of its range.
constexpr unsigned kMinimumPeriod = 10;            // USER_TIMER_MINIMUM
constexpr unsigned kMaximumPeriod = 0x7FFFFFFF;    // USER_TIMER_MAXIMUM

}  // namespace

ThreadTimer* Timers::find(UINT_PTR id)
{
    for (ThreadTimer& t : timers_)
        if (t.id == id && !t.orphaned)
            return &t;
    return nullptr;
}

UINT_PTR Timers::set(UINT_PTR id, unsigned period, TIMERPROC proc)
{
    period = std::clamp(period, kMinimumPeriod, kMaximumPeriod);
    ThreadTimer* timer = find(id);
    if (!timer) {
        timers_.push_back(ThreadTimer{next_id_--, 0, nullptr, 0, false, false});
        timer = &timers_.back();
    }
    timer->period = period;
    timer->proc = proc;
    timer->due = now_ + period;
    timer->pending = false;
    return timer->id;
}

bool Timers::kill(UINT_PTR id)
{
    const auto it = std::find_if(timers_.begin(), timers_.end(),
                                 [id](const ThreadTimer& t) { return t.id == id; });
    if (it == timers_.end())
        return false;
    timers_.erase(it);
    return true;
}

void Timers::expire(ThreadTimer& timer)
{
    timer.pending = true;
    const long long missed = (now_ - timer.due) / timer.period;
    timer.due += (missed + 1) * timer.period;
}

void Timers::elapse(long long milliseconds)
{
    now_ += std::max(0LL, milliseconds);
    for (ThreadTimer& t : timers_)
        if (t.due <= now_)
            expire(t);
}

std::optional<ThreadTimer> Timers::take_tick(long long until)
{
    for (ThreadTimer& t : timers_)
        if (t.pending) {
            t.pending = false;
            return t;
        }
    ThreadTimer* next = nullptr;
    for (ThreadTimer& t : timers_)
        if (t.due <= until && (!next || t.due < next->due))
            next = &t;
    if (!next) {
        now_ = std::max(now_, until);
        return std::nullopt;
    }
    now_ = std::max(now_, next->due);
    expire(*next);
    next->pending = false;
    return *next;
}

void Timers::orphan_all()
{
    for (ThreadTimer& t : timers_)
        t.orphaned = true;
}

}  // namespace vxhost

#endif
