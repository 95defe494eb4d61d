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

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    tabStop_ = true;
    color_ = clWindow;
    width_ = 121;
    height_ = 21;
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"EDIT";
    p.Style |= ES_AUTOHSCROLL;
    if (readOnly_) p.Style |= ES_READONLY;
    if (border_) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateHandleDone() {
    // The default limit (about 32 K characters) would cut long texts.
    SendMessageW(handle_, EM_LIMITTEXT, 0, 0);
}

std::wstring TCustomEdit::Text() const {
    if (!handle_) return caption_;
    int n = GetWindowTextLengthW(handle_);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(handle_, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

void TCustomEdit::SetText(const std::wstring& text) {
    caption_ = text;
    if (handle_ && !SetWindowTextW(handle_, text.c_str())) throw Exception(L"Text exceeds memo capacity");
}

void TCustomEdit::SetReadOnly(bool v) {
    readOnly_ = v;
    if (handle_) SendMessageW(handle_, EM_SETREADONLY, v, 0);
}

void TCustomEdit::SelectAll() {
    SendMessageW(Handle(), EM_SETSEL, 0, -1);
}
void TCustomEdit::CopyToClipboard() {
    SendMessageW(Handle(), WM_COPY, 0, 0);
}
void TCustomEdit::PasteFromClipboard() {
    SendMessageW(Handle(), WM_PASTE, 0, 0);
}

void TCustomEdit::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        m.Result = 0;
        return;
    }
    if (m.Msg == CN_BASE + WM_CTLCOLOREDIT || m.Msg == CN_BASE + WM_CTLCOLORSTATIC) {
        // The text in the font's colour on the control's colour, read-only or not.
        auto dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(font_.Color()));
        SetBkColor(dc, ColorToRGB(color_));
        if (!background_) background_.reset(CreateSolidBrush(ColorToRGB(color_)));
        m.Result = reinterpret_cast<LRESULT>(background_.get());
        return;
    }
    TWinControl::WndProc(m);
}

TMemo::TMemo(TComponent* AOwner) : TCustomEdit(AOwner) {
    width_ = 185;
    height_ = 89;
}

void TMemo::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
    if (wantReturns_) p.Style |= ES_WANTRETURN;
    if (!wordWrap_ || scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth)
        p.Style |= ES_AUTOHSCROLL;
    if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth)
        p.Style |= WS_HSCROLL;
    if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) p.Style |= WS_VSCROLL;
}

void TMemo::WndProc(TMessage& m) {
    // Enter inserts a line break rather than pressing the dialog's default button.
    if (m.Msg == WM_GETDLGCODE) {
        TCustomEdit::WndProc(m);
        if (wantReturns_)
            m.Result |= DLGC_WANTALLKEYS;
        else
            m.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
        return;
    }
    TCustomEdit::WndProc(m);
}
