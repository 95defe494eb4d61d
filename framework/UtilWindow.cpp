#include "framework/UtilWindow.h"

#include "framework/Classes.h"
#include "framework/Win32.h"

namespace {
constexpr const wchar_t* kUtilClass = L"QuennelUtilWindow";
} // namespace

TUtilWindow::TUtilWindow(Handler handler, const wchar_t* name) : handler_(std::move(handler)) {
    RegisterClassOnce(kUtilClass, 0);
    CreateWindowExW(WS_EX_TOOLWINDOW, kUtilClass, name, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                    ModuleInstance(), static_cast<TMessageTarget*>(this));
    if (!window_) throw Exception(L"Error creating window: " + win::SystemErrorText(GetLastError()));
    made_ = true;
}

void TUtilWindow::WndProc(TMessage& m) {
    if (!made_ || !handler_ || !handler_(m)) m.Result = DefaultProc(window_.get(), m);
}
