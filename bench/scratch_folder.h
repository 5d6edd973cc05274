// A throw-away folder for a benchmark's files, under the system's
// temporary folder, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix)
    {
        std::random_device random;
        do
            root_ = std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
        while (!std::filesystem::create_directory(root_));
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};
