// The purge of a working directory of 1,000 models in 10 versions each:
// through the stand-in host and the add-in, and as a plain baseline doing
// the same work directly (one listing, group by name, move every version
// but the newest into a bin folder). The last line gives their ratio.
//
//   purge_bench [--models=N] [--benchmark_min_time=...]
//
// --models gives a smaller (or larger) workspace than 1,000 models, for a
// quick run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "host/host.h"
#include "scratch_folder.h"

namespace fs = std::filesystem;

namespace {

int models_count = 1000;
constexpr int kVersions = 10;
const char* const kTypes[] = {"prt", "asm", "drw"};

// Seconds per purge of each kind, for the ratio at the end.
double addin_seconds = 0;
double direct_seconds = 0;

// A throw-away folder holding models/ and, after a purge, the bin.
class Workspace : public ScratchFolder {
public:
    Workspace() : ScratchFolder("vxbench-") {}

    fs::path models() const { return root() / "models"; }
    fs::path bin() const { return root() / "$Recycle.Bin"; }

    // Every model in every version, and an empty bin.
    void fill() const
    {
        fs::remove_all(models());
        fs::remove_all(bin());
        fs::create_directories(models());
        for (int m = 0; m < models_count; ++m)
            for (int v = 1; v <= kVersions; ++v)
                std::ofstream(models() / ("model" + std::to_string(m) + "." + kTypes[m % 3] + "." +
                                          std::to_string(v)));
    }

    std::size_t files_left() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(models()), {}));
    }
};

template <class Purge>
void measure(benchmark::State& state, const Workspace& w, double& seconds, Purge purge)
{
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.fill();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        purge();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (w.files_left() != static_cast<std::size_t>(models_count))
        state.SkipWithError("the purge did not leave one version of each model");
    seconds = total / static_cast<double>(state.iterations());
    state.counters["files"] = models_count * kVersions;
    state.counters["ms_per_purge"] = seconds * 1000;
}

void BM_PurgeThroughHostAndAddin(benchmark::State& state)
{
    Workspace w;
    fs::create_directories(w.models());
    vxhost::Host host;
    host.map_drive('D', w.root());
    host.set_working_directory(u"D:\\models\\");
    if (host.load(VX_PROTK_DAT) != 0) {
        state.SkipWithError("the add-in did not start");
        return;
    }
    measure(state, w, addin_seconds, [&host] {
        host.clear_journal();
        host.pick("QVX_PurgeWorkDirmenu");
    });
}

// The same result by hand: one listing, the versions of each name sorted,
// all but the newest moved into the bin.
void direct_purge(const Workspace& w)
{
    std::map<std::string, std::vector<std::pair<int, fs::path>>> versions;
    for (const auto& entry : fs::directory_iterator(w.models())) {
        const std::string file = entry.path().filename().string();
        const std::size_t dot = file.rfind('.');
        versions[file.substr(0, dot)].emplace_back(std::stoi(file.substr(dot + 1)), entry.path());
    }
    fs::create_directories(w.bin());
    int n = 0;
    for (auto& [name, list] : versions) {
        std::sort(list.begin(), list.end());
        for (std::size_t i = 0; i + 1 < list.size(); ++i)
            fs::rename(list[i].second,
                       w.bin() / ("R" + std::to_string(++n) + "_" + list[i].second.filename().string()));
    }
}

void BM_PurgeDirectly(benchmark::State& state)
{
    Workspace w;
    measure(state, w, direct_seconds, [&w] { direct_purge(w); });
}

BENCHMARK(BM_PurgeThroughHostAndAddin)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PurgeDirectly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--models=", 9) != 0)
            continue;
        models_count = std::max(1, std::atoi(argv[i] + 9));
        for (int j = i; j + 1 < argc; ++j)
            argv[j] = argv[j + 1];
        --argc;
        break;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (addin_seconds > 0 && direct_seconds > 0)
        std::printf("purge of %d files: host + add-in %.1f ms, direct %.1f ms, ratio %.1f\n",
                    models_count * kVersions, addin_seconds * 1000, direct_seconds * 1000,
                    addin_seconds / direct_seconds);
    return 0;
}
