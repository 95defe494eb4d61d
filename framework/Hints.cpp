#include "framework/Hints.h"

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
        TWindowSpec params;
        params.className = kHintClass;
        params.style = WS_CHILD | WS_BORDER | WS_CLIPSIBLINGS;
        params.parent = topLevel; // gone with its top-level window, which the hint then forgets
        CreateTargetWindow(*this, params);
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
