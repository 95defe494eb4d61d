#include "components/ZarClasses.h"

#include <cmath>
#include <optional>
#include <vector>

void TZarExecComponent::SetDesignExecute(const std::wstring& v) {
    if (v == L"(Busy...)") Execute();
    designExecute_ = L"(Execute)";
}

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

void TZarFrame::DrawFrame(HDC dc, RECT& r, TColor plain) const {
    if (style_ == frameNone) return;
    // The DC's own pen, recoloured per half-ring: nothing is created, so nothing can leak.
    win::SelectObjectGuard pen(dc, GetStockObject(DC_PEN));
    int oldRop = SetROP2(dc, R2_COPYPEN);
    COLORREF oldColor = GetDCPenColor(dc);
    const int w = Scaled(frameWidth_), offset = Scaled(offset_);
    // The plain look draws the same bands, every half in the one colour.
    auto band = [&](TColor a, TColor b) {
        DrawBand(dc, r, w, plain != clNone ? plain : a, plain != clNone ? plain : b);
    };
    switch (style_) {
    case frameSolid:
        band(solid_, solid_);
        break;
    case frameRaised:
        band(highlight_, shadow_);
        break;
    case frameLowered:
        band(shadow_, highlight_);
        break;
    case frameFramedUp:
        band(highlight_, shadow_);
        InflateRect(&r, -offset, -offset);
        band(shadow_, highlight_);
        break;
    case frameFramedDown:
        band(shadow_, highlight_);
        InflateRect(&r, -offset, -offset);
        band(highlight_, shadow_);
        break;
    case framePanelUp:
        band(highlight_, clBlack);
        band(clNone, shadow_);
        break;
    case framePanelDown:
        band(shadow_, clNone);
        band(clBlack, highlight_);
        break;
    case frameLightBordered:
        band(clNone, shadow_);
        band(highlight_, highlight_);
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
        OffsetRect(&r, -Scaled(1), -Scaled(1));
        pass(clGrayText, r);
        return;
    }
    DrawPasses(r, TPassLayout::Caption, pass);
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

void TZarGradient::PaintGradient(HDC dc, int W, int H, bool forward) const {
    // The colour run: first, the in-between lines, last.
    std::vector<COLORREF> run{ColorToRGB(forward ? begin_ : end_)};
    for (const auto& line : between_.Lines())
        run.push_back(ColorToRGB(StringToColor(line)));
    run.push_back(ColorToRGB(forward ? end_ : begin_));
    TPainted now{fillStyle_, W, H, noOfColors_, std::move(run)};
    if (!painter_ || painted_ != now) {
        painter_ =
            std::make_unique<TGradientPainter>(PlanGradient(now.style, W, H, now.run, now.noOfColors), W, H);
        painted_ = std::move(now);
    }
    painter_->Draw(dc);
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
        // Whole tiles from the top-left corner, the last ones cut at the area's edges.
        for (int x = 0; x < W; x += iw)
            for (int y = 0; y < H; y += ih)
                BitBlt(dc, x, y, std::min(iw, W - x), std::min(ih, H - y), from, 0, 0, SRCCOPY);
        break;
    case isCenter:
        SetBkColor(dc, ColorToRGB(backColor));
        SetBkMode(dc, OPAQUE);
        // A larger image shows its top-left part, cut at the area's edges.
        BitBlt(dc, W > iw ? (W - iw) / 2 : 0, H > ih ? (H - ih) / 2 : 0, std::min(iw, W), std::min(ih, H),
               from, 0, 0, SRCCOPY);
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

const TZarBrushFill::THatchTile& TZarBrushFill::HatchTile(COLORREF ground) const {
    const COLORREF brush = ColorToRGB(brushColor_);
    THatchTile& t = hatchTile_;
    if (t.made && t.style == brushStyle_ && t.brush == brush && t.ground == ground) return t;
    // The tile is drawn the long way once: the hatch in the brush colour on white, whatever the hatch
    // brush does with its gaps, then (on another ground) the white replaced by that colour.
    const int T = THatchTile::Side;
    TBitmap a(T, T), b(T, T); // new bitmaps are white
    win::MemoryDC da(nullptr), db(nullptr);
    win::SelectObjectGuard sa(da, a.Handle()), sb(db, b.Handle());
    RECT tile{0, 0, T, T};
    win::Brush hatch = CreateBrushOf(brushStyle_, brushColor_);
    SetBkMode(da, TRANSPARENT);
    if (hatch) FillRect(da, &tile, hatch.get());
    win::Brush black = CreateBrushOf(brushStyle_, clBlack);
    SetBkMode(db, TRANSPARENT);
    if (black) FillRect(db, &tile, black.get());
    BrushCopy(da, tile, db, tile, RGB(0, 0, 0), hatch.get());
    if (ground != RGB(255, 255, 255)) {
        win::Brush solid(CreateSolidBrush(ground));
        FillRect(db, &tile, solid.get());
        BrushCopy(db, tile, da, tile, RGB(255, 255, 255), solid.get());
        BitBlt(da, 0, 0, T, T, db, 0, 0, SRCCOPY);
    }
    t.dib.header = {sizeof(BITMAPINFOHEADER), T, -T, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPINFO info{t.dib.header, {}};
    GetDIBits(da, a.Handle(), 0, T, t.dib.pixels, &info, DIB_RGB_COLORS);
    t.made = true;
    t.style = brushStyle_;
    t.brush = brush;
    t.ground = ground;
    return t;
}

void TZarBrushFill::PaintBrushFill(HDC dc, int W, int H, COLORREF ground) const {
    // The hatch repeats every 8 pixels from the area's corner: the area is filled with one tile as a
    // pattern. Brush origins are in device units: the tile's corner goes where the area's corner is.
    const THatchTile& t = HatchTile(ground);
    POINT corner{0, 0}, before{};
    LPtoDP(dc, &corner, 1);
    SetBrushOrgEx(dc, corner.x, corner.y, &before);
    win::Brush pattern(CreateDIBPatternBrushPt(&t.dib, DIB_RGB_COLORS));
    RECT all{0, 0, W, H};
    FillRect(dc, &all, pattern.get());
    SetBrushOrgEx(dc, before.x, before.y, nullptr);
}
