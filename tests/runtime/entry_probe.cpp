// A probe add-in: the toolkit runtime with an AddinInitialize that tells
// the host, through ProStringCopy, what the runtime handed it. Its result
// is the number given as its last argument, so the host can see the
// runtime pass that on.
#include <stdio.h>
#include <stdlib.h>

#include "toolkit.h"

namespace {

void tell(const char* what, const char* text)
{
    char line[512];
    char* copy = nullptr;
    snprintf(line, sizeof line, "%s=%s", what, text ? text : "(null)");
    if (ProStringCopy(line, &copy) == PRO_TK_NO_ERROR)
        ProStringFree(copy);
}

}  // namespace

extern "C" int AddinInitialize(int argc, char** argv, char* version, char* build, ProWchar* err)
{
    char count[16];
    snprintf(count, sizeof count, "%d", argc);
    tell("argc", count);
    for (int i = 0; i < argc; ++i)
        tell("argv", argv[i]);
    tell("version", version);
    tell("build", build);
    tell("error text", err && err[0] == 0 ? "empty" : "not empty");
    return argc > 1 ? atoi(argv[argc - 1]) : 0;
}

extern "C" void AddinTerminate(void) { tell("terminate", ""); }
