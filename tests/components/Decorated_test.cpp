#include "components/ZarTButton.h"
#include "components/ZarTLabel.h"
#include "components/ZarTPanel.h"
#include "framework/StdCtrls.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

COLORREF PixelOf(HWND w, int x, int y) {
    win::WindowDC dc(w);
    return GetPixel(dc, x, y);
}

struct DecoratedFixture : ::testing::Test {
    TForm* form = New<TForm>(Application);
    DecoratedFixture() {
        form->SetClientSize(300, 200);
        form->Show();
    }
    ~DecoratedFixture() override { delete form; }
    template <typename T> T* Make(int l, int t, int w, int h) {
        T* c = New<T>(form);
        c->SetBounds(l, t, w, h);
        c->SetParent(form);
        return c;
    }
};

TEST_F(DecoratedFixture, ButtonFaceIgnoresColourAndBackgroundLinksFollowTheirBackgrounds) {
    auto* b = Make<TZarButton>(10, 10, 60, 30);
    b->SetColor(clRed);
    UpdateWindow(b->Handle());
    EXPECT_EQ(PixelOf(b->Handle(), 30, 15), ColorToRGB(clBtnFace));

    auto* a = New<TZarBackground>(form);
    auto* other = New<TZarBackground>(form);
    b->SetBackground(a);
    EXPECT_EQ(a->Clients(), (std::vector<TControl*>{b}));
    b->SetBackground(other);
    EXPECT_TRUE(a->Clients().empty());
    delete other; // wherever it lives, the link goes with it
    EXPECT_EQ(b->Background(), nullptr);
}

TEST_F(DecoratedFixture, ButtonGlyphAndCaptionPlaces) {
    auto* b = Make<TZarButton>(10, 10, 89, 30);
    b->SetCaption(L"确定");
    TBitmap strip(32, 16);
    b->Glyph().SetBitmap(strip);
    EXPECT_EQ(b->GlyphPosition().x, 3);
    EXPECT_EQ(b->GlyphPosition().y, 7);
    RECT up = b->CaptionRect();
    EXPECT_EQ(up.left, 18);
    EXPECT_EQ(up.right, 87);
    EXPECT_EQ(up.bottom, 28);
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_TRUE(b->Down());
    EXPECT_EQ(b->GlyphPosition().x, 7);
    EXPECT_EQ(b->GlyphPosition().y, 9);
    RECT down = b->CaptionRect();
    EXPECT_EQ(down.left, 22);
    EXPECT_EQ(down.top, 4);
    EXPECT_EQ(down.right, 89);
    EXPECT_EQ(down.bottom, 30);
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    b->SetCaption(L"");
    EXPECT_EQ(b->GlyphPosition().x, 39);
}

TEST_F(DecoratedFixture, ButtonInputSteps) {
    auto* b = Make<TZarButton>(10, 10, 80, 30);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    // Press inside, release outside: one click.
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
    EXPECT_EQ(clicks, 1);
    // Press and release inside: one click.
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 2);
    // The right button does not press; Enter does nothing.
    SendMessageW(b->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(b->Down());
    SendMessageW(b->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(b->Handle(), WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(clicks, 2);
    // The space bar presses even a disabled button and clicks on release.
    b->SetEnabled(false);
    EXPECT_TRUE(IsWindowEnabled(b->Handle()));
    SendMessageW(b->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(b->Down());
    SendMessageW(b->Handle(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 3);
    b->SetWordWrap(true);
    EXPECT_EQ(b->TextFormat(), static_cast<UINT>(0x15));
    b->SetWordWrap(false);
    EXPECT_EQ(b->TextFormat(), static_cast<UINT>(0x8025));
}

// Disabled, the button keeps the framework's enabled state: it can still take the focus, and readers hear
// that it is unavailable.
TEST_F(DecoratedFixture, ADisabledButtonCanStillTakeTheFocus) {
    auto* b = Make<TZarButton>(10, 10, 80, 30);
    b->SetEnabled(false);
    EXPECT_TRUE(b->CanFocus());
    EXPECT_TRUE(b->AccessibleState() & STATE_SYSTEM_UNAVAILABLE);
}

TEST(Glyph, WidthsDesignTimeDerivationAndChangeNotices) {
    TComponent owner(nullptr);
    TZarGlyph g(&owner);
    int changes = 0;
    g.OnChange = [&](TObject*) { ++changes; };
    g.SetBitmap(TBitmap(33, 16));
    EXPECT_EQ(g.GlyphWidth(), 16);
    g.SetBitmap(TBitmap(35, 16));
    EXPECT_EQ(g.GlyphWidth(), 18);
    EXPECT_EQ(g.NumGlyphs(), 2); // outside design mode nothing is derived
    changes = 0;
    g.SetNumGlyphs(2);
    g.SetBitmap(g.Bitmap());
    EXPECT_EQ(changes, 0);
    owner.SetDesigning(true);
    g.SetBitmap(TBitmap(48, 16));
    EXPECT_EQ(g.NumGlyphs(), 3);
    EXPECT_EQ(g.TransparentColor(), static_cast<TColor>(RGB(255, 255, 255)));
    g.SetBitmap(TBitmap(64, 16));
    EXPECT_EQ(g.NumGlyphs(), 1);
    g.SetNumGlyphs(2);
    g.SetBitmap(TBitmap(40, 16));
    EXPECT_EQ(g.NumGlyphs(), 2);
}

TEST(Glyph, PressedCellDependsOnTheCellCountAndDisabledIsEmbossedOnWhite) {
    TComponent owner(nullptr);
    TZarGlyph g(&owner);
    TBitmap strip(48, 16);
    {
        win::MemoryDC dc(nullptr);
        win::SelectObjectGuard sel(dc, strip.Handle());
        for (int cell = 0; cell < 3; ++cell) {
            win::Brush b(CreateSolidBrush(RGB(60 * (cell + 1), 0, 0)));
            RECT r{cell * 16, 0, cell * 16 + 16, 16};
            FillRect(dc, &r, b.get());
        }
        SetPixel(dc, 1, 1, RGB(0, 0, 0));
    }
    g.SetBitmap(strip);
    g.SetNumGlyphs(3);
    g.SetTransparentColor(clPurple);
    TBitmap target(16, 16);
    win::MemoryDC dc(nullptr);
    win::SelectObjectGuard sel(dc, target.Handle());
    g.DrawGlyph(dc, 0, 0, true, true);
    EXPECT_EQ(GetPixel(dc, 8, 8), RGB(120, 0, 0)); // cell 2
    g.SetNumGlyphs(2);
    g.DrawGlyph(dc, 0, 0, true, true);
    EXPECT_EQ(GetPixel(dc, 8, 8), RGB(60, 0, 0)) << "a 2-cell strip shows cell 1 when pressed";
    g.DrawGlyph(dc, 0, 0, false, false);
    EXPECT_EQ(GetPixel(dc, 8, 8), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 1, 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(GetPixel(dc, 2, 2), ColorToRGB(clBtnHighlight));
}

TEST_F(DecoratedFixture, LabelDefaultsLinksAndTransparency) {
    auto* l = Make<TZarLabel>(10, 10, 65, 17);
    EXPECT_TRUE(l->Font().Style() & fsBold);
    EXPECT_EQ(l->Font().Height(), 16);
    EXPECT_EQ(l->Frame().FrameStyle(), frameNone);
    auto* bg = New<TZarBackground>(form);
    l->SetBackground(bg);
    l->SetFontBackground(bg);
    EXPECT_EQ(bg->Clients().size(), 2u);
    delete bg;
    EXPECT_EQ(l->Background(), nullptr);
    EXPECT_EQ(l->FontBackground(), nullptr);

    auto* yellow = New<TZarBackground>(form);
    yellow->SetBackgroundStyle(bSolidcolor);
    yellow->SetSolidColor(RGB(255, 255, 0));
    l->SetBackground(yellow);
    l->SetCaption(L"");
    TBitmap surface(65, 17);
    win::MemoryDC dc(nullptr);
    win::SelectObjectGuard sel(dc, surface.Handle());
    l->PaintFace(dc);
    EXPECT_EQ(GetPixel(dc, 30, 8), RGB(255, 255, 0));
    l->SetTransparent(true);
    l->SetBackground(nullptr);
    RECT all{0, 0, 65, 17};
    win::Brush blue(CreateSolidBrush(RGB(0, 0, 255)));
    FillRect(dc, &all, blue.get());
    l->SetBackground(yellow);
    l->PaintFace(dc);
    EXPECT_EQ(GetPixel(dc, 30, 8), RGB(0, 0, 255)) << "a transparent label paints no background";
}

// A new label takes its parent's colour and follows it; a colour of its own ends that.
TEST_F(DecoratedFixture, LabelColourFollowsTheParentUntilItHasItsOwn) {
    auto* panel = Make<TPanel>(0, 0, 200, 100);
    panel->SetColor(RGB(255, 255, 128));
    auto* follower = New<TZarLabel>(form);
    follower->SetBounds(5, 5, 60, 17);
    follower->SetParent(panel);
    auto* own = New<TZarLabel>(form);
    own->SetBounds(5, 40, 60, 17);
    own->SetParent(panel);
    own->SetColor(clWhite);
    EXPECT_TRUE(follower->ParentColor());
    EXPECT_FALSE(own->ParentColor());
    auto fillOf = [](TZarLabel* l) {
        l->SetCaption(L"");
        TBitmap surface(60, 17);
        win::MemoryDC dc(nullptr);
        win::SelectObjectGuard sel(dc, surface.Handle());
        l->PaintFace(dc);
        return GetPixel(dc, 30, 8);
    };
    EXPECT_EQ(fillOf(follower), RGB(255, 255, 128));
    panel->SetColor(RGB(0, 128, 0));
    EXPECT_EQ(fillOf(follower), RGB(0, 128, 0));
    EXPECT_EQ(fillOf(own), RGB(255, 255, 255));
}

// Widened, narrowed and lowered while shown, the panel repaints whole: its bevel on the new edges, the
// face on the old ones; OnResize follows every change, and a press keeps the mouse until its release.
TEST_F(DecoratedFixture, PanelRepaintsWholeOnEveryResizeAndHoldsTheMouse) {
    auto* p = Make<TZarPanel>(10, 10, 100, 50);
    int resizes = 0;
    p->OnResize = [&](TObject* s) {
        EXPECT_EQ(s, p);
        ++resizes;
    };
    const COLORREF face = ColorToRGB(clBtnFace), shadow = ColorToRGB(clBtnShadow);
    auto settle = [&] {
        test::Pump();
        UpdateWindow(p->Handle());
    };
    settle();
    for (SIZE size : {SIZE{160, 50}, SIZE{80, 50}, SIZE{80, 90}}) {
        SIZE old{p->Width(), p->Height()};
        p->SetBounds(10, 10, size.cx, size.cy);
        settle();
        EXPECT_EQ(PixelOf(p->Handle(), size.cx - 1, size.cy / 2), shadow) << size.cx << "x" << size.cy;
        EXPECT_EQ(PixelOf(p->Handle(), size.cx / 2, size.cy - 1), shadow);
        if (old.cx < size.cx) {
            EXPECT_EQ(PixelOf(p->Handle(), old.cx - 1, size.cy / 2), face);
        }
        if (old.cy < size.cy) {
            EXPECT_EQ(PixelOf(p->Handle(), size.cx / 2, old.cy - 1), face);
        }
    }
    EXPECT_EQ(resizes, 3);
    p->SetLeft(20);
    EXPECT_EQ(resizes, 4) << "a move is a change too";

    int ups = 0;
    p->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
    SendMessageW(p->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), p->Handle());
    SendMessageW(p->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(-50, 300)); // released outside
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(GetCapture(), nullptr);
    p->SetAutoSize(true);
    p->SetLocked(true);
    EXPECT_TRUE(p->AutoSize() && p->Locked());
}

// Real clicks and keys: a quick second press is an ordinary press, and a disabled button still takes the
// focus by Tab and a click by Space.
TEST_F(DecoratedFixture, ButtonTakesNoDoubleClicksAndADisabledOneStillAnswersTheKeyboard) {
    auto* first = Make<TButton>(10, 60, 60, 25);
    auto* b = Make<TZarButton>(100, 10, 89, 30);
    EXPECT_FALSE(GetClassLongPtrW(b->Handle(), GCL_STYLE) & CS_DBLCLKS);
    int clicks = 0, doubles = 0, flagged = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->OnDblClick = [&](TObject*) { ++doubles; };
    b->OnMouseDown = [&](TObject*, TMouseButton, TShiftState s, int, int) { flagged += (s & ssDouble) != 0; };
    ASSERT_TRUE(test::BringToFront(form->Handle()));
    RECT r;
    GetWindowRect(b->Handle(), &r);
    POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    test::SendClick(middle);
    test::SendClick(middle);
    EXPECT_TRUE(test::PumpUntil([&] { return clicks == 2; })) << clicks << " clicks";
    EXPECT_EQ(doubles, 0);
    EXPECT_EQ(flagged, 0);

    b->SetEnabled(false);
    first->SetFocus();
    test::SendKey(VK_TAB);
    EXPECT_TRUE(test::RunUntil([&] { return GetFocus() == b->Handle(); }));
    test::SendKey(VK_SPACE);
    EXPECT_TRUE(test::RunUntil([&] { return clicks == 3; }));
}

TEST_F(DecoratedFixture, PanelInsetsAndBorderWidth) {
    auto* p = Make<TZarPanel>(10, 10, 200, 100);
    auto* child = New<TPanel>(form);
    child->SetParent(p);
    child->SetAlign(TAlign::alClient);
    EXPECT_EQ(child->Left(), 3);
    EXPECT_EQ(child->Top(), 3);
    p->SetDlgFrame(true);
    p->AlignControls();
    EXPECT_EQ(child->Left(), 3);
    p->SetBorderwidth(5);
    p->SetBorderwidth(0);
    EXPECT_EQ(p->Borderwidth(), 5);
    EXPECT_EQ(child->Left(), 8);
}

} // namespace

namespace {

TEST_F(DecoratedFixture, APaintRequestWithItsOwnContextIsPaintedOnIt) {
    auto* b = Make<TZarButton>(10, 10, 40, 20);
    TBitmap surface(40, 20);
    win::MemoryDC dc(nullptr);
    win::SelectObjectGuard sel(dc, surface.Handle());
    SendMessageW(b->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc.get()), 0);
    EXPECT_EQ(GetPixel(dc, 20, 10), ColorToRGB(clBtnFace));
    EXPECT_EQ(GetPixel(dc, 39, 19), RGB(0, 0, 0)); // the black outer edge of the raised bevel
}

} // namespace
