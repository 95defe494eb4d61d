#include "framework/UtilWindow.h"

#include "framework/Classes.h"
#include "framework/Win32.h"

namespace {
constexpr const wchar_t* kUtilClass = L"QuennelUtilWindow";
} // namespace

TUtilWindow::TUtilWindow(Handler handler, const wchar_t* name) : handler_(std::move(handler)) {
    RegisterClassOnce(kUtilClass, 0);
    TWindowSpec params;
    params.exStyle = WS_EX_TOOLWINDOW;
    params.className = kUtilClass;
    params.caption = name;
    params.style = WS_POPUP;
    CreateTargetWindow(*this, params);
    made_ = true;
}

void TUtilWindow::WndProc(TMessage& m) {
    if (!made_ || !handler_ || !handler_(m)) m.Result = DefaultProc(window_.get(), m);
}
