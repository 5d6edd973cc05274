#include "host/journal.h"

#include <algorithm>

namespace vxhost {

std::size_t Journal::begin(std::string name, std::string args)
{
    JournalEntry entry;
    entry.name = std::move(name);
    entry.args = std::move(args);
    entry.id = next_id_++;
    entries_.push_back(std::move(entry));
    return entries_.back().id;
}

void Journal::finish(std::size_t id, ProError status, bool faulted)
{
    // Usually the last entry; clear() during the call may have dropped it.
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->id == id) {
            it->status = status;
            it->faulted = faulted;
            it->done = true;
            return;
        }
    }
}

std::size_t Journal::count(const std::string& name) const
{
    return std::count_if(entries_.begin(), entries_.end(),
                         [&](const JournalEntry& e) { return e.name == name; });
}

std::vector<std::string> Journal::names() const
{
    std::vector<std::string> list;
    for (const auto& entry : entries_)
        list.push_back(entry.name);
    return list;
}

std::string Journal::render(const JournalEntry& entry)
{
    std::string line = entry.name + "(" + entry.args + ") -> " + std::to_string(entry.status);
    if (entry.faulted)
        line += " (injected fault)";
    return line;
}

std::optional<ProError> Faults::check(const std::string& call, const std::string& args)
{
    for (auto& fault : faults_) {
        if (fault.call != call)
            continue;
        if (!fault.args_contain.empty() && args.find(fault.args_contain) == std::string::npos)
            continue;
        ++fault.seen;
        if (fault.nth == 0 || fault.seen == fault.nth)
            return fault.status;
    }
    return std::nullopt;
}

}  // namespace vxhost
