#include "tests/e2e/QuennelProcess.h"
#include "app/upffile.h"

#include <gtest/gtest.h>

namespace {

using e2e::QuennelProcess;

// A real log-off request ends the session of the Wine prefix, so this runs only in a prefix of its own
// (the "logoff" test sets QUENNEL_THROWAWAY_PREFIX).
TEST(LogOff, ARealRequestIsAcceptedAndTheProgramEndsByItself) {
    if (!GetEnvironmentVariableW(L"QUENNEL_THROWAWAY_PREFIX", nullptr, 0))
        GTEST_SKIP() << "needs its own prefix";
    test::TempDir dir;
    QuennelProcess q(dir);
    HWND card = q.WaitForWindow(L"QuennelWindow", L"Quennel", 60000);
    ASSERT_NE(card, nullptr);
    HWND tray = q.TrayWindow();
    test::PostKey(e2e::FindChildByText(card, L"确定"), VK_SPACE);
    ASSERT_TRUE(test::PumpUntil([&] { return !IsWindowVisible(card); }, 15000));
    e2e::PostClick(tray, WM_LBUTTONUP);
    HWND menu = q.WaitForWindow(L"#32768", nullptr, 15000);
    ASSERT_NE(menu, nullptr);
    for (int i = 0; i < 7; ++i)
        test::PostKey(menu, VK_DOWN); // the seventh item: log on again
    test::PostKey(menu, VK_RETURN);
    EXPECT_EQ(q.WaitForExit(30000), 0u);
    EXPECT_EQ(test::ReadBytes(dir.File(L"quennel.UPF")), UpfTemplateBytes());
}

} // namespace
