// A library without the add-in entry points, for the loader's error path.
extern "C" __attribute__((visibility("default"))) int not_an_addin() { return 0; }
