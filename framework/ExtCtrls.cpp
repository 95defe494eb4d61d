#include "ExtCtrls.h"

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    width_ = 65;
    height_ = 17;
}

void TLabel::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    Invalidate();
}

void TLabel::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    Invalidate();
}

SIZE TLabel::TextExtent(int maxWidth) const {
    win::WindowDC screen(nullptr);
    win::SelectObjectGuard font(screen, font_.Handle());
    RECT r{0, 0, maxWidth, 0};
    DrawTextW(screen, caption_.c_str(), static_cast<int>(caption_.size()), &r,
              DT_CALCRECT | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE));
    return {r.right, r.bottom};
}

void TLabel::Paint(HDC dc) {
    RECT r{0, 0, width_, height_};
    if (!transparent_) {
        win::Brush b(CreateSolidBrush(ColorToRGB(color_)));
        FillRect(dc, &r, b.get());
    }
    win::SelectObjectGuard font(dc, font_.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(enabled_ ? font_.Color() : clGrayText));
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r,
              DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE));
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
    width_ = 105;
    height_ = 105;
    picture_.OnChange = [this](TObject*) { Invalidate(); };
}

void TImage::Paint(HDC dc) {
    if (!picture_.Empty()) DrawIconEx(dc, 0, 0, picture_.Handle(), 0, 0, 0, nullptr, DI_NORMAL);
}
