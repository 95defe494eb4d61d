#include "components/ZarTButton.h"
#include "components/ZarTLabel.h"
#include "components/ZarTPanel.h"
#include "resources/resource.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Paints on a white memory bitmap of the size and answers the pixels through `at`.
struct Canvas {
    TBitmap bitmap;
    win::MemoryDC dc{nullptr};
    win::SelectObjectGuard selected;
    Canvas(int w, int h) : bitmap(w, h), selected(dc, bitmap.Handle()) {}
    COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }
};

struct ScaledDecorated : ::testing::Test {
    TForm* form = New<TForm>(Application);
    ScaledDecorated() {
        form->SetClientSize(300, 200);
        form->HandleNeeded(); // a new window takes its display's density: this one is made first
        form->ChangeScale(144);
    }
    ~ScaledDecorated() override { delete form; }
    template <typename T> T* Make(int w, int h) {
        T* c = New<T>(form);
        c->SetBounds(0, 0, w, h);
        c->SetParent(form); // scaled as it goes in
        return c;
    }
};

TEST_F(ScaledDecorated, FramesAndBevelsAreAsThickAsTheirScaledWidth) {
    auto* label = Make<TZarLabel>(60, 20);
    label->Frame().SetFrameStyle(frameRaised);
    label->Frame().SetFrameWidth(1);
    label->SetCaption(L"");
    ASSERT_EQ(label->Width(), 90);
    Canvas c(label->Width(), label->Height());
    label->Paint(c.dc);
    const int mid = label->Height() / 2;
    // One design pixel is two at 150 %: two highlight columns on the left, two shadow ones on the right.
    for (int x : {0, 1})
        EXPECT_EQ(c.at(x, mid), ColorToRGB(clBtnHighlight)) << x;
    EXPECT_NE(c.at(2, mid), ColorToRGB(clBtnHighlight));
    for (int x : {89, 88})
        EXPECT_EQ(c.at(x, mid), ColorToRGB(clBtnShadow)) << x;
    EXPECT_NE(c.at(87, mid), ColorToRGB(clBtnShadow));

    auto* panel = Make<TZarPanel>(100, 40);
    panel->SetDlgFrame(true);
    panel->SetBorderwidth(0);
    panel->HandleNeeded();
    Canvas p(panel->Width(), panel->Height());
    panel->PaintFace(p.dc);
    const int pm = panel->Height() / 2, right = panel->Width() - 1;
    EXPECT_EQ(p.at(0, pm), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(p.at(1, pm), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(p.at(right, pm), RGB(0, 0, 0));
    EXPECT_EQ(p.at(right - 1, pm), RGB(0, 0, 0));
    EXPECT_EQ(p.at(right - 2, pm), ColorToRGB(clBtnShadow));
    EXPECT_EQ(p.at(right - 3, pm), ColorToRGB(clBtnShadow));
    EXPECT_EQ(p.at(right - 4, pm), ColorToRGB(clBtnFace));
}

TEST_F(ScaledDecorated, TheButtonDrawsTheStripForItsDensityInItsScaledPlaces) {
    auto* b = Make<TZarButton>(89, 30);
    b->SetCaption(L"确定");
    b->Glyph().LoadFromResource(ModuleInstance(), IDB_CARD_OK);
    b->Glyph().SetTransparentColor(clPurple);
    EXPECT_EQ(b->Glyph().GlyphHeight(), 24);
    EXPECT_EQ(b->Glyph().GlyphWidth(), 24);
    EXPECT_EQ(b->Width(), 134);
    EXPECT_EQ(b->Height(), 45);
    EXPECT_EQ(b->GlyphPosition().x, 5); // the face's edge, then one and two design pixels, scaled
    EXPECT_EQ(b->GlyphPosition().y, 10);
    EXPECT_EQ(b->CaptionRect().left, 24 + 3);
    EXPECT_EQ(b->CaptionRect().right, 134 - 3);

    b->HandleNeeded();
    Canvas c(b->Width(), b->Height());
    b->PaintFace(c.dc);
    const int mid = b->Height() / 2, right = b->Width() - 1;
    EXPECT_EQ(c.at(right, mid), RGB(0, 0, 0));
    EXPECT_EQ(c.at(right - 1, mid), RGB(0, 0, 0));
    EXPECT_EQ(c.at(right - 2, mid), ColorToRGB(clBtnShadow));
    EXPECT_EQ(c.at(right - 3, mid), ColorToRGB(clBtnShadow));
    EXPECT_EQ(c.at(right - 4, mid), ColorToRGB(clBtnFace));
    EXPECT_EQ(c.at(0, mid), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(c.at(1, mid), ColorToRGB(clBtnHighlight));
    // Every pixel of the 1.5x strip's first cell but the key is on the face where the glyph goes.
    TBitmap strip;
    strip.LoadFromResource(ModuleInstance(), IDB_CARD_OK_150);
    win::MemoryDC s(nullptr);
    win::SelectObjectGuard sel(s, strip.Handle());
    POINT g = b->GlyphPosition();
    int drawn = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            COLORREF want = GetPixel(s, x, y);
            if (want == ColorToRGB(clPurple)) continue;
            ++drawn;
            ASSERT_EQ(c.at(g.x + x, g.y + y), want) << x << "," << y;
        }
    EXPECT_GT(drawn, 40);

    // Back at 100 % the button takes the 1x strip again; at 200 % the 2x one.
    form->ChangeScale(kDesignPPI);
    EXPECT_EQ(b->Glyph().GlyphHeight(), 16);
    EXPECT_EQ(b->Width(), 89);
    form->ChangeScale(192);
    EXPECT_EQ(b->Glyph().GlyphHeight(), 32);
}

// The passes of a 3-D text, for a caption and for a text filled with a background, are the ones at
// 100 % scaled: where the face goes, where the repetition copies start and how many there are (one
// pixel apart). At 150 % lengths rounded one by one may differ from a sum rounded once by a pixel.
TEST_F(ScaledDecorated, TheTextPassesAreTheDesignOnesAtTheirDensity) {
    using Layout = TZarFont3D::TPassLayout;
    auto* label = Make<TZarLabel>(60, 20);
    TZarFont3D& f = label->Font3D();
    f.SetRepetitionwidth(3);
    f.SetRepetitionColor(clRed);
    struct Passes {
        POINT face, first;
        int copies;
    };
    auto passes = [&](Layout layout) {
        Passes p{{}, {}, 0};
        RECT r = ScaleRect({0, 0, 200, 100}, label->CurrentPPI());
        const RECT whole = r;
        f.DrawPasses(r, layout, [&](TColor c, RECT at) {
            if (c == clRed && p.copies++ == 0) p.first = {at.left - whole.left, at.top - whole.top};
        });
        p.face = {r.left - whole.left, r.top - whole.top};
        return p;
    };
    for (Layout layout : {Layout::Caption, Layout::BackgroundText})
        for (TZarRepeat repeat : {repeatOnShadow, repeatOnHighLight}) {
            f.SetRepetition(repeat);
            form->ChangeScale(kDesignPPI);
            const Passes design = passes(layout);
            for (int ppi : {144, 192}) {
                form->ChangeScale(ppi);
                const Passes p = passes(layout);
                const int slack = ppi == 192 ? 0 : 1;
                SCOPED_TRACE(testing::Message() << "layout " << static_cast<int>(layout) << ", repetition "
                                                << static_cast<int>(repeat) << ", " << ppi << " ppi");
                EXPECT_EQ(p.copies, ScaleValue(design.copies, ppi));
                EXPECT_NEAR(p.face.x, ScaleValue(design.face.x, ppi), slack);
                EXPECT_NEAR(p.face.y, ScaleValue(design.face.y, ppi), slack);
                EXPECT_NEAR(p.first.x, ScaleValue(design.first.x, ppi), slack);
                EXPECT_NEAR(p.first.y, ScaleValue(design.first.y, ppi), slack);
            }
        }
}

} // namespace
