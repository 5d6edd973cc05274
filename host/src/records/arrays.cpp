#include "host/arrays.h"

#include <climits>
#include <cstring>

namespace vxhost {

namespace {

// Bytes for n objects, or 0 when that is beyond what an int count allows.
std::size_t bytes_for(long long n, int object_size)
{
    const long long bytes = n * object_size;
    return n > INT_MAX || bytes > INT_MAX ? 0 : static_cast<std::size_t>(bytes);
}

}  // namespace

ArrayInfo* ArrayTable::known(const void* array, const char* call, AllocKind kind)
{
    const auto it = arrays_.find(array);
    if (it != arrays_.end())
        return &it->second;
    ledger_.check(array, kind, call);   // records why it is not an array
    return nullptr;
}

const ArrayInfo* ArrayTable::find(const void* array) const
{
    const auto it = arrays_.find(array);
    return it == arrays_.end() ? nullptr : &it->second;
}

ProError ArrayTable::alloc(int n, int object_size, int growth, ProArray* p_array,
                           AllocKind kind, const char* call)
{
    if (n < 0 || object_size <= 0 || growth <= 0 || !p_array)
        return PRO_TK_BAD_INPUTS;
    const std::size_t bytes = bytes_for(n, object_size);
    if (bytes == 0 && n > 0)
        return PRO_TK_OUT_OF_MEMORY;
    void* block = ledger_.allocate(bytes, kind, call);
    if (!block)
        return PRO_TK_OUT_OF_MEMORY;
    arrays_[block] = ArrayInfo{n, object_size, growth};
    *p_array = block;
    return PRO_TK_NO_ERROR;
}

ProError ArrayTable::size(ProArray array, int* p_count)
{
    if (!array || !p_count)
        return PRO_TK_BAD_INPUTS;
    const ArrayInfo* info = known(array, "ProArraySizeGet");
    if (!info)
        return PRO_TK_BAD_INPUTS;
    *p_count = info->count;
    return PRO_TK_NO_ERROR;
}

ProError ArrayTable::add(ProArray* p_array, int position, int n, const void* objects)
{
    if (!p_array || !*p_array || n <= 0 || !objects)
        return PRO_TK_BAD_INPUTS;
    ArrayInfo* found = known(*p_array, "ProArrayObjectAdd");
    if (!found || !ledger_.check(*p_array, AllocKind::Array, "ProArrayObjectAdd"))
        return PRO_TK_BAD_INPUTS;
    const ArrayInfo info = *found;
    if (position == -1)
        position = info.count;
    if (position < 0 || position > info.count)
        return PRO_TK_BAD_INPUTS;
    const std::size_t bytes = bytes_for(static_cast<long long>(info.count) + n, info.object_size);
    if (bytes == 0)
        return PRO_TK_OUT_OF_MEMORY;
    auto* block = static_cast<char*>(ledger_.allocate(bytes, AllocKind::Array, "ProArrayObjectAdd"));
    if (!block)
        return PRO_TK_OUT_OF_MEMORY;
    const auto* old = static_cast<const char*>(*p_array);
    const std::size_t size = info.object_size;
    const std::size_t head = position * size;
    const std::size_t added = n * size;
    std::memcpy(block, old, head);
    std::memcpy(block + head, objects, added);
    std::memcpy(block + head + added, old + head, info.count * size - head);
    arrays_.erase(*p_array);
    ledger_.release(*p_array, AllocKind::Array, "ProArrayObjectAdd");
    arrays_[block] = ArrayInfo{info.count + n, info.object_size, info.growth};
    *p_array = block;
    return PRO_TK_NO_ERROR;
}

ProError ArrayTable::free(ProArray* p_array, AllocKind kind, const char* call)
{
    if (!p_array || !*p_array)
        return PRO_TK_BAD_INPUTS;
    if (!known(*p_array, call, kind) || !ledger_.check(*p_array, kind, call))
        return PRO_TK_BAD_INPUTS;
    arrays_.erase(*p_array);
    ledger_.release(*p_array, kind, call);
    *p_array = nullptr;
    return PRO_TK_NO_ERROR;
}

}  // namespace vxhost
