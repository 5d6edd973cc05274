// Model files: one JSON object with a "type" and optional fields. What the
// host reads it writes back the same, and what it writes it reads.
#include "fuzz_common.h"
#include "host/model_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    vxfuzz::read_or_refuse([&] {
        const auto document = vxhost::parse_model_document(vxfuzz::text_of(data, size));
        if (vxhost::model_extension(document.type).empty())
            vxfuzz::broken("a document of no model type");
        const auto again = vxhost::parse_model_document(vxhost::format_model_document(document));
        if (again.type != document.type || again.note != document.note)
            vxfuzz::broken("a document does not survive being written and read again");
    });
    return 0;
}
