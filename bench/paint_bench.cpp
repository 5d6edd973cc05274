// Random Colours on an assembly of 10,000 components (100 sub-assemblies
// of 100 parts each): through the stand-in host and the add-in (the
// command, its macro clearing every appearance, About painting), and as a
// plain baseline doing the same work directly on a structure of the same
// shape (clear every appearance, walk the components, give each visible
// part its new appearance). The last line gives their ratio.
//
// Every sub-assembly places the same 100 parts: the painting is the same
// 10,000 visits and appearances, and bringing the models into session
// reads 200 files instead of searching a folder of 10,000 for each.
//
//   paint_bench [--subassemblies=N] [--parts=M] [--benchmark_min_time=...]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"
#include "scratch_folder.h"

namespace fs = std::filesystem;

namespace {

int subassemblies = 100;
int parts_each = 100;

double addin_seconds = 0;
double direct_seconds = 0;

std::string part_name(int part) { return "p" + std::to_string(part); }

// A throw-away drive holding the assembly's files.
class Workspace : public ScratchFolder {
public:
    Workspace() : ScratchFolder("vxpaint-")
    {
        fs::create_directories(root() / "models");
        std::string sub = R"({"type": "assembly", "features": [{"type": 923})";
        for (int p = 0; p < parts_each; ++p) {
            sub += R"(, {"type": 1000, "model": ")" + part_name(p) + R"(.prt"})";
            write(part_name(p) + ".prt.1", R"({"type": "part"})");
        }
        std::string top = R"({"type": "assembly", "features": [{"type": 923})";
        for (int s = 0; s < subassemblies; ++s) {
            top += R"(, {"type": 1000, "model": "sub)" + std::to_string(s) + R"(.asm"})";
            write("sub" + std::to_string(s) + ".asm.1", sub + "]}");
        }
        write("top.asm.1", top + "]}");
    }

private:
    void write(const std::string& file, const std::string& text) const
    {
        std::ofstream(root() / "models" / file, std::ios::binary) << text;
    }
};

template <class Paint>
void measure(benchmark::State& state, double& seconds, Paint paint)
{
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        paint();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    seconds = total / static_cast<double>(state.iterations());
    state.counters["components"] = subassemblies * (parts_each + 1);
    state.counters["ms_per_painting"] = seconds * 1000;
}

void BM_PaintThroughHostAndAddin(benchmark::State& state)
{
    Workspace w;
    vxhost::Host host;
    host.map_drive('D', w.root());
    host.set_working_directory(u"D:\\models\\");
    if (host.load(VX_PROTK_DAT) != 0) {
        state.SkipWithError("the add-in did not start");
        return;
    }
    host.open_model("top", PRO_MDL_ASSEMBLY);
    host.switch_tab("page_Model");
    host.pick("QVX_PaintColormenu");   // brings every model into session
    measure(state, addin_seconds, [&host] {
        host.clear_journal();
        host.pick("QVX_PaintColormenu");
    });
    if (host.count("ProSurfaceAppearancepropsSet") != static_cast<std::size_t>(subassemblies * parts_each) ||
        !host.errors().empty())
        state.SkipWithError("the painting did not paint every part");
}

// ---- the baseline: the same structure and the same appearances, directly ----

struct Appearance {
    double ambient, diffuse, highlight, shininess, transparency;
    double color[3], highlight_color[3];
    double reflection;
    char16_t name[260], label[260], description[260], keywords[260];
};

struct Part {
    std::optional<Appearance> appearance;
};

struct Component {
    int type = 1000, status = 0, visibility = 1;
    Part* part = nullptr;               // or
    std::vector<Component>* sub = nullptr;
};

const Appearance kDefault = {0.6, 0.8, 0.4, 0.5, 0.0, {0.75, 0.75, 0.75}, {1, 1, 1}, 0.0, u"default", u"", u"", u""};

double random_unit() { return static_cast<double>(std::rand() % 1001) * static_cast<double>(0.001f); }

void paint_below(std::vector<Component>& level)
{
    for (Component& c : level) {
        if (c.type != 1000 || c.visibility != 1 || c.status == 5)
            continue;
        if (c.sub) {
            paint_below(*c.sub);
            continue;
        }
        Appearance a = c.part->appearance.value_or(kDefault);
        a.ambient = 0.8;
        a.diffuse = 0.8;
        a.highlight = 0.7;
        a.shininess = 0.6;
        a.transparency = 0.0;
        for (double& unit : a.color)
            unit = random_unit();
        a.highlight_color[0] = a.highlight_color[1] = 0.0;
        a.highlight_color[2] = 1.0;
        c.part->appearance = a;
    }
}

void BM_PaintDirectly(benchmark::State& state)
{
    std::vector<Part> parts(static_cast<std::size_t>(parts_each));
    std::vector<std::vector<Component>> subs(static_cast<std::size_t>(subassemblies));
    std::vector<Component> top{Component{923}};
    for (int s = 0; s < subassemblies; ++s) {
        subs[s].push_back(Component{923});
        for (Part& part : parts) {
            Component c;
            c.part = &part;
            subs[s].push_back(c);
        }
        Component c;
        c.sub = &subs[s];
        top.push_back(c);
    }
    measure(state, direct_seconds, [&] {
        for (Part& p : parts)
            p.appearance.reset();
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        paint_below(top);
        benchmark::DoNotOptimize(parts.data());
    });
    if (!std::all_of(parts.begin(), parts.end(), [](const Part& p) { return p.appearance.has_value(); }))
        state.SkipWithError("the direct painting missed a part");
}

BENCHMARK(BM_PaintThroughHostAndAddin)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PaintDirectly)->Unit(benchmark::kMillisecond)->UseRealTime();

// Takes --NAME=N out of the arguments.
void take_count(int& argc, char** argv, const char* name, int& value)
{
    const std::size_t n = std::strlen(name);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], name, n) != 0)
            continue;
        value = std::max(1, std::atoi(argv[i] + n));
        for (int j = i; j + 1 < argc; ++j)
            argv[j] = argv[j + 1];
        --argc;
        return;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    take_count(argc, argv, "--subassemblies=", subassemblies);
    take_count(argc, argv, "--parts=", parts_each);
    benchmark::AddCustomContext("vexholm build", VX_BUILD_TYPE);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (addin_seconds > 0 && direct_seconds > 0)
        std::printf("painting %d sub-assemblies of %d parts: host + add-in %.1f ms, direct %.3f ms, "
                    "ratio %.0f\n",
                    subassemblies, parts_each, addin_seconds * 1000, direct_seconds * 1000,
                    addin_seconds / direct_seconds);
    return 0;
}
