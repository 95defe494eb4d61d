// TWinControl's messages: the window it is attached to and detached from, and the message families its
// window procedure hands each message to; and what the controls tell screen readers of themselves.
#include "framework/Controls.h"

#include "framework/Accessible.h"

#include <commctrl.h>
#include <oleacc.h>
#include <windowsx.h>

#include <algorithm>

void TWinControl::WindowAttached(HWND h) {
    handle_.Attach(h);
}

void TWinControl::WindowDetached(HWND) {
    handle_.Forget();
    // A reader that still holds the object hears that the control is gone.
    DisconnectAccessible(accessible_);
    focusedChild_ = nullptr;
    // The hint goes with the window; a new window makes a new one when it first shows a hint.
    if (TControlHints* hints = Hints()) hints->WindowGone(*this);
}

// ---- message families: each answers its own messages and says whether the default handling is left out

void TWinControl::WndProc(TMessage& m) {
    if (ChildMessage(m) || PaintMessage(m) || PlacementMessage(m) || HintMessage(m) || AccessMessage(m) ||
        KeyMessage(m) || MouseMessage(m))
        return;
    DefaultHandler(m);
}

// Requests and notices that concern a child: its close request, its commands, notifications and colours.
bool TWinControl::ChildMessage(TMessage& m) {
    TWinControl* child = nullptr;
    UINT forwarded = 0;
    switch (m.Msg) {
    case WM_CLOSE:
        // A child's close request (an edit box's Escape) is its window's to answer: a control's own
        // window never goes because of it.
        if (!parent_) return false;
        m.Result = parent_->Perform(WM_CLOSE, 0, 0);
        return true;
    case WM_COMMAND:
        child = FromHandle(reinterpret_cast<HWND>(m.LParam));
        forwarded = CN_COMMAND;
        break;
    case WM_NOTIFY:
        child = FromHandle(reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom);
        forwarded = CN_NOTIFY;
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        child = FromHandle(reinterpret_cast<HWND>(m.LParam));
        forwarded = CN_BASE + m.Msg;
        break;
    default:
        return false;
    }
    if (!child || child == this) return false;
    m.Result = child->Perform(forwarded, m.WParam, m.LParam);
    // A colour request the child does not answer gets the default colours.
    const bool colourRequest = m.Msg != WM_COMMAND && m.Msg != WM_NOTIFY;
    return !colourRequest || m.Result != 0;
}

bool TWinControl::PaintMessage(TMessage& m) {
    if ((m.Msg != WM_PAINT && m.Msg != WM_ERASEBKGND) || !OwnPaint()) return false;
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1; // the paint fills the whole client area
        return true;
    }
    if (m.WParam) { // a paint request that brings its own device context is painted on it
        auto dc = reinterpret_cast<HDC>(m.WParam);
        PaintWindow(dc);
        PaintControls(dc);
        PaintFocus(dc);
    } else {
        win::PaintDC dc(handle_);
        PaintWindow(dc.get());
        PaintControls(dc.get());
        PaintFocus(dc.get());
    }
    m.Result = 0;
    return true;
}

// The window's place and size, and the cursor over it.
bool TWinControl::PlacementMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_WINDOWPOSCHANGED: {
        const auto* wp = reinterpret_cast<const WINDOWPOS*>(m.LParam);
        if (!(wp->flags & SWP_NOSIZE) || !(wp->flags & SWP_NOMOVE)) {
            RECT r;
            GetWindowRect(handle_, &r);
            if (HWND p = GetParent(handle_); p && (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD))
                MapWindowPoints(nullptr, p, reinterpret_cast<POINT*>(&r), 2);
            bool sized = r.right - r.left != width_ || r.bottom - r.top != height_;
            left_ = r.left;
            top_ = r.top;
            width_ = r.right - r.left;
            height_ = r.bottom - r.top;
            if (sized) BoundsChanged();
        }
        return false;
    }
    case WM_SIZE:
        AlignControls(); // the client area changed, however it came about
        return false;
    case WM_SETCURSOR: {
        if (reinterpret_cast<HWND>(m.WParam) != handle_ || LOWORD(m.LParam) != HTCLIENT) return false;
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(handle_, &p);
        const TControl* c = ControlAtPos(p);
        TCursor cur = c ? c->Cursor() : cursor_;
        if (cur == IDC_ARROW && !wndClassDefault_) return false; // standard controls keep their own cursor
        ::SetCursor(LoadCursorW(nullptr, cur));
        m.Result = TRUE;
        return true;
    }
    default:
        return false;
    }
}

// The pointer leaving the window, and the hint timers (on a form's window).
bool TWinControl::HintMessage(TMessage& m) {
    TControlHints* hints = Hints();
    if (!hints) return false;
    if (m.Msg == WM_MOUSELEAVE) {
        hints->MouseLeft(*this);
        return false;
    }
    return hints->TimerMessage(*this, m);
}

// Keys go to the key events first; a key an event sets to 0 goes no further.
bool TWinControl::KeyMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        auto key = static_cast<unsigned short>(m.WParam);
        const TShiftState s = KeyboardShiftState();
        if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN)
            KeyDown(key, s);
        else
            KeyUp(key, s);
        if (key == 0) return true;
        m.WParam = key;
        return false;
    }
    case WM_CHAR: {
        auto key = static_cast<wchar_t>(m.WParam);
        KeyPress(key);
        if (key == 0) return true;
        m.WParam = key;
        return false;
    }
    default:
        return false;
    }
}

// The mouse over a painted child goes to that child; over the window itself, to the window's own events.
bool TWinControl::MouseMessage(TMessage& m) {
    if (!IsMouseMessage(m.Msg)) return false;
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (TControlHints* hints = Hints()) hints->MouseMessage(*this, m, p);
    TControl* target = mouseControl_ ? mouseControl_ : ControlAtPos(p);
    if (target) {
        // A graphic child takes the mouse between its press and release, like a window would.
        if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
            mouseControl_ = target;
            SetCapture(handle_);
        } else if (m.Msg == WM_LBUTTONUP) {
            mouseControl_ = nullptr;
            ReleaseCapture();
        }
        target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
        m.Result = 0;
        return true;
    }
    TControl::WndProc(m); // own mouse events, then the default handling
    return true;
}

// Readers' requests for the window's object, and the keyboard focus among its painted children: the
// window holds the focus for them, Tab moves it from one to the next before leaving the window, and Enter
// or Space on one does what a click does.
bool TWinControl::AccessMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_GETOBJECT:
        // A system control answers for itself, with a name of ours when it has one.
        if (!wndClassDefault_)
            return AnswerNamedGetObject(handle_, accessibleName_, m.WParam, m.LParam, m.Result);
        m.Result = AnswerGetObject(*this, accessible_, m.WParam, m.LParam);
        return true;
    case WM_SETFOCUS: {
        const auto list = FocusableChildren();
        // Shift+Tab comes to the last one, anything else to the first.
        if (!list.empty()) MoveChildFocus(GetKeyState(VK_SHIFT) < 0 ? list.back() : list.front());
        return false;
    }
    case WM_KILLFOCUS:
        if (focusedChild_) Invalidate();
        return false;
    default:
        break;
    }
    TControl* focused = FocusedChild();
    if (!focused) return false;
    const bool back = GetKeyState(VK_SHIFT) < 0;
    auto neighbour = [&]() -> TControl* {
        const auto list = FocusableChildren();
        auto at = std::find(list.begin(), list.end(), focused);
        if (at == list.end()) return nullptr;
        if (back) return at == list.begin() ? nullptr : *(at - 1);
        return at + 1 == list.end() ? nullptr : *(at + 1);
    };
    if (m.Msg == WM_GETDLGCODE) {
        const auto* msg = reinterpret_cast<const MSG*>(m.LParam);
        m.Result = 0;
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) m.Result = DLGC_WANTMESSAGE;
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB && neighbour())
            m.Result = DLGC_WANTTAB;
        return true;
    }
    if (m.Msg != WM_KEYDOWN) return false;
    if (m.WParam == VK_TAB) {
        if (TControl* next = neighbour()) MoveChildFocus(next);
    } else if (m.WParam == VK_RETURN || m.WParam == VK_SPACE) {
        if (!(m.LParam & (1 << 30))) focused->Click(); // a held key clicks once
    } else {
        return false;
    }
    m.Result = 0;
    return true;
}

void TWinControl::MoveChildFocus(TControl* to) {
    focusedChild_ = to;
    Invalidate();
    if (to && Focused()) to->NotifyAccessible(EVENT_OBJECT_FOCUS);
}

void TWinControl::PaintFocus(HDC dc) {
    if (TControl* c = FocusedChild()) {
        RECT r = c->BoundsRect();
        DrawFocusRect(dc, &r);
    }
}

TControl* TWinControl::FocusedChild() const {
    return Focused() ? focusedChild_ : nullptr;
}

bool TWinControl::FocusChild(TControl* child) {
    if (!CanFocus()) return false;
    const auto list = FocusableChildren();
    if (child && std::find(list.begin(), list.end(), child) == list.end()) return false;
    if (!Focused()) SetFocus();
    if (child && Focused()) MoveChildFocus(child);
    return Focused();
}

std::vector<TControl*> TWinControl::FocusableChildren() const {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
        if (auto* g = c->AsPainted(); g && g->TabStop() && g->Visible() && g->Enabled()) list.push_back(c);
    return list;
}

void TWinControl::UpdateNavigationStyle() {
    if (!handle_) return;
    if (!FocusableChildren().empty())
        SetWindowLongPtrW(handle_, GWL_STYLE, GetWindowLongPtrW(handle_, GWL_STYLE) | WS_TABSTOP);
    else if (!tabOrder_.empty())
        SetWindowLongPtrW(handle_, GWL_EXSTYLE,
                          GetWindowLongPtrW(handle_, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
}

// ---- what readers are told of a control -------------------------------------------------------------

TControl* TWinControl::Element(int element) const {
    return element == 0 ? const_cast<TWinControl*>(this) : Controls(element - 1);
}

std::wstring TWinControl::ElementDefaultAction(int element) const {
    return Element(element)->AccessibleDefaultAction();
}

RECT TWinControl::ElementRect(int element) const {
    return element == 0 ? ClientRect() : Controls(element - 1)->BoundsRect();
}

HWND TWinControl::ElementWindow(int element) {
    TWinControl* windowed = element == 0 ? nullptr : Controls(element - 1)->AsWindowed();
    return windowed ? windowed->Handle() : nullptr;
}

int TWinControl::FocusedElement() const {
    if (!Focused()) return -1;
    const TControl* focused = FocusedChild();
    for (int i = 0; i < ControlCount(); ++i)
        if (Controls(i) == focused) return i + 1;
    return 0;
}

bool TWinControl::FocusElement(int element) {
    return FocusChild(element == 0 ? nullptr : Controls(element - 1));
}

long TControl::AccessibleRole() const {
    return ROLE_SYSTEM_CLIENT;
}

std::wstring TControl::AccessibleName() const {
    return accessibleName_.empty() ? WithoutAccelerator(caption_) : accessibleName_;
}

long TControl::AccessibleState() const {
    long s = 0;
    if (!visible_) s |= STATE_SYSTEM_INVISIBLE;
    if (!enabled_) s |= STATE_SYSTEM_UNAVAILABLE;
    return s;
}

long TWinControl::AccessibleState() const {
    long s = TControl::AccessibleState();
    if (tabStop_) s |= STATE_SYSTEM_FOCUSABLE;
    if (Focused() && !FocusedChild()) s |= STATE_SYSTEM_FOCUSED;
    return s;
}

long TGraphicControl::AccessibleState() const {
    long s = TControl::AccessibleState();
    if (tabStop_) s |= STATE_SYSTEM_FOCUSABLE;
    if (parent_ && parent_->FocusedChild() == this) s |= STATE_SYSTEM_FOCUSED;
    return s;
}

void TControl::NotifyAccessible(DWORD event) const {
    if (const TWinControl* self = AsWindowed()) {
        if (self->handle_) NotifyWinEvent(event, self->handle_, OBJID_CLIENT, CHILDID_SELF);
        return;
    }
    if (!parent_ || !parent_->handle_) return;
    for (int i = 0; i < parent_->ControlCount(); ++i)
        if (parent_->Controls(i) == this) NotifyWinEvent(event, parent_->handle_, OBJID_CLIENT, i + 1);
}
