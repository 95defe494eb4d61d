#include "components/GradientPlan.h"

#include "framework/Win32.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

int RoundHalfEven(double x) {
    // In whole numbers (the library's rounding function is a call per step of every plan).
    long long down = static_cast<long long>(x); // towards zero
    if (double(down) > x) --down;               // now the floor
    const double rest = x - double(down);
    return static_cast<int>(rest > 0.5 || (rest == 0.5 && (down & 1)) ? down + 1 : down);
}

namespace {

struct Rgb {
    int r, g, b;
};
Rgb Split(COLORREF c) {
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}
COLORREF Join(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

// Collects the shapes of one plan.
struct Shapes {
    std::vector<TGradientShape>& out;
    COLORREF color = 0;

    // Columns x..x+w-1 and rows y..y+h-1; negative extents reach back from x (or y).
    void Fill(int x, int y, int w, int h) {
        if (w == 0 || h == 0) return;
        if (w < 0) {
            x += w + 1;
            w = -w;
        }
        if (h < 0) {
            y += h + 1;
            h = -h;
        }
        out.push_back({TGradientShape::Box, {x, y, x + w, y + h}, color});
    }
    void Ellipse(int l, int t, int r, int b) { out.push_back({TGradientShape::Oval, {l, t, r, b}, color}); }
    void Line(int x1, int y1, int x2, int y2, COLORREF pen) {
        out.push_back({TGradientShape::Stroke, {x1, y1, x2, y2}, pen});
    }
};

// A band across the area along one axis, as Fill takes it: its start and its extent (negative reaches back).
struct Span {
    int at, extent;
};

// The two bands of a middle-bar step along an axis of length L: one from each end towards the middle.
std::array<Span, 2> MiddleBars(int L, int s, int S, int k, int N) {
    int b = RoundHalfEven(double(L) / S) + 1, o = RoundHalfEven(b * 0.5 * s) + 1;
    int q = RoundHalfEven(b * 0.5);
    int a1 = L - MulDiv(k, q + 1, N), b1 = L - MulDiv(k + 2, q + 1, N);
    int c1 = MulDiv(k, q, N), d1 = MulDiv(k + 2, q, N);
    return {Span{a1 - 1 - o, b1 - a1}, Span{o + c1, d1 - c1 + 1}};
}

// The three bands of a double-bar step along an axis of length L.
std::array<Span, 3> DoppelBars(int L, int s, int S, int k, int N) {
    const double third = 1.0L / 3.0L;
    int b = RoundHalfEven(double(L) / S) + 1, o = RoundHalfEven(b * third * s) + 1;
    int t = RoundHalfEven(b * third) + 1, q = RoundHalfEven(L * third);
    int c1 = MulDiv(k, t, N), d1 = MulDiv(k + 1, t, N);
    return {Span{o + c1, d1 - c1}, Span{2 * q - d1 - o, d1 - c1}, Span{2 * q + o + c1, d1 - c1}};
}

// One step's shapes. The stretch is painted in N steps; s is the stretch, S the number of stretches.
void PlanStep(TZarFillStyle style, int W, int H, int s, int S, int k, int N, COLORREF mirror, Shapes& p) {
    switch (style) {
    case Horizontal: {
        int bh = RoundHalfEven(double(H) / S) + 1, yo = bh * s;
        int y1 = MulDiv(k, bh, N), y2 = MulDiv(k + 2, bh, N);
        p.Fill(0, yo + y1, W, y2 - y1);
        break;
    }
    case Vertical: {
        int bw = RoundHalfEven(double(W) / S) + 1, xo = bw * s;
        int x1 = MulDiv(k, bw, N), x2 = MulDiv(k + 2, bw, N);
        p.Fill(xo + x1, 0, x2 - x1, H);
        break;
    }
    case LeftBottom: {
        int bh = RoundHalfEven(double(H) / S) + 1, yo = bh * s;
        int bw = RoundHalfEven(double(W) / S) + 1, xo = bw * s;
        int x1 = MulDiv(k, bw, N), y1 = MulDiv(k, bh, N);
        p.Fill(xo + x1, yo + y1, W - x1, H - y1);
        break;
    }
    case SquareMiddle: {
        int bh = RoundHalfEven(double(H) / S), yo = RoundHalfEven(bh * 0.5 * s);
        int bw = RoundHalfEven(double(W) / S), xo = RoundHalfEven(bw * 0.5 * s);
        int x1 = MulDiv(k, RoundHalfEven(bw * 0.5), N), y1 = MulDiv(k, RoundHalfEven(bh * 0.5), N);
        p.Fill(xo + x1, yo + y1, W - 2 * x1 - 2 * xo, H - 2 * y1 - 2 * yo);
        break;
    }
    case RoundMiddle: {
        int bh = RoundHalfEven(double(H) / S) + 1, yo = RoundHalfEven(bh * 0.5 * s) + 1;
        int bw = RoundHalfEven(double(W) / S) + 1, xo = RoundHalfEven(bw * 0.5 * s) + 1;
        int x1 = MulDiv(k, RoundHalfEven(bw * 0.5) + 1, N), y1 = MulDiv(k, RoundHalfEven(bh * 0.5) + 1, N);
        p.Ellipse(xo + x1, yo + y1, W - x1 - xo, H - y1 - yo);
        break;
    }
    case Singleflash: {
        int bh = RoundHalfEven(double(H) / S), yo = bh * s;
        int bw = RoundHalfEven(double(W) / S), xo = bw * s;
        p.Ellipse(xo + MulDiv(k, bw, N), yo + MulDiv(k, bh, N), W, H);
        break;
    }
    case DoppelFlash: {
        int bh = RoundHalfEven(double(H) / S) + 1, yo = bh * s + 1;
        int bw = RoundHalfEven(double(W) / S) + 1, xo = bw * s + 1;
        int x1 = MulDiv(k, bw, N), y1 = MulDiv(k, bh, N);
        p.Ellipse(xo + x1, yo + y1, W, H);
        p.Ellipse(W - x1 - xo, H - y1 - yo, 0, 0);
        break;
    }
    case Circle:
    case Spectral: {
        int bh = RoundHalfEven(double(H) / S) + 1, yo = bh * s;
        int bw = RoundHalfEven(double(W) / S) + 1, xo = bw * s;
        int x1 = MulDiv(k, bw, N), x2 = MulDiv(k + 2, bw, N);
        int y1 = MulDiv(k, bh, N), y2 = MulDiv(k + 2, bh, N);
        // Spectral lines alternate between the step's colour and its mirror step's.
        auto pen = [&](int j) { return style == Spectral && j % 2 == 0 ? mirror : p.color; };
        for (int j = x1; j <= x2; ++j)
            p.Line(xo + j, 0, W - j - xo, H, pen(j));
        for (int i = y1; i <= y2; ++i)
            p.Line(0, yo + i, W, H - i - yo, pen(i));
        break;
    }
    case MiddleHBar:
        for (Span band : MiddleBars(H, s, S, k, N))
            p.Fill(0, band.at, W, band.extent);
        break;
    case MiddleVBar:
        for (Span band : MiddleBars(W, s, S, k, N))
            p.Fill(band.at, 0, band.extent, H);
        break;
    case VerticalDoppelBar:
        for (Span band : DoppelBars(W, s, S, k, N))
            p.Fill(band.at, 0, band.extent, H);
        break;
    case HorizontalDoppelBar:
        for (Span band : DoppelBars(H, s, S, k, N))
            p.Fill(0, band.at, W, band.extent);
        break;
    }
}

uint32_t Pixel(COLORREF c) {
    return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

} // namespace

TGradientPlan PlanGradient(TZarFillStyle style, int W, int H, const std::vector<COLORREF>& run, int N) {
    TGradientPlan plan{run.empty() ? 0 : run.front(), {}};
    Shapes p{plan.shapes};
    const int S = std::max(1, static_cast<int>(run.size()) - 1);
    if (run.size() < 2 || N < 2) return plan;
    for (int s = 0; s < S; ++s) {
        Rgb a = Split(run[static_cast<size_t>(s)]), b = Split(run[static_cast<size_t>(s) + 1]);
        Rgb d{b.r - a.r, b.g - a.g, b.b - a.b};
        for (int k = 0; k < N; ++k) {
            // A step's colour has no zero component (black becomes 1, 1, 1); its mirror's is left as is.
            Rgb c{a.r + MulDiv(k, d.r, N - 1), a.g + MulDiv(k, d.g, N - 1), a.b + MulDiv(k, d.b, N - 1)};
            c = {std::max(c.r, 1), std::max(c.g, 1), std::max(c.b, 1)};
            const int m = N - 1 - k;
            Rgb mirror{a.r + MulDiv(m, d.r, N - 1), a.g + MulDiv(m, d.g, N - 1), a.b + MulDiv(m, d.b, N - 1)};
            p.color = Join(c);
            PlanStep(style, W, H, s, S, k, N, Join(mirror), p);
        }
    }
    return plan;
}

TBoxRaster::TBoxRaster(const TGradientPlan& plan, int w, int h) : w_(w), ground_(Pixel(plan.ground)) {
    // The boxes clipped to the area, those left empty dropped; their colours as pixels.
    for (const auto& s : plan.shapes) {
        if (s.kind != TGradientShape::Box) return;
        RECT r{std::max(0L, s.at.left), std::max(0L, s.at.top), std::min(LONG(w), s.at.right),
               std::min(LONG(h), s.at.bottom)};
        if (r.left >= r.right || r.top >= r.bottom) continue;
        boxes_.push_back(r);
        colors_.push_back(Pixel(s.color));
    }
    usable_ = true;
    auto all = [&](auto covers) { return std::all_of(boxes_.begin(), boxes_.end(), covers); };
    const size_t W = size_t(std::max(0, w)), H = size_t(std::max(0, h));
    if (all([&](const RECT& r) { return r.left == 0 && r.right == w; })) {
        // Bands across the whole width: one colour a row.
        layout_ = Rows;
        rowColor_.assign(H, ground_);
        for (size_t i = 0; i < boxes_.size(); ++i)
            std::fill(rowColor_.begin() + boxes_[i].top, rowColor_.begin() + boxes_[i].bottom, colors_[i]);
        return;
    }
    if (all([&](const RECT& r) { return r.top == 0 && r.bottom == h; })) {
        // Bands down the whole height: every row the same.
        layout_ = Columns;
        row_.assign(W, ground_);
        for (size_t i = 0; i < boxes_.size(); ++i)
            std::fill(row_.begin() + boxes_[i].left, row_.begin() + boxes_[i].right, colors_[i]);
        return;
    }
    for (size_t i = 1; i < boxes_.size(); ++i)
        if (!Inside(boxes_[i], boxes_[i - 1])) return; // painted one over the other
    // Each box inside the one before: a pixel shows the last box holding both its column and its row,
    // which is the earlier of the last box holding its column and the last holding its row.
    layout_ = Nested;
    lastX_.assign(W, -1);
    lastY_.assign(H, -1);
    for (int i = 0; i < int(boxes_.size()); ++i) {
        const RECT& r = boxes_[size_t(i)];
        std::fill(lastX_.begin() + r.left, lastX_.begin() + r.right, i);
        std::fill(lastY_.begin() + r.top, lastY_.begin() + r.bottom, i);
    }
}

void TBoxRaster::Paint(int top, int bottom, uint32_t* px, ptrdiff_t stride) const {
    const size_t W = size_t(w_);
    for (int y = top; y < bottom; ++y) {
        uint32_t* out = px + stride * (y - top);
        switch (layout_) {
        case Rows:
            std::fill_n(out, W, rowColor_[size_t(y)]);
            break;
        case Columns:
            std::copy(row_.begin(), row_.end(), out);
            break;
        case Nested: {
            const int rowLast = lastY_[size_t(y)];
            for (size_t x = 0; x < W; ++x) {
                const int i = std::min(lastX_[x], rowLast);
                out[x] = i < 0 ? ground_ : colors_[size_t(i)];
            }
            break;
        }
        case Overlaid:
            std::fill_n(out, W, ground_);
            for (size_t i = 0; i < boxes_.size(); ++i)
                if (boxes_[i].top <= y && y < boxes_[i].bottom)
                    std::fill(out + boxes_[i].left, out + boxes_[i].right, colors_[i]);
            break;
        }
    }
}

namespace {
void DrawShapes(HDC dc, int w, int h, const TGradientPlan& plan) {
    win::SelectObjectGuard selPen(dc, GetStockObject(DC_PEN));
    win::SelectObjectGuard selBrush(dc, GetStockObject(DC_BRUSH));
    SetROP2(dc, R2_COPYPEN);
    SetDCPenColor(dc, plan.ground);
    SetDCBrushColor(dc, plan.ground);
    PatBlt(dc, 0, 0, w, h, PATCOPY);
    for (const auto& s : plan.shapes) {
        SetDCPenColor(dc, s.color);
        SetDCBrushColor(dc, s.color);
        const RECT& r = s.at;
        switch (s.kind) {
        case TGradientShape::Box:
            PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATCOPY);
            break;
        case TGradientShape::Oval:
            Ellipse(dc, r.left, r.top, r.right, r.bottom);
            break;
        case TGradientShape::Stroke:
            MoveToEx(dc, r.left, r.top, nullptr);
            LineTo(dc, r.right, r.bottom);
            break;
        }
    }
}
} // namespace

void DrawPlanShapeByShape(HDC dc, int w, int h, const TGradientPlan& plan) {
    if (GetObjectType(dc) == OBJ_MEMDC) {
        // Already off-screen: drawn in place, which spares a fresh bitmap of the whole area, and kept to
        // the area: a line or an oval of the plan may reach a pixel past its edges.
        win::SaveDCGuard keep(dc);
        IntersectClipRect(dc, 0, 0, w, h);
        DrawShapes(dc, w, h, plan);
        return;
    }
    win::MemoryDC mem(dc);
    win::Bitmap bitmap(CreateCompatibleBitmap(dc, std::max(1, w), std::max(1, h)));
    win::SelectObjectGuard selBitmap(mem, bitmap.get());
    DrawShapes(mem, w, h, plan);
    BitBlt(dc, 0, 0, w, h, mem, 0, 0, SRCCOPY);
}

namespace {

// The pixel of the DC's surface at the DC's (0, 0) and the distance between its rows, when the surface can
// take the painting straight: a 32-bit DIB section in a memory DC that maps without scaling or mirroring,
// whose drawable part is a rectangle holding the whole area.
bool DirectPixels(HDC dc, int w, int h, uint32_t*& origin, ptrdiff_t& stride) {
    if (GetObjectType(dc) != OBJ_MEMDC) return false;
    DIBSECTION ds{};
    if (GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof ds, &ds) != sizeof ds) return false;
    if (ds.dsBm.bmBitsPixel != 32 || !ds.dsBm.bmBits || ds.dsBmih.biCompression != BI_RGB) return false;
    if (GetMapMode(dc) != MM_TEXT || GetGraphicsMode(dc) != GM_COMPATIBLE || GetLayout(dc) != 0 ||
        GetROP2(dc) != R2_COPYPEN)
        return false;
    RECT clip;
    if (GetClipBox(dc, &clip) != SIMPLEREGION || clip.left > 0 || clip.top > 0 || clip.right < w ||
        clip.bottom < h)
        return false;
    POINT viewport, window;
    GetViewportOrgEx(dc, &viewport);
    GetWindowOrgEx(dc, &window);
    const long long x = viewport.x - window.x, y = viewport.y - window.y; // (0, 0) on the surface
    if (x < 0 || y < 0 || x + w > ds.dsBm.bmWidth || y + h > ds.dsBm.bmHeight) return false;
    GdiFlush(); // what GDI still has to draw there comes first
    auto* bits = static_cast<uint8_t*>(ds.dsBm.bmBits);
    const ptrdiff_t rowBytes = ds.dsBm.bmWidthBytes;
    uint32_t* down = reinterpret_cast<uint32_t*>(bits + rowBytes * y) + x;
    uint32_t* up = reinterpret_cast<uint32_t*>(bits + rowBytes * (ds.dsBm.bmHeight - 1 - y)) + x;
    // Which way the rows run: not every system reports a top-down section as one, so a pixel set at
    // (0, 0), which the painting covers anyway, shows it.
    bool topDown = ds.dsBmih.biHeight < 0;
    if (!topDown && down != up) {
        const uint32_t probe = ~*down & 0xFFFFFF;
        SetPixelV(dc, 0, 0, RGB(probe >> 16, (probe >> 8) & 0xFF, probe & 0xFF));
        GdiFlush();
        topDown = *down == probe;
    }
    origin = topDown ? down : up;
    stride = (topDown ? rowBytes : -rowBytes) / 4;
    return true;
}

} // namespace

TGradientPainter::TGradientPainter(TGradientPlan plan, int w, int h)
    : plan_(std::move(plan)), w_(w), h_(h), boxes_(plan_, w, h) {
    if (!boxes_.Usable() && w > 0 && h > 0) shapes_.emplace(plan_, w, h);
}

void TGradientPainter::Draw(HDC dc) {
    const int w = w_, h = h_;
    if (w <= 0 || h <= 0) return;
    if (shapes_ && !shapes_->Usable()) return DrawPlanShapeByShape(dc, w, h, plan_);
    auto paint = [&](int top, int bottom, uint32_t* px, ptrdiff_t stride) {
        if (boxes_.Usable())
            boxes_.Paint(top, bottom, px, stride);
        else
            shapes_->Paint(top, bottom, px, stride);
    };
    uint32_t* origin = nullptr;
    ptrdiff_t stride = 0;
    if (DirectPixels(dc, w, h, origin, stride)) return paint(0, h, origin, stride);
    // Otherwise a few rows at a time through one small buffer: fresh memory for a whole large area costs
    // more than the painting (every page is faulted in), and a buffer this size is reused by the heap.
    const int rows = std::clamp(4096 / w, 1, h);
    std::vector<uint32_t> pixels(size_t(w) * size_t(rows));
    BITMAPINFO info{};
    for (int top = 0; top < h; top += rows) {
        const int n = std::min(rows, h - top);
        paint(top, top + n, pixels.data(), w);
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -n, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        SetDIBitsToDevice(dc, 0, top, DWORD(w), DWORD(n), 0, 0, 0, UINT(n), pixels.data(), &info,
                          DIB_RGB_COLORS);
    }
}

void DrawGradientPlan(HDC dc, int w, int h, const TGradientPlan& plan) {
    if (w <= 0 || h <= 0) return;
    TGradientPainter(plan, w, h).Draw(dc);
}

// ---- ovals and lines ---------------------------------------------------------------------------------

namespace {

// OvalInsets' walk, into lower[0 .. (h+1)/2 - 1]: the insets of rows h/2 .. h-1 (those above are their
// mirror images), each holding w (no pixel) before.
template <typename T> void WalkOval(int w, int h, T* lower) {
    // The walk runs over the lower-left quarter from the middle of the left edge: x0 its column, y0 the
    // row below the middle (rows h/2 ..). err is the ellipse's equation, 4 (h-1)^2 X^2 + 4 (w-1)^2 Y^2 -
    // (w-1)^2 (h-1)^2 in doubled coordinates from the centre, at the next diagonal pixel; dx and dy are
    // what a step in and a step out add to it. The walk only moves in and out, so a row's first pixel is
    // the one where the walk comes to it.
    const long long a = w - 1, b = h - 1, odd = b & 1;
    long long dx = 4 * (1 - a) * b * b, dy = 4 * (odd + 1) * a * a, err = dx + dy + odd * a * a;
    const int rows = (h + 1) / 2, middle = int(a / 2); // middle: the last column of the left half
    int x0 = 0, y0 = 0;
    bool fresh = true; // the walk has just come to row y0
    while (x0 <= middle) {
        if (fresh && y0 < rows) lower[y0] = T(x0);
        const long long e2 = 2 * err;
        fresh = e2 <= dy;
        if (fresh) { // a row out
            ++y0;
            err += dy += 8 * a * a;
        }
        if (e2 >= dx) { // a column in
            ++x0;
            err += dx += 8 * b * b;
        }
    }
    // A narrow ellipse reaches the middle columns before its top and bottom rows: its tips are those
    // columns on the rows left.
    for (y0 += fresh ? 0 : 1; y0 < rows; ++y0)
        lower[y0] = T(middle);
}

// Four pixels of colour c from p on, in one store where the processor has one that wide.
void Put4(uint32_t* p, uint32_t c) {
#if defined(__SSE2__) || defined(_M_X64)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_set1_epi32(int(c)));
#else
    p[0] = p[1] = p[2] = p[3] = c;
#endif
}

// floor(a / b) for b > 0.
long long FloorDiv(long long a, long long b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// A pair of shapes' boxes are the same line (or the same box).
bool SameAt(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

void TShapeRaster::WalkLine(TLine& l, int top, int bottom, int w, uint32_t* px, ptrdiff_t stride) {
    const uint32_t c = l.color;
    uint64_t acc = l.acc;
    const uint64_t add = l.add;
    int major = l.major, left = l.left;
    const int js = l.majorStep, ms = l.minorStep, base = l.minorBase;
    if (l.xMajor) { // along a row, now and then a row down (the rows only go down)
        for (; left > 0; --left, major += js, acc += add) {
            const int y = base + int(acc >> 32);
            if (y >= bottom) break;
            if (l.inside || (y >= top && unsigned(major) < unsigned(w))) px[(y - top) * stride + major] = c;
        }
    } else { // a pixel a row
        const int rows = std::max(0, std::min(left, bottom - major));
        if (l.inside) {
            uint32_t* row = px + (major - top) * stride + base;
            for (int k = 0; k < rows; ++k, row += stride, acc += add)
                row[ptrdiff_t(ms) * ptrdiff_t(acc >> 32)] = c;
        } else {
            for (int k = 0, y = major; k < rows; ++k, ++y, acc += add) {
                const int x = base + ms * int(acc >> 32);
                if (y >= top && unsigned(x) < unsigned(w)) px[(y - top) * stride + x] = c;
            }
        }
        major += rows;
        left -= rows;
    }
    l.acc = acc;
    l.major = major;
    l.left = left;
}

std::vector<int> OvalInsets(int w, int h) {
    std::vector<int> inset(size_t(std::max(h, 0)), std::max(w, 0));
    if (w <= 0 || h <= 0) return inset;
    std::vector<int> lower(size_t(h + 1) / 2, w);
    WalkOval(w, h, lower.data());
    for (int y = 0; y < h; ++y)
        inset[size_t(y)] = lower[size_t(std::max(y, h - 1 - y) - h / 2)];
    return inset;
}

TShapeRaster::TShapeRaster(const TGradientPlan& plan, int w, int h)
    : w_(w), h_(h), ground_(Pixel(plan.ground)) {
    const auto& shapes = plan.shapes;
    bool hasOvals = false;
    for (const auto& s : shapes) {
        hasLines_ |= s.kind == TGradientShape::Stroke;
        hasOvals |= s.kind == TGradientShape::Oval;
        const LONG span = std::max(std::abs(s.at.right - s.at.left), std::abs(s.at.bottom - s.at.top));
        if (span > kMaxShape) usable_ = false;
    }
    // Lines are walked apart from the ovals' runs: a plan of both is left to the system's drawing.
    if (hasLines_ && hasOvals) usable_ = false;
    if (!usable_) return;
    if (hasLines_) {
        // Only the last of equal lines shows (it is drawn over the earlier ones): a table of the lines
        // kept, walked from the last shape back, finds each line's later copy.
        std::vector<int> kept;
        {
            size_t size = 16;
            while (size < 2 * shapes.size())
                size *= 2;
            std::vector<int> table(size, -1);
            for (size_t k = shapes.size(); k-- > 0;) {
                const RECT& r = shapes[k].at;
                if (shapes[k].kind == TGradientShape::Stroke) {
                    size_t slot = (size_t(r.left) * 73856093u ^ size_t(r.top) * 19349663u ^
                                   size_t(r.right) * 83492791u ^ size_t(r.bottom) * 2654435761u) &
                                  (size - 1);
                    while (table[slot] >= 0 && !SameAt(shapes[size_t(table[slot])].at, r))
                        slot = (slot + 1) & (size - 1);
                    if (table[slot] >= 0) continue;
                    table[slot] = int(k);
                }
                if (shapes[k].kind != TGradientShape::Oval) kept.push_back(int(k)); // no ovals among lines
            }
        }
        lines_.reserve(kept.size());
        for (size_t i = kept.size(); i-- > 0;) {
            const TGradientShape& s = shapes[size_t(kept[i])];
            if (s.kind == TGradientShape::Box) {
                TLine box{};
                box.box = int(boxes_.size());
                boxes_.push_back({s.at, Pixel(s.color)});
                lines_.push_back(box);
            } else if (s.at.left != s.at.right || s.at.top != s.at.bottom) {
                lines_.push_back(StartLine(s.at, Pixel(s.color), w, h));
            }
        }
        return;
    }
    // Each shape's rows, and each oval's insets: those of the lower half of its rows (the rows above mirror
    // them). Ovals of the same size share their insets (a plan's ovals often come in pairs). A box's
    // insets are the zeros at the start. First the shapes, noting which ovals share the insets of which
    // shape before them, then the insets, each block walked straight into its place.
    constexpr uint32_t kShares = 0x80000000;
    auto oval = [](const TActive& a) { return a.end >= a.top; };
    auto rows = [](const TActive& a) { return a.end - a.top + 1; }; // an oval's
    shapes_.reserve(shapes.size());
    size_t count = size_t(h);
    for (const auto& s : shapes) {
        const RECT& r = s.at;
        int t = std::min(r.top, r.bottom), bottom = std::max(r.top, r.bottom);
        int l = std::min(r.left, r.right), right = std::max(r.left, r.right);
        if (s.kind != TGradientShape::Oval) {
            t = std::max(t, 0);
            bottom = std::min(bottom, h);
            l = std::max(l, 0);
            right = std::min(right, w);
        }
        if (l >= right || std::max(t, 0) >= std::min(bottom, h)) continue; // nothing in the area
        TActive a{t, t - 1, std::min(bottom, h) - 1, l, right, 0, Pixel(s.color)};
        if (s.kind == TGradientShape::Oval) {
            a.end = bottom - 1;
            a.at = kShares | uint32_t(shapes_.size()); // itself: insets of its own
            for (size_t back = 1; back <= 2 && back <= shapes_.size(); ++back) {
                const TActive& o = shapes_[shapes_.size() - back];
                if (oval(o) && rows(o) == rows(a) && o.right - o.left == right - l) {
                    a.at = kShares | uint32_t(shapes_.size() - back);
                    break;
                }
            }
            if (a.at == (kShares | uint32_t(shapes_.size()))) count += size_t(rows(a) + 1) / 2;
        }
        shapes_.push_back(a);
    }
    insets_.reserve(count);
    insets_.assign(size_t(h), 0);
    for (size_t k = 0; k < shapes_.size(); ++k) {
        TActive& a = shapes_[k];
        if (!oval(a)) continue;
        const size_t from = a.at & ~kShares;
        if (from < k) {
            a.at = shapes_[from].at;
            continue;
        }
        const int width = a.right - a.left;
        const size_t at = insets_.size();
        insets_.resize(at + size_t(rows(a) + 1) / 2, uint16_t(width));
        WalkOval(width, rows(a), insets_.data() + at);
        a.at = uint32_t(at - size_t(rows(a) / 2)); // row r's inset at at + max(r, rows - 1 - r)
    }
    // The shapes in the order of their first rows in the area (in the plan's order among those of one row),
    // for the rows to take them up as they come to them; and how many end on each row.
    std::vector<uint32_t> startingAt(size_t(h) + 1, 0);
    endingAt_.assign(size_t(h), 0);
    for (const TActive& a : shapes_) {
        ++startingAt[size_t(std::max(a.top, 0)) + 1];
        ++endingAt_[size_t(a.last)];
    }
    for (size_t y = 1; y <= size_t(h); ++y)
        startingAt[y] += startingAt[y - 1];
    byTop_.resize(shapes_.size());
    for (uint32_t k = 0; k < shapes_.size(); ++k)
        byTop_[startingAt[size_t(std::max(shapes_[k].top, 0))]++] = k;
    active_.reserve(shapes_.size());
    row_.assign(size_t(w) + 2 * kMargin, 0);
    // The lower rows repeat the upper ones when, in each stretch of shapes of one colour, every shape has
    // its mirror image (shapes of one colour in a row cover what their union covers, and the last
    // stretch covering a pixel gives its colour). A shape as {oval, left, top, right, bottom}:
    using TKey = std::array<int, 5>;
    auto key = [&](const TActive& a) {
        return TKey{oval(a), a.left, a.top, a.right, oval(a) ? a.end + 1 : a.last + 1};
    };
    auto repeats = [&](auto image) {
        std::vector<TKey> these, images;
        for (size_t i = 0, j = 0; i < shapes_.size(); i = j) {
            these.clear();
            images.clear();
            for (j = i; j < shapes_.size() && shapes_[j].color == shapes_[i].color; ++j) {
                these.push_back(key(shapes_[j]));
                images.push_back(image(these.back()));
            }
            std::sort(these.begin(), these.end());
            std::sort(images.begin(), images.end());
            if (these != images) return false;
        }
        return true;
    };
    if (repeats([&](const TKey& k) { return TKey{k[0], k[1], h - k[4], k[3], h - k[2]}; }))
        repeat_ = Flipped;
    else if (repeats([&](const TKey& k) { return TKey{k[0], w - k[3], h - k[4], w - k[1], h - k[2]}; }))
        repeat_ = Turned;
}

TShapeRaster::TLine TShapeRaster::StartLine(const RECT& at, uint32_t color, int w, int h) {
    const long long dx = at.right - at.left, dy = at.bottom - at.top;
    const long long n = std::max(std::llabs(dx), std::llabs(dy));
    const bool xMajor = std::llabs(dx) == n;
    const long long d = xMajor ? dy : dx, step = (xMajor ? dx : dy) > 0 ? 1 : -1;
    // Walked in the order of its rows: from the end point back when it rises.
    const long long di = dy >= 0 ? 1 : -1, i = di > 0 ? 0 : n - 1;
    // Pixel i's minor coordinate is floor((2 i d + n - 1) / 2n) = q, with remainder r. Counted from the
    // first pixel walked, the minor coordinate moves (by minorStep) floor((e + k add) / 2n) after k steps,
    // with e = r, or 2n - 1 - r when it goes the other way.
    const long long num = 2 * i * d + n - 1, q = FloorDiv(num, 2 * n), r = num - 2 * n * q;
    const long long d2 = 2 * d * di, e = d2 >= 0 ? r : 2 * n - 1 - r, add = std::llabs(d2), n2 = 2 * n;
    TLine l{};
    l.box = -1;
    l.color = color;
    l.xMajor = xMajor;
    l.left = int(n);
    l.minorStep = d2 >= 0 ? 1 : -1;
    l.majorStep = int(step * di);
    l.major = int((xMajor ? at.left : at.top) + i * step);
    l.minorBase = int((xMajor ? at.top : at.left) + q);
    // That quotient in 32.32 fixed point, every term rounded up: after k steps the sum is at most k + 1
    // units of 2^-32 above the exact value, less than the 1/2n by which the exact value stays below its
    // next whole number while (k + 1) 2n < 2^32, as it is for lines up to kMaxShape pixels long.
    l.acc = ((uint64_t(e) << 32) + uint64_t(n2) - 1) / uint64_t(n2);
    l.add = ((uint64_t(add) << 32) + uint64_t(n2) - 1) / uint64_t(n2);
    // Both coordinates only grow or only shrink along the line, so its first and last pixels bound it.
    auto inArea = [&](long long j) {
        const long long mj = (xMajor ? at.left : at.top) + j * step,
                        mn = (xMajor ? at.top : at.left) + FloorDiv(2 * j * d + n - 1, 2 * n);
        const long long x = xMajor ? mj : mn, y = xMajor ? mn : mj;
        return x >= 0 && x < w && y >= 0 && y < h;
    };
    l.inside = inArea(0) && inArea(n - 1);
    return l;
}

void TShapeRaster::Take(int first, int last, uint32_t c, uint32_t* out) {
    size_t i = 0;
    while (i < cover_.size() && cover_[i].second < first)
        ++i;
    size_t j = i;
    int x = first, start = first, end = last;
    for (; j < cover_.size() && cover_[j].first <= last; ++j) {
        if (cover_[j].first > x) std::fill(out + x, out + cover_[j].first, c);
        x = std::max(x, cover_[j].second);
        start = std::min(start, cover_[j].first);
        end = std::max(end, cover_[j].second);
    }
    if (x < last) std::fill(out + x, out + last, c);
    if (i == j) {
        cover_.insert(cover_.begin() + std::ptrdiff_t(i), {start, end});
    } else {
        cover_[i] = {start, end};
        cover_.erase(cover_.begin() + std::ptrdiff_t(i) + 1, cover_.begin() + std::ptrdiff_t(j));
    }
}

void TShapeRaster::Paint(int top, int bottom, uint32_t* px, ptrdiff_t stride) {
    const int W = w_;
    if (hasLines_) {
        // In the plan's order, each line over what is there: every pixel keeps the last line's colour.
        // Each line goes on from the row where the rows above left it.
        if (top == 0) walking_ = lines_;
        for (int y = top; y < bottom; ++y)
            std::fill_n(px + stride * (y - top), W, ground_);
        for (TLine& l : walking_) {
            if (l.box >= 0) {
                const auto& [r, c] = boxes_[size_t(l.box)];
                for (int y = std::max<int>(top, r.top); y < std::min<int>(bottom, r.bottom); ++y)
                    std::fill(px + stride * (y - top) + std::clamp<LONG>(r.left, 0, W),
                              px + stride * (y - top) + std::clamp<LONG>(r.right, 0, W), c);
                continue;
            }
            WalkLine(l, top, bottom, W, px, stride);
        }
        return;
    }
    // Ovals and boxes, row by row: the shapes from the last back, each taking the pixels of its run that no
    // later shape took, so every pixel is written once. `active_` holds the shapes reaching the row, in the
    // plan's order. When the lower rows repeat the upper ones, they are copied from them when all rows are
    // painted at once.
    if (top == 0) {
        next_ = 0;
        active_.clear();
        ended_ = 0;
    }
    const bool repeat = repeat_ != NoRepeat && top == 0 && bottom == h_;
    if (repeat) bottom = (h_ + 1) / 2;
    uint32_t* const out = row_.data() + kMargin;
    for (int y = top; y < bottom; ++y) {
        // The shapes starting on this row join.
        while (next_ < byTop_.size() && std::max(shapes_[byTop_[next_]].top, 0) <= y) {
            const uint32_t k = byTop_[next_++];
            // (Kept in the plan's order: a shape coming later in it, as most new ones do, goes at the end.)
            active_.insert(std::upper_bound(active_.begin(), active_.end(), k), k);
        }
        // Those that ended are passed over, and dropped once they are an eighth of the list.
        if (y > 0) ended_ += endingAt_[size_t(y - 1)];
        if (ended_ > 0 && ended_ * 8 >= active_.size()) {
            active_.erase(std::remove_if(active_.begin(), active_.end(),
                                         [&](uint32_t k) { return y > shapes_[k].last; }),
                          active_.end());
            ended_ = 0;
        }
        // A shape's run on the row (none for one that ended).
        const uint16_t* const insets = insets_.data();
        auto runOf = [&](const TActive& a) {
            if (y > a.last) return std::pair{W, W};
            const int in = insets[a.at + uint32_t(std::max(y - a.top, a.end - y))];
            return std::pair{std::max(a.left + in, 0), std::min(a.right - in, W)};
        };
        // Each run's pixels that no later run took are written straight into the row. While what the later
        // runs took is at most two runs, f1..t1-1 and f2..t2-1 apart from each other (the usual case), the
        // pieces are found without a list; beyond, what they took is the list cover_, in order and apart.
        int runs = 0, f1 = 0, t1 = 0, f2 = 0, t2 = 0;
        for (auto at = active_.rbegin(); at != active_.rend(); ++at) {
            if (runs == 1) {
                // Runs that grow the one run, as most do: at most two short pieces each, written four at a
                // time from the run outwards. A pixel written beyond a piece (into the row's margins too)
                // is one no later run took, which an earlier run or the ground writes again.
                for (; at != active_.rend(); ++at) {
                    const TActive& a = shapes_[*at];
                    const auto [first, last] = runOf(a);
                    if (first > t1 || last < f1 || first >= last) break;
                    const uint32_t c = a.color;
                    if (f1 - first <= 4 && last - t1 <= 4) {
                        Put4(first < f1 ? out + f1 - 4 : scratch_, c);
                        Put4(last > t1 ? out + t1 : scratch_, c);
                    } else {
                        std::fill(out + first, out + std::max(first, f1), c);
                        std::fill(out + std::min(last, t1), out + last, c);
                    }
                    f1 = std::min(f1, first);
                    t1 = std::max(t1, last);
                }
                if (at == active_.rend() || (f1 == 0 && t1 == W)) break;
            }
            const TActive& a = shapes_[*at];
            const auto [first, last] = runOf(a);
            const uint32_t c = a.color;
            if (first >= last) continue;
            if (runs == 3) {
                Take(first, last, c, out);
                continue;
            }
            if (runs == 0) {
                std::fill(out + first, out + last, c);
                f1 = first;
                t1 = last;
                runs = 1;
                continue;
            }
            const bool left = first <= t1 && last >= f1, right = runs == 2 && first <= t2 && last >= f2;
            if (left || right) { // reaches one run or both: the pieces before, between and after
                int& f = left ? f1 : f2;
                int& t = right ? t2 : t1;
                std::fill(out + first, out + std::max(first, f), c);
                if (left && right) std::fill(out + t1, out + f2, c);
                std::fill(out + std::min(last, t), out + last, c);
                f = std::min(f, first);
                t = std::max(t, last);
                if (left && right) {
                    t1 = t2;
                    runs = 1;
                }
            } else if (runs == 1) { // a second run, before or after the first
                std::fill(out + first, out + last, c);
                if (last < f1) {
                    f2 = f1;
                    t2 = t1;
                    f1 = first;
                    t1 = last;
                } else {
                    f2 = first;
                    t2 = last;
                }
                runs = 2;
            } else { // a third: the list takes over
                cover_.assign({{f1, t1}, {f2, t2}});
                runs = 3;
                Take(first, last, c, out);
            }
        }
        // The ground around and between the runs.
        if (runs == 3) {
            Take(0, W, ground_, out);
        } else {
            if (runs == 0) f1 = t1 = W;
            std::fill(out, out + f1, ground_);
            if (runs == 2) std::fill(out + t1, out + f2, ground_);
            std::fill(out + (runs == 2 ? t2 : t1), out + W, ground_);
        }
        std::copy_n(out, W, px + stride * (y - top));
    }
    if (repeat_ == Flipped && repeat)
        for (int y = bottom; y < h_; ++y)
            std::copy_n(px + stride * (h_ - 1 - y), W, px + stride * y);
    if (repeat_ == Turned && repeat)
        for (int y = bottom; y < h_; ++y)
            std::reverse_copy(px + stride * (h_ - 1 - y), px + stride * (h_ - 1 - y) + W, px + stride * y);
}
