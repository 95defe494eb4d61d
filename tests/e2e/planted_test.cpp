// Quennel where users put it: in a folder of planted libraries, and open while a password is copied.
#include "tests/e2e/QuennelProcess.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using e2e::QuennelProcess;

// Both ways of having Wine prefer the planted libraries: the per-program key, and the override in the
// environment of the whole process (bare program and Quennel alike).
enum class Planting { ByProgramKey, ByEnvironment };

struct AmongPlantedLibraries : ::testing::TestWithParam<Planting> {
    test::TempDir dir;
    std::unique_ptr<e2e::PreferPlantedInEnvironment> everywhere{
        GetParam() == Planting::ByEnvironment ? new e2e::PreferPlantedInEnvironment : nullptr};
    e2e::PlantedFolder planted{dir.Path(), L"bare.exe"};
    e2e::PreferPlanted prefer{L"quennel.exe"};
    QuennelProcess q{dir};
};
INSTANTIATE_TEST_SUITE_P(BothWays, AmongPlantedLibraries,
                         ::testing::Values(Planting::ByProgramKey, Planting::ByEnvironment));

// The card, both menus, the clipboard window, the run dialog's file chooser and the editor: no library
// comes from the program's folder.
TEST_P(AmongPlantedLibraries, UsingEveryWindowLoadsNoLibraryFromTheProgramsFolder) {
    HWND card = q.WaitForWindow(L"QuennelWindow", L"Quennel", 30000);
    ASSERT_NE(card, nullptr);
    HWND tray = q.TrayWindow();
    ASSERT_TRUE(test::BringToFront(card));
    e2e::ConfirmCard(card, tray);
    auto shown = [&](const wchar_t* caption) { return q.WaitForWindow(nullptr, caption); };

    e2e::ChooseByKeys(q, tray, WM_LBUTTONUP, 2);
    HWND clip = shown(L"系统当前剪贴板");
    ASSERT_NE(clip, nullptr);
    e2e::ChooseByKeys(q, tray, WM_LBUTTONUP, 4);
    HWND run = shown(L"输入命令行");
    ASSERT_NE(run, nullptr);
    PostMessageW(e2e::FindChildByText(run, L"浏览"), BM_CLICK, 0, 0);
    HWND chooser = q.WaitForWindow(L"#32770", nullptr);
    ASSERT_NE(chooser, nullptr) << "no file chooser";
    PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    // A cancelled chooser runs what the line holds; the empty line brings an error box, dismissed here.
    HWND box = nullptr;
    ASSERT_TRUE(test::PumpUntil([&] { return (box = q.FindWindow(L"#32770", nullptr)) && box != chooser; }));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(test::PumpUntil([&] { return !IsWindow(box) && IsWindowEnabled(run); }));
    PostMessageW(run, WM_CLOSE, 0, 0);
    ASSERT_TRUE(test::PumpUntil([&] { return !IsWindowVisible(run); })); // the next menu's keys go to it
    e2e::ChooseByKeys(q, tray, WM_RBUTTONUP, 0);
    HWND editor = shown(L"修改个人信息");
    ASSERT_NE(editor, nullptr);
    PostMessageW(editor, WM_CLOSE, 0, 0);
    ASSERT_TRUE(test::PumpUntil([&] { return !IsWindowVisible(editor); }));
    e2e::ChooseByKeys(q, tray, WM_RBUTTONUP, 1); // the card again, painted with its glyphs
    ASSERT_TRUE(test::PumpUntil([&] { return IsWindowVisible(card); }));
    RedrawWindow(card, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    EXPECT_EQ(planted.LoadedBeyondBaseline("Quennel"), L"");
    EXPECT_EQ(q.WaitForExit(0), STILL_ACTIVE) << "Quennel ended";
}

// Text copied with either mark of private content: the clipboard window, open in Quennel, shows only the
// notice; the next ordinary text shows.
using ClipboardWindow = e2e::Running;
TEST_F(ClipboardWindow, PrivateCopiesFromAnotherProgramShowOnlyTheNotice) {
    ASSERT_TRUE(test::BringToFront(card));
    e2e::ConfirmCard(card, tray);
    e2e::ChooseByKeys(q, tray, WM_LBUTTONUP, 2);
    HWND clip = q.WaitForWindow(nullptr, L"系统当前剪贴板");
    ASSERT_NE(clip, nullptr);
    HWND viewer = FindWindowExW(clip, nullptr, L"QuennelWindow", nullptr);
    auto shows = [&](const std::wstring& text) {
        return test::PumpUntil([&] {
            HWND box = FindWindowExW(viewer, nullptr, L"Edit", nullptr);
            return box && e2e::BoxText(box) == text;
        });
    };
    for (const wchar_t* mark :
         {L"ExcludeClipboardContentFromMonitorProcessing", L"Clipboard Viewer Ignore"}) {
        const std::wstring password = L"hunter2";
        test::ReplaceClipboard(
            {{CF_UNICODETEXT, test::GlobalCopy(password.c_str(), (password.size() + 1) * sizeof(wchar_t))},
             {RegisterClipboardFormatW(mark), test::GlobalCopy("", 1)}});
        EXPECT_TRUE(shows(L"剪贴板内容已由复制它的程序标为私密，不予显示")) << win::ToUtf8(mark);
        test::SetClipboardText(L"ordinary");
        EXPECT_TRUE(shows(L"ordinary"));
    }
}

} // namespace
