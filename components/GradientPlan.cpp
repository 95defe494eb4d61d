#include "components/GradientPlan.h"

#include "framework/Win32.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

int RoundHalfEven(double x) {
    return static_cast<int>(std::nearbyint(x)); // the default rounding mode is to-even
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

void TBoxRaster::Paint(int top, int bottom, uint32_t* px) const {
    const size_t W = size_t(w_);
    for (int y = top; y < bottom; ++y) {
        uint32_t* out = px + W * size_t(y - top);
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

void DrawGradientPlan(HDC dc, int w, int h, const TGradientPlan& plan) {
    if (w <= 0 || h <= 0) return;
    TBoxRaster boxes(plan, w, h);
    TShapeRaster shapes(plan, w, h);
    // A few rows at a time through one small buffer: fresh memory for a whole large area costs more than
    // the painting (every page is faulted in), and a buffer this size is reused by the heap. Lines cross
    // many rows each, so a plan with lines is painted whole.
    const int rows = boxes.Usable() || !shapes.HasLines() ? std::clamp(16384 / w, 1, h) : h;
    std::vector<uint32_t> pixels(size_t(w) * size_t(rows));
    BITMAPINFO info{};
    for (int top = 0; top < h; top += rows) {
        const int n = std::min(rows, h - top);
        if (boxes.Usable())
            boxes.Paint(top, top + n, pixels.data());
        else
            shapes.Paint(top, top + n, pixels.data());
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -n, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        SetDIBitsToDevice(dc, 0, top, DWORD(w), DWORD(n), 0, 0, 0, UINT(n), pixels.data(), &info,
                          DIB_RGB_COLORS);
    }
}

// ---- ovals and lines ---------------------------------------------------------------------------------

std::vector<int> OvalInsets(int w, int h) {
    std::vector<int> inset(size_t(std::max(h, 0)), std::max(w, 0));
    if (w <= 0 || h <= 0) return inset;
    // The walk runs over the upper-left quarter from the middle of the left edge: x0 its column, y0 and
    // y1 the rows it marks below and above the middle (one row when h is odd). err is the ellipse's
    // equation, 4 (h-1)^2 X^2 + 4 (w-1)^2 Y^2 - (w-1)^2 (h-1)^2 in doubled coordinates from the centre,
    // at the next diagonal pixel; dx and dy are what a step in and a step out add to it.
    const long long a = w - 1, b = h - 1, odd = b & 1;
    long long dx = 4 * (1 - a) * b * b, dy = 4 * (odd + 1) * a * a, err = dx + dy + odd * a * a;
    int x0 = 0, y0 = int((b + 1) / 2), y1 = int(y0 - odd);
    const int middle = int(a / 2); // the last column of the left half
    auto mark = [&](int y, int x) {
        if (y >= 0 && y < h) inset[size_t(y)] = std::min(inset[size_t(y)], x);
    };
    while (x0 <= middle) {
        mark(y0, x0);
        mark(y1, x0);
        const long long e2 = 2 * err;
        if (e2 <= dy) { // a row out
            ++y0;
            --y1;
            err += dy += 8 * a * a;
        }
        if (e2 >= dx) { // a column in
            ++x0;
            err += dx += 8 * b * b;
        }
    }
    // A narrow ellipse reaches the middle columns before its top and bottom rows: its tips are those
    // columns on the rows left.
    for (; y1 >= 0; ++y0, --y1) {
        mark(y0, middle);
        mark(y1, middle);
    }
    return inset;
}

TShapeRaster::TShapeRaster(const TGradientPlan& plan, int w, int h)
    : w_(w), h_(h), ground_(Pixel(plan.ground)), plan_(plan) {
    rows_.resize(plan.shapes.size());
    for (size_t k = 0; k < plan.shapes.size(); ++k) {
        const auto& s = plan.shapes[k];
        colors_.push_back(Pixel(s.color));
        if (s.kind == TGradientShape::Stroke) hasLines_ = true;
        if (s.kind != TGradientShape::Oval) continue;
        // Only the rows of the oval inside the area are kept.
        const RECT& r = s.at;
        const int t = std::min(r.top, r.bottom), bottom = std::max(r.top, r.bottom);
        const int l = std::min(r.left, r.right), right = std::max(r.left, r.right);
        TOvalRows& o = rows_[k];
        o.top = std::max(t, 0);
        o.left = l;
        o.right = right;
        const std::vector<int> inset = OvalInsets(right - l, bottom - t);
        for (int y = o.top; y < std::min(bottom, h); ++y)
            o.inset.push_back(inset[size_t(y - t)]);
    }
}

namespace {
// floor(a / b) for b > 0.
long long FloorDiv(long long a, long long b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
// round(i * d / n), halves down (towards minus infinity), for n > 0.
long long RoundStep(long long i, long long d, long long n) {
    return FloorDiv(2 * i * d + n - 1, 2 * n);
}
} // namespace

void TShapeRaster::Paint(int top, int bottom, uint32_t* px) const {
    const size_t W = size_t(w_);
    if (hasLines_) {
        // In the plan's order, each line over what is there: every pixel keeps the last line's colour.
        std::fill_n(px, W * size_t(bottom - top), ground_);
        for (size_t k = 0; k < plan_.shapes.size(); ++k) {
            const auto& s = plan_.shapes[k];
            const RECT& r = s.at;
            if (s.kind == TGradientShape::Box) {
                for (int y = std::max<int>(top, r.top); y < std::min<int>(bottom, r.bottom); ++y)
                    for (int x = std::max(0, int(r.left)); x < std::min(w_, int(r.right)); ++x)
                        px[W * size_t(y - top) + size_t(x)] = colors_[k];
                continue;
            }
            if (s.kind != TGradientShape::Stroke) continue; // plans mix no ovals with lines
            const long long dx = r.right - r.left, dy = r.bottom - r.top;
            const long long n = std::max(std::llabs(dx), std::llabs(dy));
            for (long long i = 0; i < n; ++i) {
                const long long x = r.left + RoundStep(i, dx, n), y = r.top + RoundStep(i, dy, n);
                if (x >= 0 && x < w_ && y >= top && y < bottom) px[W * size_t(y - top) + size_t(x)] = colors_[k];
            }
        }
        return;
    }
    // Ovals and boxes, row by row: the shapes from the last back, each taking the pixels of its run that no
    // later shape took, so every pixel is written once. `next` leads from a pixel to the first one not yet
    // taken at or after it.
    std::vector<int> next(W + 1);
    for (int y = top; y < bottom; ++y) {
        uint32_t* out = px + W * size_t(y - top);
        for (size_t x = 0; x <= W; ++x)
            next[x] = int(x);
        auto free = [&](int x) {
            int root = x;
            while (next[size_t(root)] != root)
                root = next[size_t(root)];
            while (next[size_t(x)] != root) {
                const int up = next[size_t(x)];
                next[size_t(x)] = root;
                x = up;
            }
            return root;
        };
        size_t left = W;
        for (size_t k = plan_.shapes.size(); k-- > 0 && left > 0;) {
            const auto& s = plan_.shapes[k];
            int first = 0, last = 0;
            if (s.kind == TGradientShape::Oval) {
                const TOvalRows& o = rows_[k];
                if (y < o.top || y - o.top >= int(o.inset.size())) continue;
                first = o.left + o.inset[size_t(y - o.top)];
                last = o.right - o.inset[size_t(y - o.top)];
            } else if (s.at.top <= y && y < s.at.bottom) {
                first = s.at.left;
                last = s.at.right;
            }
            first = std::max(first, 0);
            last = std::min(last, w_);
            for (int x = first < last ? free(first) : last; x < last; x = free(x + 1)) {
                out[x] = colors_[k];
                next[size_t(x)] = x + 1;
                --left;
            }
        }
        for (int x = free(0); x < w_; x = free(x + 1)) {
            out[x] = ground_;
            next[size_t(x)] = x + 1;
        }
    }
}
