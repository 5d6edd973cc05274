#include "addin_fixture.h"

#include <algorithm>

namespace vxtest {

AddinTest::AddinTest()
{
    disk.folder("models");
    host.map_drive('D', disk.path());
    host.set_working_directory(u"D:\\models\\");
}

void AddinTest::load()
{
    ASSERT_EQ(host.load(protk_dat()), 0);
}

std::vector<std::string> AddinTest::calls(const std::vector<std::string>& names,
                                          std::size_t from) const
{
    std::vector<std::string> picked;
    const auto& journal = host.journal();
    for (std::size_t i = from; i < journal.size(); ++i)
        if (std::find(names.begin(), names.end(), journal[i].name) != names.end())
            picked.push_back(journal[i].name + "(" + journal[i].args() + ")");
    return picked;
}

std::vector<std::u16string> AddinTest::history() const
{
    for (const auto& a : host.outstanding())
        if (a.kind == vxhost::AllocKind::Array) {
            auto paths = host.path_array(a.block);
            if (!paths.empty())
                return paths;
        }
    return {};
}

std::vector<std::string> AddinTest::outstanding() const
{
    std::vector<std::string> blocks;
    for (const auto& a : host.outstanding())
        blocks.push_back(std::string(vxhost::kind_name(a.kind)) + " " + a.made_by);
    return blocks;
}

void AddinTest::expect_clean() const
{
    EXPECT_EQ(host.ledger_errors(), std::vector<std::string>{});
    EXPECT_EQ(host.errors(), std::vector<std::string>{});
}

void AddinTest::inject(const std::string& call, bool unwritten, int nth,
                       const std::string& args_contain, ProError status)
{
    if (unwritten)
        host.inject_unwritten(call, nth, args_contain);
    else
        host.inject_fault(call, status, nth, args_contain);
}

}  // namespace vxtest
