#include "framework/UtilWindow.h"

#include "framework/Classes.h"
#include "framework/Win32.h"

namespace {
constexpr const wchar_t* kUtilClass = L"QuennelUtilWindow";
} // namespace

TUtilWindow::TUtilWindow(Handler handler, const wchar_t* name) : handler_(std::move(handler)) {
    RegisterClassOnce(kUtilClass, &Proc, 0);
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kUtilClass, name, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            ModuleInstance(), this);
    if (!hwnd_) throw Exception(L"Error creating window: " + win::SystemErrorText(GetLastError()));
}

TUtilWindow::~TUtilWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK TUtilWindow::Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrW(h, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    auto* self = reinterpret_cast<TUtilWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (msg == WM_NCDESTROY && self) {
        SetWindowLongPtrW(h, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(h, msg, w, l);
    }
    if (!self || !self->handler_ || !self->hwnd_) return DefWindowProcW(h, msg, w, l);
    TMessage m{msg, w, l, 0};
    try {
        if (!self->handler_(m)) return DefWindowProcW(h, msg, w, l);
    } catch (...) {
        ReportDispatchError();
    }
    return m.Result;
}
