// The program's windows at the display density of the test's Wine prefix: 96 in the common prefix, 144
// and 192 in prefixes of their own (QUENNEL_EXPECT_PPI names the density the prefix was made with).
#include "tests/app/AppFixture.h"

#include "resources/resource.h"

#include <cstdlib>
#include <string>
#include <tuple>

namespace {

struct Dpi : AppFixture {
    const int ppi = SystemPPI();
    int S(int v) const { return ScaleValue(v, ppi); }
    static RECT Client(TForm* f) {
        RECT r;
        GetClientRect(f->Handle(), &r);
        return r;
    }
};

TEST_F(Dpi, ThePrefixHasItsDensityAndTheManifestAsksForPerDisplayScaling) {
    if (const char* expected = std::getenv("QUENNEL_EXPECT_PPI")) {
        EXPECT_EQ(ppi, std::atoi(expected));
    }
    HRSRC res = FindResourceW(ModuleInstance(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    ASSERT_NE(res, nullptr);
    std::string manifest(static_cast<const char*>(LockResource(LoadResource(ModuleInstance(), res))),
                         SizeofResource(ModuleInstance(), res));
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
}

TEST_F(Dpi, TheAboutCardIsItsLayoutScaledByTheOneRule) {
    mainform->Show();
    UpdateWindow(mainform->Handle());
    EXPECT_EQ(mainform->CurrentPPI(), ppi);
    RECT c = Client(mainform);
    EXPECT_EQ(c.right, S(306));
    EXPECT_EQ(c.bottom, S(196));
    if (ppi == 144) {
        EXPECT_EQ(c.right, 459);
        EXPECT_EQ(c.bottom, 294);
    }
    auto same = [](RECT a, RECT b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    EXPECT_TRUE(same(mainform->Panel2->BoundsRect(), ScaleRect({8, 48, 297, 153}, ppi)));
    EXPECT_TRUE(same(mainform->ZarButton1->BoundsRect(), ScaleRect({120, 160, 209, 190}, ppi)));
    EXPECT_TRUE(same(mainform->ZarPanel1->BoundsRect(), ScaleRect({1, 1, 305, 41}, ppi)));
    EXPECT_TRUE(same(mainform->E->BoundsRect(), ScaleRect({40, 32, 249, 57}, ppi)));
    EXPECT_EQ(mainform->E->Font().Height(), S(16));
    EXPECT_EQ(mainform->Image1->Picture().Width(), S(32));

    // The yellow panel: its lowered bevel is one scaled pixel, the yellow starts inside it.
    {
        win::WindowDC dc(mainform->Panel2->Handle());
        const int ring = S(1), mid = mainform->Panel2->Height() - ring - 2;
        EXPECT_EQ(GetPixel(dc, ring - 1, mid), ColorToRGB(clBtnShadow));
        EXPECT_EQ(GetPixel(dc, ring, mid), RGB(255, 255, 128));
        EXPECT_EQ(GetPixel(dc, mainform->Panel2->Width() - ring, mid), ColorToRGB(clBtnHighlight));
    }
    // The button's bevel: two rings of a scaled pixel each on the right, black outside, shadow inside.
    {
        UpdateWindow(mainform->ZarButton1->Handle());
        win::WindowDC dc(mainform->ZarButton1->Handle());
        const int ring = S(1), w = mainform->ZarButton1->Width(), mid = mainform->ZarButton1->Height() / 2;
        for (int k = 0; k < ring; ++k) {
            EXPECT_EQ(GetPixel(dc, w - 1 - k, mid), RGB(0, 0, 0)) << k;
            EXPECT_EQ(GetPixel(dc, w - 1 - ring - k, mid), ColorToRGB(clBtnShadow)) << k;
        }
        EXPECT_EQ(GetPixel(dc, w - 1 - 2 * ring, mid), ColorToRGB(clBtnFace));
    }
    // The glyph drawn is the strip for the density, pixel for pixel.
    {
        const int cell = ImageScaleFor(ppi) / 6; // 16, 24 or 32
        EXPECT_EQ(mainform->ZarButton1->Glyph().GlyphHeight(), cell);
        TBitmap strip;
        strip.LoadFromResource(ModuleInstance(), ScaledImageResource(ModuleInstance(), IDB_CARD_OK, ppi));
        ASSERT_EQ(strip.Height(), cell);
        win::MemoryDC s(nullptr);
        win::SelectObjectGuard sel(s, strip.Handle());
        win::WindowDC dc(mainform->ZarButton1->Handle());
        POINT g = mainform->ZarButton1->GlyphPosition();
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x)
                if (GetPixel(s, x, y) != ColorToRGB(clPurple)) {
                    ASSERT_EQ(GetPixel(dc, g.x + x, g.y + y), GetPixel(s, x, y)) << x << "," << y;
                }
    }
    mainform->Hide();

    // Every caption fits its control in the control's own (scaled) font, with the scaled 3-D offset.
    win::WindowDC screen(nullptr);
    auto fits = [&](const TControl* l, int room) {
        win::SelectObjectGuard font(screen, l->Font().Handle());
        SIZE extent{};
        GetTextExtentPoint32W(screen, l->Caption().c_str(), static_cast<int>(l->Caption().size()), &extent);
        EXPECT_LE(extent.cx + S(1), room) << win::ToUtf8(l->Name()) << ": " << win::ToUtf8(l->Caption());
    };
    for (TControl* l : {static_cast<TControl*>(mainform->ZarLabel1), static_cast<TControl*>(mainform->E),
                        static_cast<TControl*>(mainform->ZarLabel2), static_cast<TControl*>(mainform->Label1),
                        static_cast<TControl*>(mainform->ZarPanel1)})
        fits(l, l->Width());
    RECT caption = mainform->ZarButton1->CaptionRect();
    fits(mainform->ZarButton1, caption.right - caption.left);
}

TEST_F(Dpi, TheOtherWindowsAreTheirLayoutScaledAndTheTrayIconIsTheSmallIconSize) {
    for (auto [form, w, h] :
         {std::tuple<TForm*, int, int>{commandform, 309, 73}, {DTForm, 255, 82}, {infoform, 307, 200}}) {
        RECT c = Client(form);
        EXPECT_EQ(c.right, S(w)) << win::ToUtf8(form->Name());
        EXPECT_EQ(c.bottom, S(h)) << win::ToUtf8(form->Name());
        EXPECT_EQ(form->CurrentPPI(), ppi);
    }
    pmform->HandleNeeded();
    EXPECT_EQ(pmform->Width(), S(435));

    const int size = SystemMetricForPPI(SM_CXSMICON, ppi);
    if (ppi == 144) {
        EXPECT_EQ(size, 24);
    }
    if (ppi == 192) {
        EXPECT_EQ(size, 32);
    }
    SIZE icon = IconSize(mainform->TICON->Icon().Handle());
    EXPECT_EQ(icon.cx, size);
    EXPECT_EQ(icon.cy, size);
    EXPECT_EQ(mainform->TICON->NotifyData().hIcon, mainform->TICON->Icon().Handle());
}

// When the display's scaling changes, the system tells the top-level windows; the tray icon's window
// then loads the icon again at the notification area's small-icon size.
TEST_F(Dpi, TheTrayIconIsLoadedAgainWhenTheDisplayChanges) {
    TTrayIcon* tray = mainform->TICON;
    const int size = TTrayIcon::NotificationAreaIconSize();
    for (UINT message : {UINT(WM_DPICHANGED), UINT(WM_DISPLAYCHANGE), UINT(WM_SETTINGCHANGE)}) {
        tray->Icon().LoadFromResource(ModuleInstance(), IDI_QUENNEL, 48); // as if made for another display
        ASSERT_NE(tray->NotifyData().hIcon, tray->Icon().Handle());
        RECT same{0, 0, 0, 0};
        SendMessageW(tray->Handle(), message, MAKEWPARAM(ppi, ppi), reinterpret_cast<LPARAM>(&same));
        EXPECT_EQ(tray->Icon().Size(), size) << message;
        EXPECT_EQ(tray->NotifyData().hIcon, tray->Icon().Handle()) << message; // the shell has the new one
    }
}

} // namespace
