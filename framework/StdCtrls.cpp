#include "StdCtrls.h"

TForm* GetParentForm(const TControl* c) {
    while (c && c->Parent())
        c = c->Parent();
    return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
    tabStop_ = true;
    width_ = 75;
    height_ = 25;
}

TForm* TButton::ParentForm() const {
    return GetParentForm(this);
}

void TButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"BUTTON";
    p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetParent(TWinControl* p) {
    TWinControl::SetParent(p);
    if (TForm* f = ParentForm()) {
        if (default_) f->SetDefaultControl(this);
        if (cancel_) f->SetCancelControl(this);
    }
}

void TButton::SetDefault(bool v) {
    default_ = v;
    if (TForm* f = ParentForm()) f->SetDefaultControl(v ? this : nullptr);
    if (handle_) SendMessageW(handle_, BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::SetCancel(bool v) {
    cancel_ = v;
    if (TForm* f = ParentForm()) f->SetCancelControl(v ? this : nullptr);
}

void TButton::Click() {
    if (TForm* f = ParentForm(); f && modalResult_ != mrNone) f->SetModalResult(modalResult_);
    TWinControl::Click();
}

void TButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED) Click();
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}
