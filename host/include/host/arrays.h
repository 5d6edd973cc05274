// Expandable arrays handed to the add-in. The host keeps each array's
// count and element size itself, keyed by the data pointer, and never
// trusts anything stored next to the data.
#pragma once

#include <map>

#include "host/ledger.h"
#include "toolkit.h"

namespace vxhost {

struct ArrayInfo {
    int count = 0;
    int object_size = 0;
    int growth = 0;
};

class ArrayTable {
public:
    explicit ArrayTable(Ledger& ledger) : ledger_(ledger) {}

    // An array of `kind`, for the host's calls that hand over arrays of
    // their own (a selection array, say), made by `call`.
    ProError alloc(int n, int object_size, int growth, ProArray* p_array,
                   AllocKind kind = AllocKind::Array, const char* call = "ProArrayAlloc");
    // The count of an array of any kind.
    ProError size(ProArray array, int* p_count);
    // Inserts n objects at `position` (-1: the end) into a plain array.
    // The array always moves to a new block, so a pointer kept from
    // before goes stale.
    ProError add(ProArray* p_array, int position, int n, const void* objects);
    // Frees an array of `kind` by `call`; one of another kind is refused,
    // and the mistake recorded.
    ProError free(ProArray* p_array, AllocKind kind = AllocKind::Array,
                  const char* call = "ProArrayFree");

    const ArrayInfo* find(const void* array) const;

private:
    // The array's record, or nullptr with the reason in the ledger.
    ArrayInfo* known(const void* array, const char* call, AllocKind kind = AllocKind::Array);

    Ledger& ledger_;
    std::map<const void*, ArrayInfo> arrays_;
};

}  // namespace vxhost
