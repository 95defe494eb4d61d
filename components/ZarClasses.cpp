#include "ZarClasses.h"

void TZarExecComponent::SetDesignExecute(const std::wstring& v) {
    if (v == L"(Busy...)") Execute();
    designExecute_ = L"(Execute)";
}

#include <cfenv>
#include <optional>
#include <cmath>
#include <vector>

int RoundHalfEven(double x) {
    return static_cast<int>(std::nearbyint(x));
} // the default mode is to-even

// ---- owned records -----------------------------------------------------------------------------------

TZarOwnedRecord::TZarOwnedRecord(TControl* owner) : owner_(owner) {
    OnChange = [this](TObject*) {
        if (owner_) owner_->Invalidate();
    };
}

TZarOwnedRecord::~TZarOwnedRecord() {
    OnChange = nullptr;
    owner_ = nullptr;
}

// ---- frame -------------------------------------------------------------------------------------------

void TZarFrame::Derive() {
    switch (style_) {
    case frameSolid:
    case frameRaised:
    case frameLowered:
        frameSize_ = frameWidth_;
        break;
    case frameNone:
        frameSize_ = 2;
        break;
    case frameFramedUp:
    case frameFramedDown:
        frameSize_ = 2 * frameWidth_ + offset_;
        break;
    default:
        frameSize_ = 2 * frameWidth_;
        break;
    }
}

void TZarFrame::SetFrameStyle(TZarFrameStyle v) {
    style_ = v;
    Derive();
    Notify();
}
void TZarFrame::SetHighlight(TColor v) {
    highlight_ = v;
    Notify();
}
void TZarFrame::SetShadow(TColor v) {
    shadow_ = v;
    Notify();
}
void TZarFrame::SetSolid(TColor v) {
    solid_ = v;
    Notify();
}
void TZarFrame::SetOffset(int v) {
    if (v < 0) return;
    offset_ = v;
    Derive();
    Notify();
}
void TZarFrame::SetFrameWidth(int v) {
    if (v <= 0) return;
    frameWidth_ = v;
    Derive();
    Notify();
}

namespace {
// One band of `width` rings, top-left half in a, bottom-right half in b (clNone: that half is skipped).
void DrawBand(HDC dc, RECT& r, int width, TColor a, TColor b) {
    --r.right;
    --r.bottom;
    for (int ring = width; ring > 0; --ring) {
        if (a != clNone) {
            SetDCPenColor(dc, ColorToRGB(a));
            POINT pts[] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
            Polyline(dc, pts, 3);
        }
        if (b != clNone) {
            SetDCPenColor(dc, ColorToRGB(b));
            POINT pts[] = {{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}};
            Polyline(dc, pts, 3);
        }
        InflateRect(&r, -1, -1);
    }
    ++r.right;
    ++r.bottom;
}
} // namespace

void TZarFrame::DrawFrame(HDC dc, RECT& r) const {
    if (style_ == frameNone) return;
    // The DC's own pen, recoloured per half-ring: nothing is created, so nothing can leak.
    win::SelectObjectGuard pen(dc, GetStockObject(DC_PEN));
    int oldRop = SetROP2(dc, R2_COPYPEN);
    COLORREF oldColor = GetDCPenColor(dc);
    const int w = frameWidth_;
    switch (style_) {
    case frameSolid:
        DrawBand(dc, r, w, solid_, solid_);
        break;
    case frameRaised:
        DrawBand(dc, r, w, highlight_, shadow_);
        break;
    case frameLowered:
        DrawBand(dc, r, w, shadow_, highlight_);
        break;
    case frameFramedUp:
        DrawBand(dc, r, w, highlight_, shadow_);
        InflateRect(&r, -offset_, -offset_);
        DrawBand(dc, r, w, shadow_, highlight_);
        break;
    case frameFramedDown:
        DrawBand(dc, r, w, shadow_, highlight_);
        InflateRect(&r, -offset_, -offset_);
        DrawBand(dc, r, w, highlight_, shadow_);
        break;
    case framePanelUp:
        DrawBand(dc, r, w, highlight_, clBlack);
        DrawBand(dc, r, w, clNone, shadow_);
        break;
    case framePanelDown:
        DrawBand(dc, r, w, shadow_, clNone);
        DrawBand(dc, r, w, clBlack, highlight_);
        break;
    case frameLightBordered:
        DrawBand(dc, r, w, clNone, shadow_);
        DrawBand(dc, r, w, highlight_, highlight_);
        break;
    case frameNone:
        break;
    }
    SetDCPenColor(dc, oldColor);
    SetROP2(dc, oldRop);
}

// ---- 3-D font ----------------------------------------------------------------------------------------

void TZarFont3D::SetThreeDimensional(bool v) {
    threeD_ = v;
    Notify();
}
void TZarFont3D::SetMaskFont(bool v) {
    maskFont_ = v;
    Notify();
}
void TZarFont3D::SetHighlight(TColor v) {
    highlight_ = v;
    Notify();
}
void TZarFont3D::SetShadow(TColor v) {
    shadow_ = v;
    Notify();
}
void TZarFont3D::SetRepetitionColor(TColor v) {
    repetitionColor_ = v;
    Notify();
}
void TZarFont3D::SetRepetition(TZarRepeat v) {
    repetition_ = v;
    Notify();
}
void TZarFont3D::SetRepetitionwidth(int v) {
    if (v >= 0) repetitionWidth_ = v;
    Notify();
}
void TZarFont3D::SetOffset(int v) {
    if (v > 0) offset_ = v;
    Notify();
}
void TZarFont3D::SetStyle3D(TZarStyle3D v) {
    style3D_ = v;
    Notify();
}

void TZarFont3D::DrawText3D(const TFont& font, HDC dc, RECT r, const std::wstring& text, UINT format,
                            bool enabled) const {
    win::SaveDCGuard keep(dc);
    SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, font.Handle());
    auto pass = [&](TColor color, RECT at) {
        SetTextColor(dc, ColorToRGB(color));
        std::wstring copy = text; // DrawTextEx may write into the text with some flags
        DrawTextExW(dc, copy.data(), -1, &at, format | DT_NOCLIP, nullptr);
    };
    if (!enabled) {
        pass(clBtnHighlight, r);
        OffsetRect(&r, -1, -1);
        pass(clGrayText, r);
        return;
    }
    if (!threeD_) {
        pass(font.Color(), r);
        return;
    }
    if (repetition_ != repeatNone) {
        InflateRect(&r, -repetitionWidth_, -repetitionWidth_);
        int step = repetition_ == repeatOnShadow ? -1 : 1;
        OffsetRect(&r, -step * offset_, -step * offset_);
        for (int i = 0; i < repetitionWidth_; ++i) {
            pass(repetitionColor_, r);
            OffsetRect(&r, step, step);
        }
    }
    LightAndDark(r, pass);
    pass(font.Color(), r);
}

// ---- gradient ----------------------------------------------------------------------------------------

TZarGradient::TZarGradient() {
    between_.OnChange = [this](TObject*) { Changed(); };
}

void TZarGradient::SetFillStyle(TZarFillStyle v) {
    fillStyle_ = v;
    Changed();
}
void TZarGradient::SetBeginColor(TColor v) {
    begin_ = v;
    Changed();
}
void TZarGradient::SetEndColor(TColor v) {
    end_ = v;
    Changed();
}
void TZarGradient::SetNoOfColors(int v) {
    if (v > 1 && v < 256) noOfColors_ = v;
    Changed();
}
void TZarGradient::Assign(const TZarGradient& g) {
    if (&g == this) return;
    fillStyle_ = g.fillStyle_;
    begin_ = g.begin_;
    end_ = g.end_;
    noOfColors_ = g.noOfColors_;
    between_.Assign(g.between_.Lines());
    Changed();
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

// Pattern fill of columns x..x+w-1 and rows y..y+h-1; negative extents reach back from x (or y).
void Fill(HDC dc, int x, int y, int w, int h) {
    if (w == 0 || h == 0) return;
    if (w < 0) x += w + 1, w = -w;
    if (h < 0) y += h + 1, h = -h;
    PatBlt(dc, x, y, w, h, PATCOPY);
}
void Line(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}
} // namespace

void TZarGradient::PaintGradient(HDC dc, int W, int H, bool forward) const {
    // The colour run: first, the in-between lines as colour text, last.
    std::vector<std::wstring> texts = between_.Lines();
    texts.insert(texts.begin(), ColorToString(forward ? begin_ : end_));
    texts.push_back(ColorToString(forward ? end_ : begin_));
    std::vector<COLORREF> run;
    for (const auto& t : texts)
        run.push_back(ColorToRGB(StringToColor(t)));
    const int S = std::max(1, static_cast<int>(run.size()) - 1);
    const int N = noOfColors_;

    win::MemoryDC mem(dc);
    win::Bitmap bitmap(CreateCompatibleBitmap(dc, std::max(1, W), std::max(1, H)));
    win::SelectObjectGuard selBitmap(mem, bitmap.get());
    win::SelectObjectGuard selPen(mem, GetStockObject(DC_PEN));
    win::SelectObjectGuard selBrush(mem, GetStockObject(DC_BRUSH));
    SetROP2(mem, R2_COPYPEN);
    SetDCPenColor(mem, run[0]);
    SetDCBrushColor(mem, run[0]);
    PatBlt(mem, 0, 0, W, H, PATCOPY);

    const double third = 1.0L / 3.0L;
    for (int s = 0; s < S; ++s) {
        Rgb a = Split(run[static_cast<size_t>(s)]), b = Split(run[static_cast<size_t>(s) + 1]);
        Rgb d{b.r - a.r, b.g - a.g, b.b - a.b};
        for (int k = 0; k < N; ++k) {
            Rgb c{a.r + MulDiv(k, d.r, N - 1), a.g + MulDiv(k, d.g, N - 1), a.b + MulDiv(k, d.b, N - 1)};
            if (c.r == 0) c.r = 1;
            if (c.g == 0) c.g = 1;
            if (c.b == 0) c.b = 1;
            const int m = N - 1 - k;
            Rgb mirror{a.r + MulDiv(m, d.r, N - 1), a.g + MulDiv(m, d.g, N - 1), a.b + MulDiv(m, d.b, N - 1)};
            SetDCPenColor(mem, Join(c));
            SetDCBrushColor(mem, Join(c));
            switch (fillStyle_) {
            case Horizontal: {
                int bh = RoundHalfEven(double(H) / S) + 1, yo = bh * s;
                int y1 = MulDiv(k, bh, N), y2 = MulDiv(k + 2, bh, N);
                Fill(mem, 0, yo + y1, W, y2 - y1);
                break;
            }
            case Vertical: {
                int bw = RoundHalfEven(double(W) / S) + 1, xo = bw * s;
                int x1 = MulDiv(k, bw, N), x2 = MulDiv(k + 2, bw, N);
                Fill(mem, xo + x1, 0, x2 - x1, H);
                break;
            }
            case LeftBottom: {
                int bh = RoundHalfEven(double(H) / S) + 1, yo = bh * s;
                int bw = RoundHalfEven(double(W) / S) + 1, xo = bw * s;
                int x1 = MulDiv(k, bw, N), y1 = MulDiv(k, bh, N);
                Fill(mem, xo + x1, yo + y1, W - x1, H - y1);
                break;
            }
            case SquareMiddle: {
                int bh = RoundHalfEven(double(H) / S), yo = RoundHalfEven(bh * 0.5 * s);
                int bw = RoundHalfEven(double(W) / S), xo = RoundHalfEven(bw * 0.5 * s);
                int x1 = MulDiv(k, RoundHalfEven(bw * 0.5), N), y1 = MulDiv(k, RoundHalfEven(bh * 0.5), N);
                Fill(mem, xo + x1, yo + y1, W - 2 * x1 - 2 * xo, H - 2 * y1 - 2 * yo);
                break;
            }
            case RoundMiddle: {
                int bh = RoundHalfEven(double(H) / S) + 1, yo = RoundHalfEven(bh * 0.5 * s) + 1;
                int bw = RoundHalfEven(double(W) / S) + 1, xo = RoundHalfEven(bw * 0.5 * s) + 1;
                int x1 = MulDiv(k, RoundHalfEven(bw * 0.5) + 1, N),
                    y1 = MulDiv(k, RoundHalfEven(bh * 0.5) + 1, N);
                Ellipse(mem, xo + x1, yo + y1, W - x1 - xo, H - y1 - yo);
                break;
            }
            case Singleflash: {
                int bh = RoundHalfEven(double(H) / S), yo = bh * s;
                int bw = RoundHalfEven(double(W) / S), xo = bw * s;
                Ellipse(mem, xo + MulDiv(k, bw, N), yo + MulDiv(k, bh, N), W, H);
                break;
            }
            case DoppelFlash: {
                int bh = RoundHalfEven(double(H) / S) + 1, yo = bh * s + 1;
                int bw = RoundHalfEven(double(W) / S) + 1, xo = bw * s + 1;
                int x1 = MulDiv(k, bw, N), y1 = MulDiv(k, bh, N);
                Ellipse(mem, xo + x1, yo + y1, W, H);
                Ellipse(mem, W - x1 - xo, H - y1 - yo, 0, 0);
                break;
            }
            case Circle:
            case Spectral: {
                int bh = RoundHalfEven(double(H) / S) + 1, yo = bh * s;
                int bw = RoundHalfEven(double(W) / S) + 1, xo = bw * s;
                int x1 = MulDiv(k, bw, N), x2 = MulDiv(k + 2, bw, N);
                int y1 = MulDiv(k, bh, N), y2 = MulDiv(k + 2, bh, N);
                auto pen = [&](int j) {
                    if (fillStyle_ == Spectral) SetDCPenColor(mem, Join((j % 2) ? c : mirror));
                };
                for (int j = x1; j <= x2; ++j) {
                    pen(j);
                    Line(mem, xo + j, 0, W - j - xo, H);
                }
                for (int i = y1; i <= y2; ++i) {
                    pen(i);
                    Line(mem, 0, yo + i, W, H - i - yo);
                }
                break;
            }
            case MiddleHBar: {
                int bh = RoundHalfEven(double(H) / S) + 1, yo = RoundHalfEven(bh * 0.5 * s) + 1;
                int p = RoundHalfEven(bh * 0.5);
                int a1 = H - MulDiv(k, p + 1, N), b1 = H - MulDiv(k + 2, p + 1, N);
                int c1 = MulDiv(k, p, N), d1 = MulDiv(k + 2, p, N);
                Fill(mem, 0, a1 - 1 - yo, W, b1 - a1);
                Fill(mem, 0, yo + c1, W, d1 - c1 + 1);
                break;
            }
            case MiddleVBar: {
                int bw = RoundHalfEven(double(W) / S) + 1, xo = RoundHalfEven(bw * 0.5 * s) + 1;
                int p = RoundHalfEven(bw * 0.5);
                int a1 = W - MulDiv(k, p + 1, N), b1 = W - MulDiv(k + 2, p + 1, N);
                int c1 = MulDiv(k, p, N), d1 = MulDiv(k + 2, p, N);
                Fill(mem, a1 - 1 - xo, 0, b1 - a1, H);
                Fill(mem, xo + c1, 0, d1 - c1 + 1, H);
                break;
            }
            case VerticalDoppelBar: {
                int bw = RoundHalfEven(double(W) / S) + 1, xo = RoundHalfEven(bw * third * s) + 1;
                int t = RoundHalfEven(bw * third) + 1, q = RoundHalfEven(W * third);
                int c1 = MulDiv(k, t, N), d1 = MulDiv(k + 1, t, N);
                Fill(mem, xo + c1, 0, d1 - c1, H);
                Fill(mem, 2 * q - d1 - xo, 0, d1 - c1, H);
                Fill(mem, 2 * q + xo + c1, 0, d1 - c1, H);
                break;
            }
            case HorizontalDoppelBar: {
                int bh = RoundHalfEven(double(H) / S) + 1, yo = RoundHalfEven(bh * third * s) + 1;
                int t = RoundHalfEven(bh * third) + 1, q = RoundHalfEven(H * third);
                int c1 = MulDiv(k, t, N), d1 = MulDiv(k + 1, t, N);
                Fill(mem, 0, yo + c1, W, d1 - c1);
                Fill(mem, 0, 2 * q - d1 - yo, W, d1 - c1);
                Fill(mem, 0, 2 * q + yo + c1, W, d1 - c1);
                break;
            }
            }
        }
    }
    BitBlt(dc, 0, 0, W, H, mem, 0, 0, SRCCOPY);
}

// ---- texture and brush fill --------------------------------------------------------------------------

void TZarTexture::SetImage(const TBitmap& b) {
    image_.Assign(b);
    Changed();
}
void TZarTexture::SetImageStyle(TZarImageStyle v) {
    imageStyle_ = v;
    Changed();
}
void TZarTexture::SetTransparentColor(TColor v) {
    transparentColor_ = v;
    Changed();
}
void TZarTexture::SetTransparentBackground(TColor v) {
    transparentBackground_ = v;
    Changed();
}
void TZarTexture::Assign(const TZarTexture& t) {
    if (&t == this) return;
    image_.Assign(t.image_);
    imageStyle_ = t.imageStyle_;
    transparentColor_ = t.transparentColor_;
    transparentBackground_ = t.transparentBackground_;
    Changed();
}

void TZarTexture::PaintTexture(HDC dc, int W, int H, TColor backColor) const {
    if (image_.Empty()) return;
    const int iw = image_.Width(), ih = image_.Height();
    win::MemoryDC src(dc);
    win::SelectObjectGuard selImage(src, image_.Handle());
    // With a transparent colour the blits take a copy with that colour replaced.
    win::MemoryDC copyDC(dc);
    win::Bitmap copy;
    std::optional<win::SelectObjectGuard> selCopy;
    HDC from = src;
    if (transparentColor_ != clNone) {
        copy.reset(CreateCompatibleBitmap(dc, iw, ih));
        selCopy.emplace(copyDC, copy.get());
        win::Brush brush(CreateSolidBrush(ColorToRGB(transparentBackground_)));
        RECT all{0, 0, iw, ih};
        BrushCopy(copyDC, all, src, all, ColorToRGB(transparentColor_), brush.get());
        from = copyDC;
    }
    switch (imageStyle_) {
    case isTile:
        for (int c = 0; c <= W / iw; ++c)
            for (int r = 0; r <= H / ih; ++r)
                BitBlt(dc, c * iw, r * ih, iw, ih, from, 0, 0, SRCCOPY);
        break;
    case isCenter:
        SetBkColor(dc, ColorToRGB(backColor));
        SetBkMode(dc, OPAQUE);
        BitBlt(dc, W > iw ? (W - iw) / 2 : 0, H > ih ? (H - ih) / 2 : 0, iw, ih, from, 0, 0, SRCCOPY);
        break;
    case isStretched:
        StretchBlt(dc, 0, 0, W, H, from, 0, 0, iw, ih, SRCCOPY);
        break;
    }
}

void TZarBrushFill::SetBrushStyle(TBrushStyle v) {
    brushStyle_ = v;
    Changed();
}
void TZarBrushFill::SetBrushColor(TColor v) {
    brushColor_ = v;
    Changed();
}
void TZarBrushFill::Assign(const TZarBrushFill& b) {
    if (&b == this) return;
    brushStyle_ = b.brushStyle_;
    brushColor_ = b.brushColor_;
    Changed();
}
