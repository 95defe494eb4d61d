#include "tests/e2e/QuennelProcess.h"
#include "app/upffile.h"

#include <gtest/gtest.h>

namespace {

using e2e::QuennelProcess;

HWND OkButton(HWND card) {
    return e2e::FindChildByText(card, L"确定");
}

void PressSpace(HWND button) {
    PostMessageW(button, WM_KEYDOWN, VK_SPACE, 0x00390001);
    PostMessageW(button, WM_KEYUP, VK_SPACE, 0xC0390001);
}

TEST(Startup, CardThenTrayIconThenACleanEndWithTheIconGone) {
    test::TempDir dir;
    QuennelProcess q(dir);
    HWND card = q.WaitForWindow(L"QuennelWindow", L"Quennel");
    ASSERT_NE(card, nullptr) << "the about card did not appear";
    // Only the card is shown, and no icon yet.
    HWND tray = q.TrayWindow();
    ASSERT_NE(tray, nullptr);
    EXPECT_FALSE(QuennelProcess::ShellKnowsIcon(tray));
    EXPECT_EQ(test::ReadBytes(dir.File(L"quennel.UPF")), UpfTemplateBytes());

    HWND ok = OkButton(card);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(test::PumpUntil([&] { return GetFocus() == ok || GetForegroundWindow() == card; }));
    PressSpace(ok);
    EXPECT_TRUE(test::PumpUntil([&] { return !IsWindowVisible(card); })) << "OK did not hide the card";
    EXPECT_TRUE(test::PumpUntil([&] { return QuennelProcess::ShellKnowsIcon(tray); })) << "no tray icon";

    PostMessageW(card, WM_CLOSE, 0, 0); // what the exit command does
    EXPECT_EQ(q.WaitForExit(), 0u);
    EXPECT_FALSE(QuennelProcess::ShellKnowsIcon(tray));
    EXPECT_EQ(test::ReadBytes(dir.File(L"quennel.UPF")), UpfTemplateBytes());
}

TEST(Startup, ASecondStartLeavesTheFileAsItWas) {
    test::TempDir dir;
    const std::string mine("name: me\r\n\0tail", 16);
    test::WriteBytes(dir.File(L"Q.UPF"), mine);
    QuennelProcess q(dir, L"Q.EXE");
    HWND card = q.WaitForWindow(L"QuennelWindow", L"Quennel");
    ASSERT_NE(card, nullptr);
    PostMessageW(card, WM_CLOSE, 0, 0);
    EXPECT_EQ(q.WaitForExit(), 0u);
    EXPECT_EQ(test::ReadBytes(dir.File(L"Q.UPF")), mine);
}

TEST(Startup, AFolderNamedLikeTheFileGivesOneErrorBoxAndTheCardStillShows) {
    test::TempDir dir;
    ASSERT_TRUE(CreateDirectoryW(dir.File(L"quennel.UPF").c_str(), nullptr));
    QuennelProcess q(dir);
    HWND box = q.WaitForWindow(L"#32770", L"Quennel");
    ASSERT_NE(box, nullptr) << "no error box";
    EXPECT_EQ(e2e::DialogText(box), L"File access denied.");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    HWND card = q.WaitForWindow(L"QuennelWindow", L"Quennel");
    ASSERT_NE(card, nullptr) << "the card did not show after the error";
    EXPECT_EQ(q.FindWindow(L"#32770", nullptr), nullptr);
    PostMessageW(card, WM_CLOSE, 0, 0);
    EXPECT_EQ(q.WaitForExit(), 0u);
    EXPECT_TRUE(GetFileAttributesW(dir.File(L"quennel.UPF").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace
