// The add-in's entry points through the stand-in host: start-up plus
// shut-down with the library kept loaded, one load plus unload of the
// library, and one availability check of a part-or-assembly command while
// a part is current (the add-in's access function and the host calls it
// makes).
//
//   addin_bench [--benchmark_min_time=...]
#include <benchmark/benchmark.h>

#include "host/host.h"
#include "scratch_folder.h"

namespace {

// The journal keeps every call; cleared now and then so that a long run
// measures the calls, not a growing record.
constexpr int kClearEvery = 1024;

// A host with an empty drive to stand on (start-up asks for the working
// directory), and the add-in loaded into it as the benchmark needs.
struct Stage {
    Stage() { host.map_drive('D', drive.root()); }

    // Loads the add-in; false, the benchmark marked, when it does not start.
    bool load(benchmark::State& state)
    {
        if (host.load(VX_PROTK_DAT) == 0)
            return true;
        state.SkipWithError("the add-in did not start");
        return false;
    }

    // Marks the benchmark when the host recorded an error on the way.
    void check(benchmark::State& state) const
    {
        if (!host.errors().empty())
            state.SkipWithError(host.errors().front().c_str());
    }

    ScratchFolder drive{"vxstage-"};
    vxhost::Host host;
};

void BM_StartupAndShutdown(benchmark::State& state)
{
    Stage stage;
    if (!stage.load(state))
        return;
    for (auto _ : state) {
        if (stage.host.restart() != 0) {
            state.SkipWithError("the add-in did not start again");
            return;
        }
        stage.host.clear_journal();
    }
    stage.check(state);
}

void BM_LoadAndUnload(benchmark::State& state)
{
    Stage stage;
    for (auto _ : state) {
        if (!stage.load(state))
            return;
        stage.host.unload();
        stage.host.clear_journal();
    }
    stage.check(state);
}

void BM_AvailabilityPartOrAssembly(benchmark::State& state)
{
    Stage stage;
    if (!stage.load(state))
        return;
    vxhost::Host& host = stage.host;
    host.open_model("bracket", PRO_MDL_PART);
    int n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(host.availability("QVX_OpenSamenameDrwmenu"));
        if (++n == kClearEvery) {
            host.clear_journal();
            n = 0;
        }
    }
    if (host.availability("QVX_OpenSamenameDrwmenu") != ACCESS_AVAILABLE)
        state.SkipWithError("the command is not offered with a part current");
    stage.check(state);
}

BENCHMARK(BM_StartupAndShutdown)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadAndUnload)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AvailabilityPartOrAssembly)->Unit(benchmark::kNanosecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::AddCustomContext("vexholm build", VX_BUILD_TYPE);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
