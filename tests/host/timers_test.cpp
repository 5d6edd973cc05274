// Thread timers as the host plays them off Windows: identifiers of the
// host's choosing, a clock only the host moves, one pending tick at most
// while nobody reads the queue, and no call into a library that is gone.
#include <gtest/gtest.h>

#include "fixtures.h"
#include "host/host.h"
#include "host/library.h"

using namespace vxhost;

namespace {

std::vector<std::pair<UINT_PTR, long long>> ticks;   // timer, clock
Host* ticking_host = nullptr;

void CALLBACK record_tick(HWND hwnd, UINT message, UINT_PTR id, DWORD time)
{
    EXPECT_EQ(hwnd, nullptr);
    EXPECT_EQ(message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(static_cast<long long>(time), ticking_host->clock());
    ticks.emplace_back(id, ticking_host->clock());
}

}  // namespace

class ThreadTimers : public ::testing::Test {
protected:
    ThreadTimers()
    {
        ticks.clear();
        ticking_host = &host;
    }

    Host host;
    decltype(&::SetTimer) set_timer = host.entry<decltype(&::SetTimer)>("SetTimer");
    decltype(&::KillTimer) kill_timer = host.entry<decltype(&::KillTimer)>("KillTimer");
};

TEST_F(ThreadTimers, ATimerTicksOncePeriodWhileTheHostIdles)
{
    const UINT_PTR a = set_timer(nullptr, 10, 300, record_tick);
    const UINT_PTR b = set_timer(nullptr, 10, 500, record_tick);
    ASSERT_NE(a, 0u);
    EXPECT_NE(a, 10u) << "the host chooses the identifier";
    EXPECT_NE(b, a);
    EXPECT_EQ(host.pump_messages(299), 0);
    EXPECT_EQ(host.advance_clock(1000), 6);
    EXPECT_EQ(ticks, (std::vector<std::pair<UINT_PTR, long long>>{
                         {a, 300}, {b, 500}, {a, 600}, {a, 900}, {b, 1000}, {a, 1200}}));
    EXPECT_EQ(host.clock(), 1299);

    // The identifier a timer was given restarts that timer.
    EXPECT_EQ(set_timer(nullptr, a, 50, record_tick), a);
    ticks.clear();
    host.advance_clock(100);
    EXPECT_EQ(ticks.size(), 2u);
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(ThreadTimers, ABusyHostGetsOneTickPerTimerHoweverLongItWasBusy)
{
    const UINT_PTR a = set_timer(nullptr, 0, 100, record_tick);
    host.pass_busy_time(1050);
    ASSERT_EQ(host.timers().size(), 1u);
    EXPECT_TRUE(host.timers()[0].pending);
    EXPECT_TRUE(ticks.empty());
    EXPECT_EQ(host.pump_messages(0), 1);
    EXPECT_EQ(ticks, (std::vector<std::pair<UINT_PTR, long long>>{{a, 1050}}));
    // Its schedule goes on: the next tick at 1100, not 1150.
    EXPECT_EQ(host.pump_messages(50), 1);
    EXPECT_EQ(ticks.back().second, 1100);

    // Stopped, its pending tick goes too.
    host.pass_busy_time(500);
    EXPECT_TRUE(kill_timer(nullptr, a));
    EXPECT_EQ(host.pump_messages(1000), 0);
    EXPECT_TRUE(host.timers().empty());
}

TEST_F(ThreadTimers, WhatWindowsWouldRefuseIsRefusedAndRecorded)
{
    int not_a_window = 0;
    const HWND window = reinterpret_cast<HWND>(&not_a_window);
    EXPECT_EQ(set_timer(window, 1, 100, record_tick), 0u);
    EXPECT_EQ(set_timer(nullptr, 1, 100, nullptr), 0u);
    EXPECT_FALSE(kill_timer(nullptr, 12345));
    const UINT_PTR a = set_timer(nullptr, 0, 100, record_tick);
    EXPECT_FALSE(kill_timer(window, a));
    EXPECT_TRUE(kill_timer(nullptr, a));
    EXPECT_FALSE(kill_timer(nullptr, a));
    EXPECT_EQ(host.errors().size(), 5u);

    // Out of range, a period is taken as the nearest one Windows allows.
    set_timer(nullptr, 0, 0, record_tick);
    EXPECT_EQ(host.timers().at(0).period, 10u);
    host.inject_fault("SetTimer", PRO_TK_GENERAL_ERROR);
    EXPECT_EQ(set_timer(nullptr, 0, 100, record_tick), 0u) << "a failed call sets no timer";
}

// The library's timer procedure is gone with it: the tick that comes due
// is an error on the record, never a call.
TEST_F(ThreadTimers, ATickForAnUnloadedLibraryIsAnErrorNeverACall)
{
    vxtest::TempDir text;
    ASSERT_EQ(host.load_library(VX_TIMER_ADDIN, text.path()), 0);
    const auto* counter = reinterpret_cast<int* (*)()>(
        Library::loaded_symbol(VX_TIMER_ADDIN, "timer_ticks"))();
    host.advance_clock(60000);
    EXPECT_EQ(*counter, 1);
    host.unload();
    ASSERT_EQ(host.timers().size(), 1u);
    EXPECT_TRUE(host.timers()[0].orphaned);
    EXPECT_EQ(host.advance_clock(3600000), 0);
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_NE(host.errors()[0].find("came due after its library was unloaded"), std::string::npos);
    EXPECT_TRUE(host.timers().empty());
}
