// ProFilenameParse as the add-in calls it: a path buffer of 260 units,
// terminated or not, and outputs of their documented sizes, each wanted
// or not. The host reads no further than the buffer, writes no further
// than an output, leaves every output alone when it fails, and what it
// gives back puts the path together again.
#include <vector>

#include "fuzz_common.h"
#include "host/host.h"

namespace {

constexpr char16_t kUntouched = 0xA5A5;

vxhost::Host& host()
{
    static vxhost::Host h;
    return h;
}

bool terminated(const std::vector<char16_t>& buffer)
{
    for (char16_t c : buffer)
        if (c == 0)
            return true;
    return false;
}

bool untouched(const std::vector<char16_t>& buffer)
{
    for (char16_t c : buffer)
        if (c != kUntouched)
            return false;
    return true;
}

std::u16string text(const std::vector<char16_t>& buffer)
{
    return std::u16string(buffer.data());
}

}  // namespace

// The first byte says which outputs are wanted; the rest is the path, as
// UTF-16 units, cut or padded to 260 units with no terminator added.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned wanted = data[0];
    const std::u16string units = vxfuzz::units_of(data + 1, size - 1);
    std::vector<char16_t> path(PRO_PATH_SIZE, u'x');
    for (std::size_t i = 0; i < units.size() && i < path.size(); ++i)
        path[i] = units[i];
    // Buffers of exactly their size on the heap: a step past one is seen.
    std::vector<char16_t> directory(PRO_PATH_SIZE, kUntouched), name(PRO_NAME_SIZE, kUntouched),
        extension(PRO_NAME_SIZE, kUntouched);
    int version = -12345;

    static const auto parse = host().entry<decltype(&::ProFilenameParse)>("ProFilenameParse");
    const ProError status = parse(path.data(), wanted & 1 ? directory.data() : nullptr,
                                  wanted & 2 ? name.data() : nullptr,
                                  wanted & 4 ? extension.data() : nullptr,
                                  wanted & 8 ? &version : nullptr);
    host().clear_journal();
    if (status != PRO_TK_NO_ERROR) {
        if (!untouched(directory) || !untouched(name) || !untouched(extension) || version != -12345)
            vxfuzz::broken("a failed split wrote an output");
        return 0;
    }
    if ((wanted & 15) != 15)
        return 0;
    if (!terminated(path) || !terminated(directory) || !terminated(name) || !terminated(extension))
        vxfuzz::broken("an unterminated path split, or an output without its terminator");
    if (text(name).empty() || text(extension).empty() || version < 0)
        vxfuzz::broken("a split without a name, an extension or a version");
    // directory + name "." extension, then nothing (version 0) or "." and
    // the digits of the version.
    const std::u16string whole = text(path);
    const std::u16string front = text(directory) + text(name) + u"." + text(extension);
    if (whole.compare(0, front.size(), front) != 0)
        vxfuzz::broken("the parts do not put the path together again");
    const std::u16string rest = whole.substr(front.size());
    if (rest.empty()) {
        if (version != 0)
            vxfuzz::broken("a version without its digits");
        return 0;
    }
    long long number = 0;
    if (rest[0] != u'.' || rest.size() < 2)
        vxfuzz::broken("something after the extension that is no version");
    for (std::size_t i = 1; i < rest.size(); ++i) {
        if (rest[i] < u'0' || rest[i] > u'9')
            vxfuzz::broken("a version that is not digits");
        number = number * 10 + (rest[i] - u'0');
        if (number > 2147483647LL)
            vxfuzz::broken("a version beyond an int");
    }
    if (number != version)
        vxfuzz::broken("the version is not the number of its digits");
    return 0;
}
