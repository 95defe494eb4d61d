#include "tests/app/AppFixture.h"

namespace {

TEST(DirectoryPart, FollowsTheLastSeparatorAndKeepsRoots) {
    EXPECT_EQ(DirectoryPart(L"C:\\WINDOWS\\NOTEPAD.EXE"), L"C:\\WINDOWS");
    EXPECT_EQ(DirectoryPart(L"C:\\SETUP.EXE"), L"C:\\");
    EXPECT_EQ(DirectoryPart(L"D:GAME.EXE"), L"D:");
    EXPECT_EQ(DirectoryPart(L"\\\\HOST\\SHARE\\X.EXE"), L"\\\\HOST\\SHARE");
    EXPECT_EQ(DirectoryPart(L"notepad"), L"");
    EXPECT_EQ(DirectoryPart(L""), L"");
    EXPECT_EQ(DirectoryPart(L"\\X.EXE"), L"\\");
    EXPECT_EQ(DirectoryPart(L"C:\\程序\\软件.exe"), L"C:\\程序");
}

struct RunDialog : AppFixture {
    std::vector<std::wstring> History() {
        std::vector<std::wstring> h;
        for (int i = 0; i < commandform->CBOX->ItemCount(); ++i)
            h.push_back(commandform->CBOX->Items(i));
        return h;
    }
    // Opens the dialog modally and runs the action once it is up.
    void Open(std::function<void()> action) {
        commandform->OnShow = [action](TObject*) {
            test::WhenWindowAppears(L"输入命令行", [action](HWND) { action(); });
        };
        commandform->ShowModal();
    }
};

TEST_F(RunDialog, LayoutAndRoles) {
    EXPECT_EQ(commandform->Caption(), L"输入命令行");
    EXPECT_EQ(commandform->BitBtn1->Caption(), L"确定");
    EXPECT_TRUE(commandform->BitBtn1->Default());
    EXPECT_EQ(commandform->BitBtn2->Caption(), L"放弃");
    EXPECT_TRUE(commandform->BitBtn2->Cancel());
    EXPECT_EQ(commandform->BitBtn3->Caption(), L"浏览");
    EXPECT_EQ(commandform->DOpen->Filter(),
              L"Executable files [*.EXE; *.COM ; *.BAT ]|*.com;*.bat;*.exe|All Files [*.*]|*.*");
    EXPECT_EQ(commandform->FExecute->ExeStyle(), osDefault);
}

TEST_F(RunDialog, EnterRunsTheTextOnceAddsItToTheHistoryAndCloses) {
    commandform->CBOX->SetText(L"notepad");
    Open([&] {
        EXPECT_EQ(GetFocus(), commandform->CBOX->EditHandle()) << "the combo box has the focus at first";
        test::PostKey(commandform->CBOX->EditHandle(), VK_RETURN);
    });
    EXPECT_FALSE(commandform->Visible());
    ASSERT_EQ(shell.executes.size(), 1u);
    EXPECT_EQ(shell.executes[0].file, L"notepad");
    EXPECT_EQ(shell.executes[0].dir, L"");
    EXPECT_FALSE(shell.executes[0].dirNull);
    EXPECT_EQ(History(), (std::vector<std::wstring>{L"notepad"}));
    // Again: two equal entries, oldest first; the text survives between openings.
    Open([&] { test::PostKey(commandform->CBOX->EditHandle(), VK_RETURN); });
    EXPECT_EQ(History(), (std::vector<std::wstring>{L"notepad", L"notepad"}));
    EXPECT_EQ(commandform->CBOX->Text(), L"notepad");
}

// Ctrl+Shift+Enter, typed for real, runs the text as administrator, its variables expanded for the shell
// and its folder, keeps what was typed in the history, and closes as Enter does, also when refused.
TEST_F(RunDialog, CtrlShiftEnterRunsTheExpandedTextAsAdministrator) {
    SetEnvironmentVariableW(L"QUENNEL_TOOLS", L"C:\\程序 x");
    shell.executeResult = FALSE;
    commandform->CBOX->SetText(L"%QUENNEL_TOOLS%\\c.exe");
    Open([&] {
        test::BringToFront(commandform->Handle());
        test::SendKey(VK_RETURN, true, true);
    });
    const auto& run = shell.executes.at(0);
    EXPECT_EQ(run.file + L"|" + run.dir + L"|" + run.verb, L"C:\\程序 x\\c.exe|C:\\程序 x|runas");
    EXPECT_EQ(History(), std::vector<std::wstring>{L"%QUENNEL_TOOLS%\\c.exe"});
}

TEST_F(RunDialog, EscapeClosesWithoutRunningOrAddingToTheHistory) {
    Open([&] { test::PostKey(commandform->CBOX->EditHandle(), VK_ESCAPE); });
    EXPECT_FALSE(commandform->Visible());
    EXPECT_TRUE(shell.executes.empty());
    EXPECT_TRUE(History().empty());
}

TEST_F(RunDialog, BrowseSetsTheChosenPathAndRunsItInItsFolder) {
    commandform->DOpen->Chooser = [](TOpenDialog& d) {
        d.SetFileName(L"C:\\TOOLS\\A.EXE");
        return true;
    };
    Open([&] { commandform->BitBtn3Click(nullptr); });
    ASSERT_EQ(shell.executes.size(), 1u);
    EXPECT_EQ(shell.executes[0].file, L"C:\\TOOLS\\A.EXE");
    EXPECT_EQ(shell.executes[0].dir, L"C:\\TOOLS");
    EXPECT_EQ(commandform->CBOX->Text(), L"C:\\TOOLS\\A.EXE");
    EXPECT_FALSE(commandform->Visible());
}

TEST_F(RunDialog, CancelledBrowseRunsTheTextShownBefore) {
    commandform->CBOX->SetText(L"calc");
    commandform->DOpen->Chooser = [](TOpenDialog&) { return false; };
    Open([&] { commandform->BitBtn3Click(nullptr); });
    ASSERT_EQ(shell.executes.size(), 1u);
    EXPECT_EQ(shell.executes[0].file, L"calc");
    EXPECT_EQ(History(), (std::vector<std::wstring>{L"calc"}));
}

TEST_F(RunDialog, BrowseGlyphHasItsOwnDisabledImage) {
    BUTTON_IMAGELIST list{};
    SendMessageW(commandform->BitBtn3->Handle(), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
    HIMAGELIST images = list.himl;
    ASSERT_NE(images, nullptr);
    ASSERT_EQ(ImageList_GetImageCount(images), 6);
    win::WindowDC screen(nullptr);
    win::MemoryDC dc(screen);
    win::Bitmap bmp(CreateCompatibleBitmap(screen, 32, 16));
    win::SelectObjectGuard sel(dc, bmp.get());
    ImageList_Draw(images, 0, dc, 0, 0, ILD_NORMAL);
    ImageList_Draw(images, 3, dc, 16, 0, ILD_NORMAL);
    EXPECT_EQ(GetPixel(dc, 8, 8), RGB(255, 255, 0));
    EXPECT_EQ(GetPixel(dc, 24, 8), RGB(192, 192, 192));
}

} // namespace
