#include "system/folders.h"

#include <algorithm>
#include <climits>
#include <exception>

#include "host/text.h"

namespace vxhost {

namespace {

// The digits of a version number as an int; nothing for anything else,
// also for a number beyond what an int holds.
std::optional<int> version_number(std::u16string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    long long value = 0;
    for (char16_t c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > INT_MAX)
            return std::nullopt;
    }
    return static_cast<int>(value);
}

// "name.ext" with both parts non-empty.
std::optional<FileName> split_name_extension(std::u16string_view text)
{
    const std::size_t dot = text.rfind(u'.');
    if (dot == std::u16string_view::npos || dot == 0 || dot + 1 == text.size())
        return std::nullopt;
    return FileName{text.substr(0, dot), text.substr(dot + 1), 0};
}

// How much of a name its base is: name.ext without the version, or the
// whole name when it has no extension.
std::size_t base_length(std::u16string_view name, const std::optional<FileName>& split)
{
    return split ? split->name.size() + 1 + split->extension.size() : name.size();
}

}  // namespace

std::optional<FileName> split_file_name(std::u16string_view file)
{
    const std::size_t dot = file.rfind(u'.');
    if (dot != std::u16string_view::npos) {
        if (const auto version = version_number(file.substr(dot + 1))) {
            if (auto split = split_name_extension(file.substr(0, dot))) {
                split->version = *version;
                return split;
            }
        }
    }
    return split_name_extension(file);
}

FolderEntry folder_entry(const std::u16string& name, FolderEntry::Kind kind)
{
    FolderEntry entry;
    entry.name = name;
    entry.kind = kind;
    entry.folded = fold_case(name);
    const auto split = split_file_name(name);
    entry.base = name.substr(0, base_length(name, split));
    entry.version = split ? split->version : 0;
    return entry;
}

std::optional<FolderListing> FolderListing::read(const fs::path& folder, std::error_code& ec)
{
    FolderListing listing;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind_ec;
        const bool is_folder = it->is_directory(kind_ec);
        std::u16string name;
        try {
            name = it->path().filename().u16string();
        } catch (const std::exception&) {
            listing.unreadable_.push_back(UnreadableName{it->path(), is_folder});
            continue;
        }
        using Kind = FolderEntry::Kind;
        listing.add(name, is_folder ? Kind::Folder : it->is_regular_file(kind_ec) ? Kind::File : Kind::Other);
    }
    if (ec)
        return std::nullopt;
    return listing;
}

const std::vector<std::size_t>* FolderListing::indexed(const std::u16string& folded_base) const
{
    const auto it = by_base_.find(folded_base);
    return it == by_base_.end() ? nullptr : &it->second;
}

std::vector<const FolderEntry*> FolderListing::with_base(const std::u16string& folded_base) const
{
    std::vector<const FolderEntry*> found;
    if (const auto* list = indexed(folded_base))
        for (const std::size_t at : *list)
            found.push_back(&entries_[at]);
    return found;
}

std::vector<const FolderEntry*> FolderListing::folders() const
{
    std::vector<const FolderEntry*> found;
    for (const std::size_t at : folders_)
        found.push_back(&entries_[at]);
    return found;
}

const FolderEntry* FolderListing::find(const std::u16string& name) const
{
    const auto* list = indexed(fold_case(name.substr(0, base_length(name, split_file_name(name)))));
    if (!list)
        return nullptr;
    for (const std::size_t at : *list)
        if (entries_[at].name == name)
            return &entries_[at];
    const std::u16string folded = fold_case(name);
    for (const std::size_t at : *list)
        if (entries_[at].folded == folded)
            return &entries_[at];
    return nullptr;
}

void FolderListing::add(const std::u16string& name, FolderEntry::Kind kind)
{
    const std::size_t at = entries_.size();
    entries_.push_back(folder_entry(name, kind));
    const FolderEntry& entry = entries_.back();
    by_base_[entry.folded.substr(0, entry.base.size())].push_back(at);
    if (kind == FolderEntry::Kind::Folder)
        folders_.push_back(at);
}

void FolderListing::remove(const FolderEntry& entry)
{
    const auto it = by_base_.find(entry.folded.substr(0, entry.base.size()));
    if (it == by_base_.end())
        return;
    auto& list = it->second;
    const auto at = std::find_if(list.begin(), list.end(),
                                 [&](std::size_t i) { return &entries_[i] == &entry; });
    if (at == list.end())
        return;   // gone already
    const std::size_t index = *at;
    list.erase(at);
    if (list.empty())
        by_base_.erase(it);
    if (entry.kind == FolderEntry::Kind::Folder)
        folders_.erase(std::remove(folders_.begin(), folders_.end(), index), folders_.end());
    entries_[index].gone = true;
}

FolderCache::Folder* FolderCache::resolve(const DriveMap& drives, const WindowsPath& path)
{
    const std::u16string text = path.folder_text();
    if (const auto it = by_text_.find(text); it != by_text_.end())
        return it->second;
    const auto real = drives.to_real(path);
    std::error_code ec;
    if (!real || !fs::is_directory(*real, ec))
        return nullptr;
    fs::path canonical = fs::canonical(*real, ec);
    if (ec)
        canonical = *real;
    Folder* folder = known(canonical);
    if (!folder)
        folder = &folders_.emplace_back(Folder{*real, canonical, std::nullopt});
    by_text_.emplace(text, folder);
    return folder;
}

FolderCache::Folder* FolderCache::known(const fs::path& canonical)
{
    for (Folder& folder : folders_)
        if (folder.canonical.native() == canonical.native())
            return &folder;
    return nullptr;
}

FolderListing* FolderCache::listing_of(const fs::path& canonical)
{
    Folder* folder = known(canonical);
    return folder && folder->listing ? &*folder->listing : nullptr;
}

void FolderCache::clear()
{
    by_text_.clear();
    folders_.clear();
}

}  // namespace vxhost
