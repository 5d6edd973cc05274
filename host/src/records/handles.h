// Host objects that the add-in holds by handle and frees with a call of
// their own. Each handle is a ledger block of its kind, so the ledger
// knows who made it and who released it; what the handle stands for is
// kept here, beside the ledger, never in the block.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "host/ledger.h"
#include "toolkit.h"

namespace vxhost {

template <class Record>
class HandleTable {
public:
    HandleTable(Ledger& ledger, AllocKind kind) : ledger_(ledger), kind_(kind) {}
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    // A new handle for `record`, made by `call`; nullptr when memory runs out.
    void* add(Record record, const std::string& call)
    {
        void* handle = ledger_.allocate(sizeof(void*), kind_, call);
        if (handle)
            records_[handle] = std::move(record);
        return handle;
    }

    // A new handle for `record`, written to *out as a toolkit call hands
    // one over.
    template <class Handle>
    ProError give(Record record, const std::string& call, Handle* out)
    {
        void* handle = add(std::move(record), call);
        if (!handle)
            return PRO_TK_OUT_OF_MEMORY;
        *out = static_cast<Handle>(handle);
        return PRO_TK_NO_ERROR;
    }

    // What a live handle of this kind stands for. For a handle released
    // already, one of another kind or a stranger: nullptr, the mistake in
    // the ledger. A null handle is nullptr and no mistake of the ledger's.
    Record* find(const void* handle, const std::string& call)
    {
        if (!handle || !ledger_.check(handle, kind_, call))
            return nullptr;
        return &records_.at(handle);
    }

    bool release(const void* handle, const std::string& call)
    {
        if (!handle || !ledger_.release(handle, kind_, call))
            return false;
        records_.erase(handle);
        return true;
    }

private:
    Ledger& ledger_;
    AllocKind kind_;
    std::map<const void*, Record> records_;
};

}  // namespace vxhost
