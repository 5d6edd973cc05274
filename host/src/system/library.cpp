#include "host/library.h"

#include "host/errors.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vxhost {

#ifdef _WIN32

namespace {

// The name Windows knows a module by: the full path, backslashes only.
std::wstring module_name(const std::filesystem::path& file)
{
    return std::filesystem::absolute(file).lexically_normal().make_preferred().wstring();
}

// FormatMessageW's text for an error code, without its line ending.
std::string error_text(DWORD code)
{
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    std::string reason = "error " + std::to_string(code);
    if (!text.empty())
        reason += " (" + std::filesystem::path(text).u8string() + ")";
    return reason;
}

}  // namespace

void Library::open(const std::filesystem::path& file)
{
    close();
    // No message box for a file that is not a library: the error comes back.
    const UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryW(module_name(file).c_str());
    const DWORD error = GetLastError();
    SetErrorMode(old_mode);
    if (!module)
        throw HostError("cannot load " + file.u8string() + ": " + error_text(error));
    handle_ = module;
}

void* Library::symbol(const char* name) const
{
    return handle_ ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name))
                   : nullptr;
}

void Library::close()
{
    if (handle_)
        FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
}

bool Library::still_loaded(const std::filesystem::path& file)
{
    // Takes no reference, unlike a second LoadLibraryW.
    return GetModuleHandleW(module_name(file).c_str()) != nullptr;
}

void* Library::loaded_symbol(const std::filesystem::path& file, const char* name)
{
    HMODULE module = GetModuleHandleW(module_name(file).c_str());
    return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

#else

void Library::open(const std::filesystem::path& file)
{
    close();
    dlerror();
    handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* reason = dlerror();
        throw HostError("cannot load " + file.string() + ": " + (reason ? reason : "unknown reason"));
    }
}

void* Library::symbol(const char* name) const
{
    return handle_ ? dlsym(handle_, name) : nullptr;
}

void Library::close()
{
    if (handle_)
        dlclose(handle_);
    handle_ = nullptr;
}

bool Library::still_loaded(const std::filesystem::path& file)
{
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return false;
    dlclose(handle);   // drop the reference the check itself took
    return true;
}

void* Library::loaded_symbol(const std::filesystem::path& file, const char* name)
{
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return nullptr;
    void* address = dlsym(handle, name);
    dlclose(handle);   // the library stays loaded by whoever loaded it
    return address;
}

#endif

}  // namespace vxhost
