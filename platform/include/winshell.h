/*
 * winshell.h -- the Windows shell and timer calls the add-in uses, declared
 * for builds that are not Windows. On Windows the add-in includes the real
 * <windows.h> and <shellapi.h> instead; here the toolkit runtime forwards
 * these calls to the host, which plays the shell and the timer.
 *
 * WCHAR is char16_t here, so toolkit wide text passes unchanged; on Windows
 * it is wchar_t, of the same width.
 */
#ifndef WINSHELL_H
#define WINSHELL_H

#ifdef _WIN32
#error "on Windows, include <windows.h> and <shellapi.h>"
#endif

#include <stdint.h>

extern "C" {

typedef char16_t        WCHAR;
typedef const WCHAR    *LPCWSTR;
typedef int             BOOL;
typedef unsigned int    UINT;
typedef uint32_t        DWORD;
typedef uintptr_t       UINT_PTR;
typedef unsigned short  WORD;
typedef void           *LPVOID;
typedef struct win_hwnd *HWND;
typedef struct win_hinstance *HINSTANCE;

/* The calling convention of Windows callbacks; one convention here. */
#define CALLBACK

/* A timer procedure: called with WM_TIMER, the timer's identifier and the
 * system time in milliseconds. */
typedef void (CALLBACK *TIMERPROC)(HWND hwnd, UINT message, UINT_PTR id, DWORD time);

#define WM_TIMER            0x0113

#define SW_SHOWNORMAL       1

#define FO_DELETE           3
#define FOF_SILENT          0x0004
#define FOF_NOCONFIRMATION  0x0010
#define FOF_ALLOWUNDO       0x0040
#define FOF_NOERRORUI       0x0400

typedef WORD FILEOP_FLAGS;

typedef struct {
    HWND         hwnd;
    UINT         wFunc;
    LPCWSTR      pFrom;     /* list of names, each NUL-ended, the list ends with a second NUL */
    LPCWSTR      pTo;
    FILEOP_FLAGS fFlags;
    BOOL         fAnyOperationsAborted;
    LPVOID       hNameMappings;
    LPCWSTR      lpszProgressTitle;
} SHFILEOPSTRUCTW;

HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, int show);
int       SHFileOperationW(SHFILEOPSTRUCTW *request);
UINT_PTR  SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds, TIMERPROC proc);
BOOL      KillTimer(HWND hwnd, UINT_PTR id);

}   /* extern "C" */

#endif
