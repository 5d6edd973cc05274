#include "fixtures.h"

#include <fstream>
#include <random>

#include "fake_probe.h"
#include "host/library.h"

namespace vxtest {

TempDir::TempDir()
{
    std::random_device random;
    for (;;) {
        path_ = fs::temp_directory_path() / ("vxhost-test-" + std::to_string(random()));
        if (fs::create_directory(path_))
            break;
    }
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

fs::path TempDir::write(const fs::path& relative, const std::string& text) const
{
    const fs::path file = path_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    return file;
}

fs::path TempDir::folder(const fs::path& relative) const
{
    fs::create_directories(path_ / relative);
    return path_ / relative;
}

std::string message_file(std::initializer_list<std::string> entries)
{
    std::string text;
    for (const auto& entry : entries) {
        const auto eq = entry.find('=');
        const auto bar = entry.find('|');
        const std::string key = entry.substr(0, eq);
        const std::string shown = entry.substr(eq + 1, bar == std::string::npos ? bar : bar - eq - 1);
        const std::string translation = bar == std::string::npos ? "#" : entry.substr(bar + 1);
        text += key + "\n" + shown + "\n" + translation + "\n#\n";
    }
    return text;
}

FakeProbe* fake_probe()
{
    auto get = reinterpret_cast<FakeProbe* (*)()>(
        vxhost::Library::loaded_symbol(VX_FAKE_ADDIN, "fake_probe"));
    return get ? get() : nullptr;
}

}  // namespace vxtest
