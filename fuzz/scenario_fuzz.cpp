// Scenarios: the vxhost program's steps, run on a fresh host with the
// add-in's registration file and a copy of the sample workspace beside
// the scenario. A scenario may name any folder as a drive and write into
// it, so this target runs only inside a sandbox where nothing but its own
// folder can be written (scripts/sandbox-run); VX_FUZZ_SANDBOX names that
// folder, and without it the target refuses to start.
#include <filesystem>
#include <sstream>

#include "fuzz_common.h"
#include "host/host.h"
#include "host/scenario.h"

namespace {

namespace fs = std::filesystem;

fs::path g_run;   // <sandbox>/run: the scenario's folder, fresh for each input

// The scenario's folder with a fresh copy of the workspace. libFuzzer's
// timeout alarm can interrupt a copy halfway; it is then made again.
void fresh_run_folder()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::error_code ec;
        fs::remove_all(g_run, ec);
        if (!ec)
            fs::create_directories(g_run, ec);
        if (!ec)
            fs::copy(VX_WORKSPACE, g_run / "workspace", fs::copy_options::recursive, ec);
        if (!ec)
            return;
    }
    std::fprintf(stderr, "scenario_fuzz: cannot make %s\n", g_run.c_str());
    std::exit(2);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* sandbox = std::getenv("VX_FUZZ_SANDBOX");
    if (!sandbox || !*sandbox) {
        std::fprintf(stderr, "scenario_fuzz: run it through scripts/sandbox-run, which sets "
                             "VX_FUZZ_SANDBOX: a scenario can write wherever it is let\n");
        std::exit(2);
    }
    g_run = fs::path(sandbox) / "run";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fresh_run_folder();
    std::ostringstream out, err;
    {
        vxhost::Host host;
        host.set_arguments({"scenario_fuzz"});
        // A step's failure stops the scenario with status 2; no exception
        // comes out of it, whatever the text.
        const int status = vxhost::run_scenario_text(host, VX_PROTK_DAT, vxfuzz::text_of(data, size),
                                                     g_run / "fuzz.scenario", out, err);
        if (status != 0 && status != 2)
            vxfuzz::broken("a scenario status other than 0 and 2");
        // No steps inject faults: whatever the user does, the add-in
        // handles the host's memory and the shell as it should.
        host.unload();
        for (const auto& e : host.ledger_errors())
            std::fprintf(stderr, "ledger error: %s\n", e.c_str());
        if (!host.ledger_errors().empty())
            vxfuzz::broken("a ledger error in a scenario");
    }
    return 0;
}
