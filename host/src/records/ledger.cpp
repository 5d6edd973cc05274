#include "host/ledger.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vxhost {

const char* kind_name(AllocKind kind)
{
    switch (kind) {
    case AllocKind::Array: return "array";
    case AllocKind::String: return "string";
    case AllocKind::SelectionArray: return "selection array";
    case AllocKind::Selection: return "selection";
    case AllocKind::SymbolData: return "symbol data";
    case AllocKind::Attachment: return "attachment";
    case AllocKind::WideString: return "wide string";
    case AllocKind::StringArray: return "string array";
    }
    return "block";
}

Ledger::~Ledger()
{
    for (auto& [block, record] : live_)
        std::free(const_cast<void*>(block));
}

void* Ledger::allocate(std::size_t bytes, AllocKind kind, const std::string& call, Fill fill)
{
    const std::size_t size = bytes == 0 ? 1 : bytes;
    void* block = out_of_memory_ ? nullptr : std::malloc(size);
    if (!block)
        return nullptr;
    std::memset(block, fill == Fill::Zero ? 0 : kPattern, size);
    released_.erase(block);
    live_[block] = Allocation{block, kind, bytes, call, {}, next_serial_++};
    return block;
}

std::string Ledger::describe(const Allocation& a) const
{
    return std::string(kind_name(a.kind)) + " block#" + std::to_string(a.serial) + " made by " +
           a.made_by;
}

bool Ledger::check(const void* block, AllocKind kind, const std::string& call)
{
    if (const auto it = live_.find(block); it != live_.end()) {
        if (it->second.kind == kind)
            return true;
        note_error(call + " given " + describe(it->second) + ", wanted a block of kind " +
                   kind_name(kind));
        return false;
    }
    if (const auto it = released_.find(block); it != released_.end()) {
        note_error(call + " given " + describe(it->second) + ", already released by " +
                   it->second.freed_by);
        return false;
    }
    note_error(call + " given a pointer the host never allocated");
    return false;
}

bool Ledger::release(const void* block, AllocKind kind, const std::string& call)
{
    if (!check(block, kind, call))
        return false;
    auto node = live_.extract(block);
    node.mapped().freed_by = call;
    released_.insert(std::move(node));
    std::free(const_cast<void*>(block));
    return true;
}

const Allocation* Ledger::live(const void* block) const
{
    const auto it = live_.find(block);
    return it == live_.end() ? nullptr : &it->second;
}

std::vector<Allocation> Ledger::outstanding() const
{
    std::vector<Allocation> list;
    for (const auto& [block, record] : live_)
        list.push_back(record);
    // In order of allocation, not of address.
    std::sort(list.begin(), list.end(),
              [](const Allocation& a, const Allocation& b) { return a.serial < b.serial; });
    return list;
}

std::string Ledger::name_of(const void* block) const
{
    if (!block)
        return "(null)";
    if (const auto it = live_.find(block); it != live_.end())
        return "block#" + std::to_string(it->second.serial);
    if (const auto it = released_.find(block); it != released_.end())
        return "released block#" + std::to_string(it->second.serial);
    return "?";
}

}  // namespace vxhost
