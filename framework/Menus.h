// Pop-up menus: items with captions, hints and enabled states, opened at a screen point.
#pragma once

#include "framework/Controls.h"
#include "framework/UtilWindow.h"

#include <memory>
#include <string>
#include <vector>

enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& v) { caption_ = v; }
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& v) { hint_ = v; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { enabled_ = v; }
    TMenuBreak Break() const { return break_; }
    void SetBreak(TMenuBreak v) { break_ = v; }
    // Runs the item's command.
    virtual void Click() {
        if (OnClick) OnClick(this);
    }
    TNotifyEvent OnClick;

private:
    std::wstring caption_, hint_;
    bool enabled_ = true;
    TMenuBreak break_ = TMenuBreak::mbNone;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // Adds an item, owned by the menu's owner, at the end.
    void Add(TMenuItem* item) { items_.push_back(item); }
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int i) const { return items_[static_cast<size_t>(i)]; }

    // Runs OnPopup, shows the menu left-aligned at the screen point and tracks it until the user chooses
    // an item or dismisses it (clicking elsewhere, Escape); the chosen item's command runs after the menu
    // has closed. Answers whether an item was chosen.
    bool Popup(int x, int y);
    // The window that owns the menu while it is open; made at the first opening (null before).
    HWND Handle() const { return window_ ? window_->Handle() : nullptr; }
    bool Tracking() const { return tracking_; }

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* c, TOperation op) override;

private:
    std::vector<TMenuItem*> items_;
    std::unique_ptr<TUtilWindow> window_;
    bool tracking_ = false;
};
