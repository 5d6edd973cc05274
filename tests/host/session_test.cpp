#include <gtest/gtest.h>

#include "host/host.h"
#include "host_calls.h"

using namespace vxhost;

class Models : public ::testing::Test {
protected:
    Host host;
    vxtest::HostCalls calls{host};
};

TEST_F(Models, TheCurrentModelIsTheActiveWindowsModel)
{
    ProMdl model = reinterpret_cast<ProMdl>(&host);
    EXPECT_EQ(calls.mdl_current(&model), PRO_TK_E_NOT_FOUND);
    EXPECT_EQ(model, reinterpret_cast<ProMdl>(&host));      // nothing written on failure

    const ProMdl part = host.open_model("bracket", PRO_MDL_PART, u"D:\\work\\parts");
    const ProMdl assembly = host.open_model("frame", PRO_MDL_ASSEMBLY, u"D:\\work\\");
    ASSERT_EQ(calls.mdl_current(&model), PRO_TK_NO_ERROR);
    EXPECT_EQ(model, assembly);
    EXPECT_NE(part, assembly);
    EXPECT_EQ(host.session().windows().size(), 2u);

    host.close_all_windows();
    EXPECT_EQ(calls.mdl_current(&model), PRO_TK_E_NOT_FOUND);
    EXPECT_EQ(host.current_model(), nullptr);
}

TEST_F(Models, TypeAndDataOfAModel)
{
    struct Case {
        int type;
        std::u16string text;
    };
    for (const Case& c : {Case{PRO_MDL_PART, u"PRT"}, Case{PRO_MDL_ASSEMBLY, u"ASM"},
                          Case{PRO_MDL_DRAWING, u"DRW"}, Case{3, u""}}) {
        const ProMdl model = host.open_model("m" + std::to_string(c.type), c.type, u"d:\\work\\parts");
        ProMdlType type = -99;
        ASSERT_EQ(calls.mdl_type(model, &type), PRO_TK_NO_ERROR);
        EXPECT_EQ(type, c.type);
        ProMdldata data;
        ASSERT_EQ(calls.mdl_data(model, &data), PRO_TK_NO_ERROR);
        EXPECT_EQ(std::u16string(data.name), to_utf16("m" + std::to_string(c.type)));
        EXPECT_EQ(std::u16string(data.type), c.text);
        EXPECT_EQ(std::u16string(data.device), u"D");
        EXPECT_EQ(std::u16string(data.path), u"\\work\\parts\\");
    }
}

TEST_F(Models, UnknownHandlesAreBadInputs)
{
    int not_a_model = 0;
    const ProMdl stranger = reinterpret_cast<ProMdl>(&not_a_model);
    ProMdlType type = -99;
    ProMdldata data;
    EXPECT_EQ(calls.mdl_type(stranger, &type), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(calls.mdl_type(nullptr, &type), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(calls.mdl_data(stranger, &data), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(type, -99);
    EXPECT_THROW(host.open_model(std::string(32, 'n'), PRO_MDL_PART, u"D:\\"), HostError);
}
