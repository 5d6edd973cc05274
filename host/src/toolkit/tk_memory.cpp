// Arrays and strings (narrow and wide) the host allocates for the add-in; every block goes
// through the ledger.
#include <cstring>

#include "guard.h"
#include "tk_calls.h"

namespace vxhost::tk {

namespace {

Word array_ref_text(const HostState& s, const ProArray* p_array)
{
    return Word{p_array ? "&" + s.ledger.name_of(*p_array) : "(null)"};
}

// Frees a text the host gave, of the kind that call frees.
ProError free_text(const char* call, const void* text, AllocKind kind)
{
    HostState& state = current_state();
    return guarded(call, call_args(block_text(state, text)), [&](HostState& s) -> ProError {
        if (!text)
            return PRO_TK_BAD_INPUTS;
        return s.ledger.release(text, kind, call) ? PRO_TK_NO_ERROR : PRO_TK_BAD_INPUTS;
    });
}

}  // namespace

ProError ProArrayAlloc(int n, int size, int growth, ProArray* p_array)
{
    return guarded("ProArrayAlloc",
                   call_args(n, size, growth),
                   [&](HostState& s) { return s.arrays.alloc(n, size, growth, p_array); });
}

ProError ProArrayFree(ProArray* p_array)
{
    HostState& state = current_state();
    return guarded("ProArrayFree", call_args(array_ref_text(state, p_array)),
                   [&](HostState& s) { return s.arrays.free(p_array); });
}

ProError ProArraySizeGet(ProArray array, int* p_count)
{
    HostState& state = current_state();
    return guarded("ProArraySizeGet", call_args(block_text(state, array)),
                   [&](HostState& s) { return s.arrays.size(array, p_count); });
}

ProError ProArrayObjectAdd(ProArray* p_array, int pos, int n, void* objs)
{
    HostState& state = current_state();
    return guarded("ProArrayObjectAdd",
                   call_args(array_ref_text(state, p_array), pos, n),
                   [&](HostState& s) { return s.arrays.add(p_array, pos, n, objs); });
}

ProError ProStringCopy(const char* source, char** p_copy)
{
    return guarded("ProStringCopy", call_args(source), [&](HostState& s) -> ProError {
        if (!source || !p_copy)
            return PRO_TK_BAD_INPUTS;
        const std::size_t bytes = std::strlen(source) + 1;
        auto* copy = static_cast<char*>(s.ledger.allocate(bytes, AllocKind::String, "ProStringCopy"));
        if (!copy)
            return PRO_TK_OUT_OF_MEMORY;
        std::memcpy(copy, source, bytes);
        *p_copy = copy;
        return PRO_TK_NO_ERROR;
    });
}

ProError ProStringFree(char* string) { return free_text("ProStringFree", string, AllocKind::String); }

ProError ProWstringFree(ProWchar* string)
{
    return free_text("ProWstringFree", string, AllocKind::WideString);
}

}  // namespace vxhost::tk
