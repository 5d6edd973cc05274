// Dialog layouts: a parenthesised tree, the dialog then its components.
// What the reader accepts has a name and components of unique names, and
// a layout's name never makes a file name that leads out of its folder.
#include <set>

#include "fuzz_common.h"
#include "host/layouts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string text = vxfuzz::text_of(data, size);
    vxfuzz::read_or_refuse([&] {
        const vxhost::Layout layout = vxhost::parse_layout(text, "fuzz.res");
        if (layout.name.empty())
            vxfuzz::broken("a layout without its name");
        std::set<std::string> names;
        for (const auto& c : layout.components) {
            if (c.name.empty())
                vxfuzz::broken("a component without its name");
            if (!names.insert(c.name).second)
                vxfuzz::broken("two components of one name");
        }
    });
    // The whole input as a layout's name.
    const std::string file = vxhost::layout_file_name(text);
    if (!file.empty() && (file.find('/') != std::string::npos || file.find('\\') != std::string::npos ||
                          file.find("..") != std::string::npos || file.find('\0') != std::string::npos))
        vxfuzz::broken("a layout name that makes a path");
    return 0;
}
