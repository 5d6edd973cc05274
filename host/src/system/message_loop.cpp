// The host's idle loop. The real host runs a Win32 message loop between
// the user's actions; the add-in's thread timer (SetTimer with no window)
// is served by it, since WM_TIMER goes to the timer procedure only when
// the thread dispatches its messages.
#include <chrono>

#include "host/host.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <thread>
#endif

namespace vxhost {

#ifdef _WIN32

int Host::pump_messages(int milliseconds)
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

// Elsewhere there is no message queue; the host plays the timer itself.
int Host::pump_messages(int milliseconds)
{
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    return 0;
}

#endif

}  // namespace vxhost
