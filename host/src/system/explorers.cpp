// The explorers the real shell starts for the add-in on Windows. On
// Windows itself such an explorer hands its folder to the running shell
// and ends; under Wine it stays, a child of the host's process, with a
// window nobody sees. The host ends those, by their ids, when it unloads
// the add-in, so that none outlives a run.
#ifdef _WIN32

#include <windows.h>
#include <tlhelp32.h>

#include "host/shell.h"

namespace vxhost {

namespace {

// When a process started; 0 when that cannot be read.
ULONGLONG start_time(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// A process whose parent id is ours but that started before us had
// another parent, whose id this process took over.
bool started_by_us(DWORD id, ULONGLONG our_start)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return false;
    const ULONGLONG started = start_time(process);
    CloseHandle(process);
    return started != 0 && started >= our_start;
}

}  // namespace

std::vector<unsigned long> explorer_children()
{
    std::vector<unsigned long> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof entry;
    const DWORD self = GetCurrentProcessId();
    const ULONGLONG our_start = start_time(GetCurrentProcess());
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (entry.th32ParentProcessID == self && lstrcmpiW(entry.szExeFile, L"explorer.exe") == 0 &&
            started_by_us(entry.th32ProcessID, our_start))
            ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

void end_explorer_children()
{
    for (unsigned long id : explorer_children()) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!process)
            continue;
        if (TerminateProcess(process, 0))
            WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

}  // namespace vxhost

#endif
