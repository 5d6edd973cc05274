// A probe add-in: the add-in's notice code with the toolkit runtime, and
// one command per dialog style, so the host can show both forms. Each
// command gives the host the code of the button that closed the dialog.
#include "toolkit.h"

int ShowMessageDialog(int style, const ProWchar* text);

namespace {

template <int Style>
int show(uiCmdCmdId, uiCmdValue*, void*)
{
    return ShowMessageDialog(Style, u"probe notice");
}

uiCmdAccessState always(uiCmdAccessMode) { return ACCESS_AVAILABLE; }

struct Probe {
    const char* action;
    uiCmdCmdActFn fn;
};

const Probe probes[] = {
    {"Probe_Style0", show<0>}, {"Probe_Style1", show<1>},
    {"Probe_Style2", show<2>}, {"Probe_StyleMinus1", show<-1>},
};

}  // namespace

extern "C" int AddinInitialize(int, char**, char*, char*, ProWchar*)
{
    uiCmdCmdId id;
    for (const Probe& p : probes)
        ProCmdActionAdd(p.action, p.fn, uiProe2ndImmediate, always, PRO_B_TRUE, PRO_B_TRUE, &id);
    return 0;
}

extern "C" void AddinTerminate(void) {}
