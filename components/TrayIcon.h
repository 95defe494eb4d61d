// A notification-area icon with a tool tip that turns mouse actions on the icon into events.
#pragma once

#include "framework/Controls.h"
#include "framework/UtilWindow.h"
#include "framework/Graphics.h"

#include <shellapi.h>

#include <memory>
#include <string>

class TTrayIcon : public TComponent {
public:
    static constexpr UINT CallbackMessage = WM_USER + 1;
    static constexpr size_t MaxToolTip = 62;

    explicit TTrayIcon(TComponent* AOwner);
    ~TTrayIcon() override;

    bool Active() const { return active_; }
    void SetActive(bool v);
    bool ShowDesigning() const { return showDesigning_; }
    void SetShowDesigning(bool v);
    TIcon& Icon() { return *icon_; }
    // An icon loaded from a resource is shown at the small-icon size of the notification area's
    // display density, and loaded again when that density changes.
    void SetIcon(const TIcon& icon);
    // The small-icon size at the notification area's density; FitIcon brings the icon to it (the shell
    // gets the new image) and answers whether it changed.
    static int NotificationAreaIconSize();
    bool FitIcon();
    const std::wstring& ToolTip() const { return toolTip_; }
    void SetToolTip(const std::wstring& text);

    // The hidden window that receives the shell's notifications.
    HWND Handle() const { return window_.Handle(); }
    const NOTIFYICONDATAW& NotifyData() const { return data_; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnRightClick;

    // Cuts a tool tip to at most 62 UTF-16 units, never inside a surrogate pair.
    static std::wstring CutToolTip(const std::wstring& text);

private:
    void UpdateNotifyData();
    bool AddIcon();
    bool ModifyIcon();
    bool DeleteIcon();
    bool WndProc(TMessage& m);

    NOTIFYICONDATAW data_{};
    std::unique_ptr<TIcon> icon_;
    std::wstring toolTip_;
    TUtilWindow window_;
    UINT taskbarCreated_;
    bool active_ = false;
    bool showDesigning_ = false;
};
