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

// Under high contrast every pixel of the card but its two pictures is of the system's pairs (window,
// link, button), or a blend of a pair at a text's edge; a colour change brings the card's own look back.
TEST_F(AboutCard, HighContrastPaintsOnlyTheSystemPairsAndAColourChangeEndsIt) {
    mainform->Show();
    HWND card = mainform->Handle();
    RECT client{};
    GetClientRect(card, &client);
    auto shot = [&](UINT message) {
        SendMessageW(card, message, SPI_SETHIGHCONTRAST, 0);
        RedrawWindow(card, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        win::WindowDC dc(card);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                pixels.push_back(GetPixel(dc, x, y));
        return pixels;
    };
    auto screenRect = [&](TControl* c, RECT r) {
        MapWindowPoints(c->Parent()->Handle(), card, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT image = screenRect(mainform->Image1, mainform->Image1->BoundsRect());
    const POINT g = mainform->ZarButton1->GlyphPosition();
    RECT glyph{g.x, g.y, g.x + mainform->ZarButton1->Glyph().GlyphWidth(),
               g.y + mainform->ZarButton1->Glyph().GlyphHeight()};
    MapWindowPoints(mainform->ZarButton1->Handle(), card, reinterpret_cast<POINT*>(&glyph), 2);
    const std::pair<TColor, TColor> pairs[] = {
        {clWindow, clWindowText}, {clWindow, clHotLight}, {clBtnFace, clBtnText}};
    auto onPair = [&](COLORREF p) {
        for (auto [back, text] : pairs) {
            const COLORREF a = ColorToRGB(back), b = ColorToRGB(text);
            int ch[3][3] = {{GetRValue(a), GetRValue(b), GetRValue(p)},
                            {GetGValue(a), GetGValue(b), GetGValue(p)},
                            {GetBValue(a), GetBValue(b), GetBValue(p)}};
            auto* widest = std::max_element(std::begin(ch), std::end(ch), [](auto& l, auto& r) {
                return std::abs(l[1] - l[0]) < std::abs(r[1] - r[0]);
            });
            const double t = (*widest)[1] == (*widest)[0]
                                 ? 0.0
                                 : double((*widest)[2] - (*widest)[0]) / ((*widest)[1] - (*widest)[0]);
            if (t < -0.02 || t > 1.02) continue;
            if (std::all_of(std::begin(ch), std::end(ch),
                            [&](auto& c) { return std::abs(c[0] + t * (c[1] - c[0]) - c[2]) <= 3; }))
                return true;
        }
        return false;
    };
    shell.highContrast = true;
    const auto plain = shot(WM_SETTINGCHANGE);
    int foreign = 0;
    for (int i = 0; i < static_cast<int>(plain.size()); ++i) {
        const POINT p{i % client.right, i / client.right};
        if (PtInRect(&image, p) || PtInRect(&glyph, p) || onPair(plain[i])) continue;
        if (foreign++ == 0) ADD_FAILURE() << "at " << p.x << "," << p.y << ": " << std::hex << plain[i];
    }
    EXPECT_EQ(foreign, 0);
    shell.highContrast = false;
    const RECT panel = screenRect(mainform->Panel2, mainform->Panel2->BoundsRect());
    EXPECT_EQ(shot(WM_SYSCOLORCHANGE)[(panel.top + 3) * client.right + panel.left + 3], RGB(255, 255, 128));
    mainform->Hide();
}

} // namespace
