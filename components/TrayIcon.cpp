#include "components/TrayIcon.h"

#include "framework/Shell.h"

#include <cwchar>

TTrayIcon::TTrayIcon(TComponent* AOwner)
    : TComponent(AOwner), icon_(std::make_unique<TIcon>()),
      window_([this](TMessage& m) { return WndProc(m); }, L"TTrayIcon"),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {}

TTrayIcon::~TTrayIcon() {
    if (Designing() ? showDesigning_ : active_) DeleteIcon();
}

std::wstring TTrayIcon::CutToolTip(const std::wstring& text) {
    if (text.size() <= MaxToolTip) return text;
    size_t n = MaxToolTip;
    if (IS_HIGH_SURROGATE(text[n - 1])) --n; // keep pairs whole
    return text.substr(0, n);
}

void TTrayIcon::UpdateNotifyData() {
    data_ = {};
    data_.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data_.hWnd = window_.Handle();
    data_.uID = 0;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = CallbackMessage;
    data_.hIcon = icon_->Handle();
    wcsncpy(data_.szTip, toolTip_.c_str(), std::size(data_.szTip) - 1);
}

bool TTrayIcon::AddIcon() {
    UpdateNotifyData();
    return win::TShell::Current().NotifyIcon(NIM_ADD, &data_) != FALSE;
}

bool TTrayIcon::ModifyIcon() {
    UpdateNotifyData();
    if (!active_) return true;
    return win::TShell::Current().NotifyIcon(NIM_MODIFY, &data_) != FALSE;
}

bool TTrayIcon::DeleteIcon() {
    // The shell knows the icon by window and id, so the record is passed as last filled.
    return win::TShell::Current().NotifyIcon(NIM_DELETE, &data_) != FALSE;
}

void TTrayIcon::SetActive(bool v) {
    if (v == active_) return;
    active_ = v;
    if (Designing()) return;
    if (v)
        AddIcon();
    else
        DeleteIcon();
}

void TTrayIcon::SetShowDesigning(bool v) {
    if (!Designing() || v == showDesigning_) return;
    showDesigning_ = v;
    if (v)
        AddIcon();
    else
        DeleteIcon();
}

void TTrayIcon::SetIcon(const TIcon& icon) {
    if (&icon == icon_.get()) return;
    icon_->Assign(icon);
    if (!FitIcon()) ModifyIcon();
}

int TTrayIcon::NotificationAreaIconSize() {
    // The notification area lives in the taskbar; without one, on the primary display.
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    return SystemMetricForPPI(SM_CXSMICON, taskbar ? WindowPPI(taskbar) : SystemPPI());
}

bool TTrayIcon::FitIcon() {
    const int before = icon_->Size();
    if (!icon_->Reload(NotificationAreaIconSize()) || icon_->Size() == before) return false;
    ModifyIcon();
    return true;
}

void TTrayIcon::SetToolTip(const std::wstring& text) {
    toolTip_ = CutToolTip(text);
    ModifyIcon();
}

bool TTrayIcon::WndProc(TMessage& m) {
    if (m.Msg == CallbackMessage) {
        switch (static_cast<UINT>(m.LParam)) {
        case WM_LBUTTONUP:
            if (OnClick) OnClick(this);
            break;
        case WM_LBUTTONDBLCLK:
            if (OnDblClick) OnDblClick(this);
            break;
        case WM_RBUTTONUP:
            if (OnRightClick) {
                POINT p{};
                win::TShell::Current().CursorPos(&p);
                OnRightClick(this, TMouseButton::mbRight, 0, p.x, p.y);
            }
            break;
        default:
            break;
        }
        m.Result = 0;
        return true;
    }
    if (m.Msg == WM_DPICHANGED || m.Msg == WM_DISPLAYCHANGE || m.Msg == WM_SETTINGCHANGE) {
        // The display's scaling may have changed: the icon follows the notification area's size.
        FitIcon();
        if (m.Msg != WM_DPICHANGED) return false;
        m.Result = 0; // the hidden window stays where it is
        return true;
    }
    if (m.Msg == taskbarCreated_) {
        // A new taskbar has no icons: put ours back while it is wanted, at the new taskbar's size.
        FitIcon();
        if (active_ && !Designing()) AddIcon();
        m.Result = 0;
        return true;
    }
    return false; // the default answers, so session-end queries are not refused
}
