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

    ProError alloc(int n, int object_size, int growth, ProArray* p_array);
    ProError size(ProArray array, int* p_count);
    // Inserts n objects at `position` (-1: the end). The array always
    // moves to a new block, so a pointer kept from before goes stale.
    ProError add(ProArray* p_array, int position, int n, const void* objects);
    ProError free(ProArray* p_array);

    const ArrayInfo* find(const void* array) const;

private:
    // The array's record, or nullptr with the reason in the ledger.
    ArrayInfo* known(const void* array, const char* call);

    Ledger& ledger_;
    std::map<const void*, ArrayInfo> arrays_;
};

}  // namespace vxhost
