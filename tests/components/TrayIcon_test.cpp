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
        tray->OnSelect = [this](TObject*) { events.push_back(L"select"); };
        tray->OnContextMenu = [this](TObject*, int x, int y) {
            events.push_back(L"menu " + std::to_wstring(x) + L"," + std::to_wstring(y));
        };
    }
    std::vector<DWORD> Messages() const {
        std::vector<DWORD> list;
        for (const auto& call : shell.notify)
            list.push_back(call.message);
        return list;
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
    EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_SETVERSION}));
    const auto& add = shell.notify[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.data.cbSize, static_cast<DWORD>(sizeof(NOTIFYICONDATAW)));
    EXPECT_EQ(add.data.hWnd, tray->Handle());
    EXPECT_EQ(add.data.uID, 0u);
    EXPECT_EQ(add.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP));
    EXPECT_EQ(add.data.uCallbackMessage, static_cast<UINT>(WM_USER + 1));
    EXPECT_NE(add.data.hIcon, nullptr);
    EXPECT_STREQ(add.data.szTip, L"Quennel 1.0");
    EXPECT_EQ(shell.notify[1].data.uVersion, static_cast<UINT>(NOTIFYICON_VERSION_4));
    EXPECT_EQ(shell.notify[1].data.hWnd, tray->Handle());
    EXPECT_TRUE(tray->Version4());
    tray->SetActive(false);
    ASSERT_EQ(shell.notify.size(), 3u);
    EXPECT_EQ(shell.notify[2].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.notify[2].data.hWnd, tray->Handle());
    tray->SetActive(true);
    EXPECT_EQ(shell.notify.back().message, static_cast<DWORD>(NIM_SETVERSION)); // the re-add asks again
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
    EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_SETVERSION, NIM_MODIFY}));
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
    ASSERT_EQ(shell.notify.size(), 3u);
    EXPECT_EQ(shell.notify[2].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.notify[2].data.hWnd, w);
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(TrayFixture, DoubleClickRaisesClickDoubleClickClickAndPressesRaiseNothing) {
    Notify(WM_LBUTTONDOWN);
    EXPECT_TRUE(events.empty());
    Notify(WM_LBUTTONUP);
    Notify(WM_LBUTTONDBLCLK);
    Notify(WM_LBUTTONUP);
    // A shell of the first version sends no selection: the release is the choice.
    EXPECT_EQ(events, (std::vector<std::wstring>{L"click", L"select", L"dblclick", L"click", L"select"}));
}

TEST_F(TrayFixture, RightClickCarriesTheCursorPositionAtHandlingTime) {
    shell.cursor = {1017, 745};
    EXPECT_EQ(Notify(WM_RBUTTONUP), 0);
    EXPECT_EQ(events, (std::vector<std::wstring>{L"right 1017,745", L"menu 1017,745"}));
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
    tray->OnSelect = nullptr;
    tray->OnContextMenu = nullptr;
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
    EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_SETVERSION, NIM_ADD, NIM_SETVERSION}));
}

TEST_F(TrayFixture, DesignTimeFollowsShowDesigningOnly) {
    tray->SetDesigning(true);
    tray->SetActive(true);
    EXPECT_TRUE(shell.notify.empty());
    tray->SetShowDesigning(true);
    EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_SETVERSION}));
    tray->SetDesigning(false);
    tray->SetShowDesigning(false); // at run time nothing at all happens
    EXPECT_TRUE(tray->ShowDesigning());
    EXPECT_EQ(shell.notify.size(), 2u);
}

// The version-4 callbacks: the event in the low word and the icon's id in the high word, the anchor in
// wParam; a choice once per press, the menu at the anchor.
TEST_F(TrayFixture, VersionFourCallbacksChooseOnceAndOpenTheMenuAtTheAnchor) {
    struct Case {
        const char* what;
        std::vector<UINT> sent;
        std::vector<std::wstring> heard;
    };
    const Case cases[] = {
        {"a click: the release, then its selection", {WM_LBUTTONUP, NIN_SELECT}, {L"click", L"select"}},
        {"Space on the icon", {NIN_KEYSELECT}, {L"select"}},
        {"a right click: the release, then the menu request",
         {WM_RBUTTONUP, WM_CONTEXTMENU},
         {L"right 5,6", L"menu 300,-40"}},
        {"Shift+F10", {WM_CONTEXTMENU}, {L"menu 300,-40"}},
        {"a double click", {WM_LBUTTONDBLCLK}, {L"dblclick"}},
    };
    tray->SetActive(true);
    ASSERT_TRUE(tray->Version4());
    shell.cursor = {5, 6};
    for (const Case& c : cases) {
        events.clear();
        for (UINT e : c.sent)
            SendMessageW(tray->Handle(), TTrayIcon::CallbackMessage, MAKEWPARAM(300, -40), MAKELPARAM(e, 0));
        EXPECT_EQ(events, c.heard) << c.what;
    }
    tray->ReturnFocus();
    EXPECT_EQ(shell.notify.back().message, static_cast<DWORD>(NIM_SETFOCUS));
    EXPECT_EQ(shell.notify.back().data.hWnd, tray->Handle());
}

// At sign-in the shell may refuse the icon: it is offered again on a timer, a bounded number of times.
TEST_F(TrayFixture, ARefusedIconIsOfferedAgainForABoundedTime) {
    shell.notifyResult = FALSE;
    tray->SetActive(true);
    for (UINT i = 0; i <= TTrayIcon::kAddRetries; ++i)
        SendMessageW(tray->Handle(), WM_TIMER, TTrayIcon::kAddRetryTimer, 0);
    EXPECT_EQ(Messages(), std::vector<DWORD>(TTrayIcon::kAddRetries + 1, NIM_ADD));
}

// The menu's corner for a taskbar on each edge of a monitor (named by the shell, or seen in the work area),
// on the primary monitor and on one beside it.
TEST(WorkAreaCorner, IsOnTheTaskbarsSide) {
    const struct {
        RECT all, work;
        UINT edge; // ~0u: the shell names none for this monitor
        POINT corner;
    } cases[] = {
        {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, ABE_BOTTOM, {1920, 1040}},
        {{0, 0, 1920, 1080}, {0, 40, 1920, 1080}, ABE_TOP, {1920, 40}},
        {{0, 0, 1920, 1080}, {60, 0, 1920, 1080}, ABE_LEFT, {60, 1080}},
        {{0, 0, 1920, 1080}, {0, 0, 1860, 1080}, ABE_RIGHT, {1860, 1080}},
        {{0, 0, 1920, 1080}, {0, 0, 1920, 1080}, ABE_TOP, {1920, 0}}, // hidden until the pointer comes
        {{1920, 0, 3200, 1024}, {1920, 30, 3200, 1024}, ~0u, {3200, 30}},
        {{1920, 0, 3200, 1024}, {1980, 0, 3200, 1024}, ~0u, {1980, 1024}},
    };
    for (const auto& c : cases) {
        const POINT p = WorkAreaCorner({sizeof(MONITORINFO), c.all, c.work, 0}, c.edge);
        EXPECT_TRUE(p.x == c.corner.x && p.y == c.corner.y) << p.x << "," << p.y;
    }
}

} // namespace
