/*
 * win.h -- the one place where the add-in meets Windows. On Windows the
 * real headers; elsewhere the stand-in declarations, whose calls the host
 * carries out.
 */
#ifndef ADDIN_WIN_H
#define ADDIN_WIN_H

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include "winshell.h"
#endif

#include "toolkit.h"

/* Toolkit wide text as Windows wide text: both are UTF-16. */
static_assert(sizeof(WCHAR) == sizeof(ProWchar), "WCHAR is a UTF-16 unit");
#define WIN_TEXT(s) ((LPCWSTR)(s))

#endif
