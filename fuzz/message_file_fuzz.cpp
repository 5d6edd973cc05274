// Message files: groups of key, text, translation or "#", "#". Anything
// the reader refuses, it refuses with HostError.
#include "fuzz_common.h"
#include "host/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    vxfuzz::read_or_refuse([&] {
        vxhost::MessageFile::parse_text(vxfuzz::text_of(data, size), "fuzz.txt");
    });
    return 0;
}
