#include "components/GradientPainter.h"
#include "components/PixelRules.h"
#include "components/ZarTBackground.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace {

// A 32-bit surface filled with a marker colour, read back pixel by pixel.
struct Surface {
    static constexpr COLORREF Marker = RGB(10, 20, 30);
    int w, h;
    win::MemoryDC dc{nullptr};
    win::Bitmap bitmap;
    std::optional<win::SelectObjectGuard> sel;
    Surface(int w_, int h_, COLORREF fill = Marker) : w(w_), h(h_) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        sel.emplace(dc, bitmap.get());
        Fill(fill);
    }
    void Fill(COLORREF c) {
        win::Brush b(CreateSolidBrush(c));
        RECT r{0, 0, w, h};
        FillRect(dc, &r, b.get());
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    bool SameAs(const Surface& o) const {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (At(x, y) != o.At(x, y)) return false;
        return true;
    }
};

// Draws a plan shape by shape with the system's pens and brushes, each in its shape's colour, on a memory
// DC, kept to the area (a line or an oval of a plan may reach past its edges).
void DrawPlanShapeByShape(HDC dc, int w, int h, const TGradientPlan& plan) {
    win::SaveDCGuard keep(dc);
    IntersectClipRect(dc, 0, 0, w, h);
    SelectObject(dc, GetStockObject(DC_PEN));
    SelectObject(dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc, plan.ground);
    PatBlt(dc, 0, 0, w, h, PATCOPY);
    for (const auto& s : plan.shapes) {
        SetDCPenColor(dc, s.color);
        SetDCBrushColor(dc, s.color);
        const RECT& r = s.at;
        if (s.kind == TGradientShape::Box)
            PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATCOPY);
        if (s.kind == TGradientShape::Oval) Ellipse(dc, r.left, r.top, r.right, r.bottom);
        if (s.kind == TGradientShape::Stroke) {
            MoveToEx(dc, r.left, r.top, nullptr);
            LineTo(dc, r.right, r.bottom);
        }
    }
}

// A control that counts the repaints asked of it.
struct CountingControl : TGraphicControl {
    CountingControl(std::vector<std::wstring>* log = nullptr, std::wstring name = L"")
        : TGraphicControl(nullptr), log_(log), name_(std::move(name)) {}
    void Invalidate() override {
        ++invalidations;
        if (log_) log_->push_back(name_);
    }
    void Paint(HDC) override {}
    int invalidations = 0;
    std::vector<std::wstring>* log_;
    std::wstring name_;
};

// ---- frame ----

TEST(Frame, DefaultRaisedRingOnTenBySix) {
    Surface s(10, 6);
    TZarFrame f(nullptr);
    EXPECT_EQ(f.FrameSize(), 1);
    RECT r{0, 0, 10, 6};
    f.DrawFrame(s.dc, r);
    const COLORREF hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow);
    for (int x = 0; x <= 8; ++x)
        EXPECT_EQ(s.At(x, 0), hi) << x;
    for (int y = 0; y <= 4; ++y)
        EXPECT_EQ(s.At(0, y), hi) << y;
    for (int y = 0; y <= 4; ++y)
        EXPECT_EQ(s.At(9, y), sh) << y;
    for (int x = 0; x <= 9; ++x)
        EXPECT_EQ(s.At(x, 5), sh) << x;
    EXPECT_EQ(s.At(1, 1), Surface::Marker);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.top, 1);
    EXPECT_EQ(r.right, 9);
    EXPECT_EQ(r.bottom, 5);
}

TEST(Frame, NoneAndFramedUpGeometry) {
    TZarFrame f(nullptr);
    f.SetFrameStyle(frameNone);
    EXPECT_EQ(f.FrameSize(), 2);
    Surface s(20, 20);
    RECT r{0, 0, 20, 20};
    f.DrawFrame(s.dc, r);
    EXPECT_EQ(r.right, 20);
    EXPECT_EQ(s.At(0, 0), Surface::Marker);

    f.SetFrameStyle(frameFramedUp);
    f.SetFrameWidth(2);
    f.SetOffset(3);
    EXPECT_EQ(f.FrameSize(), 7);
    f.SetHighlight(RGB(255, 0, 0));
    f.SetShadow(RGB(0, 0, 255));
    f.DrawFrame(s.dc, r);
    EXPECT_EQ(r.left, 7);
    EXPECT_EQ(r.bottom, 13);
    EXPECT_EQ(s.At(1, 1), RGB(255, 0, 0));   // outer band, top-left half
    EXPECT_EQ(s.At(2, 10), Surface::Marker); // the 3-pixel gap is untouched
    EXPECT_EQ(s.At(4, 10), Surface::Marker);
    EXPECT_EQ(s.At(5, 10), RGB(0, 0, 255));  // inner band: Shadow on its top-left
    EXPECT_EQ(s.At(14, 10), RGB(255, 0, 0)); // and Highlight on its bottom-right
}

TEST(Frame, PanelUpHasABlackOuterEdgeAndAnInnerBandWithOnlyItsShadow) {
    TZarFrame f(nullptr);
    f.SetFrameStyle(framePanelUp);
    f.SetShadow(RGB(0, 0, 255));
    Surface s(10, 10);
    RECT r{0, 0, 10, 10};
    f.DrawFrame(s.dc, r);
    EXPECT_EQ(s.At(9, 5), RGB(0, 0, 0));
    EXPECT_EQ(s.At(5, 9), RGB(0, 0, 0));
    EXPECT_EQ(s.At(1, 5), Surface::Marker); // the inner top-left half is not drawn
    EXPECT_EQ(s.At(8, 5), RGB(0, 0, 255));
    EXPECT_EQ(f.FrameSize(), 2);
}

TEST(Frame, RefusedValuesChangeNothingAndEveryOtherChangeRepaintsTheOwnerOnce) {
    CountingControl owner;
    TZarFrame f(&owner);
    f.SetFrameWidth(0);
    f.SetOffset(-1);
    EXPECT_EQ(owner.invalidations, 0);
    EXPECT_EQ(f.FrameWidth(), 1);
    f.SetSolid(clRed);
    f.SetFrameStyle(frameSolid);
    EXPECT_EQ(owner.invalidations, 2);
}

// ---- 3-D font ----

struct TextFixture : ::testing::Test {
    TFont font;
    RECT rect{10, 10, 90, 50};
    TextFixture() {
        font.SetName(L"Tahoma");
        font.SetHeight(24);
        font.SetStyle(fsBold);
        font.SetColor(RGB(0, 160, 0));
    }
    // The expected picture: the text drawn once per (colour, dx, dy), in order.
    void Expect(Surface& s, std::initializer_list<std::tuple<COLORREF, int, int>> passes, RECT base) {
        win::SelectObjectGuard f(s.dc, font.Handle());
        SetBkMode(s.dc, TRANSPARENT);
        for (auto [c, dx, dy] : passes) {
            RECT r = base;
            OffsetRect(&r, dx, dy);
            SetTextColor(s.dc, c);
            DrawTextW(s.dc, L"W", -1, &r, DT_LEFT | DT_NOCLIP);
        }
    }
};

TEST_F(TextFixture, DefaultsAreAnInsetCaptionWithTheCallersRectangleUntouched) {
    TZarFont3D f(nullptr);
    f.SetHighlight(RGB(255, 0, 0));
    f.SetShadow(RGB(0, 0, 255));
    Surface got(100, 60), want(100, 60);
    RECT r = rect;
    f.DrawText3D(font, got.dc, r, L"W", DT_LEFT, true);
    Expect(want, {{RGB(0, 0, 255), -1, -1}, {RGB(255, 0, 0), 1, 1}, {RGB(0, 160, 0), 0, 0}}, rect);
    EXPECT_TRUE(got.SameAs(want));
    EXPECT_EQ(r.left, rect.left);
}

TEST_F(TextFixture, DisabledLookIgnoresThe3DSettings) {
    TZarFont3D f(nullptr);
    f.SetStyle3D(fontOutLineShadow);
    Surface got(100, 60), want(100, 60);
    f.DrawText3D(font, got.dc, rect, L"W", DT_LEFT, false);
    Expect(want, {{ColorToRGB(clBtnHighlight), 0, 0}, {ColorToRGB(clGrayText), -1, -1}}, rect);
    EXPECT_TRUE(got.SameAs(want));
}

TEST_F(TextFixture, OutlineStaysOnePixelAwayAndOnlyShadowUsesTheOffset) {
    TZarFont3D f(nullptr);
    f.SetShadow(RGB(0, 0, 255));
    f.SetStyle3D(fontOutLineShadow);
    f.SetOffset(5);
    Surface got(100, 60), want(100, 60);
    f.DrawText3D(font, got.dc, rect, L"W", DT_LEFT, true);
    const COLORREF b = RGB(0, 0, 255);
    Expect(want, {{b, -1, -1}, {b, 1, -1}, {b, 1, 1}, {b, -1, 1}, {RGB(0, 160, 0), 0, 0}}, rect);
    EXPECT_TRUE(got.SameAs(want));

    f.SetStyle3D(fontOnlyShadow);
    f.SetOffset(3);
    Surface got2(100, 60), want2(100, 60);
    f.DrawText3D(font, got2.dc, rect, L"W", DT_LEFT, true);
    Expect(want2, {{b, 3, 3}, {RGB(0, 160, 0), 0, 0}}, rect);
    EXPECT_TRUE(got2.SameAs(want2));
}

TEST_F(TextFixture, RepetitionOnShadowShrinksAndShiftsEverythingAfterIt) {
    TZarFont3D f(nullptr);
    f.SetHighlight(RGB(255, 0, 0));
    f.SetShadow(RGB(0, 0, 255));
    f.SetRepetition(repeatOnShadow);
    f.SetRepetitionwidth(3);
    f.SetRepetitionColor(RGB(200, 200, 0));
    Surface got(100, 60), want(100, 60);
    f.DrawText3D(font, got.dc, rect, L"W", DT_LEFT, true);
    RECT shrunk = rect;
    InflateRect(&shrunk, -3, -3);
    const COLORREF y = RGB(200, 200, 0);
    Expect(want,
           {{y, 1, 1},
            {y, 0, 0},
            {y, -1, -1},
            {RGB(0, 0, 255), -3, -3},
            {RGB(255, 0, 0), -1, -1},
            {RGB(0, 160, 0), -2, -2}},
           shrunk);
    EXPECT_TRUE(got.SameAs(want));
}

TEST(Font3D, RefusedValuesKeepTheOldOneButStillRepaint) {
    CountingControl owner;
    TZarFont3D f(&owner);
    f.SetOffset(0);
    f.SetRepetitionwidth(-1);
    EXPECT_EQ(f.Offset(), 1);
    EXPECT_EQ(f.Repetitionwidth(), 0);
    EXPECT_EQ(owner.invalidations, 2);
}

// ---- gradient ----

TEST(Gradient, DefaultHorizontalRunOnHundredBySixtyFour) {
    TZarGradient g;
    Surface s(100, 64);
    g.PaintGradient(s.dc, 100, 64, true);
    EXPECT_EQ(s.At(50, 0), RGB(192, 192, 192));
    EXPECT_EQ(s.At(50, 1), RGB(192, 192, 192));
    EXPECT_EQ(s.At(50, 2), RGB(190, 190, 190)); // step 1 over step 0
    EXPECT_EQ(s.At(50, 33), RGB(159, 159, 159));
    EXPECT_EQ(s.At(99, 63), RGB(128, 128, 128));
}

TEST(Gradient, BlackBecomesOneButTheInitialFillStaysBlack) {
    TZarGradient g;
    g.SetBeginColor(clBlack);
    Surface s(100, 64);
    g.PaintGradient(s.dc, 100, 64, true);
    EXPECT_EQ(s.At(0, 0), RGB(1, 1, 1));
    g.SetFillStyle(RoundMiddle);
    g.PaintGradient(s.dc, 100, 64, true);
    EXPECT_EQ(s.At(0, 0), RGB(0, 0, 0)); // outside every ellipse
}

TEST(Gradient, InBetweenColoursMakeStretchesAndBackwardRunsStartAtTheEnd) {
    TZarGradient g;
    g.ColorsInbetween().Add(L"clRed");
    Surface s(100, 64);
    g.PaintGradient(s.dc, 100, 64, true);
    EXPECT_EQ(s.At(10, 0), RGB(192, 192, 192));
    EXPECT_EQ(s.At(10, 33), RGB(255, 1, 1)); // the second stretch starts at red
    g.ColorsInbetween().Clear();
    g.PaintGradient(s.dc, 100, 64, false);
    EXPECT_EQ(s.At(10, 0), RGB(128, 128, 128));
}

TEST(Gradient, PaintedAgainAfterAChangeItShowsTheChange) {
    // One gradient painted after each change (it keeps what it worked out for the last painting) against a
    // fresh one with the same settings.
    TZarGradient kept;
    auto expectFresh = [&](int w, int h, bool forward, const char* change) {
        TZarGradient fresh;
        fresh.Assign(kept);
        Surface a(w, h), b(w, h);
        kept.PaintGradient(a.dc, w, h, forward);
        fresh.PaintGradient(b.dc, w, h, forward);
        EXPECT_TRUE(a.SameAs(b)) << change;
    };
    kept.SetFillStyle(Singleflash);
    expectFresh(40, 30, true, "first");
    expectFresh(40, 30, true, "again");
    kept.SetBeginColor(clRed);
    expectFresh(40, 30, true, "begin colour");
    kept.SetEndColor(clBlue);
    expectFresh(40, 30, false, "end colour, backwards");
    kept.SetNoOfColors(7);
    expectFresh(40, 30, false, "steps");
    kept.ColorsInbetween().Add(L"clLime");
    expectFresh(40, 30, false, "an in-between colour");
    expectFresh(41, 30, false, "width");
    expectFresh(41, 29, false, "height");
    kept.SetFillStyle(Circle);
    expectFresh(41, 29, false, "style");
}

TEST(Gradient, NoOfColorsRangeAndNotifications) {
    TZarGradient g;
    int changes = 0;
    g.OnChange = [&](TObject*) { ++changes; };
    g.SetNoOfColors(1);
    g.SetNoOfColors(256);
    EXPECT_EQ(g.NoOfColors(), 32);
    g.SetNoOfColors(2);
    EXPECT_EQ(g.NoOfColors(), 2);
    g.SetNoOfColors(255);
    EXPECT_EQ(g.NoOfColors(), 255);
    g.ColorsInbetween().Add(L"$00FF00");
    EXPECT_EQ(changes, 5);
}

TEST(Gradient, ALineThatIsNoColourRaisesAndLeavesTheTargetUntouched) {
    TZarGradient g;
    g.ColorsInbetween().Add(L"not a colour");
    Surface s(20, 20);
    EXPECT_THROW(g.PaintGradient(s.dc, 20, 20, true), EConvertError);
    EXPECT_EQ(s.At(5, 5), Surface::Marker);
}

TEST(Gradient, SpectralAlternatesStepAndMirrorColours) {
    TZarGradient g;
    g.SetFillStyle(Spectral);
    g.SetBeginColor(RGB(0, 0, 200));
    g.SetEndColor(RGB(200, 0, 0));
    g.SetNoOfColors(2);
    Surface s(40, 40);
    g.PaintGradient(s.dc, 40, 40, true);
    std::set<COLORREF> colours;
    for (int x = 0; x < 40; ++x)
        colours.insert(s.At(x, 0));
    // Step colours have no zero component; the mirror colours do.
    EXPECT_TRUE(colours.count(RGB(200, 0, 0)) || colours.count(RGB(0, 0, 200)));
    EXPECT_TRUE(colours.count(RGB(1, 1, 200)) || colours.count(RGB(200, 1, 1)));
}

TEST(Gradient, BoxStylesPaintTheSamePixelsAsDrawingEveryBoxWithABrush) {
    // Sizes down to one pixel, shrunken and odd areas, few and many steps, with and without in-between
    // colours: the pixels written straight must be those of drawing the plan box by box.
    const std::vector<std::vector<COLORREF>> runs{
        {RGB(0, 0, 255), RGB(255, 255, 0)},
        {RGB(192, 192, 192), RGB(255, 0, 0), RGB(0, 0, 0), RGB(10, 200, 30)}};
    int compared = 0;
    for (TZarFillStyle style : {Horizontal, Vertical, LeftBottom, SquareMiddle, MiddleHBar, MiddleVBar,
                                VerticalDoppelBar, HorizontalDoppelBar})
        for (SIZE area : {SIZE{1, 1}, SIZE{3, 40}, SIZE{57, 31}, SIZE{306, 196}})
            for (int steps : {2, 7, 255})
                for (const auto& run : runs) {
                    const int w = area.cx, h = area.cy;
                    TGradientPlan plan = PlanGradient(style, w, h, run, steps);
                    Surface fast(w, h), slow(w, h);
                    DrawGradientPlan(fast.dc, w, h, plan);
                    DrawPlanShapeByShape(slow.dc, w, h, plan);
                    ASSERT_TRUE(fast.SameAs(slow)) << "style " << int(style) << " " << w << "x" << h
                                                   << " steps " << steps << " colours " << run.size();
                    ++compared;
                }
    EXPECT_EQ(compared, 8 * 4 * 3 * 2);
}

// A plan of ovals and lines (no style makes one) paints both, as drawing them one by one does.
TEST(Gradient, APlanOfOvalsAndLinesPaintsBoth) {
    const TGradientPlan plan{RGB(0, 0, 0),
                             {{TGradientShape::Oval, {0, 0, 20, 20}, RGB(255, 0, 0)},
                              {TGradientShape::Stroke, {0, 0, 20, 0}, RGB(0, 255, 0)}}};
    Surface ours(20, 20), system(20, 20);
    TGradientPainter(plan, 20, 20).Draw(ours.dc);
    DrawPlanShapeByShape(system.dc, 20, 20, plan);
    EXPECT_EQ(ours.At(10, 10), RGB(255, 0, 0));
    EXPECT_TRUE(ours.SameAs(system));
}

// The oval rule, pixel by pixel: a middle row or column, or, by the equation F of the ellipse through the
// centres of the box's outermost pixels, nearer the curve than the inner neighbour along the row or the
// column (a tie along the row to the inner pixel, along the column to the outer).
bool OvalCovers(long long w, long long h, long long x, long long y) {
    if (x < 0 || y < 0 || x >= w || y >= h) return false;
    const long long X = std::llabs(2 * x + 1 - w), Y = std::llabs(2 * y + 1 - h), A = w - 1, B = h - 1;
    auto F = [&](long long px, long long py) { return px * px * B * B + py * py * A * A - A * A * B * B; };
    return X <= 1 || Y <= 1 || F(X, Y) + F(X - 2, Y) < 0 || F(X, Y) + F(X, Y - 2) <= 0;
}

// The oval rule's insets against the rule pixel by pixel: odd and even sides, thin boxes, a large one.
TEST(Gradient, OvalInsetsAreThePixelsWhoseCentresTheRuleCovers) {
    const SIZE sizes[] = {{0, 0},  {0, 5}, {5, 0}, {1, 1}, {1, 9}, {9, 1},   {2, 2},     {3, 3},      {2, 20},
                          {20, 2}, {7, 4}, {4, 7}, {8, 8}, {9, 9}, {61, 40}, {306, 196}, {1920, 1081}};
    for (SIZE size : sizes) {
        const std::vector<int> insets = OvalInsets(size.cx, size.cy);
        ASSERT_EQ(insets.size(), size_t(std::max(0L, size.cy)));
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x)
                ASSERT_EQ(x >= insets[size_t(y)] && x < size.cx - insets[size_t(y)],
                          OvalCovers(size.cx, size.cy, x, y))
                    << size.cx << "x" << size.cy << " at " << x << "," << y;
    }
}

// The round and line styles against a plain model of the rules: for every pixel, the colour of the last
// shape covering it (an oval by its rows, a line by its pixels one after the other).
std::vector<COLORREF> Model(const TGradientPlan& plan, int w, int h) {
    std::vector<COLORREF> px(size_t(w) * size_t(h), plan.ground);
    for (const auto& s : plan.shapes) {
        const RECT& r = s.at;
        auto set = [&](long long x, long long y) {
            if (x >= 0 && x < w && y >= 0 && y < h) px[size_t(y) * size_t(w) + size_t(x)] = s.color;
        };
        if (s.kind == TGradientShape::Stroke) {
            const double dx = r.right - r.left, dy = r.bottom - r.top,
                         n = std::max(std::abs(dx), std::abs(dy));
            for (int i = 0; i < n; ++i) // halves rounded down
                set(r.left + std::llround(std::ceil(i * dx / n - 0.5)),
                    r.top + std::llround(std::ceil(i * dy / n - 0.5)));
            continue;
        }
        const int l = std::min(r.left, r.right), t = std::min(r.top, r.bottom);
        const int ow = std::max(r.left, r.right) - l, oh = std::max(r.top, r.bottom) - t;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (s.kind == TGradientShape::Box ? x >= r.left && x < r.right && y >= r.top && y < r.bottom
                                                  : OvalCovers(ow, oh, x - l, y - t))
                    set(x, y);
    }
    return px;
}

const std::vector<std::vector<COLORREF>> kRuns{
    {RGB(0, 0, 255), RGB(255, 255, 0)}, {RGB(192, 192, 192), RGB(255, 0, 0), RGB(0, 0, 0), RGB(10, 200, 30)}};
constexpr TZarFillStyle kRound[] = {Circle, RoundMiddle, Spectral, DoppelFlash, Singleflash};

TEST(Gradient, RoundAndLineStylesAreTheirRulesPixelForPixel) {
    struct TCase {
        std::string name;
        TGradientPlan plan;
        int w, h;
    };
    std::vector<TCase> cases;
    for (TZarFillStyle style : kRound)
        for (SIZE area : {SIZE{1, 1}, SIZE{1, 23}, SIZE{23, 1}, SIZE{17, 9}, SIZE{40, 30}, SIZE{61, 40}})
            for (int steps : {2, 7, 255})
                for (const auto& run : kRuns)
                    cases.push_back({"style " + std::to_string(style) + " steps " + std::to_string(steps) +
                                         " colours " + std::to_string(run.size()),
                                     PlanGradient(style, area.cx, area.cy, run, steps), area.cx, area.cy});
    // Plans of no style: runs apart on a row, two and then more, under a box and an oval past the edges;
    // shapes that mirror each other in colours that do not, and in colours that do.
    auto oval = [](LONG l, LONG t, LONG r, LONG b, COLORREF c) {
        return TGradientShape{TGradientShape::Oval, {l, t, r, b}, c};
    };
    const COLORREF red = RGB(200, 0, 0), blue = RGB(0, 0, 200);
    for (SIZE area : {SIZE{40, 30}, SIZE{41, 31}}) {
        auto add = [&](const char* name, std::vector<TGradientShape> shapes) {
            cases.push_back({name, TGradientPlan{RGB(9, 9, 9), std::move(shapes)}, area.cx, area.cy});
        };
        add("apart", {oval(-6, -5, 46, 35, RGB(1, 2, 3)),
                      {TGradientShape::Box, {5, -3, 35, 33}, RGB(4, 5, 6)},
                      oval(2, 2, 10, 28, red),
                      oval(14, 4, 20, 26, blue),
                      oval(24, 1, 32, 29, red),
                      oval(34, 5, 39, 25, blue)});
        add("turned, other colour", {oval(0, 0, 20, 15, red), oval(20, 15, 40, 30, blue)});
        add("turned", {oval(0, 0, 20, 15, red), oval(20, 15, 40, 30, red), oval(20, 0, 40, 15, blue),
                       oval(0, 15, 20, 30, blue)});
        add("flipped", {oval(3, 2, 30, 12, red),
                        oval(3, 18, 30, 28, red),
                        {TGradientShape::Box, {0, 14, 40, 16}, blue}});
    }
    for (const TCase& c : cases)
        for (bool straight : {true, false}) {
            // At (1, 1) of a surface a pixel larger all round: straight into its pixels, or, with a clip
            // region that is no rectangle, through the painter's own buffer. Twice by one painter.
            const int w = c.w, h = c.h;
            TGradientPainter painter(c.plan, w, h);
            const auto model = Model(c.plan, w, h);
            for (int round = 0; round < 2; ++round) {
                Surface s(w + 2, h + 2);
                SetViewportOrgEx(s.dc, 1, 1, nullptr);
                win::Region clip(CreateRectRgn(1, 1, w + 1, h + 1)),
                    corner(CreateRectRgn(w + 1, h + 1, w + 2, h + 2));
                CombineRgn(clip.get(), clip.get(), corner.get(), RGN_OR);
                if (!straight) SelectClipRgn(s.dc, clip.get());
                painter.Draw(s.dc);
                SetViewportOrgEx(s.dc, 0, 0, nullptr);
                SelectClipRgn(s.dc, nullptr);
                int wrong = 0;
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        wrong += s.At(x + 1, y + 1) != model[size_t(y) * size_t(w) + size_t(x)];
                ASSERT_EQ(wrong, 0) << c.name << " " << w << "x" << h
                                    << (straight ? " straight" : " buffered") << " paint " << round + 1;
            }
        }
    Surface none(2, 2);
    DrawGradientPlan(none.dc, 0, 0, PlanGradient(Circle, 0, 0, kRuns[0], 7));
    EXPECT_EQ(none.At(0, 0), Surface::Marker) << "an empty area paints nothing";
}

// Against the system's ellipses and lines, which the styles are defined by: almost every pixel the same,
// and none further than one step's colour change away. The system leaves an oval of a one-pixel box empty
// (though it fills one of a single row or column); such pixels are the only ones allowed further.
TEST(Gradient, RoundAndLineStylesStayWithinABandOfTheSystemsDrawing) {
    for (TZarFillStyle style : kRound)
        for (SIZE area : {SIZE{61, 40}, SIZE{306, 196}})
            for (int steps : {7, 255}) {
                const int w = area.cx, h = area.cy;
                const TGradientPlan plan = PlanGradient(style, w, h, kRuns[0], steps);
                int band = 0;
                COLORREF before = plan.ground;
                std::set<std::pair<int, int>> dots;
                for (const auto& s : plan.shapes) {
                    for (int shift : {0, 8, 16})
                        band = std::max(
                            band, std::abs(int((s.color >> shift) & 255) - int((before >> shift) & 255)));
                    before = s.color;
                    if (s.kind == TGradientShape::Oval && std::abs(s.at.right - s.at.left) == 1 &&
                        std::abs(s.at.bottom - s.at.top) == 1)
                        dots.insert({std::min(s.at.left, s.at.right), std::min(s.at.top, s.at.bottom)});
                }
                Surface ours(w, h), system(w, h);
                DrawGradientPlan(ours.dc, w, h, plan);
                DrawPlanShapeByShape(system.dc, w, h, plan);
                int same = 0, distant = 0;
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        const COLORREF a = ours.At(x, y), b = system.At(x, y);
                        same += a == b;
                        bool beyond = false;
                        for (int shift : {0, 8, 16})
                            beyond |= std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)) > band;
                        distant += beyond && !dots.count({x, y});
                    }
                const std::string what = "style " + std::to_string(style) + " " + std::to_string(w) + "x" +
                                         std::to_string(h) + " steps " + std::to_string(steps);
                EXPECT_GE(same * 100, w * h * 98) << what;
                // The system traces an oval's outline step by step and at times steps diagonally past a
                // pixel the rule, deciding each pixel by itself, covers: in a pile of small ovals that one
                // pixel can show a few steps away.
                EXPECT_LE(distant, 1) << what;
            }
}

// Every gradient style and every background style paints its area and nothing else: at an offset
// origin, on a surface whose frame around the area holds a marker, and within a clip region the caller set
// (the area's right half stays the marker too).
TEST(Painting, EveryStylePaintsItsAreaAndNothingOutsideIt) {
    TBitmap tile(8, 8);
    std::vector<std::function<void(HDC, int, int)>> painters;
    for (int s = 0; s < 13; ++s)
        painters.push_back([s](HDC dc, int w, int h) {
            TZarGradient g;
            g.SetFillStyle(static_cast<TZarFillStyle>(s));
            g.SetNoOfColors(255);
            g.PaintGradient(dc, w, h, true);
        });
    for (int s = 0; s < 5; ++s)
        painters.push_back([s, &tile](HDC dc, int w, int h) {
            TZarBackground b(nullptr);
            b.SetBackgroundStyle(static_cast<TZarBackStyle>(s));
            b.Texture().SetImage(tile);
            b.BrushFill().SetBrushStyle(TBrushStyle::bsDiagCross);
            b.PaintBackground(dc, w, h, true);
        });
    for (SIZE area : {SIZE{1, 1}, SIZE{17, 9}, SIZE{61, 40}})
        for (size_t i = 0; i < painters.size() * 2; ++i) {
            const bool clipped = i % 2;
            const int w = area.cx, h = area.cy, pad = 5;
            Surface s(w + 2 * pad, h + 2 * pad);
            SetViewportOrgEx(s.dc, pad, pad, nullptr);
            const int clipRight = pad + (clipped ? (w + 1) / 2 : w);
            HRGN clip = CreateRectRgn(pad, pad, clipRight, pad + h);
            if (clipped) SelectClipRgn(s.dc, clip);
            DeleteObject(clip);
            painters[i / 2](s.dc, w, h);
            SelectClipRgn(s.dc, nullptr);
            SetViewportOrgEx(s.dc, 0, 0, nullptr); // read back in the surface's own places
            int outside = 0;
            for (int y = 0; y < s.h; ++y)
                for (int x = 0; x < s.w; ++x)
                    if ((x < pad || x >= clipRight || y < pad || y >= pad + h) &&
                        s.At(x, y) != Surface::Marker)
                        ++outside;
            EXPECT_EQ(outside, 0) << (i / 2 < 13 ? "gradient style " : "background style ") << i / 2 % 13
                                  << " at " << w << "x" << h << (clipped ? ", clipped" : "");
        }
}

// ---- texture and brush fill ----

TBitmap Picture(int w, int h, COLORREF body, COLORREF corner) {
    TBitmap b(w, h);
    win::MemoryDC dc(nullptr);
    win::SelectObjectGuard sel(dc, b.Handle());
    win::Brush fill(CreateSolidBrush(body));
    RECT r{0, 0, w, h};
    FillRect(dc, &r, fill.get());
    SetPixel(dc, 0, 0, corner);
    return b;
}

TEST(Texture, TilesFromTheTopLeftAndCentresOrCrops) {
    TZarTexture t;
    t.SetImage(Picture(16, 16, RGB(0, 0, 255), RGB(255, 0, 0)));
    Surface s(40, 20);
    t.PaintTexture(s.dc, 40, 20, clBtnFace);
    for (int x : {0, 16, 32})
        for (int y : {0, 16})
            EXPECT_EQ(s.At(x, y), RGB(255, 0, 0)) << x << "," << y;
    EXPECT_EQ(s.At(39, 19), RGB(0, 0, 255));

    t.SetImage(Picture(100, 100, RGB(0, 0, 255), RGB(255, 0, 0)));
    t.SetImageStyle(isCenter);
    Surface c(60, 40);
    t.PaintTexture(c.dc, 60, 40, clBtnFace);
    EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0)); // larger than the area: placed at (0, 0)
}

TEST(Texture, TransparentColourIsReplacedInTheCopyOnly) {
    TZarTexture t;
    t.SetImage(Picture(8, 8, RGB(255, 255, 255), RGB(255, 0, 0)));
    t.SetTransparentColor(clWhite);
    t.SetTransparentBackground(RGB(0, 200, 0));
    Surface s(8, 8);
    t.PaintTexture(s.dc, 8, 8, clBtnFace);
    EXPECT_EQ(s.At(4, 4), RGB(0, 200, 0));
    EXPECT_EQ(s.At(0, 0), RGB(255, 0, 0));
    win::MemoryDC dc(nullptr);
    win::SelectObjectGuard sel(dc, t.Image().Handle());
    EXPECT_EQ(GetPixel(dc, 4, 4), RGB(255, 255, 255));
}

TEST(Texture, EmptyImagePaintsNothingAndOnlyAssigningNotifies) {
    TZarTexture t;
    int changes = 0;
    t.OnChange = [&](TObject*) { ++changes; };
    Surface s(8, 8);
    t.PaintTexture(s.dc, 8, 8, clBtnFace);
    EXPECT_EQ(s.At(3, 3), Surface::Marker);
    t.SetImage(Picture(4, 4, RGB(1, 2, 3), RGB(1, 2, 3)));
    EXPECT_EQ(changes, 1);
    t.Image().SetSize(4, 4); // drawn in place: the record is not told
    EXPECT_EQ(changes, 1);
    TZarBrushFill b;
    EXPECT_EQ(b.BrushStyle(), TBrushStyle::bsSolid);
    EXPECT_EQ(b.BrushColor(), clBtnFace);
}

// ---- background ----

TEST(Background, ChangesReachEveryClientInOrderThenOnChangedOnce) {
    std::vector<std::wstring> log;
    CountingControl a(&log, L"a"), b(&log, L"b"), c(&log, L"c");
    TZarBackground bg(nullptr);
    bg.AddClient(&a);
    bg.AddClient(&b);
    bg.AddClient(&c);
    bg.OnChanged = [&](TObject* s) {
        EXPECT_EQ(s, &bg);
        log.push_back(L"changed");
    };
    bg.Gradient().SetNoOfColors(10);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"a", L"b", L"c", L"changed"}));
    log.clear();
    bg.AddClient(&a);
    bg.RemoveClient(&a); // the first occurrence goes
    bg.SetSolidColor(clRed);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"b", L"c", L"a", L"changed"}));
}

TEST(Background, HatchOnSolidColourOrOnWhiteAndAClearBrushLeavesOnlyTheGround) {
    TZarBackground bg(nullptr);
    bg.BrushFill().SetBrushColor(clRed);
    bg.SetSolidColor(clYellow);
    for (TBrushStyle brush : {TBrushStyle::bsDiagCross, TBrushStyle::bsClear}) {
        bg.BrushFill().SetBrushStyle(brush);
        for (auto [style, ground] : {std::pair{bBrushFillSolidColor, RGB(255, 255, 0)},
                                     std::pair{bBrushFillUseCurrent, RGB(255, 255, 255)}}) {
            bg.SetBackgroundStyle(style);
            Surface s(16, 16);
            bg.PaintBackground(s.dc, 16, 16, true);
            std::set<COLORREF> colours;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    colours.insert(s.At(x, y));
            if (brush == TBrushStyle::bsClear)
                EXPECT_EQ(colours, (std::set<COLORREF>{ground}));
            else
                EXPECT_EQ(colours, (std::set<COLORREF>{RGB(255, 0, 0), ground}));
        }
    }
}

TEST(Background, HatchStartsAtTheAreasCornerWhereverTheDrawingIs) {
    TZarBackground bg(nullptr);
    bg.SetBackgroundStyle(bBrushFillUseCurrent);
    bg.BrushFill().SetBrushStyle(TBrushStyle::bsFDiagonal);
    bg.BrushFill().SetBrushColor(clBlue);
    Surface plain(16, 16), moved(24, 24);
    bg.PaintBackground(plain.dc, 16, 16, true);
    SetViewportOrgEx(moved.dc, 3, 5, nullptr);
    bg.PaintBackground(moved.dc, 16, 16, true);
    SetViewportOrgEx(moved.dc, 0, 0, nullptr);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(moved.At(x + 3, y + 5), plain.At(x, y)) << x << "," << y;
    EXPECT_EQ(moved.At(2, 2), Surface::Marker); // nothing outside the area
    // A new colour is a new tile.
    bg.BrushFill().SetBrushColor(clLime);
    bg.PaintBackground(plain.dc, 16, 16, true);
    std::set<COLORREF> colours;
    for (int x = 0; x < 16; ++x)
        colours.insert(plain.At(x, 0));
    EXPECT_EQ(colours, (std::set<COLORREF>{RGB(0, 255, 0), RGB(255, 255, 255)}));
}

TEST(Background, TextFaceShowsTheBackgroundOnly) {
    TZarBackground bg(nullptr);
    bg.SetBackgroundStyle(bSolidcolor);
    bg.SetSolidColor(RGB(255, 255, 0));
    TZarFont3D f3(nullptr);
    f3.SetThreeDimensional(false);
    f3.SetMaskFont(false);
    TFont font;
    font.SetName(L"Tahoma");
    font.SetHeight(30);
    font.SetStyle(fsBold);
    font.SetColor(clBlack);
    Surface s(80, 40, RGB(255, 255, 255));
    RECT r{0, 0, 80, 40};
    bg.DrawBackgroundText(f3, font, s.dc, r, L"HH", DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    std::set<COLORREF> colours;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            colours.insert(s.At(x, y));
    EXPECT_TRUE(colours.count(RGB(255, 255, 0))) << "no background inside the letters";
    EXPECT_FALSE(colours.count(RGB(0, 0, 0))) << "the face was drawn in the font colour";
    EXPECT_EQ(s.At(0, 0), RGB(255, 255, 255));
}

TEST(Painting, EveryGdiObjectMadeForAPaintIsReleased) {
    TFont font;
    font.SetName(L"Tahoma");
    font.SetHeight(14);
    font.Handle();
    TZarFrame frame(nullptr);
    TZarFont3D f3(nullptr);
    TZarBackground bg(nullptr);
    bg.Texture().SetImage(Picture(8, 8, RGB(255, 255, 255), RGB(1, 1, 1)));
    bg.Texture().SetTransparentColor(clWhite);
    Surface s(40, 30);
    const long before = win::LiveGdiObjects();
    for (int round = 0; round < 80; ++round) {
        for (int st = frameSolid; st <= frameLightBordered; ++st) {
            frame.SetFrameStyle(static_cast<TZarFrameStyle>(st));
            RECT r{0, 0, 40, 30};
            frame.DrawFrame(s.dc, r);
        }
        for (int st = fontRaised; st <= fontOutLineShadow; ++st) {
            f3.SetStyle3D(static_cast<TZarStyle3D>(st));
            f3.DrawText3D(font, s.dc, {0, 0, 40, 30}, L"Ab", DT_LEFT, round % 2 == 0);
        }
        for (int st = Circle; st <= HorizontalDoppelBar; ++st) {
            bg.Gradient().SetFillStyle(static_cast<TZarFillStyle>(st));
            bg.PaintBackground(s.dc, 40, 30, true);
        }
        for (int st = bTexture; st <= bBrushFillSolidColor; ++st) {
            bg.SetBackgroundStyle(static_cast<TZarBackStyle>(st));
            bg.PaintBackground(s.dc, 40, 30, true);
            bg.DrawBackgroundText(f3, font, s.dc, {0, 0, 40, 30}, L"Ab", DT_LEFT);
        }
        bg.SetBackgroundStyle(bGradient);
    }
    EXPECT_EQ(win::LiveGdiObjects(), before);
    // On Windows the system's own count must agree (under Wine it always answers 0).
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
        static DWORD system = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), system + 2);
    }
}

} // namespace
