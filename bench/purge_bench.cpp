// The purge of a working directory of models in 10 versions each: through
// the stand-in host and the add-in, and as a plain baseline doing the same
// work directly (one listing, group by name, move every version but the
// newest into a bin folder), both in the same run. Each run of a
// benchmark is one purge of a freshly filled folder; a line for each size
// gives the ratio of their medians over the repetitions. With more than
// one size, the last line gathers the ratios, which stay flat when the
// host's cost grows as the baseline's does.
//
//   purge_bench [--files=N[,N...]] [--benchmark_repetitions=N]
//
// --files gives the sizes in files (rounded to whole models of 10
// versions); the default is 10000.
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

constexpr int kVersions = 10;
const char* const kTypes[] = {"prt", "asm", "drw"};

// Seconds of each purge, of each kind, by number of models.
struct Times {
    std::vector<double> addin;
    std::vector<double> direct;
};
std::map<int, Times> times;

// A throw-away folder holding models/ and, after a purge, the bin.
class Workspace : public ScratchFolder {
public:
    explicit Workspace(int models) : ScratchFolder("vxbench-"), models_(models) {}

    fs::path models() const { return root() / "models"; }
    fs::path bin() const { return root() / "$Recycle.Bin"; }
    int count() const { return models_; }

    // Every model in every version, and an empty bin.
    void fill() const
    {
        fs::remove_all(models());
        fs::remove_all(bin());
        fs::create_directories(models());
        for (int m = 0; m < models_; ++m)
            for (int v = 1; v <= kVersions; ++v)
                std::ofstream(models() / ("model" + std::to_string(m) + "." + kTypes[m % 3] + "." +
                                          std::to_string(v)));
    }

    std::size_t files_left() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(models()), {}));
    }

private:
    int models_;
};

// One purge of a freshly filled folder, timed on its own.
template <class Purge>
void measure(benchmark::State& state, const Workspace& w, std::vector<double>& seconds, Purge purge)
{
    for (auto _ : state) {
        w.fill();
        const auto start = std::chrono::steady_clock::now();
        purge();
        const double taken = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(taken);
        seconds.push_back(taken);
    }
    if (w.files_left() != static_cast<std::size_t>(w.count()))
        state.SkipWithError("the purge did not leave one version of each model");
    state.counters["files"] = w.count() * kVersions;
}

void purge_through_host_and_addin(benchmark::State& state, int models)
{
    Workspace w(models);
    fs::create_directories(w.models());
    vxhost::Host host;
    host.map_drive('D', w.root());
    host.set_working_directory(u"D:\\models\\");
    if (host.load(VX_PROTK_DAT) != 0) {
        state.SkipWithError("the add-in did not start");
        return;
    }
    measure(state, w, times[models].addin, [&host] { host.pick("QVX_PurgeWorkDirmenu"); });
    if (!host.errors().empty())
        state.SkipWithError(host.errors().front().c_str());
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

void purge_directly(benchmark::State& state, int models)
{
    Workspace w(models);
    measure(state, w, times[models].direct, [&w] { direct_purge(w); });
}

// "--files=1000,10000": the sizes in models; empty for a bad list.
std::vector<int> sizes_from(const char* text)
{
    std::vector<int> models;
    for (const char* at = text; *at;) {
        char* end = nullptr;
        const long files = std::strtol(at, &end, 10);
        if (end == at || files < 1 || files > 10'000'000 || (*end && *end != ','))
            return {};
        models.push_back(static_cast<int>(std::max(1L, files / kVersions)));
        at = *end ? end + 1 : end;
    }
    return models;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes{10000 / kVersions};
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--files=", 8) != 0)
            continue;
        sizes = sizes_from(argv[i] + 8);
        if (sizes.empty()) {
            std::fprintf(stderr, "purge_bench: --files takes numbers of files, as 1000,10000\n");
            return 1;
        }
        for (int j = i; j + 1 < argc; ++j)
            argv[j] = argv[j + 1];
        --argc;
        break;
    }
    benchmark::AddCustomContext("vexholm build", VX_BUILD_TYPE);
    for (const int models : sizes) {
        const std::string files = "/files:" + std::to_string(models * kVersions);
        for (const auto& [name, purge] : {std::pair{"BM_PurgeThroughHostAndAddin", purge_through_host_and_addin},
                                          std::pair{"BM_PurgeDirectly", purge_directly}})
            benchmark::RegisterBenchmark((name + files).c_str(), purge, models)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->UseManualTime();
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::string ratios;
    for (const int models : sizes) {
        const double addin = median(times[models].addin), direct = median(times[models].direct);
        if (addin <= 0 || direct <= 0)
            continue;
        const std::size_t runs = times[models].addin.size();
        std::printf("purge of %d files: host + add-in %.1f ms, direct %.1f ms, ratio %.1f (%s%zu run%s)\n",
                    models * kVersions, addin * 1000, direct * 1000, addin / direct, runs > 1 ? "medians of " : "",
                    runs, runs > 1 ? "s" : "");
        char item[64];
        std::snprintf(item, sizeof item, "%s%d files %.1f", ratios.empty() ? "" : ", ", models * kVersions,
                      addin / direct);
        ratios += item;
    }
    if (sizes.size() > 1 && !ratios.empty())
        std::printf("ratio by size: %s\n", ratios.c_str());
    return 0;
}
