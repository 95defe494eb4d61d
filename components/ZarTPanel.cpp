#include "components/ZarTPanel.h"

TZarPanel::TZarPanel(TComponent* AOwner) : TPanel(AOwner) {}

TZarPanel::~TZarPanel() = default;

void TZarPanel::SetBackground(TZarBackground* b) {
    background_.Set(b);
}

void TZarPanel::Notification(TComponent* c, TOperation op) {
    TPanel::Notification(c, op);
    if (op == TOperation::opRemove) background_.Removed(c);
}

void TZarPanel::SetDlgFrame(bool v) {
    dlgFrame_ = v;
    Invalidate();
}

void TZarPanel::SetBorderwidth(int v) {
    if (v > 0) borderWidth_ = v;
    Invalidate();
    AlignControls();
}

void TZarPanel::SetAutoSize(bool v) {
    autoSize_ = v;
    Invalidate();
}

void TZarPanel::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // The panel keeps the mouse while a button is held, so its release comes here wherever it is.
        if (handle_) SetCapture(handle_);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        TPanel::WndProc(m);
        if (!(m.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == handle_) ReleaseCapture();
        return;
    case WM_WINDOWPOSCHANGED: {
        TPanel::WndProc(m);
        // Frames and the centred caption depend on the whole size: nothing drawn before stays valid.
        const auto* wp = reinterpret_cast<const WINDOWPOS*>(m.LParam);
        if ((wp->flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE)) {
            InvalidateRect(handle_, nullptr, TRUE);
            if (OnResize) OnResize(this);
        }
        return;
    }
    default:
        break;
    }
    TPanel::WndProc(m);
}

void TZarPanel::SetAlignment(TAlignment a) {
    alignment_ = a;
    Invalidate();
}

void TZarPanel::AdjustClientRect(RECT& r) const {
    int inset = Scaled(borderWidth_);
    if (frameOuter_.FrameStyle() != frameNone) inset += Scaled(frameOuter_.FrameWidth());
    if (frameInner_.FrameStyle() != frameNone) inset += Scaled(frameInner_.FrameWidth());
    InflateRect(&r, -inset, -inset);
    TPanel::AdjustClientRect(r); // the base panel's raised bevel
}

void TZarPanel::PaintFace(HDC dc) {
    RECT r{0, 0, width_, height_};
    PaintPanel(dc);
    // The plain look: the window's pair, every frame a line in the text colour.
    const bool plain = HighContrast();
    const TColor line = plain ? clWindowText : clNone;
    if (background_ && !plain) background_->PaintBackground(dc, width_, height_, true);
    if (dlgFrame_) {
        const int ring = Scaled(1);
        BevelRing(dc, r, plain ? line : clBtnHighlight, plain ? line : clBlack, ring);
        BevelRing(dc, r, plain ? clWindow : clBtnFace, plain ? clWindow : clBtnShadow, ring);
        BevelRing(dc, r, plain ? clWindow : clBtnFace, plain ? clWindow : clBtnFace, ring);
    }
    frameOuter_.DrawFrame(dc, r, line);
    if (borderWidth_ > 0) {
        const int inset = Scaled(borderWidth_) + Scaled(1);
        InflateRect(&r, -inset, -inset);
    }
    frameInner_.DrawFrame(dc, r, line);
    const UINT format = AlignmentFlag(alignment_) | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;
    if (plain)
        PlainText(dc, font_, r, caption_, format, enabled_ ? clWindowText : clGrayText);
    else
        font3D_.DrawText3D(font_, dc, r, caption_, format, enabled_);
}
