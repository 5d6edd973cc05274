// The ledger of every block the host allocates for the add-in: who made
// it, who released it, and every release that went wrong.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace vxhost {

// What a block is; each kind has its own free call.
enum class AllocKind {
    Array,            // ProArrayFree
    String,           // ProStringFree
    WideString,       // ProWstringFree
    SelectionArray,   // ProSelectionarrayFree, with the selections in it
    Selection,        // goes with the array or attachment that holds it
    SymbolData,       // ProDtlsyminstdataFree
    Attachment,       // ProDtlattachFree
    StringArray,      // ProStringarrayFree, with the strings in it
};

const char* kind_name(AllocKind kind);

struct Allocation {
    const void* block = nullptr;
    AllocKind kind = AllocKind::Array;
    std::size_t bytes = 0;
    std::string made_by;      // the call that allocated it
    std::string freed_by;     // the call that released it; empty while outstanding
    int serial = 0;           // 1, 2, ...: a stable name for journals ("block#N")
};

class Ledger {
public:
    Ledger() = default;
    Ledger(const Ledger&) = delete;
    Ledger& operator=(const Ledger&) = delete;
    // Releases whatever the add-in never freed.
    ~Ledger();

    // How a new block comes: zero-filled only where the call promises it;
    // otherwise filled with a pattern that is no zero, no small number and
    // no address, so that an add-in reading before it writes shows up.
    enum class Fill { Pattern, Zero };
    static constexpr unsigned char kPattern = 0xA5;

    // A block of at least one byte, outstanding from now on; nullptr when
    // the allocator has none, or while the memory is out.
    void* allocate(std::size_t bytes, AllocKind kind, const std::string& call,
                   Fill fill = Fill::Pattern);
    // While out, every block asked for is refused, as an allocator with
    // no memory left refuses it.
    void set_out_of_memory(bool out) { out_of_memory_ = out; }

    // Frees a block of the expected kind. A block the host never gave, one
    // already released or one of another kind is not touched: the mistake
    // is recorded and false returned.
    bool release(const void* block, AllocKind kind, const std::string& call);

    // The outstanding record of a block, or nullptr.
    const Allocation* live(const void* block) const;
    // Whether `block` is outstanding and of `kind`; otherwise records why
    // not, naming `call`.
    bool check(const void* block, AllocKind kind, const std::string& call);

    std::vector<Allocation> outstanding() const;
    const std::vector<std::string>& errors() const { return errors_; }
    void note_error(const std::string& message) { errors_.push_back(message); }

    // The journal's name for a block: "block#N", or "?" for a stranger.
    std::string name_of(const void* block) const;

private:
    std::string describe(const Allocation& a) const;

    std::map<const void*, Allocation> live_;
    // Released blocks, so a second release can say who released it first.
    // An address the allocator hands out again leaves this list.
    std::map<const void*, Allocation> released_;
    std::vector<std::string> errors_;
    int next_serial_ = 1;
    bool out_of_memory_ = false;
};

}  // namespace vxhost
