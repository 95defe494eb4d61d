#include "framework/ExtCtrls.h"

#include <oleacc.h>

#include <algorithm>

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
    const bool plain = HighContrast();
    if (!transparent_) {
        win::Brush b(CreateSolidBrush(ColorToRGB(plain ? clWindow : color_)));
        FillRect(dc, &r, b.get());
    }
    win::SelectObjectGuard font(dc, font_.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(!enabled_ ? clGrayText : plain ? clWindowText : font_.Color()));
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r,
              DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE));
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
    width_ = 105;
    height_ = 105;
    picture_.OnChange = [this](TObject*) { PictureChanged(); };
}

void TImage::SetAutoSize(bool v) {
    autoSize_ = v;
    PictureChanged();
}

void TImage::ScaleBy(int to, int from) {
    TGraphicControl::ScaleBy(to, from);
    picture_.ScaleIcon(to, from);
}

void TImage::PictureChanged() {
    if (autoSize_ && !picture_.Empty())
        SetBounds(left_, top_, picture_.Width(), picture_.Height());
    else
        Invalidate();
}

void TImage::Paint(HDC dc) {
    picture_.Draw(dc, 0, 0);
}

void CenterInParent(TControl* c) {
    if (!c || !c->Parent()) return;
    RECT r = c->Parent()->ClientRect();
    int left = std::max(0, static_cast<int>(r.right - c->Width()) / 2);
    int top = std::max(0, static_cast<int>(r.bottom - c->Height()) / 2);
    c->SetBounds(left, top, c->Width(), c->Height());
}

TScrollBox::TScrollBox(TComponent* AOwner) : TWinControl(AOwner) {
    width_ = 185;
    height_ = 41;
}

void TScrollBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    if (borderStyle_ == TBorderStyle::bsSingle) {
        if (ctl3D_)
            p.ExStyle |= WS_EX_CLIENTEDGE;
        else
            p.Style |= WS_BORDER;
    }
}

void TScrollBox::Recreate() {
    if (!handle_) return;
    DestroyWnd();
    HandleNeeded();
}

void TScrollBox::SetBorderStyle(TBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    Recreate();
}

void TScrollBox::SetCtl3D(bool v) {
    if (v == ctl3D_) return;
    ctl3D_ = v;
    Recreate();
}

void TScrollBox::AlignControls() {
    TWinControl::AlignControls();
    UpdateScrollRanges();
}

void TScrollBox::UpdateScrollRanges() {
    if (!handle_ || updating_) return;
    updating_ = true;
    // The extent in unscrolled coordinates of the children that are not aligned.
    int extentW = 0, extentH = 0;
    for (TControl* c : controls_) {
        if (!c->Visible() || c->Align() != TAlign::alNone) continue;
        extentW = std::max(extentW, c->Left() + hPos_ + c->Width());
        extentH = std::max(extentH, c->Top() + vPos_ + c->Height());
    }
    // Two passes: showing one bar narrows the client area, which may call for the other.
    for (int pass = 0; pass < 2; ++pass) {
        RECT r;
        GetClientRect(handle_, &r);
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
        si.fMask = SIF_RANGE | SIF_PAGE;
        si.nMax = extentW > r.right ? extentW - 1 : 0;
        si.nPage = extentW > r.right ? static_cast<UINT>(r.right) : 0;
        SetScrollInfo(handle_, SB_HORZ, &si, TRUE);
        si.nMax = extentH > r.bottom ? extentH - 1 : 0;
        si.nPage = extentH > r.bottom ? static_cast<UINT>(r.bottom) : 0;
        SetScrollInfo(handle_, SB_VERT, &si, TRUE);
    }
    RECT r;
    GetClientRect(handle_, &r);
    int maxH = std::max(0, extentW - static_cast<int>(r.right));
    int maxV = std::max(0, extentH - static_cast<int>(r.bottom));
    updating_ = false;
    if (hPos_ > maxH) ScrollTo(SB_HORZ, maxH);
    if (vPos_ > maxV) ScrollTo(SB_VERT, maxV);
}

void TScrollBox::ResetScroll() {
    if (!handle_) return;
    ScrollTo(SB_HORZ, 0);
    ScrollTo(SB_VERT, 0);
}

void TScrollBox::ScrollTo(int bar, int pos) {
    int& cur = bar == SB_HORZ ? hPos_ : vPos_;
    pos = std::max(0, pos);
    int delta = cur - pos;
    if (delta == 0) return;
    cur = pos;
    SetScrollPos(handle_, bar, pos, TRUE);
    for (TControl* c : controls_)
        if (c->Align() == TAlign::alNone)
            c->SetBounds(c->Left() + (bar == SB_HORZ ? delta : 0), c->Top() + (bar == SB_VERT ? delta : 0),
                         c->Width(), c->Height());
    Invalidate();
}

void TScrollBox::WndProc(TMessage& m) {
    if (m.Msg == WM_HSCROLL || m.Msg == WM_VSCROLL) {
        int bar = m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(handle_, bar, &si);
        int pos = si.nPos;
        switch (LOWORD(m.WParam)) {
        case SB_LINEUP:
            pos -= Scaled(8);
            break;
        case SB_LINEDOWN:
            pos += Scaled(8);
            break;
        case SB_PAGEUP:
            pos -= static_cast<int>(si.nPage);
            break;
        case SB_PAGEDOWN:
            pos += static_cast<int>(si.nPage);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            pos = si.nTrackPos;
            break;
        case SB_TOP:
            pos = 0;
            break;
        case SB_BOTTOM:
            pos = si.nMax;
            break;
        default:
            break;
        }
        pos = std::clamp(pos, 0, std::max(0, si.nMax - static_cast<int>(si.nPage) + 1));
        ScrollTo(bar, pos);
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

void TBevel::Paint(HDC dc) {
    const int line = Scaled(1);
    win::Brush shadow(CreateSolidBrush(ColorToRGB(clBtnShadow)));
    win::Brush light(CreateSolidBrush(ColorToRGB(clBtnHighlight)));
    RECT upper{0, 0, width_, line}, lower{0, line, width_, 2 * line};
    FillRect(dc, &upper, shadow.get());
    FillRect(dc, &lower, light.get());
}

TTimer::TTimer(TComponent* AOwner)
    : TComponent(AOwner), window_([this](TMessage& m) {
          if (m.Msg != WM_TIMER) return false;
          if (onTimer_) onTimer_(this);
          return true;
      }) {}

TTimer::~TTimer() {
    if (running_) KillTimer(window_.Handle(), 1);
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Update();
}

void TTimer::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Update();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    Update();
}

void TTimer::Update() {
    if (running_) KillTimer(window_.Handle(), 1);
    running_ = false;
    if (!enabled_ || interval_ == 0 || !onTimer_) return;
    if (!SetTimer(window_.Handle(), 1, interval_, nullptr)) throw Exception(L"Not enough timers available");
    running_ = true;
}

UINT AlignmentFlag(TAlignment a) {
    return a == TAlignment::taRightJustify ? DT_RIGHT : a == TAlignment::taCenter ? DT_CENTER : DT_LEFT;
}

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner) {
    width_ = 185;
    height_ = 41;
}

void TPanel::SetBevelOuter(TBevelCut v) {
    bevelOuter_ = v;
    Invalidate();
}

void TPanel::AdjustClientRect(RECT& r) const {
    if (bevelOuter_ != TBevelCut::bvNone) InflateRect(&r, -Scaled(1), -Scaled(1));
}

void TPanel::PaintPanel(HDC dc) {
    RECT r = ClientRect();
    const bool plain = HighContrast();
    if (plain && bevelOuter_ != TBevelCut::bvNone) PlainRing(dc, r, clWindowText, Scaled(1));
    if (!plain && bevelOuter_ == TBevelCut::bvRaised)
        BevelRing(dc, r, clBtnHighlight, clBtnShadow, Scaled(1));
    if (!plain && bevelOuter_ == TBevelCut::bvLowered)
        BevelRing(dc, r, clBtnShadow, clBtnHighlight, Scaled(1));
    win::Brush face(CreateSolidBrush(ColorToRGB(plain ? clWindow : color_)));
    FillRect(dc, &r, face.get());
    if (caption_.empty()) return;
    win::SelectObjectGuard font(dc, font_.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(plain ? clWindowText : font_.Color()));
    SIZE w{};
    GetTextExtentPoint32W(dc, L"W", 1, &w);
    RECT band{r.left, (r.top + r.bottom - w.cy) / 2, r.right, 0};
    band.bottom = band.top + w.cy;
    DrawTextW(dc, caption_.c_str(), -1, &band, DT_EXPANDTABS | DT_VCENTER | DT_CENTER);
}

void TPanel::PaintWindow(HDC dc) {
    PaintPanel(dc);
}

long TLabel::AccessibleRole() const {
    return ROLE_SYSTEM_STATICTEXT;
}
long TImage::AccessibleRole() const {
    return ROLE_SYSTEM_GRAPHIC;
}
long TPanel::AccessibleRole() const {
    return ROLE_SYSTEM_GROUPING;
}
