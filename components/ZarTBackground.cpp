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
        // On the current ground the hatch's gaps are white; on a solid colour, that colour.
        brushFill_.PaintBrushFill(
            dc, W, H, style_ == bBrushFillSolidColor ? ColorToRGB(solidColor_) : RGB(255, 255, 255));
        return;
    case bSolidcolor:
        break;
    }
    RECT all{0, 0, W, H};
    win::Brush solid(CreateSolidBrush(ColorToRGB(solidColor_)));
    FillRect(dc, &all, solid.get());
}

void TZarBackground::DrawBackgroundText(const TZarFont3D& font3D, const TFont& font, HDC canvas,
                                        const RECT& rect, const std::wstring& text, UINT format) const {
    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    if (W <= 0 || H <= 0) return;
    RECT r = rect;

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

    font3D.DrawPasses(r, TZarFont3D::TPassLayout::BackgroundText, pass);

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
