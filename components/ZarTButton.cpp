#include "components/ZarTButton.h"

#include <oleacc.h>

TZarButton::TZarButton(TComponent* AOwner) : TZarCustomControl(AOwner) {
    width_ = 100;
    height_ = 30;
    tabStop_ = true;
    glyph_.OnChange = [this](TObject*) { Invalidate(); };
}

void TZarButton::CreateParams(TCreateParams& p) {
    TZarCustomControl::CreateParams(p);
    p.DoubleClicks = false;
}

void TZarButton::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    textFormat_ = v ? (DT_CENTER | DT_VCENTER | DT_WORDBREAK) : DefaultFormat;
    Invalidate();
}

void TZarButton::SetEnabled(bool v) {
    buttonEnabled_ = v;
    Invalidate();
    NotifyAccessible(EVENT_OBJECT_STATECHANGE);
}

void TZarButton::SetCaption(const std::wstring& text) {
    if (text != caption_) {
        caption_ = text;
        if (handle_) SetWindowTextW(handle_, text.c_str());
        NotifyAccessible(EVENT_OBJECT_NAMECHANGE);
    }
    Invalidate();
}

void TZarButton::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
    if (handle_) SetCapture(handle_);
    TZarCustomControl::MouseDown(b, s, x, y);
    if (b == TMouseButton::mbLeft && buttonEnabled_ && !down_) SetDown(true);
}

void TZarButton::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
    if (GetCapture() == handle_) ReleaseCapture();
    TZarCustomControl::MouseUp(b, s, x, y);
    if (down_) Click();
}

void TZarButton::Click() {
    if (down_) SetDown(false);
    TZarCustomControl::Click();
}

void TZarButton::KeyDown(unsigned short& key, TShiftState shift) {
    TZarCustomControl::KeyDown(key, shift);
    if (key == VK_SPACE && !down_) SetDown(true);
}

void TZarButton::KeyUp(unsigned short& key, TShiftState shift) {
    if (key == VK_SPACE && down_) {
        SetDown(false);
        if (OnClick) OnClick(this);
    }
    TZarCustomControl::KeyUp(key, shift);
}

void TZarButton::SetDown(bool v) {
    down_ = v;
    RedrawNow();
    NotifyAccessible(EVENT_OBJECT_STATECHANGE);
}

long TZarButton::AccessibleRole() const {
    return ROLE_SYSTEM_PUSHBUTTON;
}

long TZarButton::AccessibleState() const {
    return TZarCustomControl::AccessibleState() | (down_ ? STATE_SYSTEM_PRESSED : 0) |
           (buttonEnabled_ ? 0 : STATE_SYSTEM_UNAVAILABLE);
}

void TZarButton::ScaleBy(int to, int from) {
    TZarCustomControl::ScaleBy(to, from);
    glyph_.Rescale();
}

RECT TZarButton::FaceRect() const {
    const int two = Scaled(2);
    RECT r = down_ ? RECT{two, two, width_ - two, height_ - two} : RECT{0, 0, width_ - two, height_ - two};
    if (down_) OffsetRect(&r, two, two);
    return r;
}

POINT TZarButton::GlyphPosition() const {
    RECT r = FaceRect();
    const int one = Scaled(1), two = Scaled(2);
    int dy = down_ ? two : 0;
    int x = caption_.empty() ? RoundHalfEven((width_ - glyph_.GlyphWidth()) * 0.5) + one : r.left + one;
    int y = RoundHalfEven((height_ - glyph_.GlyphHeight()) * 0.5) + dy;
    return {x + two, y};
}

RECT TZarButton::CaptionRect() const {
    RECT r = FaceRect();
    r.left += glyph_.GlyphWidth() + Scaled(2);
    return r;
}

void TZarButton::PaintFace(HDC dc) {
    TZarCustomControl::PaintFace(dc);
    const int ring = Scaled(1);
    RECT r{0, 0, width_, height_};
    // The plain look: the button's pair, a line that doubles while pressed.
    const bool plain = HighContrast();
    if (plain) {
        PlainRing(dc, r, clBtnText, down_ ? 2 * ring : ring);
    } else if (down_) {
        BevelRing(dc, r, clBlack, clBtnShadow, ring);
        BevelRing(dc, r, clBtnShadow, clBtnFace, ring);
    } else {
        BevelRing(dc, r, clBtnHighlight, clBlack, ring);
        r = {-ring, -ring, width_ - ring, height_ - ring};
        BevelRing(dc, r, clBtnHighlight, clBtnShadow, ring);
    }
    POINT g = GlyphPosition();
    glyph_.DrawGlyph(dc, g.x, g.y, buttonEnabled_, down_);
    if (caption_.empty()) return;
    RECT t = CaptionRect();
    if (plain)
        PlainText(dc, font_, t, caption_, textFormat_, buttonEnabled_ ? clBtnText : clGrayText);
    else if (buttonEnabled_)
        font3D_.DrawText3D(font_, dc, t, caption_, textFormat_, true);
    else
        DrawDisabledText(font_, dc, t, caption_, textFormat_, ring);
}
