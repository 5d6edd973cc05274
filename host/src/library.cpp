#include "host/library.h"

#include "host/errors.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vxhost {

#ifdef _WIN32

void Library::open(const std::filesystem::path& file)
{
    close();
    HMODULE module = LoadLibraryW(file.wstring().c_str());
    if (!module)
        throw HostError("cannot load " + file.string() + ": error " + std::to_string(GetLastError()));
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
    return GetModuleHandleW(file.wstring().c_str()) != nullptr;
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

#endif

}  // namespace vxhost
