// A loaded shared library: the one place that knows how the system loads
// code.
#pragma once

#include <filesystem>
#include <string>

namespace vxhost {

class Library {
public:
    Library() = default;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library() { close(); }

    // Loads the library, all symbols bound now and kept to itself.
    // Throws HostError with the system's reason.
    void open(const std::filesystem::path& file);
    bool is_open() const { return handle_ != nullptr; }

    // The address of an exported symbol, or nullptr.
    void* symbol(const char* name) const;

    void close();

    // Whether the system still holds the library (after close, it should not).
    static bool still_loaded(const std::filesystem::path& file);

    // An exported symbol of a library the process already holds, found
    // without loading it or keeping it loaded; nullptr when not loaded.
    static void* loaded_symbol(const std::filesystem::path& file, const char* name);

private:
    void* handle_ = nullptr;
};

}  // namespace vxhost
