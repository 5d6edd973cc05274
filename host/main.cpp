// vxhost [--language L] PROTK_DAT SCENARIO
// Loads the add-in named by the registration file as the CAD host would and
// runs the scenario's steps, printing what a user would see.
#include <cstring>
#include <exception>
#include <iostream>

#include "host/host.h"
#include "host/scenario.h"

namespace {

int usage()
{
    std::cerr << "usage: vxhost [--language L] PROTK_DAT SCENARIO\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string language;
    int i = 1;
    if (i < argc && std::strcmp(argv[i], "--language") == 0) {
        if (i + 1 >= argc)
            return usage();
        language = argv[i + 1];
        i += 2;
    }
    if (argc - i != 2)
        return usage();
    try {
        vxhost::Host host;
        host.set_arguments({argv[0]});
        if (!language.empty())
            host.set_language(language);
        return vxhost::run_scenario(host, argv[i], argv[i + 1], std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "vxhost: " << e.what() << '\n';
        return 2;
    }
}
