#include "components/TrayIcon.h"

#include "framework/Shell.h"

#include <windowsx.h>

#include <cwchar>

TTrayIcon::TTrayIcon(TComponent* AOwner)
    : TComponent(AOwner), icon_(std::make_unique<TIcon>()),
      window_([this](TMessage& m) { return WndProc(m); }, L"TTrayIcon"),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {}

TTrayIcon::~TTrayIcon() {
    DeleteIcon();
}

std::wstring TTrayIcon::CutToolTip(const std::wstring& text) {
    if (text.size() <= MaxToolTip) return text;
    size_t n = MaxToolTip;
    if (IS_HIGH_SURROGATE(text[n - 1])) --n; // keep pairs whole
    return text.substr(0, n);
}

void TTrayIcon::UpdateNotifyData() {
    data_ = {};
    data_.cbSize = sizeof(NOTIFYICONDATAW);
    data_.hWnd = window_.Handle();
    data_.uID = 0;
    // The standard tip stays with version 4, which otherwise leaves tips to the program.
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    data_.uCallbackMessage = CallbackMessage;
    data_.hIcon = icon_->Handle();
    wcsncpy(data_.szTip, toolTip_.c_str(), std::size(data_.szTip) - 1);
}

bool TTrayIcon::AddIcon() {
    UpdateNotifyData();
    if (!win::TShell::Current().NotifyIcon(NIM_ADD, &data_)) {
        // At sign-in the notification area may not be there yet: offer the icon again shortly.
        if (retriesLeft_ > 0) SetTimer(window_.Handle(), kAddRetryTimer, kAddRetryInterval, nullptr);
        return false;
    }
    added_ = true;
    // Every icon the shell adds starts at the first version; asking for the fourth brings the keyboard
    // events and anchor points. A shell that refuses it keeps sending the mouse messages only.
    NOTIFYICONDATAW version = data_;
    version.uVersion = NOTIFYICON_VERSION_4;
    version4_ = win::TShell::Current().NotifyIcon(NIM_SETVERSION, &version) != FALSE;
    return true;
}

void TTrayIcon::OfferIcon() {
    retriesLeft_ = kAddRetries;
    AddIcon();
}

bool TTrayIcon::Wanted() const {
    return Designing() ? showDesigning_ : active_;
}

void TTrayIcon::ReturnFocus() {
    if (added_ && !Designing()) win::TShell::Current().NotifyIcon(NIM_SETFOCUS, &data_);
}

bool TTrayIcon::IconPlace(POINT& where) const {
    NOTIFYICONIDENTIFIER id{sizeof id, data_.hWnd, data_.uID, {}};
    RECT r{};
    if (added_ && win::TShell::Current().IconRect(id, &r)) {
        where = {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
        return true;
    }
    if (hasAnchor_) where = anchor_;
    return hasAnchor_;
}

POINT WorkAreaCorner(const MONITORINFO& monitor, UINT taskbarEdge) {
    const RECT &all = monitor.rcMonitor, &work = monitor.rcWork;
    if (taskbarEdge > ABE_BOTTOM) {
        // The side that the work area leaves out, where a taskbar (or another bar) sits.
        taskbarEdge = work.top > all.top     ? ABE_TOP
                      : work.left > all.left ? ABE_LEFT
                                             : ABE_BOTTOM; // the right side's corner is the bottom's
    }
    if (taskbarEdge == ABE_TOP) return {work.right, work.top};
    if (taskbarEdge == ABE_LEFT) return {work.left, work.bottom};
    return {work.right, work.bottom};
}

POINT TTrayIcon::CornerBesideIcon() const {
    auto& shell = win::TShell::Current();
    // The taskbar's place is asked of the shell (another process) once, and again after the desktop's
    // layout changed: a click's menu opens without that round trip.
    if (!taskbar_) {
        APPBARDATA asked{sizeof asked};
        taskbar_ = shell.TaskbarPosition(&asked) ? asked : APPBARDATA{};
    }
    const APPBARDATA& taskbar = *taskbar_;
    const bool hasTaskbar = taskbar.cbSize != 0;
    const POINT taskbarMiddle{taskbar.rc.left + (taskbar.rc.right - taskbar.rc.left) / 2,
                              taskbar.rc.top + (taskbar.rc.bottom - taskbar.rc.top) / 2};
    // The icon's own place; else the taskbar, which holds the notification area; else the primary
    // monitor, which holds the origin.
    POINT icon{0, 0};
    if (!IconPlace(icon) && hasTaskbar) icon = taskbarMiddle;
    MONITORINFO monitor{sizeof monitor}, taskbarMonitor{sizeof taskbarMonitor};
    if (!shell.MonitorAt(icon, &monitor))
        return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    // The shell names the edge of its main taskbar; a taskbar on another monitor shows in that monitor's
    // work area.
    const bool taskbarHere = hasTaskbar && shell.MonitorAt(taskbarMiddle, &taskbarMonitor) &&
                             EqualRect(&taskbarMonitor.rcMonitor, &monitor.rcMonitor);
    return WorkAreaCorner(monitor, taskbarHere ? taskbar.uEdge : ~0u);
}

bool TTrayIcon::ModifyIcon() {
    UpdateNotifyData();
    // An icon still waiting to be added goes in with the new record when it is.
    if (!added_) return true;
    return win::TShell::Current().NotifyIcon(NIM_MODIFY, &data_) != FALSE;
}

bool TTrayIcon::DeleteIcon() {
    KillTimer(window_.Handle(), kAddRetryTimer);
    retriesLeft_ = 0;
    if (!added_) return true;
    added_ = false;
    // The shell knows the icon by window and id, so the record is passed as last filled.
    return win::TShell::Current().NotifyIcon(NIM_DELETE, &data_) != FALSE;
}

void TTrayIcon::SetActive(bool v) {
    if (v == active_) return;
    active_ = v;
    if (Designing()) return;
    if (v)
        OfferIcon();
    else
        DeleteIcon();
}

void TTrayIcon::SetShowDesigning(bool v) {
    if (!Designing() || v == showDesigning_) return;
    showDesigning_ = v;
    if (v)
        OfferIcon();
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
    if (m.Msg == CallbackMessage) return CallbackMessageReceived(m);
    if (m.Msg == WM_DPICHANGED || m.Msg == WM_DISPLAYCHANGE || m.Msg == WM_SETTINGCHANGE) {
        // The display's scaling may have changed: the icon follows the notification area's size. The
        // taskbar may have moved (its work area changes with it).
        taskbar_.reset();
        FitIcon();
        if (m.Msg != WM_DPICHANGED) return false;
        m.Result = 0; // the hidden window stays where it is
        return true;
    }
    if (m.Msg == taskbarCreated_) {
        // A new taskbar has no icons: put ours back while it is wanted, at the new taskbar's size.
        added_ = false;
        taskbar_.reset();
        FitIcon();
        if (Wanted()) OfferIcon();
        m.Result = 0;
        return true;
    }
    if (m.Msg == WM_TIMER && m.WParam == kAddRetryTimer) {
        KillTimer(window_.Handle(), kAddRetryTimer);
        if (!added_ && Wanted() && retriesLeft_ > 0) {
            --retriesLeft_;
            AddIcon();
        }
        m.Result = 0;
        return true;
    }
    return false; // the default answers, so session-end queries are not refused
}

bool TTrayIcon::CallbackMessageReceived(TMessage& m) {
    // Version 4 puts the event in the low word (the icon's id in the high word) and the anchor point in
    // wParam; the first version passes the mouse message alone, which fits the low word as well.
    const UINT event = LOWORD(m.LParam);
    const POINT anchor{GET_X_LPARAM(m.WParam), GET_Y_LPARAM(m.WParam)};
    auto select = [this] {
        if (OnSelect) OnSelect(this);
    };
    auto contextMenu = [this](POINT at) {
        if (OnContextMenu) OnContextMenu(this, at.x, at.y);
    };
    switch (event) {
    case WM_LBUTTONUP:
        if (OnClick) OnClick(this);
        if (!version4_) select(); // no selection follows
        break;
    case WM_LBUTTONDBLCLK:
        if (OnDblClick) OnDblClick(this);
        break;
    case WM_RBUTTONUP:
        if (OnRightClick || (!version4_ && OnContextMenu)) {
            POINT p{};
            win::TShell::Current().CursorPos(&p);
            if (OnRightClick) OnRightClick(this, TMouseButton::mbRight, 0, p.x, p.y);
            if (!version4_) contextMenu(p);
        }
        break;
    case NIN_SELECT:
    case NIN_KEYSELECT:
        if (!version4_) break;
        anchor_ = anchor;
        hasAnchor_ = true;
        select();
        break;
    case WM_CONTEXTMENU:
        if (!version4_) break;
        anchor_ = anchor;
        hasAnchor_ = true;
        contextMenu(anchor);
        break;
    default:
        break;
    }
    m.Result = 0;
    return true;
}
