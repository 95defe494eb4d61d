#include "components/ZarTBackground.h"

#include <algorithm>

TZarBackground::TZarBackground(TComponent* AOwner) : TZarComponent(AOwner) {
    auto notify = [this](TObject*) { NotifyClients(); };
    texture_.OnChange = notify;
    gradient_.OnChange = notify;
    brushFill_.OnChange = notify;
}

TZarBackground::~TZarBackground() {
    texture_.OnChange = nullptr;
    gradient_.OnChange = nullptr;
    brushFill_.OnChange = nullptr;
    clients_.clear();
}

void TZarBackground::SetTexture(const TZarTexture& t) {
    texture_.Assign(t);
    NotifyClients();
}
void TZarBackground::SetGradient(const TZarGradient& g) {
    gradient_.Assign(g);
    NotifyClients();
}
void TZarBackground::SetBrushFill(const TZarBrushFill& b) {
    brushFill_.Assign(b);
    NotifyClients();
}
void TZarBackground::SetSolidColor(TColor c) {
    solidColor_ = c;
    NotifyClients();
}
void TZarBackground::SetBackgroundStyle(TZarBackStyle s) {
    style_ = s;
    NotifyClients();
}

void TZarBackground::RemoveClient(TControl* c) {
    auto it = std::find(clients_.begin(), clients_.end(), c);
    if (it != clients_.end()) clients_.erase(it);
}

void TZarBackground::NotifyClients() {
    std::vector<TControl*> clients = clients_; // a client may unlink while it is told
    for (TControl* c : clients)
        c->Invalidate();
    if (OnChanged) OnChanged(this);
}

void TZarBackground::PaintBackground(HDC dc, int W, int H, bool forward) const {
    switch (style_) {
    case bGradient:
        gradient_.PaintGradient(dc, W, H, forward);
        return;
    case bTexture:
        texture_.PaintTexture(dc, W, H, solidColor_);
        return;
    case bBrushFillUseCurrent:
    case bBrushFillSolidColor:
        PaintHatch(dc, W, H);
        return;
    case bSolidcolor:
        break;
    }
    RECT all{0, 0, W, H};
    win::Brush solid(CreateSolidBrush(ColorToRGB(solidColor_)));
    FillRect(dc, &all, solid.get());
}

const TZarBackground::THatchTile& TZarBackground::HatchTile() const {
    const COLORREF brush = ColorToRGB(brushFill_.BrushColor());
    const COLORREF ground = style_ == bBrushFillSolidColor ? ColorToRGB(solidColor_) : RGB(255, 255, 255);
    THatchTile& t = hatchTile_;
    if (t.made && t.style == brushFill_.BrushStyle() && t.brush == brush && t.ground == ground) return t;
    // The tile is drawn the long way once: the hatch in the brush colour on white, whatever the hatch
    // brush does with its gaps, then (on a solid colour) the white replaced by that colour.
    const int T = THatchTile::Side;
    TBitmap a(T, T), b(T, T); // new bitmaps are white
    win::MemoryDC da(nullptr), db(nullptr);
    win::SelectObjectGuard sa(da, a.Handle()), sb(db, b.Handle());
    RECT tile{0, 0, T, T};
    win::Brush hatch = CreateBrushOf(brushFill_.BrushStyle(), brushFill_.BrushColor());
    SetBkMode(da, TRANSPARENT);
    if (hatch) FillRect(da, &tile, hatch.get());
    win::Brush black = CreateBrushOf(brushFill_.BrushStyle(), clBlack);
    SetBkMode(db, TRANSPARENT);
    if (black) FillRect(db, &tile, black.get());
    BrushCopy(da, tile, db, tile, RGB(0, 0, 0), hatch.get());
    if (style_ == bBrushFillSolidColor) {
        win::Brush solid(CreateSolidBrush(ground));
        FillRect(db, &tile, solid.get());
        BrushCopy(db, tile, da, tile, RGB(255, 255, 255), solid.get());
        BitBlt(da, 0, 0, T, T, db, 0, 0, SRCCOPY);
    }
    t.dib.header = {sizeof(BITMAPINFOHEADER), T, -T, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPINFO info{t.dib.header, {}};
    GetDIBits(da, a.Handle(), 0, T, t.dib.pixels, &info, DIB_RGB_COLORS);
    t.made = true;
    t.style = brushFill_.BrushStyle();
    t.brush = brush;
    t.ground = ground;
    return t;
}

void TZarBackground::PaintHatch(HDC dc, int W, int H) const {
    // The hatch repeats every 8 pixels from the area's corner: the area is filled with one tile as a
    // pattern. Brush origins are in device units: the tile's corner goes where the area's corner is.
    const THatchTile& t = HatchTile();
    POINT corner{0, 0}, before{};
    LPtoDP(dc, &corner, 1);
    SetBrushOrgEx(dc, corner.x, corner.y, &before);
    win::Brush pattern(CreateDIBPatternBrushPt(&t.dib, DIB_RGB_COLORS));
    RECT all{0, 0, W, H};
    FillRect(dc, &all, pattern.get());
    SetBrushOrgEx(dc, before.x, before.y, nullptr);
}

void TZarBackground::DrawBackgroundText(const TZarFont3D& font3D, const TFont& font, HDC canvas,
                                        const RECT& rect, const std::wstring& text, UINT format) const {
    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    if (W <= 0 || H <= 0) return;
    RECT r = rect;
    InflateRect(&r, -font3D.Repetitionwidth(), 0);

    TBitmap b(W, H);
    win::MemoryDC db(canvas);
    win::SelectObjectGuard sb(db, b.Handle());
    BitBlt(db, 0, 0, W, H, canvas, 0, 0, SRCCOPY);
    win::SelectObjectGuard fontB(db, font.Handle());
    SetBkMode(db, TRANSPARENT);
    auto pass = [&](TColor color, RECT at) {
        SetTextColor(db, ColorToRGB(color));
        std::wstring copy = text;
        DrawTextExW(db, copy.data(), -1, &at, format, nullptr);
    };

    if (font3D.ThreeDimensional()) {
        const int n = font3D.Scaled(font3D.Repetitionwidth());
        if (font3D.Repetition() == repeatOnShadow) {
            OffsetRect(&r, n, n);
            for (int i = 0; i < n; ++i) {
                pass(font3D.RepetitionColor(), r);
                OffsetRect(&r, -1, -1);
            }
        } else if (font3D.Repetition() == repeatOnHighLight) {
            for (int i = 0; i < n; ++i) {
                pass(font3D.RepetitionColor(), r);
                OffsetRect(&r, 1, 1);
            }
        }
        font3D.LightAndDark(r, pass);
    }

    // The face: the background shows through the letters only.
    const COLORREF face = ColorToRGB(font.Color());
    TBitmap p(W, H), t(W, H);
    win::MemoryDC dp(canvas), dt(canvas);
    win::SelectObjectGuard sp(dp, p.Handle()), st(dt, t.Handle());
    PaintBackground(dp, W, H, true);
    {
        win::SelectObjectGuard fontT(dt, font.Handle());
        SetBkMode(dt, TRANSPARENT);
        SetTextColor(dt, face);
        std::wstring copy = text;
        RECT at = r;
        DrawTextExW(dt, copy.data(), -1, &at, format, nullptr);
    }
    if (font3D.MaskFont()) {
        // White where the glyphs are, black everywhere else.
        win::MemoryDC dm(canvas);
        win::Bitmap mono(CreateBitmap(W, H, 1, 1, nullptr));
        win::SelectObjectGuard sm(dm, mono.get());
        SetBkColor(dt, face);
        BitBlt(dm, 0, 0, W, H, dt, 0, 0, SRCCOPY);
        SetTextColor(dt, RGB(0, 0, 0));
        SetBkColor(dt, RGB(255, 255, 255));
        BitBlt(dt, 0, 0, W, H, dm, 0, 0, SRCCOPY);
    }
    GdiTransparentBlt(dp, 0, 0, W, H, dt, 0, 0, W, H, face);
    COLORREF corner = GetPixel(dp, 0, 0);
    GdiTransparentBlt(db, 0, 0, W, H, dp, 0, 0, W, H, corner);
    BitBlt(canvas, 0, 0, W, H, db, 0, 0, SRCCOPY);
}

void TBackgroundLink::Set(TZarBackground* value) {
    if (background_) background_->RemoveClient(control_);
    if (value) {
        value->AddClient(control_);
        control_->FreeNotification(value); // the link is cleared wherever the background lives
    }
    background_ = value;
    control_->Invalidate();
}

void TBackgroundLink::Removed(TComponent* removed) {
    if (removed != background_) return;
    background_ = nullptr; // the background is going, and its client list with it
    control_->Invalidate();
}
