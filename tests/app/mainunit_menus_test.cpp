#include "tests/app/AppFixture.h"

namespace {

using Menus = AppFixture;

TEST_F(Menus, ItemsCaptionsAndHintsAreTheProgramsOwn) {
    const wchar_t* quick[][2] = {{L"运行记事本", L"打开记事本程序"},
                                 {L"日期和时间", L"显示当前日期及日期"},
                                 {L"观看剪贴板", L"查看剪贴板内容"},
                                 {L"贴个人信息", L"把个人信息复制到剪贴板"},
                                 {L"运行程序", L"运行程序"},
                                 {L"重新启动", L"重新启动计算机"},
                                 {L"重新登录", L"关闭计算机并以其他用户登录"},
                                 {L"关闭电脑", L"安全关闭计算机"},
                                 {L"返回系统", L"关闭此菜单"}};
    ASSERT_EQ(mainform->popmenu->Count(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(mainform->popmenu->Items(i)->Caption(), quick[i][0]);
        EXPECT_EQ(mainform->popmenu->Items(i)->Hint(), quick[i][1]);
    }
    ASSERT_EQ(mainform->PopupMenu1->Count(), 4);
    EXPECT_EQ(mainform->N12->Break(), TMenuBreak::mbBreak);
    EXPECT_EQ(mainform->N1->Caption(), L"关于\"Quennel\"");
    EXPECT_EQ(mainform->N15->Caption(), L"退出\"Quennel\"");
    EXPECT_EQ(mainform->N15->Hint(), L"退出软件\"Quennel\"");
    EXPECT_EQ(mainform->N11->Caption(), L"返回系统");
}

TEST_F(Menus, QuickActionRulesReadTheWindowsAtOpening) {
    mainform->Show();
    mainform->popmenuPopup(nullptr);
    EXPECT_EQ(mainform->N3->Caption(), L"打开剪贴板");
    EXPECT_FALSE(mainform->N2->Enabled()); // the about card is shown
    EXPECT_TRUE(mainform->N8->Enabled());
    EXPECT_TRUE(mainform->N4->Enabled());
    mainform->Hide();
    pmform->Show();
    DTForm->Show();
    mainform->popmenuPopup(nullptr);
    EXPECT_EQ(mainform->N3->Caption(), L"关闭剪贴板");
    EXPECT_TRUE(mainform->N2->Enabled());
    EXPECT_FALSE(mainform->N8->Enabled());
    SendMessageW(pmform->Handle(), WM_CLOSE, 0, 0); // its close box
    DTForm->Close();
    mainform->popmenuPopup(nullptr);
    EXPECT_EQ(mainform->N3->Caption(), L"打开剪贴板");
    EXPECT_TRUE(mainform->N8->Enabled());
}

TEST_F(Menus, ClipboardCommandTogglesTheWindowByTheCaptionSetAtOpening) {
    mainform->popmenuPopup(nullptr);
    mainform->N3Click(nullptr);
    EXPECT_TRUE(pmform->Visible());
    EXPECT_NE(pmform->ZarClipboard1->Handle(), nullptr);
    mainform->popmenuPopup(nullptr);
    mainform->N3Click(nullptr);
    EXPECT_FALSE(pmform->Visible());
}

TEST_F(Menus, ExitCommandsPassExactFlagsAndNotepadStartsFromTheWindowsDirectory) {
    shell.endSessionResult = FALSE; // the test program keeps running
    mainform->N6Click(nullptr);
    mainform->N7Click(nullptr);
    mainform->N5Click(nullptr);
    std::vector<std::wstring> exits;
    for (const auto& c : shell.calls)
        if (c.rfind(L"ExitWindows", 0) == 0) exits.push_back(c);
    EXPECT_EQ(exits, (std::vector<std::wstring>{L"ExitWindows 2", L"ExitWindows 0", L"ExitWindows 1"}));
    EXPECT_EQ(mainform->WExit->ExitType(), xShutDown);
    wchar_t dir[MAX_PATH];
    GetWindowsDirectoryW(dir, MAX_PATH);
    mainform->N2Click(nullptr);
    EXPECT_EQ(shell.calls.back(), L"StartProcess \"" + std::wstring(dir) + L"\\NOTEPAD.EXE\" 1");
}

TEST(NotepadCommand, ADirectoryThatDoesNotFitStartsNothing) {
    EXPECT_EQ(NotepadCommand(L"C:\\WINDOWS", 10), L"\"C:\\WINDOWS\\NOTEPAD.EXE\"");
    EXPECT_EQ(NotepadCommand(L"", 0), L"");
    EXPECT_EQ(NotepadCommand(L"", 100), L"");
    EXPECT_EQ(NotepadCommand(L"", 250), L"");
}

TEST_F(Menus, AboutShowsTheCardOnlyWhenHiddenAndNothingElseHappensForReturnItems) {
    mainform->N1Click(nullptr);
    EXPECT_TRUE(mainform->Visible());
    mainform->N9Click(nullptr);
    EXPECT_TRUE(shell.calls.empty());
    mainform->Hide();
}

TEST_F(Menus, EditorItemIsGreyedWhileTheEditorIsOpen) {
    mainform->PopupMenu1Popup(nullptr);
    EXPECT_TRUE(mainform->N12->Enabled());
    infoform->Show();
    mainform->PopupMenu1Popup(nullptr);
    EXPECT_FALSE(mainform->N12->Enabled());
    infoform->Hide();
}

TEST_F(Menus, TrayClickOpensTheQuickMenuAndTheChosenCommandRunsAfterItCloses) {
    mainform->ZarButton1Click(nullptr); // the card goes, the icon comes
    bool menuOpenWhenRun = true;
    pmform->OnShow = [&](TObject*) { menuOpenWhenRun = mainform->popmenu->Tracking(); };
    int openings = 0;
    mainform->popmenu->OnPopup = [&, opened = mainform->popmenu->OnPopup](TObject* s) {
        ++openings;
        opened(s);
    };
    test::WhenWindowAppears(L"#32768", [](HWND menu) {
        // Enter's second report, while the menu it opened is up: the same press.
        SendMessageW(mainform->TICON->Handle(), TTrayIcon::CallbackMessage, 0, MAKELPARAM(NIN_KEYSELECT, 0));
        for (int i = 0; i < 3; ++i)
            test::PostKey(menu, VK_DOWN);
        test::PostKey(menu, VK_RETURN);
    });
    for (UINT event : {UINT{WM_LBUTTONUP}, UINT{NIN_SELECT}}) // what a click brings
        SendMessageW(mainform->TICON->Handle(), TTrayIcon::CallbackMessage, 0, event);
    EXPECT_TRUE(pmform->Visible()) << "the third item did not open the clipboard window";
    EXPECT_FALSE(menuOpenWhenRun);
    EXPECT_EQ(openings, 1);
    pmform->Hide();
}

TEST_F(Menus, EscapeDismissesTheProgramMenuAtItsAnchorAndGivesTheFocusBack) {
    mainform->ZarButton1Click(nullptr);
    RECT at{};
    test::WhenWindowAppears(L"#32768", [&](HWND menu) {
        GetWindowRect(menu, &at);
        test::PostKey(menu, VK_ESCAPE);
    });
    SendMessageW(mainform->TICON->Handle(), TTrayIcon::CallbackMessage, MAKEWPARAM(200, 210),
                 MAKELPARAM(WM_CONTEXTMENU, 0));
    EXPECT_EQ(at.left, 200);
    EXPECT_EQ(at.top, 210);
    EXPECT_EQ(shell.notify.back().message, static_cast<DWORD>(NIM_SETFOCUS));
    EXPECT_FALSE(mainform->popmenu->Tracking());
    EXPECT_FALSE(infoform->Visible());
    EXPECT_FALSE(mainform->Visible());
}

} // namespace
