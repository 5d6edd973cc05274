// Windows paths: read against a base, then mapped onto the folder of
// drive D:. Whatever the text, a path of D: never leads out of D:'s
// folder, and its parts are plain names.
#include <filesystem>
#include <fstream>

#include "fuzz_common.h"
#include "host/paths.h"

namespace {

namespace fs = std::filesystem;

// Drive D: over a folder of the working directory, made once.
struct Drive {
    Drive()
    {
        fs::create_directories("drive-d/Models/Sub");
        std::ofstream("drive-d/Models/bracket.prt.1") << "x";
        drives.map('D', "drive-d");
        root = fs::canonical("drive-d");
    }

    fs::path root;
    vxhost::DriveMap drives;
};

Drive& drive()
{
    static Drive d;
    return d;
}

// Inside the drive's folder, or the folder itself.
void check_inside(const fs::path& real)
{
    const std::string& text = real.native();
    if (text.find('\0') != std::string::npos)
        vxfuzz::broken("a real path holding NUL");
    const fs::path relative = real.lexically_normal().lexically_relative(drive().root);
    if (relative.empty() || *relative.begin() == "..")
        vxfuzz::broken("a path of D: that leads out of D:'s folder");
}

}  // namespace

// The first unit gives the length of the path; the units after it are
// the path, and the rest is the base it is read against.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::u16string units = vxfuzz::units_of(data, size);
    if (units.empty())
        return 0;
    const std::size_t n = std::min<std::size_t>(units[0], units.size() - 1);
    const std::u16string text = units.substr(1, n);
    const std::u16string base = units.substr(1 + n);

    const auto parsed = vxhost::parse_windows_path(text, base);
    if (!parsed)
        return 0;
    for (const auto& part : parsed->parts) {
        if (part.empty() || part == u"." || part == u".." ||
            part.find_first_of(u"\\/", 0) != std::u16string::npos || part.find(u'\0') != std::u16string::npos)
            vxfuzz::broken("a part that is not a plain name");
    }
    // Read again from its own text, it is the same path.
    const auto again = vxhost::parse_windows_path(parsed->folder_text());
    if (!again || again->drive != parsed->drive || again->parts != parsed->parts)
        vxfuzz::broken("a path that does not read back from its own text");

    if (parsed->drive != 'D')
        return 0;
    if (const auto real = drive().drives.to_real(*parsed))
        check_inside(*real);
    if (const auto real = drive().drives.reach(*parsed))
        check_inside(*real);
    return 0;
}
