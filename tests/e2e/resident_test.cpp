#include "tests/e2e/QuennelProcess.h"

#include <gtest/gtest.h>

namespace {

using e2e::QuennelProcess;

struct Resident : e2e::Running {
    void SetUp() override {
        Running::SetUp();
        if (HasFatalFailure()) return;
        test::PostKey(e2e::FindChildByText(card, L"确定"), VK_SPACE);
        ASSERT_TRUE(test::PumpUntil([&] { return QuennelProcess::ShellKnowsIcon(tray); }));
    }
    void Choose(HWND menuWindow, int index) {
        for (int i = 0; i <= index; ++i)
            test::PostKey(menuWindow, VK_DOWN);
        test::PostKey(menuWindow, VK_RETURN);
    }
    static std::wstring EditText(HWND top) {
        HWND box = FindWindowExW(top, nullptr, L"QuennelWindow", nullptr);
        HWND edit = box ? FindWindowExW(box, nullptr, L"Edit", nullptr) : nullptr;
        return edit ? e2e::BoxText(edit) : L"(no text view)";
    }
};

TEST_F(Resident, ClipboardWindowFollowsTheClipboardAndItsItemFollowsTheWindow) {
    // The third item opens the window while it is hidden ("打开剪贴板") and closes it while it is shown
    // ("关闭剪贴板"): its caption is set from the window's visibility as the menu opens.
    HWND menu = OpenMenu(WM_LBUTTONUP);
    ASSERT_NE(menu, nullptr) << "no quick-action menu";
    Choose(menu, 2);
    HWND clip = q.WaitForWindow(nullptr, L"系统当前剪贴板");
    ASSERT_NE(clip, nullptr);
    test::SetClipboardText(L"from another program 你好");
    EXPECT_TRUE(test::PumpUntil([&] { return EditText(clip) == L"from another program 你好"; }))
        << EditText(clip);

    menu = OpenMenu(WM_LBUTTONUP);
    ASSERT_NE(menu, nullptr);
    Choose(menu, 2);
    EXPECT_TRUE(test::PumpUntil([&] { return !IsWindowVisible(clip); }))
        << "the item did not close the window";

    menu = OpenMenu(WM_LBUTTONUP);
    ASSERT_NE(menu, nullptr);
    Choose(menu, 2);
    ASSERT_TRUE(test::PumpUntil([&] { return IsWindowVisible(clip); }));
    PostMessageW(clip, WM_CLOSE, 0, 0); // the close box
    ASSERT_TRUE(test::PumpUntil([&] { return !IsWindowVisible(clip); }));
    menu = OpenMenu(WM_LBUTTONUP);
    ASSERT_NE(menu, nullptr);
    Choose(menu, 2);
    EXPECT_TRUE(test::PumpUntil([&] { return IsWindowVisible(clip); }))
        << "after the close box it did not reopen";
}

// Metafile pictures with absurd extents from another program: the clipboard window paints each at once
// and goes on to show the next text.
TEST_F(Resident, ClipboardWindowAnswersThroughHostileMetafilePictures) {
    HWND menu = OpenMenu(WM_LBUTTONUP);
    ASSERT_NE(menu, nullptr);
    Choose(menu, 2);
    HWND clip = q.WaitForWindow(nullptr, L"系统当前剪贴板");
    ASSERT_NE(clip, nullptr);
    HWND viewer = FindWindowExW(clip, nullptr, L"QuennelWindow", nullptr);
    ASSERT_NE(viewer, nullptr);
    const LONG extents[][3] = {{MM_ANISOTROPIC, INT_MIN, 1000},
                               {MM_ANISOTROPIC, 1000, INT_MIN},
                               {MM_ANISOTROPIC, INT_MAX, INT_MAX},
                               {MM_ISOTROPIC, INT_MIN, INT_MIN},
                               {MM_ISOTROPIC, 0, 0},
                               {MM_ISOTROPIC, -3, -2},
                               {MM_HIMETRIC, INT_MIN, INT_MAX},
                               {MM_TEXT, INT_MAX, 1}};
    int n = 0;
    for (const auto& e : extents) {
        SCOPED_TRACE(testing::Message() << "mm " << e[0] << " extents " << e[1] << " x " << e[2]);
        HDC recorder = CreateMetaFileW(nullptr);
        for (int i = 0; i < 4; ++i) // curves are what take the platform long at absurd scales
            Ellipse(recorder, i * 10, 0, 100, 60);
        HMETAFILE mf = CloseMetaFile(recorder); // the clipboard takes it
        METAFILEPICT pict{e[0], e[1], e[2], mf};
        test::ReplaceClipboard({{CF_METAFILEPICT, test::GlobalCopy(&pict, sizeof pict)}});
        // The picture view replaces the text view; a paint now is the one that must return.
        ASSERT_TRUE(test::PumpUntil([&] { return !FindWindowExW(viewer, nullptr, L"Edit", nullptr); }));
        DWORD_PTR ignored;
        EXPECT_NE(SendMessageTimeoutW(viewer, WM_PAINT, 0, 0, SMTO_NORMAL, 1000, &ignored), 0)
            << "the clipboard window stopped answering";
        std::wstring next = L"next " + std::to_wstring(++n);
        test::SetClipboardText(next);
        ASSERT_TRUE(test::PumpUntil([&] { return EditText(clip) == next; })) << EditText(clip);
    }
    EXPECT_EQ(q.FindWindow(L"#32770", L"Quennel"), nullptr) << "an error box";
}

TEST_F(Resident, ExitFromTheProgramMenuEndsItEvenWithAModalDialogOpen) {
    HWND menu = OpenMenu(WM_LBUTTONUP);
    ASSERT_NE(menu, nullptr);
    Choose(menu, 4); // run a program: the modal dialog
    HWND dialog = q.WaitForWindow(nullptr, L"输入命令行");
    ASSERT_NE(dialog, nullptr);
    menu = OpenMenu(WM_RBUTTONUP);
    ASSERT_NE(menu, nullptr) << "the program menu did not open while the dialog was up";
    Choose(menu, 2);
    EXPECT_EQ(q.WaitForExit(), 0u);
    EXPECT_FALSE(QuennelProcess::ShellKnowsIcon(tray));
}

TEST_F(Resident, CopyPutsTheTemplateOnTheClipboard) {
    test::SetClipboardText(L"something else");
    HWND menu = OpenMenu(WM_LBUTTONUP);
    ASSERT_NE(menu, nullptr);
    Choose(menu, 3);
    std::wstring text;
    // Only a text that is there counts: between the copier's emptying and its filling there is none.
    EXPECT_TRUE(test::PumpUntil([&] {
        text = test::ClipboardText();
        return !text.empty() && text != L"something else";
    }));
    EXPECT_EQ(text,
              L"在此放入您的个人信息\r\n姓名:\r\n电子邮件:\r\n电话号码:\r\n通讯地址:\r\n......\r\n\r\n");
}

} // namespace

namespace {

TEST_F(Resident, EditorSavesTheNewTextAsGb2312) {
    HWND menu = OpenMenu(WM_RBUTTONUP);
    ASSERT_NE(menu, nullptr);
    Choose(menu, 0); // set up and modify the personal information
    HWND editor = q.WaitForWindow(nullptr, L"修改个人信息");
    ASSERT_NE(editor, nullptr);
    HWND memo = FindWindowExW(editor, nullptr, L"Edit", nullptr);
    ASSERT_NE(memo, nullptr);
    wchar_t shown[256] = L"";
    SendMessageW(memo, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(shown));
    EXPECT_EQ(std::wstring(shown),
              L"在此放入您的个人信息\r\n姓名:\r\n电子邮件:\r\n电话号码:\r\n通讯地址:\r\n......\r\n\r\n");
    SendMessageW(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"姓名:李四\r\n电话号码:123"));
    HWND ok = FindWindowExW(editor, nullptr, L"Button", L"OK");
    ASSERT_NE(ok, nullptr);
    PostMessageW(ok, BM_CLICK, 0, 0);
    ASSERT_TRUE(test::PumpUntil([&] { return !IsWindowVisible(editor); }));
    EXPECT_EQ(test::ReadBytes(dir.File(L"quennel.UPF")),
              "\xD0\xD5\xC3\xFB:\xC0\xEE\xCB\xC4\r\n\xB5\xE7\xBB\xB0\xBA\xC5\xC2\xEB:123");
}

} // namespace

namespace {

TEST_F(Resident, TheIconReturnsWhenTheNotificationAreaIsRecreated) {
    // A new notification area has no icons: drop ours as the shell would, then announce the new one.
    NOTIFYICONDATAW nid{};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = tray;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &nid));
    ASSERT_FALSE(QuennelProcess::ShellKnowsIcon(tray));
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG,
                        5000, &result);
    EXPECT_TRUE(test::PumpUntil([&] { return QuennelProcess::ShellKnowsIcon(tray); }))
        << "the icon did not return";
}

} // namespace
