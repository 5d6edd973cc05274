// Arrays and strings (narrow and wide) the host allocates for the add-in; every block goes
// through the ledger.
//
// A string array is one block: its pointers, then the strings they point
// to. ProStringarrayFree takes it with the number of strings it holds; a
// wrong number is refused and recorded, and nothing is freed.
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

ProError ProStringarrayFree(char** array, int count)
{
    HostState& state = current_state();
    return guarded("ProStringarrayFree", call_args(block_text(state, array), count),
                   [&](HostState& s) -> ProError {
                       if (!array)
                           return PRO_TK_BAD_INPUTS;
                       const auto it = s.string_arrays.find(array);
                       if (it != s.string_arrays.end() && it->second != count) {
                           s.ledger.note_error("ProStringarrayFree given " + s.ledger.name_of(array) +
                                               " of " + std::to_string(it->second) +
                                               " string(s) with the count " + std::to_string(count));
                           return PRO_TK_BAD_INPUTS;
                       }
                       if (!s.ledger.release(array, AllocKind::StringArray, "ProStringarrayFree"))
                           return PRO_TK_BAD_INPUTS;
                       s.string_arrays.erase(array);
                       return PRO_TK_NO_ERROR;
                   });
}

}  // namespace vxhost::tk

namespace vxhost {

char** hand_out_strings(HostState& s, const std::vector<std::string>& strings, const char* call)
{
    const std::size_t pointers = strings.size() * sizeof(char*);
    std::size_t bytes = pointers;
    for (const std::string& text : strings)
        bytes += text.size() + 1;
    auto* block = static_cast<char*>(s.ledger.allocate(bytes, AllocKind::StringArray, call));
    if (!block)
        return nullptr;
    auto* array = reinterpret_cast<char**>(block);
    char* at = block + pointers;
    for (std::size_t i = 0; i < strings.size(); ++i) {
        array[i] = at;
        std::memcpy(at, strings[i].c_str(), strings[i].size() + 1);
        at += strings[i].size() + 1;
    }
    s.string_arrays[block] = static_cast<int>(strings.size());
    return array;
}

}  // namespace vxhost
