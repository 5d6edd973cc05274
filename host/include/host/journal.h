// The journal of the add-in's calls, and the faults the host can be told
// to inject into them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit.h"

namespace vxhost {

// A call's arguments as the journal keeps them: copied when the call is
// made (the add-in's buffers may be gone by the time anyone reads them),
// as compact tagged bytes, and made text only when someone reads them.
class CallArgs {
public:
    CallArgs& number(long long value);
    CallArgs& real(double value);
    CallArgs& text(const char* text);                    // "text", or (null)
    CallArgs& wide(const char16_t* text, std::size_t limit = PRO_PATH_SIZE);  // "text" in UTF-8
    CallArgs& word(std::string_view word);               // as it stands: fn, true, block#3

    // "a, b, c"
    std::string render() const;
    bool empty() const { return bytes_.empty(); }

private:
    std::string bytes_;
};

// A word for the journal, shown as it stands.
struct Word {
    std::string text;
};

inline void put_arg(CallArgs& a, int value) { a.number(value); }
inline void put_arg(CallArgs& a, unsigned value) { a.number(value); }
inline void put_arg(CallArgs& a, long value) { a.number(value); }
inline void put_arg(CallArgs& a, long long value) { a.number(value); }
inline void put_arg(CallArgs& a, unsigned long value) { a.number(static_cast<long long>(value)); }
inline void put_arg(CallArgs& a, unsigned long long value) { a.number(static_cast<long long>(value)); }
inline void put_arg(CallArgs& a, double value) { a.real(value); }
inline void put_arg(CallArgs& a, const char* text) { a.text(text); }
inline void put_arg(CallArgs& a, const char16_t* text) { a.wide(text); }
inline void put_arg(CallArgs& a, const Word& word) { a.word(word.text); }

// call_args(name, 2, path, Word{"fn"}): the arguments of one call.
template <class... Parts>
CallArgs call_args(const Parts&... parts)
{
    CallArgs a;
    (put_arg(a, parts), ...);
    return a;
}

struct JournalEntry {
    std::string name;
    CallArgs arguments;
    ProError status = PRO_TK_NO_ERROR;
    bool faulted = false;  // failed (or emptied) on purpose by an injected fault
    bool done = false;     // returned (false only while the call runs)
    std::size_t id = 0;    // for finish()

    // Readable text of the arguments that matter.
    std::string args() const { return arguments.render(); }
};

class Journal {
public:
    // Opens an entry; calls made while it runs (from a notification, say)
    // come after it. Returns its id for finish().
    std::size_t begin(std::string name, CallArgs args);
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

// Makes one host call fail with a chosen status, or succeed without
// writing any of its outputs: every time, only its n-th call from now on,
// or only calls whose argument text holds a substring.
struct Fault {
    std::string call;
    ProError status = PRO_TK_GENERAL_ERROR;
    int nth = 0;                 // 0: every matching call
    std::string args_contain;    // empty: any arguments
    int seen = 0;                // matching calls so far
    bool unwritten = false;      // status 0, outputs left as they were
};

// What an injected fault makes of one call.
struct FaultHit {
    ProError status = PRO_TK_GENERAL_ERROR;
    bool unwritten = false;
};

// The statuses other than 0 that the host's implementation of `call` can
// return, each a status a fault can inject; empty for a call the host
// does not have.
std::vector<int> failing_statuses(const std::string& call);

class Faults {
public:
    void add(Fault fault) { faults_.push_back(std::move(fault)); }
    void clear() { faults_.clear(); }
    // The fault that applies to this call, if any. The arguments are
    // rendered only for a fault that looks into them.
    std::optional<FaultHit> check(const char* call, const CallArgs& args);

private:
    std::vector<Fault> faults_;
};

}  // namespace vxhost
