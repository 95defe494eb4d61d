#include "framework/Menus.h"

#include <algorithm>

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove) items_.erase(std::remove(items_.begin(), items_.end(), c), items_.end());
}

bool TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    win::Menu menu(CreatePopupMenu());
    if (!menu) return false;
    for (size_t i = 0; i < items_.size(); ++i) {
        const TMenuItem* item = items_[i];
        UINT flags = MF_STRING;
        if (!item->Enabled()) flags |= MF_GRAYED;
        if (item->Break() == TMenuBreak::mbBreak) flags |= MF_MENUBREAK;
        if (item->Break() == TMenuBreak::mbBarBreak) flags |= MF_MENUBARBREAK;
        AppendMenuW(menu.get(), flags, i + 1, item->Caption().c_str());
    }
    // A menu opened from the tray closes on a click elsewhere only when its owner is the foreground
    // window, and the null message afterwards lets a second opening work at once.
    if (!window_) window_ = std::make_unique<TUtilWindow>([](TMessage&) { return false; });
    HWND owner = window_->Handle();
    SetForegroundWindow(owner);
    tracking_ = true;
    UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, owner, nullptr));
    tracking_ = false;
    PostMessageW(owner, WM_NULL, 0, 0);
    menu.reset();
    if (chosen < 1 || chosen > items_.size()) return false;
    items_[chosen - 1]->Click();
    return true;
}
