// The host's Win32 message loop (Windows build only): a thread timer, as
// the add-in's timed save sets one, ticks only while the host pumps.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>

#include "host/host.h"

namespace {

int ticks;
UINT_PTR ticked_id;

void CALLBACK tick(HWND, UINT message, UINT_PTR id, DWORD)
{
    if (message == WM_TIMER) {
        ++ticks;
        ticked_id = id;
    }
}

}  // namespace

TEST(MessageLoop, DeliversThreadTimerTicksOnlyWhilePumping)
{
    vxhost::Host host;
    ticks = 0;
    const UINT_PTR id = SetTimer(nullptr, 0, 10, tick);
    ASSERT_NE(id, 0u);

    Sleep(40);
    EXPECT_EQ(ticks, 0) << "a tick without the message loop";

    const auto start = std::chrono::steady_clock::now();
    const int dispatched = host.pump_messages(200);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(ticks, 1);
    EXPECT_GE(dispatched, ticks);
    EXPECT_EQ(ticked_id, id);      // the identifier SetTimer gave, not the one asked for
    EXPECT_GE(waited, std::chrono::milliseconds(190));
    EXPECT_LT(waited, std::chrono::seconds(10));

    EXPECT_TRUE(KillTimer(nullptr, id));
    const int before = ticks;
    host.pump_messages(60);
    EXPECT_EQ(ticks, before) << "a tick after KillTimer";
}
