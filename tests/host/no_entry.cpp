// A library without the add-in entry points, for the loader's error path.
#ifdef _WIN32
#define NO_ENTRY_EXPORT __declspec(dllexport)
#else
#define NO_ENTRY_EXPORT __attribute__((visibility("default")))
#endif
extern "C" NO_ENTRY_EXPORT int not_an_addin() { return 0; }
