#include "components/GradientPlan.h"

#include <algorithm>
#include <array>

int RoundHalfEven(double x) {
    // In whole numbers (the library's rounding function is a call per step of every plan).
    auto down = static_cast<long long>(x);     // towards zero
    if (static_cast<double>(down) > x) --down; // now the floor
    const double rest = x - static_cast<double>(down);
    return static_cast<int>(rest > 0.5 || (rest == 0.5 && (down & 1)) ? down + 1 : down);
}

namespace {

struct TRgb {
    int r, g, b;
};
TRgb Split(COLORREF c) {
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}
COLORREF Join(TRgb c) {
    return RGB(c.r, c.g, c.b);
}

// Collects the shapes of one plan.
struct TShapes {
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

// Where a step stands: the area, which stretch of the colour run (of how many) and which of its steps (of
// how many).
struct TStep {
    int width, height, stretch, stretches, step, steps;
    // A band's length along an axis of the given length: one stretch's share, rounded.
    int Band(int length) const { return RoundHalfEven(static_cast<double>(length) / stretches); }
    // The k-th of the step's steps along a band: k * band / steps, rounded as MulDiv rounds.
    int Part(int k, int band) const { return MulDiv(k, band, steps); }
};

// A band across the area along one axis, as Fill takes it: its start and its extent (negative reaches back).
struct TSpan {
    int at, extent;
};

// The two bands of a middle-bar step along an axis of the given length: one from each end to the middle.
std::array<TSpan, 2> MiddleBars(int length, const TStep& at) {
    const int band = at.Band(length) + 1, offset = RoundHalfEven(band * 0.5 * at.stretch) + 1;
    const int half = RoundHalfEven(band * 0.5);
    const int farFrom = length - at.Part(at.step, half + 1), farTo = length - at.Part(at.step + 2, half + 1);
    const int nearFrom = at.Part(at.step, half), nearTo = at.Part(at.step + 2, half);
    return {TSpan{farFrom - 1 - offset, farTo - farFrom}, TSpan{offset + nearFrom, nearTo - nearFrom + 1}};
}

// The three bands of a double-bar step along an axis of the given length.
std::array<TSpan, 3> DoppelBars(int length, const TStep& at) {
    const double third = 1.0L / 3.0L;
    const int band = at.Band(length) + 1, offset = RoundHalfEven(band * third * at.stretch) + 1;
    const int part = RoundHalfEven(band * third) + 1, thirdOfLength = RoundHalfEven(length * third);
    const int from = at.Part(at.step, part), to = at.Part(at.step + 1, part);
    return {TSpan{offset + from, to - from}, TSpan{2 * thirdOfLength - to - offset, to - from},
            TSpan{2 * thirdOfLength + offset + from, to - from}};
}

// One step's shapes: a box, an oval or pen lines in the step's colour, placed by the fill style.
void PlanStep(TZarFillStyle style, const TStep& at, COLORREF mirror, TShapes& p) {
    const int W = at.width, H = at.height, k = at.step;
    switch (style) {
    case Horizontal: {
        const int bh = at.Band(H) + 1, y1 = at.Part(k, bh), y2 = at.Part(k + 2, bh);
        p.Fill(0, bh * at.stretch + y1, W, y2 - y1);
        break;
    }
    case Vertical: {
        const int bw = at.Band(W) + 1, x1 = at.Part(k, bw), x2 = at.Part(k + 2, bw);
        p.Fill(bw * at.stretch + x1, 0, x2 - x1, H);
        break;
    }
    case LeftBottom: {
        const int bh = at.Band(H) + 1, bw = at.Band(W) + 1, x1 = at.Part(k, bw), y1 = at.Part(k, bh);
        p.Fill(bw * at.stretch + x1, bh * at.stretch + y1, W - x1, H - y1);
        break;
    }
    case SquareMiddle: {
        const int bh = at.Band(H), yo = RoundHalfEven(bh * 0.5 * at.stretch);
        const int bw = at.Band(W), xo = RoundHalfEven(bw * 0.5 * at.stretch);
        const int x1 = at.Part(k, RoundHalfEven(bw * 0.5)), y1 = at.Part(k, RoundHalfEven(bh * 0.5));
        p.Fill(xo + x1, yo + y1, W - 2 * x1 - 2 * xo, H - 2 * y1 - 2 * yo);
        break;
    }
    case RoundMiddle: {
        const int bh = at.Band(H) + 1, yo = RoundHalfEven(bh * 0.5 * at.stretch) + 1;
        const int bw = at.Band(W) + 1, xo = RoundHalfEven(bw * 0.5 * at.stretch) + 1;
        const int x1 = at.Part(k, RoundHalfEven(bw * 0.5) + 1), y1 = at.Part(k, RoundHalfEven(bh * 0.5) + 1);
        p.Ellipse(xo + x1, yo + y1, W - x1 - xo, H - y1 - yo);
        break;
    }
    case Singleflash: {
        const int bh = at.Band(H), bw = at.Band(W);
        p.Ellipse(bw * at.stretch + at.Part(k, bw), bh * at.stretch + at.Part(k, bh), W, H);
        break;
    }
    case DoppelFlash: {
        const int bh = at.Band(H) + 1, yo = bh * at.stretch + 1;
        const int bw = at.Band(W) + 1, xo = bw * at.stretch + 1;
        const int x1 = at.Part(k, bw), y1 = at.Part(k, bh);
        p.Ellipse(xo + x1, yo + y1, W, H);
        p.Ellipse(W - x1 - xo, H - y1 - yo, 0, 0);
        break;
    }
    case Circle:
    case Spectral: {
        const int bh = at.Band(H) + 1, yo = bh * at.stretch;
        const int bw = at.Band(W) + 1, xo = bw * at.stretch;
        // Spectral lines alternate between the step's colour and its mirror step's.
        auto pen = [&](int j) { return style == Spectral && j % 2 == 0 ? mirror : p.color; };
        for (int j = at.Part(k, bw); j <= at.Part(k + 2, bw); ++j)
            p.Line(xo + j, 0, W - j - xo, H, pen(j));
        for (int i = at.Part(k, bh); i <= at.Part(k + 2, bh); ++i)
            p.Line(0, yo + i, W, H - i - yo, pen(i));
        break;
    }
    case MiddleHBar:
        for (TSpan band : MiddleBars(H, at))
            p.Fill(0, band.at, W, band.extent);
        break;
    case MiddleVBar:
        for (TSpan band : MiddleBars(W, at))
            p.Fill(band.at, 0, band.extent, H);
        break;
    case VerticalDoppelBar:
        for (TSpan band : DoppelBars(W, at))
            p.Fill(band.at, 0, band.extent, H);
        break;
    case HorizontalDoppelBar:
        for (TSpan band : DoppelBars(H, at))
            p.Fill(0, band.at, W, band.extent);
        break;
    }
}

} // namespace

TGradientPlan PlanGradient(TZarFillStyle style, int w, int h, const std::vector<COLORREF>& run,
                           int noOfColors) {
    TGradientPlan plan{run.empty() ? 0 : run.front(), {}};
    if (run.size() < 2 || noOfColors < 2) return plan;
    TShapes p{plan.shapes};
    const int stretches = static_cast<int>(run.size()) - 1, last = noOfColors - 1;
    for (int stretch = 0; stretch < stretches; ++stretch) {
        const TRgb a = Split(run[static_cast<size_t>(stretch)]),
                   b = Split(run[static_cast<size_t>(stretch) + 1]);
        const TRgb d{b.r - a.r, b.g - a.g, b.b - a.b};
        auto colorAt = [&](int k) {
            return TRgb{a.r + MulDiv(k, d.r, last), a.g + MulDiv(k, d.g, last), a.b + MulDiv(k, d.b, last)};
        };
        for (int k = 0; k < noOfColors; ++k) {
            // A step's colour has no zero component (black becomes 1, 1, 1); its mirror's is left as is.
            const TRgb c = colorAt(k);
            p.color = Join({std::max(c.r, 1), std::max(c.g, 1), std::max(c.b, 1)});
            PlanStep(style, {w, h, stretch, stretches, k, noOfColors}, Join(colorAt(last - k)), p);
        }
    }
    return plan;
}
