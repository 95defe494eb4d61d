#include "tests/e2e/QuennelProcess.h"

#include <gtest/gtest.h>

namespace {

using e2e::QuennelProcess;

// The tray icon windows of every running copy of the file.
int TrayWindowsOf(const std::wstring& exe) {
    int count = 0;
    for (HWND h = FindWindowExW(nullptr, nullptr, L"QuennelUtilWindow", L"TTrayIcon"); h;
         h = FindWindowExW(nullptr, h, L"QuennelUtilWindow", L"TTrayIcon")) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        win::Handle p(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
        wchar_t path[MAX_PATH];
        DWORD size = MAX_PATH;
        if (p && QueryFullProcessImageNameW(p.get(), 0, path, &size) && _wcsicmp(path, exe.c_str()) == 0)
            ++count;
    }
    return count;
}

TEST(SingleInstance, ASecondStartOfTheSameFileShowsTheRunningCopysCardAndACopyElsewhereRunsBeside) {
    test::TempDir dir;
    const std::wstring exe = dir.File(L"quennel.exe"), upf = dir.File(L"quennel.UPF");
    QuennelProcess first(dir);
    HWND card = first.WaitForWindow(L"QuennelWindow", L"Quennel");
    ASSERT_NE(card, nullptr);
    HWND tray = first.TrayWindow();

    // With the card up, a second start shows nothing of its own and ends at once.
    QuennelProcess whileShown(dir);
    EXPECT_EQ(whileShown.WaitForExit(), 0u);
    EXPECT_EQ(TrayWindowsOf(exe), 1);

    // Confirmed, the card goes and the icon comes; the file is then taken away, and a second start must
    // neither write it again nor add an icon: the running copy's card comes back instead.
    PostMessageW(e2e::FindChildByText(card, L"确定"), WM_KEYDOWN, VK_SPACE, 0x00390001);
    PostMessageW(e2e::FindChildByText(card, L"确定"), WM_KEYUP, VK_SPACE, 0xC0390001);
    ASSERT_TRUE(test::PumpUntil([&] { return !IsWindowVisible(card); }));
    ASSERT_TRUE(test::PumpUntil([&] { return QuennelProcess::ShellKnowsIcon(tray); }));
    ASSERT_TRUE(DeleteFileW(upf.c_str()));
    QuennelProcess again(dir);
    EXPECT_EQ(again.WaitForExit(), 0u);
    EXPECT_TRUE(test::PumpUntil([&] { return IsWindowVisible(card) != FALSE; }))
        << "the card did not come up";
    EXPECT_EQ(GetFileAttributesW(upf.c_str()), INVALID_FILE_ATTRIBUTES) << "the second start wrote the file";
    EXPECT_EQ(TrayWindowsOf(exe), 1);
    EXPECT_EQ(first.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));

    // A copy in another folder has a file of its own and runs beside the first.
    test::TempDir otherDir;
    QuennelProcess other(otherDir);
    EXPECT_NE(other.WaitForWindow(L"QuennelWindow", L"Quennel"), nullptr) << "the other copy did not start";
    EXPECT_EQ(first.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(other.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
}

} // namespace
