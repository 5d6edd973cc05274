#include "host/journal.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "host/text.h"

namespace vxhost {

namespace {

// The tags of CallArgs' bytes; each is followed by its payload.
enum Tag : char {
    kNumber = 'n',   // long long
    kReal = 'r',     // double
    kText = 't',     // length, then the narrow bytes
    kWide = 'w',     // length in units, then the UTF-16 units
    kWord = 'W',     // length, then the bytes
    kNull = '0',     // an absent text
};

template <class T>
void put_raw(std::string& bytes, const T& value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <class T>
T get_raw(const std::string& bytes, std::size_t& at)
{
    T value;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    at += sizeof value;
    return value;
}

void put_counted(std::string& bytes, Tag tag, const void* data, std::size_t size, std::size_t count)
{
    bytes.reserve(bytes.size() + 1 + sizeof count + size);   // one allocation, not one per piece
    bytes += tag;
    put_raw(bytes, count);
    bytes.append(static_cast<const char*>(data), size);
}

}  // namespace

CallArgs& CallArgs::number(long long value)
{
    bytes_ += kNumber;
    put_raw(bytes_, value);
    return *this;
}

CallArgs& CallArgs::real(double value)
{
    bytes_ += kReal;
    put_raw(bytes_, value);
    return *this;
}

CallArgs& CallArgs::text(const char* text)
{
    if (!text) {
        bytes_ += kNull;
        return *this;
    }
    const std::size_t n = std::strlen(text);
    put_counted(bytes_, kText, text, n, n);
    return *this;
}

CallArgs& CallArgs::wide(const char16_t* text, std::size_t limit)
{
    if (!text) {
        bytes_ += kNull;
        return *this;
    }
    std::size_t n = 0;
    while (n < limit && text[n] != 0)
        ++n;
    put_counted(bytes_, kWide, text, n * sizeof(char16_t), n);
    return *this;
}

CallArgs& CallArgs::word(std::string_view word)
{
    put_counted(bytes_, kWord, word.data(), word.size(), word.size());
    return *this;
}

std::string CallArgs::render() const
{
    std::string out;
    std::size_t at = 0;
    while (at < bytes_.size()) {
        if (!out.empty())
            out += ", ";
        const char tag = bytes_[at++];
        switch (tag) {
        case kNumber:
            out += std::to_string(get_raw<long long>(bytes_, at));
            break;
        case kReal: {
            char text[32];
            const auto end = std::to_chars(text, text + sizeof text, get_raw<double>(bytes_, at));
            out.append(text, end.ptr);
            break;
        }
        case kNull:
            out += "(null)";
            break;
        case kWide: {
            const auto n = get_raw<std::size_t>(bytes_, at);
            std::u16string units(n, u'\0');
            std::memcpy(units.data(), bytes_.data() + at, n * sizeof(char16_t));
            at += n * sizeof(char16_t);
            out += "\"" + to_utf8(units) + "\"";
            break;
        }
        default: {   // kText, kWord
            const auto n = get_raw<std::size_t>(bytes_, at);
            const std::string_view piece(bytes_.data() + at, n);
            at += n;
            if (tag == kText)
                out += "\"" + std::string(piece) + "\"";
            else
                out += piece;
        }
        }
    }
    return out;
}

std::size_t Journal::begin(std::string name, CallArgs args)
{
    JournalEntry entry;
    entry.name = std::move(name);
    entry.arguments = std::move(args);
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
    std::string line = entry.name + "(" + entry.args() + ") -> " + std::to_string(entry.status);
    if (entry.faulted)
        line += " (injected fault)";
    return line;
}

std::optional<FaultHit> Faults::check(const char* call, const CallArgs& args)
{
    for (auto& fault : faults_) {
        if (fault.call != call)
            continue;
        if (!fault.args_contain.empty() &&
            args.render().find(fault.args_contain) == std::string::npos)
            continue;
        ++fault.seen;
        if (fault.nth == 0 || fault.seen == fault.nth)
            return FaultHit{fault.unwritten ? PRO_TK_NO_ERROR : fault.status, fault.unwritten};
    }
    return std::nullopt;
}

}  // namespace vxhost
