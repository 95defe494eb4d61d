// A notification-area icon with a tool tip that turns mouse actions on the icon into events.
#pragma once

#include "framework/Controls.h"
#include "framework/UtilWindow.h"
#include "framework/Graphics.h"

#include <shellapi.h>

#include <memory>
#include <optional>
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

    // The mouse on the icon, as the shell reports it: a left release, a double click, a right release
    // (at the pointer).
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnRightClick;
    // The icon chosen, by a left click or by Enter or Space on it in the notification area: with version
    // 4 the shell's selections (a click's release is then not one), otherwise the left release. Enter
    // reports itself twice, the second while the first one's menu is open.
    TNotifyEvent OnSelect;
    // The icon's menu asked for, by a right click or Shift+F10 or the menu key, at the anchor point (the
    // pointer, for the mouse).
    TContextPopupEvent OnContextMenu;
    // Gives the keyboard focus back to the notification area, after a menu of the icon closed unused.
    void ReturnFocus();
    // Whether the shell took the version-4 protocol (keyboard events, anchor points).
    bool Version4() const { return version4_; }
    // A shell that is not ready yet (at sign-in) refuses the icon: it is offered again every
    // kAddRetryInterval ms, at most kAddRetries times, and whenever the notification area announces itself.
    static constexpr UINT_PTR kAddRetryTimer = 1;
    static constexpr UINT kAddRetryInterval = 2000, kAddRetries = 90;
    // The corner of the work area, on the taskbar's side, of the monitor that holds the icon: where a
    // menu of the icon opens beside it. Bottom-right for a taskbar at the bottom or the right, top-right
    // for one at the top, bottom-left for one at the left; right and bottom are the work area's
    // exclusive edges.
    POINT CornerBesideIcon() const;

    // Cuts a tool tip to at most 62 UTF-16 units, never inside a surrogate pair.
    static std::wstring CutToolTip(const std::wstring& text);

private:
    void UpdateNotifyData();
    bool AddIcon();
    // Adds the icon, and keeps offering it for a while when the shell refuses it.
    void OfferIcon();
    // Whether the icon belongs in the notification area: while active, or at design time while shown.
    bool Wanted() const;
    // A screen point on the icon: the middle of its rectangle where the shell tells it, else the anchor
    // of the last version-4 event; false when neither is known.
    bool IconPlace(POINT& where) const;
    bool ModifyIcon();
    bool DeleteIcon();
    bool WndProc(TMessage& m);
    bool CallbackMessageReceived(TMessage& m);

    NOTIFYICONDATAW data_{};
    std::unique_ptr<TIcon> icon_;
    std::wstring toolTip_;
    TUtilWindow window_;
    UINT taskbarCreated_;
    mutable std::optional<APPBARDATA> taskbar_; // the shell's answer; no taskbar when cbSize is 0
    POINT anchor_{};
    bool hasAnchor_ = false;
    UINT retriesLeft_ = 0;
    bool active_ = false;
    bool added_ = false; // the shell took the icon and holds it
    bool version4_ = false;
    bool showDesigning_ = false;
};

// The corner of a monitor's work area on its taskbar's side, for the taskbar's edge (an ABE_ value; any
// other: the side that the work area leaves out): top-right for the top, bottom-left for the left,
// bottom-right for the bottom and the right. Right and bottom are the work area's exclusive edges.
POINT WorkAreaCorner(const MONITORINFO& monitor, UINT taskbarEdge);
