#include "framework/Classes.h"

#include <windows.h>

#include <algorithm>

std::wstring EInOutError::MessageFor(unsigned long code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return L"File not found";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return L"Invalid filename";
    case ERROR_TOO_MANY_OPEN_FILES:
        return L"Too many open files";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return L"File access denied";
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return L"Disk full";
    default:
        return L"I/O error " + std::to_wstring(code);
    }
}

EInOutError::EInOutError(unsigned long code) : Exception(MessageFor(code)), code_(code) {}

TShiftState ShiftStateFromKeys(unsigned long mk) {
    TShiftState s = 0;
    if (mk & MK_SHIFT) s |= ssShift;
    if (mk & MK_CONTROL) s |= ssCtrl;
    if (mk & MK_LBUTTON) s |= ssLeft;
    if (mk & MK_RBUTTON) s |= ssRight;
    if (mk & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    state_ |= csDestroying;
    // Tell everyone who asked that this component is going away.
    auto notifies = std::move(freeNotifies_);
    for (TComponent* c : notifies) {
        c->RemoveFreeNotification(this);
        c->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponent(TComponent* c) {
    if (!c || c->owner_ != this) return;
    RemoveComponent(c);
    delete c;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* c = components_.back();
        RemoveComponent(c);
        delete c;
    }
}

TComponent* TComponent::FindComponent(const std::wstring& name) const {
    for (TComponent* c : components_)
        if (c->name_ == name) return c;
    return nullptr;
}

void TComponent::SetDesigning(bool on) {
    if (on)
        state_ |= csDesigning;
    else
        state_ &= ~static_cast<unsigned>(csDesigning);
}

void TComponent::InsertComponent(TComponent* c) {
    c->owner_ = this;
    components_.push_back(c);
    Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
    Notification(c, TOperation::opRemove);
    auto it = std::find(components_.begin(), components_.end(), c);
    if (it != components_.end()) components_.erase(it);
    c->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent* c) {
    if (!c || c == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end()) {
        freeNotifies_.push_back(c);
        c->FreeNotification(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* c) {
    auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), c);
    if (it != freeNotifies_.end()) {
        freeNotifies_.erase(it);
        c->RemoveFreeNotification(this);
    }
}

void TComponent::Notification(TComponent*, TOperation) {}
