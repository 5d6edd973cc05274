// The journal of the add-in's calls, and the faults the host can be told
// to inject into them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "toolkit.h"

namespace vxhost {

struct JournalEntry {
    std::string name;
    std::string args;      // readable text of the arguments that matter
    ProError status = PRO_TK_NO_ERROR;
    bool faulted = false;  // failed on purpose by an injected fault
    bool done = false;     // returned (false only while the call runs)
    std::size_t id = 0;    // for finish()
};

class Journal {
public:
    // Opens an entry; calls made while it runs (from a notification, say)
    // come after it. Returns its id for finish().
    std::size_t begin(std::string name, std::string args);
    void finish(std::size_t id, ProError status, bool faulted = false);

    const std::vector<JournalEntry>& entries() const { return entries_; }
    std::size_t count(const std::string& name) const;
    std::vector<std::string> names() const;
    void clear() { entries_.clear(); }

    // "name(args) -> status"
    static std::string render(const JournalEntry& entry);

private:
    std::vector<JournalEntry> entries_;
    std::size_t next_id_ = 1;
};

// Makes one host call fail with a chosen status: every time, only its n-th
// call from now on, or only calls whose argument text holds a substring.
struct Fault {
    std::string call;
    ProError status = PRO_TK_GENERAL_ERROR;
    int nth = 0;                 // 0: every matching call
    std::string args_contain;    // empty: any arguments
    int seen = 0;                // matching calls so far
};

class Faults {
public:
    void add(Fault fault) { faults_.push_back(std::move(fault)); }
    void clear() { faults_.clear(); }
    // The status to fail this call with, if a fault applies.
    std::optional<ProError> check(const std::string& call, const std::string& args);

private:
    std::vector<Fault> faults_;
};

}  // namespace vxhost
