// The add-in loaded in the stand-in host over a throw-away drive D:, its
// working directory D:\models\ -- the set-up every add-in suite shares.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../host/fixtures.h"
#include "host/host.h"
#include "host/text.h"

namespace vxtest {

// The registration file of this build.
inline const char* protk_dat() { return VX_PROTK_DAT; }
// The folder that holds text/<language>/.
inline const char* text_dir() { return VX_TEXT_DIR; }

class AddinTest : public ::testing::Test {
protected:
    AddinTest();

    // Loads the add-in and expects start-up status 0.
    void load();

    // The journal's call names from entry `from` on, keeping only `names`.
    std::vector<std::string> calls(const std::vector<std::string>& names,
                                   std::size_t from = 0) const;

    // The one live host array of paths: the add-in's directory history.
    std::vector<std::u16string> history() const;

    // Outstanding host blocks, as "kind made_by".
    std::vector<std::string> outstanding() const;

    // No ledger errors and no host errors.
    void expect_clean() const;

    // Makes `call` fail with `status`, or, with `unwritten`, return 0
    // without writing its outputs; `nth` and `args_contain` choose the
    // calls as Host::inject_fault does.
    void inject(const std::string& call, bool unwritten, int nth = 0,
                const std::string& args_contain = {}, ProError status = PRO_TK_GENERAL_ERROR);

    TempDir disk;
    vxhost::Host host;
};

}  // namespace vxtest
