// A stand-in add-in that sets a thread timer at start-up and leaves it
// running when it is unloaded: the host must never call into it again.
#include <string_view>

#include "toolkit_host.h"

namespace {

int ticks;

void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) { ++ticks; }

}  // namespace

extern "C" PRO_EXPORT int* timer_ticks() { return &ticks; }

extern "C" int user_initialize_plus(const ProHostTable* table)
{
    for (const ProHostEntry* e = table->entries; e->name; ++e)
        if (std::string_view(e->name) == "SetTimer")
            return reinterpret_cast<decltype(&SetTimer)>(e->fn)(nullptr, 1, 60000, tick) ? 0 : 1;
    return PRO_TK_E_NOT_FOUND;
}

extern "C" void user_terminate_plus() {}
