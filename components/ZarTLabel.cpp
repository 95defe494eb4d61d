#include "components/ZarTLabel.h"

#include <oleacc.h>

TZarLabel::TZarLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    width_ = 65;
    height_ = 17;
    color_ = clWindow;
    parentColor_ = true; // the label's fill is its parent's colour until it is given one
    font_.SetStyle(fsBold);
    font_.SetSize(12);
    frame_.SetFrameStyle(frameNone);
}

TZarLabel::~TZarLabel() = default;

void TZarLabel::SetBackground(TZarBackground* b) {
    background_.Set(b);
}
void TZarLabel::SetFontBackground(TZarBackground* b) {
    fontBackground_.Set(b);
}

void TZarLabel::Notification(TComponent* c, TOperation op) {
    TGraphicControl::Notification(c, op);
    if (op != TOperation::opRemove) return;
    // Independent tests: one background in both roles clears both links.
    background_.Removed(c);
    fontBackground_.Removed(c);
}

void TZarLabel::SetTransparent(bool v) {
    transparent_ = v;
    Invalidate();
}
void TZarLabel::SetAlignment(TAlignment a) {
    alignment_ = a;
    Invalidate();
}
void TZarLabel::SetWordWrap(bool v) {
    wordWrap_ = v;
    Invalidate();
}

UINT TZarLabel::TextFormat() const {
    UINT align = AlignmentFlag(alignment_);
    // Prefix processing stays on: a single "&" underlines the next letter.
    return DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | align;
}

void TZarLabel::PaintFace(HDC dc) {
    RECT r{0, 0, width_, height_};
    // The plain look: the window's pair, links in the system's link colour.
    const bool plain = HighContrast();
    const TColor text = !enabled_ ? clGrayText : ActsAsLink() ? clHotLight : clWindowText;
    if (!transparent_) {
        win::Brush fill(CreateSolidBrush(ColorToRGB(plain ? clWindow : color_)));
        FillRect(dc, &r, fill.get());
        if (background_ && !plain) background_->PaintBackground(dc, width_, height_, true);
    }
    const int frameWidth = Scaled(frame_.FrameWidth());
    RECT t{0, frameWidth, width_ - Scaled(frame_.FrameSize()), height_ - frameWidth};
    if (plain)
        PlainText(dc, font_, t, caption_, TextFormat(), text);
    else if (fontBackground_)
        fontBackground_->DrawBackgroundText(font3D_, font_, dc, t, caption_, TextFormat());
    else
        font3D_.DrawText3D(font_, dc, t, caption_, TextFormat(), enabled_);
    frame_.DrawFrame(dc, r, plain ? text : clNone);
}

long TZarLabel::AccessibleRole() const {
    return ActsAsLink() ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_STATICTEXT;
}

long TZarLabel::AccessibleState() const {
    return TGraphicControl::AccessibleState() | (ActsAsLink() ? STATE_SYSTEM_LINKED : 0);
}
