#include "framework/Hints.h"

#include "framework/Controls.h"
#include "framework/Dispatch.h"
#include "framework/Scaling.h"

#include <algorithm>

namespace {
constexpr const wchar_t* kHintClass = L"QuennelHint";
constexpr int kPadding = 3;
} // namespace

void THintWindow::ActivateHint(const std::wstring& text, POINT at, HWND topLevel, HFONT font) {
    if (window_ && GetParent(window_.get()) != topLevel) window_.Destroy();
    if (!window_) {
        RegisterClassOnce(kHintClass, 0, IDC_ARROW);
        CreateWindowExW(0, kHintClass, L"", WS_CHILD | WS_BORDER | WS_CLIPSIBLINGS, 0, 0, 0, 0, topLevel,
                        nullptr, ModuleInstance(), static_cast<TMessageTarget*>(this));
        if (!window_) return;
    }
    if (!font && !statusFont_) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        statusFont_.reset(CreateFontIndirectW(&metrics.lfStatusFont));
    }
    font_ = font ? font : statusFont_.get();
    text_ = text;
    RECT r{0, 0, 0, 0};
    {
        win::WindowDC dc(window_.get());
        win::SelectObjectGuard selected(dc, font_);
        DrawTextW(dc, text_.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    }
    // The text, the padding and the border.
    const int padding = ScaleValue(kPadding, WindowPPI(topLevel));
    int w = r.right + 2 * padding + 2, h = r.bottom + 2 * padding + 2;
    RECT client;
    GetClientRect(topLevel, &client);
    ScreenToClient(topLevel, &at);
    int x = std::max(0, std::min<int>(at.x, client.right - w));
    int y = std::max(0, std::min<int>(at.y, client.bottom - h));
    SetWindowPos(window_.get(), HWND_TOP, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(window_.get(), nullptr, TRUE);
    UpdateWindow(window_.get());
}

void THintWindow::Hide() {
    if (window_) ShowWindow(window_.get(), SW_HIDE);
}

bool THintWindow::Showing() const {
    return window_ && IsWindowVisible(window_.get());
}

void THintWindow::Paint(HDC dc) const {
    RECT r;
    GetClientRect(window_.get(), &r);
    win::Brush back(CreateSolidBrush(GetSysColor(COLOR_INFOBK)));
    FillRect(dc, &r, back.get());
    win::SelectObjectGuard font(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    const int padding = ScaleValue(kPadding, WindowPPI(window_.get()));
    InflateRect(&r, -padding, -padding);
    DrawTextW(dc, text_.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
}

void THintWindow::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: {
        win::PaintDC dc(window_.get());
        Paint(dc.get());
        m.Result = 0;
        break;
    }
    case WM_ERASEBKGND:
        m.Result = 1; // the paint fills everything
        break;
    case WM_NCHITTEST:
        m.Result = HTTRANSPARENT; // the pointer goes through to what lies under the hint
        break;
    default:
        m.Result = DefaultProc(window_.get(), m);
        break;
    }
}

// ---- the tracker --------------------------------------------------------------------------------------

THintTracker::~THintTracker() {
    Reset();
}

void THintTracker::Reset() {
    if (form_.HandleAllocated()) {
        KillTimer(form_.Handle(), kShowTimer);
        KillTimer(form_.Handle(), kHideTimer);
    }
    if (window_) window_->Hide();
    control_ = nullptr;
}

void THintTracker::Cancel(const TWinControl& over) {
    if (&over == over_) Reset();
}

void THintTracker::ControlRemoved(const TControl& child) {
    if (&child == over_) WindowGone(*over_);
    if (&child == control_) Reset();
}

void THintTracker::WindowGone(const TWinControl& over) {
    if (&over == over_) {
        Reset();
        window_.reset(); // a new window makes a new hint when it first shows one
        over_ = nullptr;
    }
    if (leaveTracked_ && !IsWindow(leaveTracked_)) leaveTracked_ = nullptr;
}

void THintTracker::MouseLeft(TWinControl& over) {
    if (over.HandleAllocated() && over.Handle() == leaveTracked_) leaveTracked_ = nullptr;
    Cancel(over);
}

void THintTracker::MouseMessage(TWinControl& over, const TMessage& m, POINT p) {
    TControl* c = nullptr;
    if (m.Msg == WM_MOUSEMOVE) {
        c = over.ControlAtPos(p);
        if (c && (!c->ShowHint() || c->Hint().empty() || !dynamic_cast<TGraphicControl*>(c))) c = nullptr;
    }
    if (&over != over_) {
        // Another window's messages leave the hint alone until the pointer comes to a child of it that
        // has one; leaving the hint's own window says the pointer went.
        if (!c) return;
        Reset();
        over_ = &over;
        overWindow_ = over.Handle();
    }
    if (m.Msg != WM_MOUSEMOVE) {
        // A press hides the hint; it comes again only after the pointer has left the child.
        if (form_.HandleAllocated()) KillTimer(form_.Handle(), kShowTimer);
        if (window_) window_->Hide();
        return;
    }
    if (leaveTracked_ != overWindow_) {
        TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, overWindow_, 0};
        leaveTracked_ = TrackMouseEvent(&leave) ? overWindow_ : nullptr;
    }
    if (c == control_) return;
    Reset();
    control_ = c;
    if (c) SetTimer(form_.Handle(), kShowTimer, kShowMs, nullptr);
}

bool THintTracker::TimerMessage(const TWinControl& on, TMessage& m) {
    if (&on != &form_ || m.Msg != WM_TIMER || (m.WParam != kShowTimer && m.WParam != kHideTimer))
        return false;
    KillTimer(form_.Handle(), m.WParam);
    // The control and its child may have gone by ways the form does not hear of (a branch taken out of
    // it): the window still leads to the control, and the control still lists the child.
    if (TWinControl::FromHandle(overWindow_) != over_) over_ = nullptr;
    bool listed = false;
    for (int i = 0; over_ && i < over_->ControlCount() && !listed; ++i)
        listed = over_->Controls(i) == control_;
    if (!listed) control_ = nullptr;
    if (m.WParam == kShowTimer && control_) {
        if (!window_) window_ = std::make_unique<THintWindow>();
        POINT at;
        GetCursorPos(&at);
        // Below the pointer's tip.
        at.y += SystemMetricForPPI(SM_CYCURSOR, over_->CurrentPPI()) / 2 + over_->Scaled(4);
        HWND root = GetAncestor(over_->Handle(), GA_ROOT);
        TWinControl* top = TWinControl::FromHandle(root);
        window_->ActivateHint(control_->Hint(), at, root, top ? top->Font().Handle() : nullptr);
        SetTimer(form_.Handle(), kHideTimer, kHideMs, nullptr);
    } else if (m.WParam == kHideTimer && window_) {
        window_->Hide();
    }
    m.Result = 0;
    return true;
}
