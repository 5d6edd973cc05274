// Open Model Folder and Open Working Directory: the explorer started by
// the shell on the current model's folder, or on the working directory,
// with nothing shown to the user either way.
#include "addin_fixture.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#include <cstring>
#endif

using vxtest::AddinTest;

namespace {

const char* const kModelFolder = "QVX_ShowDirmenu";
const char* const kWorkDir = "QVX_ShowWorkDirmenu";

}  // namespace

class ExplorerCommands : public AddinTest {
protected:
    // Picks the button; the command tells the host nothing of its own.
    void pick(const char* button)
    {
        if (!host.loaded())
            load();
        ASSERT_TRUE(host.pick(button));
        EXPECT_EQ(host.last_action_status(), 0);
    }

    // No notice, no message in the message area, no history entry: the
    // commands change nothing and say nothing.
    void expect_silent() const
    {
        EXPECT_TRUE(host.message_dialogs().empty());
        for (const auto& line : host.transcript())
            EXPECT_NE(line.rfind("message", 0), 0u) << line;
        EXPECT_EQ(history(), std::vector<std::u16string>{u"D:\\models"});
        EXPECT_EQ(outstanding(), std::vector<std::string>{"array ProArrayAlloc"});
        expect_clean();
    }
};

#ifndef _WIN32
// Off Windows the host plays the shell and keeps what it was asked.

namespace {

// The parameter strings the shell was handed, in order.
std::vector<std::u16string> opened_with(const vxhost::Host& host)
{
    std::vector<std::u16string> texts;
    for (const auto& e : host.shell_executions())
        texts.push_back(e.parameters.value_or(u"(none)"));
    return texts;
}

}  // namespace

// The folder of the current model, whatever its type, wherever it lies:
// drive, ":" and directory joined as they stand, the trailing separator
// kept, blanks left unquoted.
TEST_F(ExplorerCommands, TheModelsOwnFolderOpensForEveryType)
{
    struct Case {
        int type;
        std::u16string folder;
    };
    const Case cases[] = {
        {PRO_MDL_PART, u"D:\\models\\"},
        {PRO_MDL_ASSEMBLY, u"D:\\work\\parts\\"},   // device D, path \work\parts\ .
        {PRO_MDL_DRAWING, u"D:\\my parts\\sheet metal\\"},
        {PRO_MDL_PART, u"D:\\"},
        {PRO_MDL_PART, u"D:\\模型\\"},
    };
    load();
    for (const Case& c : cases) {
        const std::string folder = vxhost::to_utf8(c.folder);
        SCOPED_TRACE(folder);
        std::string real = folder.substr(3);
        std::replace(real.begin(), real.end(), '\\', '/');
        disk.folder(real);
        host.open_model("bracket", c.type, c.folder);
        const std::size_t from = host.shell_executions().size();
        pick(kModelFolder);
        ASSERT_EQ(host.shell_executions().size(), from + 1);
        const vxhost::ShellExecution& e = host.shell_executions().back();
        EXPECT_FALSE(e.owner);
        EXPECT_EQ(e.verb, u"open");
        EXPECT_EQ(e.file, u"explorer.exe");
        EXPECT_EQ(e.parameters, c.folder);
        EXPECT_EQ(e.directory, std::nullopt);
        EXPECT_EQ(e.show, SW_SHOWNORMAL);
        EXPECT_EQ(e.opened, c.folder);
        EXPECT_EQ(host.transcript().back(), "shell: the explorer opens " + folder);
        EXPECT_EQ(host.working_directory(), u"D:\\models\\");
    }
    expect_silent();
}

// The record's path fills all 259 units of its field: the folder reaches
// the explorer whole, not cut to a path buffer.
TEST_F(ExplorerCommands, AFolderFillingTheRecordsPathFieldReachesTheExplorerWhole)
{
    const std::string path = "\\" + std::string(200, 'a') + "\\" + std::string(56, 'b') + "\\";
    ASSERT_EQ(path.size(), static_cast<std::size_t>(PRO_PATH_SIZE - 1));
    disk.folder(std::string(200, 'a') + "/" + std::string(56, 'b'));
    const std::u16string folder = u"D:" + vxhost::to_utf16(path);
    host.open_model("bracket", PRO_MDL_PART, folder);
    pick(kModelFolder);
    EXPECT_EQ(opened_with(host), std::vector<std::u16string>{folder});
    EXPECT_EQ(host.shell_executions().back().opened, folder);
    expect_silent();
}

// The working directory goes to the explorer exactly as the host gave it,
// with its trailing separator and unquoted blanks, whatever model is
// current or none.
TEST_F(ExplorerCommands, TheWorkingDirectoryOpensAsTheHostGivesIt)
{
    disk.folder("my parts");
    load();
    pick(kWorkDir);
    host.open_model("pump", PRO_MDL_ASSEMBLY, u"D:\\projects\\");
    ASSERT_EQ(host.change_directory(u"D:\\my parts\\"), PRO_TK_NO_ERROR);
    pick(kWorkDir);
    EXPECT_EQ(opened_with(host), (std::vector<std::u16string>{u"D:\\models\\", u"D:\\my parts\\"}));
    const vxhost::ShellExecution& e = host.shell_executions().back();
    EXPECT_EQ(e.verb, u"open");
    EXPECT_EQ(e.file, u"explorer.exe");
    EXPECT_EQ(e.directory, std::nullopt);
    EXPECT_EQ(e.show, SW_SHOWNORMAL);
    EXPECT_FALSE(e.owner);
    EXPECT_EQ(host.transcript().back(), "shell: the explorer opens D:\\my parts\\");
    EXPECT_TRUE(host.message_dialogs().empty());
    expect_clean();
}

// With no current model the model-folder command is still offered and
// opens nothing; the working directory still opens.
TEST_F(ExplorerCommands, WithoutAModelOnlyTheWorkingDirectoryOpens)
{
    load();
    EXPECT_EQ(host.availability(kModelFolder), ACCESS_AVAILABLE);
    pick(kModelFolder);
    EXPECT_TRUE(host.shell_executions().empty());
    pick(kWorkDir);
    EXPECT_EQ(opened_with(host), std::vector<std::u16string>{u"D:\\models\\"});
    expect_silent();
}

// Whatever the host cannot give, the shell is handed nothing: never a
// buffer the host did not fill.
TEST_F(ExplorerCommands, WhatTheHostCannotGiveOpensNothing)
{
    struct Case {
        const char* call;
        bool unwritten;   // returns 0 without writing
        const char* button;
    };
    const Case cases[] = {
        {"ProMdlCurrentGet", false, kModelFolder},
        {"ProMdlCurrentGet", true, kModelFolder},
        {"ProMdlDataGet", false, kModelFolder},
        {"ProMdlDataGet", true, kModelFolder},
        {"ProDirectoryCurrentGet", false, kWorkDir},
        {"ProDirectoryCurrentGet", true, kWorkDir},
    };
    load();
    host.open_model("bracket", PRO_MDL_PART);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.call) + (c.unwritten ? " unwritten" : ""));
        inject(c.call, c.unwritten);
        pick(c.button);
        host.clear_faults();
        EXPECT_TRUE(host.journal().back().faulted);
        EXPECT_TRUE(host.shell_executions().empty());
    }
    expect_silent();
}

// A shell that cannot start the explorer passes unnoticed.
TEST_F(ExplorerCommands, AFailingShellIsNotReported)
{
    host.inject_fault("ShellExecuteW", 2);
    load();
    host.open_model("bracket", PRO_MDL_PART);
    pick(kModelFolder);
    pick(kWorkDir);
    ASSERT_EQ(host.shell_executions().size(), 2u);
    EXPECT_EQ(host.shell_executions()[0].result, 2);
    expect_silent();
}

#else
// On Windows the add-in calls the real shell. The test puts itself
// between the add-in and shell32's ShellExecuteW, in the add-in's import
// table, to see each call and what the shell returned; the host ends the
// explorers it leaves running (under Wine they stay) when it unloads.

namespace {

struct RealCall {
    std::wstring verb, file, parameters;
    bool owner = false, directory = false;
    int show = 0;
    INT_PTR result = 0;
};

std::vector<RealCall> g_real_calls;
decltype(&::ShellExecuteW) g_shell_execute = nullptr;

HINSTANCE WINAPI watched_shell_execute(HWND hwnd, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                       LPCWSTR directory, INT show)
{
    const HINSTANCE result = g_shell_execute(hwnd, verb, file, parameters, directory, show);
    g_real_calls.push_back(RealCall{verb ? verb : L"(null)", file ? file : L"(null)",
                                    parameters ? parameters : L"(null)", hwnd != nullptr,
                                    directory != nullptr, show, reinterpret_cast<INT_PTR>(result)});
    return result;
}

// Points the module's import of dll!function at `replacement`; false
// when the module does not import it.
bool redirect_import(HMODULE module, const char* dll, const char* function, void* replacement)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (_stricmp(reinterpret_cast<char*>(base + d->Name), dll) != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* by_name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), function) != 0)
                continue;
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return true;
        }
    }
    return false;
}

}  // namespace

TEST_F(ExplorerCommands, OnWindowsTheRealShellStartsTheExplorerOnEachFolder)
{
    const auto real = std::filesystem::canonical(disk.path());
    const std::string drive = real.root_name().string();   // "C:"
    ASSERT_EQ(drive.size(), 2u);
    host.map_drive(drive[0], real.root_path());
    const auto folder = real / "my parts";
    std::filesystem::create_directories(folder);
    const std::u16string work = (real / "models").u16string() + u"\\";
    host.set_working_directory(work);
    load();
    g_shell_execute = &::ShellExecuteW;
    g_real_calls.clear();
    ASSERT_TRUE(redirect_import(GetModuleHandleW(L"vexholm.dll"), "shell32.dll", "ShellExecuteW",
                                reinterpret_cast<void*>(&watched_shell_execute)));

    host.open_model("bracket", PRO_MDL_PART, folder.u16string() + u"\\");
    pick(kModelFolder);
    pick(kWorkDir);
    const std::wstring expected[] = {folder.wstring() + L"\\", std::wstring(work.begin(), work.end())};
    ASSERT_EQ(g_real_calls.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const RealCall& c = g_real_calls[i];
        EXPECT_EQ(c.verb, L"open");
        EXPECT_EQ(c.file, L"explorer.exe");
        EXPECT_EQ(c.parameters, expected[i]);
        EXPECT_FALSE(c.owner);
        EXPECT_FALSE(c.directory);
        EXPECT_EQ(c.show, SW_SHOWNORMAL);
        EXPECT_GT(c.result, 32) << "the shell could not start the explorer";
    }
    EXPECT_TRUE(host.message_dialogs().empty());
    expect_clean();
    // No explorer outlives the host's run of the add-in.
    host.unload();
    EXPECT_EQ(vxhost::explorer_children(), std::vector<unsigned long>{});
}
#endif
