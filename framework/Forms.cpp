#include "framework/Forms.h"

#include "framework/Instance.h"

#include <objbase.h>

#include <algorithm>
#include <vector>

TApplication* Application = nullptr;

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}
int ScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

// ---- TForm ------------------------------------------------------------------------------------------

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
    visible_ = false;
    parentFont_ = false;
}

TForm::~TForm() = default;

void TForm::SetBorderStyle(TFormBorderStyle s) {
    borderStyle_ = s;
    ApplyStyle();
}

void TForm::SetSystemMenu(bool v) {
    systemMenu_ = v;
    ApplyStyle();
}

void TForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style = WS_POPUP | WS_CLIPCHILDREN;
    p.ExStyle = WS_EX_CONTROLPARENT;
    switch (borderStyle_) {
    case TFormBorderStyle::bsNone:
        break;
    case TFormBorderStyle::bsSingle:
        p.Style |= WS_CAPTION | WS_BORDER;
        break;
    case TFormBorderStyle::bsSizeable:
        p.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case TFormBorderStyle::bsDialog:
        p.Style |= WS_CAPTION | WS_DLGFRAME;
        p.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case TFormBorderStyle::bsToolWindow:
        p.Style |= WS_CAPTION;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case TFormBorderStyle::bsSizeToolWin:
        p.Style |= WS_CAPTION | WS_THICKFRAME;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (systemMenu_ && borderStyle_ != TFormBorderStyle::bsNone) p.Style |= WS_SYSMENU;
    p.WndParent = Application ? Application->Handle() : nullptr;
}

void TForm::ApplyStyle() {
    // Keeps the client size the form was given when the frame changes.
    if (clientW_ >= 0) SetClientSize(clientW_, clientH_);
    if (!handle_) return;
    TCreateParams p;
    CreateParams(p);
    SetWindowLongPtrW(handle_, GWL_STYLE, p.Style | (IsWindowVisible(handle_) ? WS_VISIBLE : 0));
    SetWindowLongPtrW(handle_, GWL_EXSTYLE, p.ExStyle);
    SetWindowPos(handle_, nullptr, left_, top_, width_, height_,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::SetClientSize(int w, int h) {
    clientW_ = w;
    clientH_ = h;
    TCreateParams p;
    CreateParams(p);
    // The frame is the one of the display the window is on (before it exists, the layout's density).
    RECT r =
        WindowRectForClient({0, 0, w, h}, p.Style, p.ExStyle, handle_ ? WindowPPI(handle_) : currentPPI_);
    SetBounds(left_, top_, r.right - r.left, r.bottom - r.top);
}

void TForm::ScaleBounds(int to, int from) {
    if (clientW_ >= 0)
        SetClientSize(ScaleValue(clientW_, to, from), ScaleValue(clientH_, to, from));
    else
        SetBounds(left_, top_, ScaleValue(width_, to, from), ScaleValue(height_, to, from));
}

void TForm::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    ChangeScale(WindowPPI(handle_));
}

void TForm::SetVisible(bool v) {
    if (v)
        Show();
    else
        Hide();
}

void TForm::Show() {
    HandleNeeded();
    if (!positioned_) {
        // Centred on the screen the first time; later showings keep the last place.
        positioned_ = true;
        SetBounds(std::max(0, (ScreenWidth() - width_) / 2), std::max(0, (ScreenHeight() - height_) / 2),
                  width_, height_);
    }
    bool was = visible_;
    visible_ = true;
    ShowWindow(handle_, SW_SHOW);
    SetForegroundWindow(handle_);
    if (Application) Application->FormVisibilityChanged();
    if (!was && OnShow) OnShow(this);
}

void TForm::Hide() {
    if (!visible_) return;
    visible_ = false;
    if (handle_) ShowWindow(handle_, SW_HIDE);
    if (Application) Application->FormVisibilityChanged();
    if (OnHide) OnHide(this);
}

void TForm::Close() {
    if (OnClose) OnClose(this);
    if (modal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
    } else if (Application && Application->MainForm() == this) {
        Application->Terminate();
    } else {
        Hide();
    }
}

int TForm::ShowModal() {
    if (modal_ || Visible()) throw Exception(L"Cannot make a visible window modal");
    // Every other window of the program that takes input is switched off while the form is up.
    std::vector<HWND> disabled;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM l) -> BOOL {
            if (IsWindowVisible(h) && IsWindowEnabled(h))
                reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&disabled));
    for (HWND h : disabled)
        EnableWindow(h, FALSE);
    modal_ = true;
    modalResult_ = mrNone;
    try {
        Show();
        while (modalResult_ == mrNone) {
            if (!Application->HandleMessage() || Application->Terminated()) {
                modalResult_ = mrCancel;
                break;
            }
        }
    } catch (...) {
        modal_ = false;
        for (HWND h : disabled)
            if (IsWindow(h)) EnableWindow(h, TRUE);
        Hide();
        throw;
    }
    // Re-enable before hiding, so activation returns to the window that opened the form.
    for (HWND h : disabled)
        if (IsWindow(h)) EnableWindow(h, TRUE);
    modal_ = false;
    Hide();
    return modalResult_;
}

TWinControl* TForm::ActiveControl() const {
    return activeControl_;
}

void TForm::SetActiveControl(TWinControl* c) {
    activeControl_ = c;
    if (c) FreeNotification(c);
    if (c && handle_ && GetActiveWindow() == handle_ && c->CanFocus()) c->SetFocus();
}

void TForm::Notification(TComponent* c, TOperation op) {
    TWinControl::Notification(c, op);
    if (op != TOperation::opRemove) return;
    if (c == activeControl_) activeControl_ = nullptr;
    if (c == defaultControl_) defaultControl_ = nullptr;
    if (c == cancelControl_) cancelControl_ = nullptr;
}

void TForm::FocusFirst() {
    if (activeControl_ && activeControl_->HandleAllocated() && activeControl_->CanFocus()) {
        activeControl_->SetFocus();
        return;
    }
    // The first control in tab order that can take the focus, searching into containers.
    std::function<TWinControl*(const TWinControl*)> first = [&](const TWinControl* p) -> TWinControl* {
        for (TWinControl* c : p->TabList()) {
            if (!c->CanFocus()) continue;
            if (c->TabStop()) return c;
            if (TWinControl* inner = first(c)) return inner;
        }
        return nullptr;
    };
    if (TWinControl* c = first(this)) c->SetFocus();
}

void TForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        m.Result = 0;
        return;
    case WM_ACTIVATE:
        if (LOWORD(m.WParam) == WA_INACTIVE) {
            // Remember which control had the focus, to give it back on the next activation.
            // The focus may be in a part of a control (a combo box's text): the control is the nearest
            // window of ours around it.
            HWND focus = GetFocus();
            TWinControl* c = nullptr;
            for (HWND h = focus; h && h != handle_ && !c; h = GetParent(h))
                c = FromHandle(h);
            if (c && c != this && IsChild(handle_, focus)) {
                activeControl_ = c;
                FreeNotification(c);
            }
        } else if (!HIWORD(m.WParam)) {
            FocusFirst();
        }
        m.Result = 0;
        return;
    case WM_DPICHANGED: {
        // Moved to a display of another density: the layout is scaled to it and the window takes the
        // place the system suggests.
        ChangeScale(HIWORD(m.WParam));
        const auto* suggested = reinterpret_cast<const RECT*>(m.LParam);
        if (suggested)
            SetBounds(suggested->left, suggested->top, suggested->right - suggested->left,
                      suggested->bottom - suggested->top);
        RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        m.Result = 0;
        return;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // The system's colours or its high-contrast look changed: every control paints again at once.
        RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
    case DM_GETDEFID:
        if (defaultControl_ && defaultControl_->HandleAllocated()) {
            m.Result = MAKELRESULT(GetDlgCtrlID(defaultControl_->Handle()), DC_HASDEFID);
            return;
        }
        m.Result = 0;
        return;
    case WM_COMMAND:
        // The dialog manager turns Escape into IDCANCEL; there is no child with that id here.
        if (LOWORD(m.WParam) == IDCANCEL && m.LParam == 0) {
            if (cancelControl_ && cancelControl_->CanFocus())
                cancelControl_->Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
            else if (!cancelControl_ && (borderStyle_ == TFormBorderStyle::bsToolWindow ||
                                         borderStyle_ == TFormBorderStyle::bsSizeToolWin))
                Close(); // a tool window without a cancel button goes as its close box would
            m.Result = 0;
            return;
        }
        if (LOWORD(m.WParam) == IDOK && m.LParam == 0) {
            m.Result = 0;
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

// ---- TApplication -----------------------------------------------------------------------------------

namespace {
constexpr const wchar_t* kAppClass = L"QuennelApplication";
}

const wchar_t* TApplication::WindowClass() {
    return kAppClass;
}

HICON TApplication::ProgramIcon() const {
    return resources_.icon ? LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(resources_.icon)) : nullptr;
}

TApplication::TApplication(TProgramResources resources)
    : TComponent(nullptr), resources_(resources), comeForward_(ComeForwardMessage()) {
    Application = this;
    SetDispatchHost(this); // errors escaping a message handler come to the error box
    RegisterClassOnce(kAppClass, 0);
    // A zero-sized window at the screen's centre: shown, it gives the program its one task-bar entry.
    TWindowSpec params;
    params.exStyle = WS_EX_APPWINDOW;
    params.className = kAppClass;
    params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    params.x = ScreenWidth() / 2;
    params.y = ScreenHeight() / 2;
    try {
        CreateTargetWindow(*this, params);
    } catch (...) {
        SetDispatchHost(nullptr); // an object never made leaves nothing pointing at it
        Application = nullptr;
        throw;
    }
}

TApplication::~TApplication() {
    DestroyComponents(); // the forms go while their owner window is still there
    window_.Destroy();
    if (comInitialized_) CoUninitialize();
    if (DispatchHost() == this) SetDispatchHost(nullptr);
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
    if (!comInitialized_) comInitialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

void TApplication::SetTitle(const std::wstring& t) {
    title_ = t;
    if (window_) SetWindowTextW(window_.get(), t.c_str());
}

void TApplication::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op != TOperation::opRemove) return;
    if (c == mainForm_) mainForm_ = nullptr;
    for (auto it = references_.begin(); it != references_.end();)
        if (it->form == c) {
            it->clear();
            it = references_.erase(it);
        } else {
            ++it;
        }
}

void TApplication::WndProc(TMessage& m) {
    m.Result = 0;
    if (m.Msg == comeForward_ && m.Msg != 0) {
        if (running_ && OnComeForward) OnComeForward(this);
        return;
    }
    if (m.Msg == WM_CLOSE) {
        // The task bar's "Close window": the program ends as when its main form closes, never by its
        // windows going one by one.
        if (MainForm())
            MainForm()->Close();
        else
            Terminate();
        return;
    }
    if (m.Msg == WM_ACTIVATE && LOWORD(m.WParam) != WA_INACTIVE) {
        // Activating the task-bar entry brings up the program's top visible form.
        for (int i = 0; i < ComponentCount(); ++i)
            if (auto* f = dynamic_cast<TForm*>(Components(i)); f && f->Visible() && f->HandleAllocated()) {
                SetActiveWindow(f->Handle());
                break;
            }
        return;
    }
    m.Result = DefaultProc(window_.get(), m);
}

void TApplication::FormVisibilityChanged() {
    bool want = boxesOpen_ > 0;
    for (int i = 0; i < ComponentCount() && !want; ++i)
        if (auto* f = dynamic_cast<TForm*>(Components(i)); f && f->Visible()) want = true;
    if (window_ && want != TaskbarEntryVisible())
        ShowWindow(window_.get(), want ? SW_SHOWNOACTIVATE : SW_HIDE);
}

bool TApplication::TaskbarEntryVisible() const {
    return window_ && IsWindowVisible(window_.get());
}

bool TApplication::DispatchOne(MSG& msg) {
    // Dialog keys (Tab, Enter, Escape) for the active form.
    HWND active = GetActiveWindow();
    if (TWinControl* w = active ? TWinControl::FromHandle(active) : nullptr;
        w && w->AsForm() && IsDialogMessageW(active, &msg))
        return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

bool TApplication::HandleMessage() {
    MSG msg;
    BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) {
        terminated_ = true;
        return false;
    }
    DispatchOne(msg);
    return !terminated_;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            return;
        }
        DispatchOne(msg);
    }
}

void TApplication::Run() {
    if (mainForm_ && showMainForm_) mainForm_->Show();
    running_ = true;
    while (!terminated_ && HandleMessage()) {
    }
}

int TApplication::Execute(const std::function<void()>& createForms) {
    try {
        createForms();
    } catch (const Exception& e) {
        HandleException(e.Message());
        return 1;
    }
    Run();
    return 0;
}

void TApplication::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

std::wstring TApplication::ErrorBoxText(const std::wstring& message) {
    std::wstring text = message;
    if (!text.empty() && text.back() > L'.') text += L'.';
    return text;
}

void TApplication::HandleException(const std::wstring& message) {
    if (OnException) {
        OnException(message);
        return;
    }
    MessageBox(ErrorBoxText(message), title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
    HWND owner = GetActiveWindow();
    if (!owner || !TWinControl::FromHandle(owner)) owner = window_.get();
    ++boxesOpen_;
    FormVisibilityChanged();
    int r = ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
    --boxesOpen_;
    FormVisibilityChanged();
    return r;
}
