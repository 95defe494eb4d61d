#include "components/TrayIcon.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TrayFixture : ::testing::Test {
    test::RecordingShell shell;
    TTrayIcon* tray = New<TTrayIcon>(nullptr);
    std::vector<std::wstring> events;
    TrayFixture() {
        tray->OnClick = [this](TObject* s) {
            EXPECT_EQ(s, tray);
            events.push_back(L"click");
        };
        tray->OnDblClick = [this](TObject*) { events.push_back(L"dblclick"); };
        tray->OnRightClick = [this](TObject*, TMouseButton b, TShiftState sh, int x, int y) {
            EXPECT_EQ(b, TMouseButton::mbRight);
            EXPECT_EQ(sh, 0u);
            events.push_back(L"right " + std::to_wstring(x) + L"," + std::to_wstring(y));
        };
    }
    ~TrayFixture() override { delete tray; }
    LRESULT Notify(UINT mouseMessage) {
        return SendMessageW(tray->Handle(), TTrayIcon::CallbackMessage, 0, mouseMessage);
    }
};

TEST_F(TrayFixture, InactiveComponentMakesNoShellCallAtAll) {
    tray->SetToolTip(L"Quennel 1.0");
    TIcon icon;
    icon.LoadFromResource(ModuleInstance(), 1, 16);
    tray->SetIcon(icon);
    tray->SetActive(false);
    delete tray;
    tray = nullptr;
    EXPECT_TRUE(shell.notify.empty());
}

TEST_F(TrayFixture, ActivatingAddsOnceWithTheWholeRecordAndDeactivatingDeletes) {
    tray->SetToolTip(L"Quennel 1.0");
    TIcon icon;
    icon.LoadFromResource(ModuleInstance(), 1, 16);
    tray->SetIcon(icon);
    tray->SetActive(true);
    tray->SetActive(true);
    ASSERT_EQ(shell.notify.size(), 1u);
    const auto& add = shell.notify[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.data.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE));
    EXPECT_EQ(add.data.hWnd, tray->Handle());
    EXPECT_EQ(add.data.uID, 0u);
    EXPECT_EQ(add.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(add.data.uCallbackMessage, static_cast<UINT>(WM_USER + 1));
    EXPECT_NE(add.data.hIcon, nullptr);
    EXPECT_STREQ(add.data.szTip, L"Quennel 1.0");
    tray->SetActive(false);
    ASSERT_EQ(shell.notify.size(), 2u);
    EXPECT_EQ(shell.notify[1].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.notify[1].data.hWnd, tray->Handle());
    tray->SetActive(true);
    EXPECT_EQ(shell.notify.back().message, static_cast<DWORD>(NIM_ADD));
}

TEST_F(TrayFixture, ToolTipIsCutTo62CharactersAndModifiesOnlyWhileActive) {
    std::wstring t62(62, L'x'), t63 = t62 + L"y";
    tray->SetToolTip(t63);
    EXPECT_EQ(tray->ToolTip(), t62);
    EXPECT_TRUE(shell.notify.empty()); // inactive: the text only waits for the next add
    tray->SetToolTip(t62);
    EXPECT_EQ(tray->ToolTip(), t62);
    tray->SetActive(true);
    EXPECT_EQ(std::wstring(shell.notify.back().data.szTip), t62);
    tray->SetToolTip(t62); // the same text still modifies
    EXPECT_EQ(shell.notify.back().message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(shell.notify.size(), 2u);
}

TEST_F(TrayFixture, ToolTipCutNeverSplitsASurrogatePair) {
    std::wstring text(61, L'a');
    text += L"\U0001F600"; // units 62 and 63
    EXPECT_EQ(TTrayIcon::CutToolTip(text), std::wstring(61, L'a'));
    EXPECT_EQ(TTrayIcon::CutToolTip(L"短"), L"短");
}

TEST_F(TrayFixture, DestroyingAnActiveComponentDeletesTheIcon) {
    tray->SetActive(true);
    HWND w = tray->Handle();
    delete tray;
    tray = nullptr;
    ASSERT_EQ(shell.notify.size(), 2u);
    EXPECT_EQ(shell.notify[1].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.notify[1].data.hWnd, w);
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(TrayFixture, DoubleClickRaisesClickDoubleClickClickAndPressesRaiseNothing) {
    Notify(WM_LBUTTONDOWN);
    EXPECT_TRUE(events.empty());
    Notify(WM_LBUTTONUP);
    Notify(WM_LBUTTONDBLCLK);
    Notify(WM_LBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::wstring>{L"click", L"dblclick", L"click"}));
}

TEST_F(TrayFixture, RightClickCarriesTheCursorPositionAtHandlingTime) {
    shell.cursor = {1017, 745};
    EXPECT_EQ(Notify(WM_RBUTTONUP), 0);
    EXPECT_EQ(events, (std::vector<std::wstring>{L"right 1017,745"}));
}

TEST_F(TrayFixture, OtherMouseMessagesRaiseNothingAndEveryCallbackAnswersZero) {
    for (UINT m :
         {WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK})
        EXPECT_EQ(Notify(m), 0);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(shell.calls.empty()); // not even the cursor was read
}

TEST_F(TrayFixture, UnassignedEventsAreSkipped) {
    tray->OnClick = nullptr;
    tray->OnRightClick = nullptr;
    Notify(WM_LBUTTONUP);
    Notify(WM_RBUTTONUP);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(TrayFixture, OtherMessagesGetTheDefaultAnswerSoTheSessionMayEnd) {
    HWND w = tray->Handle();
    EXPECT_FALSE(GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(GetParent(w), nullptr); // top-level, so broadcasts reach it
    EXPECT_EQ(SendMessageW(w, WM_QUERYENDSESSION, 0, 0), TRUE);
    wchar_t text[16] = L"zz";
    EXPECT_EQ(SendMessageW(w, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text)), 9);
    EXPECT_STREQ(text, L"TTrayIcon");
}

TEST_F(TrayFixture, TaskbarRestartAddsTheIconAgainOnlyWhileActive) {
    UINT created = RegisterWindowMessageW(L"TaskbarCreated");
    SendMessageW(tray->Handle(), created, 0, 0);
    EXPECT_TRUE(shell.notify.empty());
    tray->SetActive(true);
    SendMessageW(tray->Handle(), created, 0, 0);
    ASSERT_EQ(shell.notify.size(), 2u);
    EXPECT_EQ(shell.notify[1].message, static_cast<DWORD>(NIM_ADD));
}

TEST_F(TrayFixture, DesignTimeFollowsShowDesigningOnly) {
    tray->SetDesigning(true);
    tray->SetActive(true);
    EXPECT_TRUE(shell.notify.empty());
    tray->SetShowDesigning(true);
    ASSERT_EQ(shell.notify.size(), 1u);
    EXPECT_EQ(shell.notify[0].message, static_cast<DWORD>(NIM_ADD));
    tray->SetDesigning(false);
    tray->SetShowDesigning(false); // at run time nothing at all happens
    EXPECT_TRUE(tray->ShowDesigning());
    EXPECT_EQ(shell.notify.size(), 1u);
}

} // namespace
