#include "tests/app/AppFixture.h"

#include "framework/Hints.h"

namespace {

using AboutCard = AppFixture;

void ClickAt(HWND w, int x, int y) {
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

TEST_F(AboutCard, LinksOpenMailAndHomepageAndLeaveTheCardOpen) {
    mainform->Show();
    HWND panel = mainform->Panel2->Handle();
    ClickAt(panel, mainform->E->Left() + 5, mainform->E->Top() + 5);
    ClickAt(panel, mainform->ZarLabel2->Left() + 5, mainform->ZarLabel2->Top() + 5);
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0],
              std::wstring(L"ShellExecute null \"mailto:") + author::Mail + L"\" null null 1");
    EXPECT_EQ(shell.calls[1], std::wstring(L"ShellExecute null \"") + author::Homepage + L"\" null null 1");
    EXPECT_TRUE(mainform->Visible());
    mainform->Hide();
}

TEST_F(AboutCard, OnlyTheLinksCarryHintsAndTheHandCursor) {
    mainform->Show();
    HWND panel = mainform->Panel2->Handle();
    auto pointAt = [&](TControl* c) {
        SendMessageW(panel, WM_MOUSEMOVE, 0, MAKELPARAM(c->Left() + 3, c->Top() + 3));
    };
    for (TControl* link :
         {static_cast<TControl*>(mainform->E), static_cast<TControl*>(mainform->ZarLabel2)}) {
        pointAt(link);
        ASSERT_TRUE(test::PumpUntil([&] {
            const THintWindow* h = mainform->Panel2->HintWindow();
            return h && h->Showing() && h->Text() == link->Hint();
        })) << win::ToUtf8(link->Name());
    }
    EXPECT_EQ(mainform->E->Hint(), L"发电子邮件给Tamsel");
    EXPECT_EQ(mainform->ZarLabel2->Hint(), L"浏览Tamsel的个人主页");
    pointAt(mainform->ZarLabel1);
    EXPECT_EQ(mainform->Panel2->HintControl(), nullptr);
    EXPECT_FALSE(mainform->Panel2->HintWindow()->Showing());
    EXPECT_EQ(mainform->E->Cursor(), IDC_HAND);
    EXPECT_EQ(mainform->ZarLabel1->Cursor(), IDC_ARROW);
    mainform->Hide();
}

TEST_F(AboutCard, PictureShowsTheGreetingWithTheTaskbarEntryPresent) {
    std::wstring text;
    bool taskbar = false;
    test::WhenWindowAppears(L"#32770", [&](HWND box) {
        wchar_t caption[64];
        GetWindowTextW(box, caption, 64);
        text = std::wstring(caption) + L"|" + win::WindowText(GetDlgItem(box, 0xFFFF));
        taskbar = Application->TaskbarEntryVisible();
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    mainform->Image1Click(nullptr);
    EXPECT_EQ(text, L"Quennel|Tamsel在这里向您问好！祝愿您好运永远.");
    EXPECT_TRUE(taskbar);
}

TEST_F(AboutCard, TitleBandAndButtonAreTheDecoratedOnes) {
    EXPECT_EQ(mainform->ZarPanel1->Caption(), L"Quennel V1.0");
    EXPECT_TRUE(mainform->ZarPanel1->DlgFrame());
    EXPECT_EQ(mainform->ZarPanel1->FrameInner().Solid(), 8453888);
    EXPECT_EQ(mainform->ZarButton1->Glyph().GlyphWidth(), 16);
    EXPECT_EQ(mainform->ZarButton1->Glyph().TransparentColor(), clPurple);
    EXPECT_EQ(mainform->Panel2->Color(), 8454143);
    EXPECT_EQ(mainform->ZarLabel1->Font3D().Style3D(), fontOnlyHighlight);
    EXPECT_TRUE(mainform->ZarLabel2->Transparent());
}

// The labels show the panel's yellow wherever their text is not, and every caption fits its control in
// the control's own font (with a pixel for the 3-D offset).
TEST_F(AboutCard, LabelsShowThePanelsColourAndEveryCaptionFits) {
    mainform->Show();
    UpdateWindow(mainform->Panel2->Handle());
    for (TControl* l : {static_cast<TControl*>(mainform->ZarLabel1), static_cast<TControl*>(mainform->E)}) {
        win::WindowDC dc(mainform->Panel2->Handle());
        EXPECT_EQ(GetPixel(dc, l->Left() + l->Width() - 1, l->Top() + l->Height() / 2), RGB(255, 255, 128))
            << win::ToUtf8(l->Name());
    }
    mainform->Hide();
    win::WindowDC screen(nullptr);
    for (TControl* l :
         {static_cast<TControl*>(mainform->ZarLabel1), static_cast<TControl*>(mainform->E),
          static_cast<TControl*>(mainform->ZarLabel2), static_cast<TControl*>(mainform->Label1)}) {
        win::SelectObjectGuard font(screen, l->Font().Handle());
        SIZE extent{};
        GetTextExtentPoint32W(screen, l->Caption().c_str(), static_cast<int>(l->Caption().size()), &extent);
        EXPECT_LE(extent.cx + 1, l->Width()) << win::ToUtf8(l->Name()) << ": " << win::ToUtf8(l->Caption());
    }
}

} // namespace
