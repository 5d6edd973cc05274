// Workspaces for the purge's checks: a folder as it stands, the stored
// versions a purge of it must keep, and what a purge broke.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "../host/fixtures.h"
#include "host/host.h"

namespace vxtest {

// Everything under a folder by its path relative to it, parts joined by
// "/": a file's content, or "/" for a folder.
using Snapshot = std::map<std::string, std::string>;
Snapshot snapshot(const fs::path& folder);

// The files directly in the snapshot's folder that the purge keeps: of
// every drawing, part and assembly (its name and extension compared
// ignoring case), the one with the highest version; a file without a
// version number counts as version 0. Read the way the host reads file
// names: "x.prt.N" only when N is a number an int holds.
std::set<std::string> newest_versions(const Snapshot& before);

// What a purge broke in `folder` (Windows path `windows`, ending in "\"),
// against the snapshot taken before it, each a line of text: every
// version that must stay is there unchanged; nothing appeared; whatever
// left is in the host's bin (its entries from `bin_from` on) with its
// content, and nothing else is. With `complete`, also every version that
// must not stay has left.
std::vector<std::string> purge_problems(const vxhost::Host& host, const fs::path& folder,
                                        const std::u16string& windows, const Snapshot& before,
                                        std::size_t bin_from, bool complete);

}  // namespace vxtest
