// Macros: parsed, then carried out on a fresh host with nothing loaded.
// Running never throws, and a macro that stops has said why.
#include "fuzz_common.h"
#include "host/host.h"
#include "host/text.h"
#include "state.h"
#include "ui/macros.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string text = vxfuzz::text_of(data, size);
    const vxhost::ParsedMacro parsed = vxhost::parse_macro(text);
    if (!parsed.error && parsed.steps.empty())
        vxfuzz::broken("a macro accepted without steps");
    for (const auto& step : parsed.steps)
        if (step.verb.empty())
            vxfuzz::broken("a step without its verb");

    vxhost::Host host;
    vxhost::HostState& state = vxhost::current_state();
    if (!vxhost::run_macro(state, vxhost::to_utf16(text)) && state.errors.empty())
        vxfuzz::broken("a macro stopped without a recorded error");
    return 0;
}
