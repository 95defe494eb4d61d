#include "framework/StdCtrls.h"

#include "framework/Accessible.h"

TForm* GetParentForm(const TControl* c) {
    while (c && c->Parent())
        c = c->Parent();
    return c ? const_cast<TControl*>(c)->AsForm() : nullptr;
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
    // The text comes after the window: a long window title may be refused, and under Wine a refusal can
    // even hand back a handle that is no window.
    p.Caption.clear();
}

void TCustomEdit::CreateHandleDone() {
    // Without a MaxLength the default limit (about 32 K characters) would cut long texts: lift it.
    SendMessageW(handle_, EM_LIMITTEXT, maxLength_, 0);
    if (!caption_.empty()) PutText();
}

void TCustomEdit::SetMaxLength(size_t n) {
    maxLength_ = n;
    if (handle_) SendMessageW(handle_, EM_LIMITTEXT, n, 0);
}

void TCustomEdit::PutText() {
    // The control may take a text only in part or not at all: check what it holds.
    bool whole = SetWindowTextW(handle_, caption_.c_str()) &&
                 static_cast<size_t>(GetWindowTextLengthW(handle_)) == wcslen(caption_.c_str());
    if (!whole) Refuse();
}

void TCustomEdit::Refuse() {
    // Nothing of a text that did not fit stays behind.
    caption_.clear();
    if (handle_) SetWindowTextW(handle_, L"");
    throw Exception(L"Text exceeds memo capacity");
}

std::wstring TCustomEdit::Text() const {
    return handle_ ? win::WindowText(handle_) : caption_;
}

void TCustomEdit::SetText(const std::wstring& text) {
    if (maxLength_ && text.size() > maxLength_) Refuse();
    caption_ = text;
    if (handle_) PutText();
}

void TCustomEdit::SetReadOnly(bool v) {
    readOnly_ = v;
    if (handle_) SendMessageW(handle_, EM_SETREADONLY, v, 0);
}

void TCustomEdit::ApplyColor(TColor c) {
    background_.reset(); // the next colour request makes a brush of the new colour
    TWinControl::ApplyColor(c);
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
    // Enter inserts a line break rather than pressing the dialog's default button; Tab and Shift+Tab
    // move the focus on, as in every other control of a window.
    if (m.Msg == WM_GETDLGCODE) {
        TCustomEdit::WndProc(m);
        const auto* key = reinterpret_cast<const MSG*>(m.LParam);
        bool tab = key && key->message == WM_KEYDOWN && key->wParam == VK_TAB;
        if (wantReturns_ && !tab)
            m.Result |= DLGC_WANTALLKEYS;
        else
            m.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
        if (tab) m.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
        return;
    }
    TCustomEdit::WndProc(m);
}

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner) {
    tabStop_ = true;
    color_ = clWindow;
    width_ = 145;
    height_ = 24;
}

void TComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"COMBOBOX";
    p.Style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
    p.Height = Scaled(200); // the height of the dropped-down list
}

void TComboBox::CreateHandleDone() {
    for (const auto& item : items_)
        SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(handle_, CB_SETITEMHEIGHT, 0, itemHeight_);
    SetWindowTextW(handle_, caption_.c_str());
    COMBOBOXINFO info{sizeof info};
    if (GetComboBoxInfo(handle_, &info) && info.hwndItem) SubclassToTarget(info.hwndItem, &edit_);
}

HWND TComboBox::EditHandle() {
    HandleNeeded();
    return edit_.Handle();
}

void TComboBox::TEditPart::WndProc(TMessage& m) {
    // Readers find the box's name on its text, where the focus is.
    if (m.Msg == WM_GETOBJECT &&
        AnswerNamedGetObject(Handle(), box_.accessibleName_, m.WParam, m.LParam, m.Result))
        return;
    if (m.Msg == WM_GETDLGCODE && m.WParam == VK_RETURN) {
        m.Result = DefaultProc(Handle(), m) | DLGC_WANTALLKEYS; // Enter reaches KeyPress
        return;
    }
    if (m.Msg == WM_KEYDOWN) {
        auto key = static_cast<unsigned short>(m.WParam);
        box_.KeyDown(key, KeyboardShiftState());
        if (key == 0) { // handled: the box leaves it alone
            m.Result = 0;
            return;
        }
        m.WParam = key;
    }
    if (m.Msg == WM_CHAR) {
        auto key = static_cast<wchar_t>(m.WParam);
        box_.KeyPress(key);
        // A handled Enter makes no beep, nor does Ctrl+Enter's line feed, which a one-line text never takes.
        if (key == 0 || key == L'\r' || key == L'\n') return;
        m.WParam = key;
    }
    m.Result = DefaultProc(Handle(), m);
}

std::wstring TComboBox::Text() const {
    return handle_ ? win::WindowText(handle_) : caption_;
}

void TComboBox::SetText(const std::wstring& text) {
    caption_ = text;
    if (handle_) SetWindowTextW(handle_, text.c_str());
}

void TComboBox::AddItem(const std::wstring& item) {
    items_.push_back(item);
    if (handle_) SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void TComboBox::ScaleBy(int to, int from) {
    TWinControl::ScaleBy(to, from);
    SetItemHeight(ScaleValue(itemHeight_, to, from));
}

void TComboBox::SetItemHeight(int h) {
    itemHeight_ = h;
    if (handle_) SendMessageW(handle_, CB_SETITEMHEIGHT, 0, h);
}

void TComboBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}
