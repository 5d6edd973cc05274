// The registration file, protk.dat.
#include "fuzz_common.h"
#include "host/registration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    vxfuzz::read_or_refuse([&] {
        const auto reg = vxhost::parse_registration_text(vxfuzz::text_of(data, size),
                                                         "/fuzz/protk.dat");
        // What it accepts names the add-in, its library and its text.
        if (reg.name.empty() || reg.exec_file.empty() || reg.text_dir.empty())
            vxfuzz::broken("a registration without NAME, EXEC_FILE or TEXT_DIR");
        if (!reg.exec_file.is_absolute() || !reg.text_dir.is_absolute())
            vxfuzz::broken("a relative path left relative");
    });
    return 0;
}
