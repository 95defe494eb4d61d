#include "framework/Controls.h"

#include "framework/Accessible.h"
#include "framework/Dispatch.h"

#include <commctrl.h>
#include <oleacc.h> // a control releases its accessible object with itself
#include <windowsx.h>

#include <algorithm>

namespace {
constexpr const wchar_t* kWindowClass = L"QuennelWindow";
// The same without double clicks: a quick second press arrives as an ordinary press.
constexpr const wchar_t* kSingleClickClass = L"QuennelSingleClickWindow";

// The version-6 common controls the manifest asks for, loaded and registered when the first standard
// control or tool tip is made rather than at start-up (the library is delay-loaded).
void LoadCommonControls() {
    static const bool loaded = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)loaded;
}

TMouseButton ButtonOf(UINT msg) {
    switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return TMouseButton::mbRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return TMouseButton::mbMiddle;
    default:
        return TMouseButton::mbLeft;
    }
}

// Sets a flag for as long as it lives.
struct RaisedFlag {
    explicit RaisedFlag(bool& f) : flag(f) { flag = true; }
    ~RaisedFlag() { flag = false; }
    RaisedFlag(const RaisedFlag&) = delete;
    RaisedFlag& operator=(const RaisedFlag&) = delete;
    bool& flag;
};

int g_nextCtrlId = 100; // child ids stay clear of IDOK and IDCANCEL
} // namespace

// ---- TControl ---------------------------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    font_.OnChange = [this](TObject*) {
        parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* p) {
    if (p == parent_) return;
    if (parent_) parent_->RemoveControl(this);
    if (p) p->InsertControl(this);
}

void TControl::SetBounds(int l, int t, int w, int h) {
    left_ = l;
    top_ = t;
    width_ = w;
    height_ = h;
    BoundsChanged();
    RequestAlign();
}

void TControl::ChangeScale(int ppi) {
    if (ppi <= 0 || ppi == currentPPI_) return;
    int from = currentPPI_;
    currentPPI_ = ppi;
    ScaleBy(ppi, from);
    Invalidate();
}

void TControl::ScaleBounds(int to, int from) {
    RECT b = ScaleRect(BoundsRect(), to, from);
    SetBounds(b.left, b.top, b.right - b.left, b.bottom - b.top);
}

void TControl::ScaleBy(int to, int from) {
    ScaleBounds(to, from);
    // A parent's font reaches the child when the parent's own is scaled.
    if (!parentFont_) font_.SetHeight(ScaleValue(font_.Height(), to, from));
}

void TControl::RequestAlign() {
    if (parent_ && align_ != TAlign::alNone) parent_->AlignControls();
}

void TControl::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    RequestAlign();
}

void TControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Invalidate();
    NotifyAccessible(EVENT_OBJECT_STATECHANGE);
}

void TControl::SetCaption(const std::wstring& text) {
    if (text == caption_) return;
    caption_ = text;
    Invalidate();
    NotifyAccessible(EVENT_OBJECT_NAMECHANGE);
}

void TControl::SetColor(TColor c) {
    parentColor_ = false;
    ApplyColor(c);
}

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v && parent_) ApplyColor(parent_->Color());
}

void TControl::ApplyColor(TColor c) {
    if (c == color_) return;
    color_ = c;
    Invalidate();
}

void TControl::SetParentFont(bool v) {
    parentFont_ = v;
    if (v && parent_) {
        auto keep = font_.OnChange;
        font_.OnChange = nullptr;
        font_.Assign(parent_->Font());
        font_.OnChange = keep;
        FontChanged();
    }
}

void TControl::SetHint(const std::wstring& h) {
    hint_ = h;
    if (parent_) parent_->CancelHint();
}

void TControl::SetShowHint(bool v) {
    showHint_ = v;
    if (parent_) parent_->CancelHint();
}

void TControl::SetAlign(TAlign a) {
    if (a == align_) return;
    align_ = a;
    if (parent_) parent_->AlignControls();
}

void TControl::Invalidate() {}

LRESULT TControl::Perform(UINT msg, WPARAM w, LPARAM l) {
    TMessage m{msg, w, l, 0};
    WndProc(m);
    return m.Result;
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}
void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}
void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, s, x, y);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::WndProc(TMessage& m) {
    if (IsMouseMessage(m.Msg)) {
        int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
        TShiftState s = ShiftStateFromKeys(static_cast<unsigned long>(m.WParam));
        switch (m.Msg) {
        case WM_MOUSEMOVE:
            MouseMove(s, x, y);
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (m.Msg == WM_LBUTTONDOWN) mouseCaptured_ = true;
            MouseDown(ButtonOf(m.Msg), s, x, y);
            break;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            if (m.Msg == WM_LBUTTONDBLCLK) {
                mouseCaptured_ = true;
                DblClick();
            }
            MouseDown(ButtonOf(m.Msg), s | ssDouble, x, y);
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            bool click = m.Msg == WM_LBUTTONUP && mouseCaptured_;
            if (m.Msg == WM_LBUTTONUP) mouseCaptured_ = false;
            if (click && ClicksOnMouseUp() && x >= 0 && y >= 0 && x < width_ && y < height_) Click();
            MouseUp(ButtonOf(m.Msg), s, x, y);
            break;
        }
        default:
            break;
        }
    }
    DefaultHandler(m);
}

// ---- TGraphicControl -------------------------------------------------------------------------------

void TGraphicControl::Invalidate() {
    if (parent_ && parent_->HandleAllocated() && visible_) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->Handle(), &r, TRUE);
    }
}

void TGraphicControl::SetBounds(int l, int t, int w, int h) {
    Invalidate();
    TControl::SetBounds(l, t, w, h);
    Invalidate();
    if (parent_ && showHint_) parent_->CancelHint();
}

void TGraphicControl::SetVisible(bool v) {
    if (v == visible_) return;
    if (!v) Invalidate();
    TControl::SetVisible(v);
    if (v) Invalidate();
}

// ---- TWinControl -----------------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    // The children's windows go with this one; the children themselves go with their owners.
    while (!controls_.empty())
        RemoveControl(controls_.back());
    DestroyWnd();
}

TWinControl* TWinControl::FromHandle(HWND h) {
    return dynamic_cast<TWinControl*>(TargetOf(h));
}

void TWinControl::InsertControl(TControl* c) {
    c->ChangeScale(currentPPI_);
    controls_.push_back(c);
    c->parent_ = this;
    if (auto* wc = c->AsWindowed()) {
        tabOrder_.push_back(wc);
        if (HandleAllocated()) wc->HandleNeeded();
    }
    if (c->parentFont_) c->SetParentFont(true);
    if (c->parentColor_) c->SetParentColor(true);
    if (c->align_ != TAlign::alNone) AlignControls();
    c->Invalidate();
    UpdateNavigationStyle();
}

void TWinControl::RemoveControl(TControl* c) {
    c->Invalidate();
    if (mouseControl_ == c) mouseControl_ = nullptr;
    if (focusedChild_ == c) focusedChild_ = nullptr;
    if (TControlHints* hints = Hints()) hints->ControlRemoved(*c);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    tabOrder_.erase(std::remove(tabOrder_.begin(), tabOrder_.end(), c), tabOrder_.end());
    c->parent_ = nullptr;
    if (auto* wc = c->AsWindowed()) wc->DestroyWnd();
    if (c->align_ != TAlign::alNone) AlignControls();
}

HWND TWinControl::Handle() {
    if (!handle_) CreateWnd();
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = caption_;
    p.Style = WS_CLIPCHILDREN;
    if (parent_) p.Style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (visible_) p.Style |= WS_VISIBLE;
    if (tabStop_) p.Style |= WS_TABSTOP;
    // A window that holds the focus for painted children is a tab stop; one with windowed children is a
    // container the dialog navigation looks into.
    if (!FocusableChildren().empty())
        p.Style |= WS_TABSTOP;
    else if (!tabOrder_.empty())
        p.ExStyle |= WS_EX_CONTROLPARENT;
    if (!enabled_) p.Style |= WS_DISABLED;
    p.X = left_;
    p.Y = top_;
    p.Width = width_;
    p.Height = height_;
    if (parent_) p.WndParent = parent_->Handle();
}

void TWinControl::CreateWnd() {
    // The parent's window comes first; making it also makes this one, as one of its children.
    if (parent_ && !parent_->handle_) {
        parent_->HandleNeeded();
        if (handle_) return;
    }
    TCreateParams p;
    CreateParams(p);
    if (parent_ && !ctrlId_) ctrlId_ = g_nextCtrlId++;
    HMENU id = parent_ ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctrlId_)) : nullptr;
    wndClassDefault_ = !p.ClassName;
    if (wndClassDefault_) {
        p.ClassName = p.DoubleClicks ? kWindowClass : kSingleClickClass;
        RegisterClassOnce(p.ClassName, p.DoubleClicks ? CS_DBLCLKS : 0);
    } else {
        LoadCommonControls(); // a system control, subclassed once made
    }
    CreateTargetWindow(
        *this,
        {p.ExStyle, p.ClassName, p.Caption.c_str(), p.Style, p.X, p.Y, p.Width, p.Height, p.WndParent, id},
        !wndClassDefault_);
    UpdateFont();
    CreateHandleDone();
    for (TWinControl* c : tabOrder_)
        c->HandleNeeded();
    AlignControls();
}

TControlHints* TWinControl::Hints() {
    return parent_ ? parent_->Hints() : nullptr;
}

void TWinControl::CancelHint() {
    if (TControlHints* hints = Hints()) hints->Cancel(*this);
}

TControl* TWinControl::HintControl() {
    TControlHints* hints = Hints();
    return hints && hints->Over() == this ? hints->Control() : nullptr;
}

const THintWindow* TWinControl::HintWindow() {
    TControlHints* hints = Hints();
    return hints ? hints->Window() : nullptr;
}

void TWinControl::DestroyWnd() {
    handle_.Destroy();
}

void TWinControl::UpdateFont() {
    if (handle_ && !wndClassDefault_)
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
}

void TWinControl::ApplyColor(TColor c) {
    TControl::ApplyColor(c);
    for (TControl* child : controls_)
        if (child->parentColor_) child->ApplyColor(color_);
}

void TWinControl::FontChanged() {
    UpdateFont();
    for (TControl* c : controls_)
        if (c->parentFont_) c->SetParentFont(true);
    Invalidate();
}

void TWinControl::SetBounds(int l, int t, int w, int h) {
    bool changed = l != left_ || t != top_ || w != width_ || h != height_;
    TControl::SetBounds(l, t, w, h);
    if (changed && handle_) MoveWindow(handle_, l, t, w, h, TRUE);
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, width_, height_};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}

void TWinControl::SetVisible(bool v) {
    if (v == visible_) return;
    TControl::SetVisible(v);
    if (handle_) ShowWindow(handle_, v ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    if (handle_) EnableWindow(handle_, v);
    Invalidate();
    NotifyAccessible(EVENT_OBJECT_STATECHANGE);
}

void TWinControl::SetCaption(const std::wstring& text) {
    caption_ = text;
    if (handle_) SetWindowTextW(handle_, text.c_str());
    Invalidate();
    NotifyAccessible(EVENT_OBJECT_NAMECHANGE);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::SetTabStop(bool v) {
    tabStop_ = v;
    if (handle_) {
        LONG_PTR st = GetWindowLongPtrW(handle_, GWL_STYLE);
        SetWindowLongPtrW(handle_, GWL_STYLE,
                          v ? (st | WS_TABSTOP) : (st & ~static_cast<LONG_PTR>(WS_TABSTOP)));
    }
}

int TWinControl::TabOrder() const {
    if (!parent_) return -1;
    const auto& list = parent_->tabOrder_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!parent_) return;
    auto& list = parent_->tabOrder_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
    // Dialog navigation follows the window order, so keep it the same as the tab order.
    HWND after = HWND_TOP;
    for (TWinControl* c : list)
        if (c->handle_) {
            SetWindowPos(c->handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = c->handle_;
        }
}

std::vector<TWinControl*> TWinControl::TabList() const {
    return tabOrder_;
}

bool TWinControl::Focused() const {
    return handle_ && GetFocus() == handle_;
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (Handle()) ::SetFocus(handle_);
}

void TWinControl::AlignControls() {
    // Placing an aligned child asks for alignment again; one pass at a time is enough.
    if (controls_.empty() || aligning_) return;
    RaisedFlag guard(aligning_);
    RECT r = ClientRect();
    AdjustClientRect(r);
    auto place = [&](TAlign which) {
        for (TControl* c : controls_) {
            if (c->align_ != which || !c->visible_) continue;
            int w = c->width_, h = c->height_;
            switch (which) {
            case TAlign::alTop:
                c->TControl::SetBounds(r.left, r.top, r.right - r.left, h);
                r.top += h;
                break;
            case TAlign::alBottom:
                c->TControl::SetBounds(r.left, r.bottom - h, r.right - r.left, h);
                r.bottom -= h;
                break;
            case TAlign::alLeft:
                c->TControl::SetBounds(r.left, r.top, w, r.bottom - r.top);
                r.left += w;
                break;
            case TAlign::alRight:
                c->TControl::SetBounds(r.right - w, r.top, w, r.bottom - r.top);
                r.right -= w;
                break;
            case TAlign::alClient:
                c->TControl::SetBounds(r.left, r.top, std::max(0L, r.right - r.left),
                                       std::max(0L, r.bottom - r.top));
                break;
            case TAlign::alNone:
                break;
            }
            if (auto* wc = c->AsWindowed(); wc && wc->handle_)
                MoveWindow(wc->handle_, c->left_, c->top_, c->width_, c->height_, TRUE);
            else
                c->Invalidate();
        }
    };
    for (TAlign a : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient})
        place(a);
}

void TWinControl::ScaleBy(int to, int from) {
    {
        // The children are placed once, at the end, from their scaled sizes.
        RaisedFlag guard(aligning_);
        TControl::ScaleBy(to, from);
        for (TControl* c : controls_)
            c->ChangeScale(to);
    }
    AlignControls();
}

void TWinControl::PaintWindow(HDC dc) {
    RECT r = ClientRect();
    win::Brush b(CreateSolidBrush(ColorToRGB(color_)));
    FillRect(dc, &r, b.get());
}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : controls_) {
        auto* g = c->AsPainted();
        if (!g || !g->Visible()) continue;
        RECT b = g->BoundsRect();
        if (!RectVisible(dc, &b)) continue;
        win::SaveDCGuard keep(dc);
        IntersectClipRect(dc, b.left, b.top, b.right, b.bottom);
        POINT org;
        GetViewportOrgEx(dc, &org);
        SetViewportOrgEx(dc, org.x + b.left, org.y + b.top, nullptr);
        g->Paint(dc);
    }
}

TControl* TWinControl::ControlAtPos(POINT p) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->AsPainted() && c->Visible() && c->Enabled()) {
            RECT b = c->BoundsRect();
            if (PtInRect(&b, p)) return c;
        }
    }
    return nullptr;
}

void TWinControl::KeyDown(unsigned short& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(unsigned short& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(wchar_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (handle_) m.Result = DefaultProc(handle_, m);
}

void TGraphicControl::SetTabStop(bool v) {
    tabStop_ = v;
    if (parent_) parent_->UpdateNavigationStyle();
}
