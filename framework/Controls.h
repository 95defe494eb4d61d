// Controls: the windowed and non-windowed bases, message dispatch and child alignment.
#pragma once

#include "framework/Accessible.h"
#include "framework/Classes.h"
#include "framework/Dispatch.h"
#include "framework/Graphics.h"
#include "framework/Scaling.h"
#include "framework/Win32.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Notifications a parent reflects back to the child control that sent them.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Cursor identifiers are the system cursors (IDC_ARROW, IDC_HAND).
using TCursor = const wchar_t*;

class TWinControl;
class TGraphicControl;
class TForm;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // What kind of control this is, for code that holds it as a control: the control with a window of
    // its own, the one its parent paints, the form; null for the other kinds.
    virtual TWinControl* AsWindowed() { return nullptr; }
    virtual TGraphicControl* AsPainted() { return nullptr; }
    virtual TForm* AsForm() { return nullptr; }
    const TWinControl* AsWindowed() const { return const_cast<TControl*>(this)->AsWindowed(); }

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* p);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual void SetBounds(int l, int t, int w, int h);
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual RECT ClientRect() const { return {0, 0, width_, height_}; }
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);
    const std::wstring& Caption() const { return caption_; }
    virtual void SetCaption(const std::wstring& text);
    TColor Color() const { return color_; }
    // Setting a colour of its own ends following the parent's.
    void SetColor(TColor c);
    // While ParentColor is set, the control has its parent's colour and follows its changes.
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& h);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c) { cursor_ = c; }
    TAlign Align() const { return align_; }
    void SetAlign(TAlign a);

    // The display density the control's bounds, font and drawing are in; a new control is in the
    // design density and takes its parent's when it is put in one.
    int CurrentPPI() const { return currentPPI_; }
    // A length of the layout (given at the design density) at the control's density.
    int Scaled(int designPixels) const { return ScaleValue(designPixels, currentPPI_); }
    // Brings the control (and its children) to a density: bounds, font heights and whatever else the
    // control keeps in pixels, all by the one rounding rule.
    void ChangeScale(int ppi);

    // Asks for a repaint of the control's area through the platform's paint message.
    virtual void Invalidate();
    // Delivers a message to the control's handler and returns its result.
    LRESULT Perform(UINT msg, WPARAM w, LPARAM l);
    virtual void WndProc(TMessage& m);

    // What a screen reader learns of the control: its role and state (the system's ROLE_SYSTEM_ and
    // STATE_SYSTEM_ values), its name (the caption without accelerator marks), and its default action
    // ("" for none), which DoDefaultAction does exactly as a click does.
    virtual long AccessibleRole() const;
    virtual std::wstring AccessibleName() const;
    // A name of its own for a control whose caption is not one (a text box, whose label is painted).
    void SetAccessibleName(const std::wstring& name) { accessibleName_ = name; }
    virtual long AccessibleState() const;
    virtual std::wstring AccessibleDefaultAction() const { return {}; }
    virtual void DoDefaultAction() { Click(); }
    // Tells readers that the control's name, state or focus changed (nothing while it has no window to
    // speak through).
    void NotifyAccessible(DWORD event) const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton b, TShiftState s, int x, int y);
    virtual void MouseUp(TMouseButton b, TShiftState s, int x, int y);
    virtual void MouseMove(TShiftState s, int x, int y);
    virtual void FontChanged() { Invalidate(); }
    // Takes a colour, its own or its parent's.
    virtual void ApplyColor(TColor c);
    // Whether a left press and release over the control make a click (standard controls click themselves).
    virtual bool ClicksOnMouseUp() const { return true; }
    virtual void BoundsChanged() {}
    // Scales what the control keeps in pixels from one density to another (bounds and its own font here).
    virtual void ScaleBy(int to, int from);
    virtual void ScaleBounds(int to, int from);
    // Passes a message on to what handles it when the control does not (the window's default handling).
    virtual void DefaultHandler(TMessage& m);
    void RequestAlign();
    friend class TWinControl;

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true, enabled_ = true, parentFont_ = true, showHint_ = false, parentColor_ = false;
    std::wstring caption_;
    std::wstring hint_;
    std::wstring accessibleName_;
    TColor color_ = clBtnFace;
    TFont font_;
    TCursor cursor_ = IDC_ARROW;
    TAlign align_ = TAlign::alNone;
    bool mouseCaptured_ = false;
    int currentPPI_ = kDesignPPI;
};

struct TCreateParams {
    const wchar_t* ClassName = nullptr; // null: the framework's own window class
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    // Whether the framework's window class reports a quick second press as a double click.
    bool DoubleClicks = true;
};

// A control with a window of its own. Windows are made when first needed (the parent's made first) and
// live until the control goes; standard controls are subclassed so they share the one dispatch path.
class THintWindow;
class TControlHints;
struct IAccessible;

class TWinControl : public TControl, public TMessageTarget, public TAccessibleElements {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    TWinControl* AsWindowed() override { return this; }

    // What a reader's object reads: the window's client area is element 0, its children 1..n.
    HWND ElementsWindow() override { return Handle(); }
    int ElementCount() const override { return ControlCount(); }
    std::wstring ElementName(int element) const override { return Element(element)->AccessibleName(); }
    std::wstring ElementDescription(int element) const override { return Element(element)->Hint(); }
    std::wstring ElementDefaultAction(int element) const override;
    long ElementRole(int element) const override { return Element(element)->AccessibleRole(); }
    long ElementState(int element) const override { return Element(element)->AccessibleState(); }
    RECT ElementRect(int element) const override;
    bool ElementVisible(int element) const override { return Element(element)->Visible(); }
    HWND ElementWindow(int element) override;
    int FocusedElement() const override;
    bool FocusElement(int element) override;
    void DoElementDefaultAction(int element) override { Element(element)->DoDefaultAction(); }

    long AccessibleState() const override;
    // The painted child that has the keyboard focus while the window has it (a link, by Tab), or null;
    // FocusChild gives the window the focus, on that child (null: the window itself; false when the
    // focus cannot go there).
    TControl* FocusedChild() const;
    bool FocusChild(TControl* child);
    // The painted children that take the focus by Tab, in child order.
    std::vector<TControl*> FocusableChildren() const;

    HWND Handle(); // creates the window when needed
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    static TWinControl* FromHandle(HWND h);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int i) const { return controls_[static_cast<size_t>(i)]; }
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v);
    int TabOrder() const;
    void SetTabOrder(int order);
    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();
    // The windowed children in tab order.
    std::vector<TWinControl*> TabList() const;

    void SetBounds(int l, int t, int w, int h) override;
    RECT ClientRect() const override;
    void SetVisible(bool v) override;
    void SetEnabled(bool v) override;
    void SetCaption(const std::wstring& text) override;
    void Invalidate() override;
    void WndProc(TMessage& m) override;

    // Lays out the aligned children within the rectangle AdjustClientRect gives.
    virtual void AlignControls();
    // Hides the hint over the children, if one shows, and forgets which child it was for (its hint or
    // place changed).
    void CancelHint();
    // The tracker of the hints of the form the control is on (null when it is on none).
    virtual TControlHints* Hints();
    // The painted child whose hint is due or showing, or null; the form's hint window, made at its first
    // showing.
    TControl* HintControl();
    const THintWindow* HintWindow();
    // A child control under a point in client coordinates that paints on this window, or null.
    virtual TControl* ControlAtPos(POINT p) const;

protected:
    virtual void CreateParams(TCreateParams& p);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Called once the window exists, before the children's windows are made.
    virtual void CreateHandleDone() {}
    virtual void AdjustClientRect(RECT& r) const { (void)r; }
    // Paints the control's own face on a DC; the paint-message plumbing only obtains the DC.
    virtual void PaintWindow(HDC dc);
    // Whether the control paints itself on WM_PAINT (own window class) or leaves it to its class.
    virtual bool OwnPaint() const { return wndClassDefault_; }
    bool ClicksOnMouseUp() const override { return wndClassDefault_; }
    void PaintControls(HDC dc);
    // The focus rectangle around the painted child that has the focus.
    void PaintFocus(HDC dc);
    void DefaultHandler(TMessage& m) override;
    void FontChanged() override;
    void ApplyColor(TColor c) override;
    void UpdateFont();
    virtual void KeyDown(unsigned short& key, TShiftState shift);
    virtual void KeyUp(unsigned short& key, TShiftState shift);
    virtual void KeyPress(wchar_t& key);
    void ScaleBy(int to, int from) override;

public:
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    win::OwnedWindow handle_;
    bool wndClassDefault_ = true;
    bool tabStop_ = false;
    bool aligning_ = false;
    int ctrlId_ = 0;
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabOrder_;
    TControl* mouseControl_ = nullptr;    // non-windowed child that captured the mouse
    TControl* focusedChild_ = nullptr;    // painted child with the focus, while the window has it
    win::ComRef<IAccessible> accessible_; // made at the first reader's request
    // Makes the window a tab stop while a painted child takes the focus, and a container the dialog
    // navigation looks into while it has windowed children.
    void UpdateNavigationStyle();
    void MoveChildFocus(TControl* to);
    // The control an element number names.
    TControl* Element(int element) const;

    friend class TControl;
    friend class TGraphicControl;
    void WindowAttached(HWND h) override;
    void WindowDetached(HWND h) override;

private:
    // The message families WndProc hands a message to in turn; each answers its own messages and returns
    // true when the default handling is to be left out.
    bool ChildMessage(TMessage& m);
    bool PaintMessage(TMessage& m);
    bool PlacementMessage(TMessage& m);
    bool HintMessage(TMessage& m);
    bool KeyMessage(TMessage& m);
    bool MouseMessage(TMessage& m);
    bool AccessMessage(TMessage& m);
};

// A control painted by its parent in the parent's paint, with its own origin; mouse messages reach it
// through the parent's hit-testing.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}
    TGraphicControl* AsPainted() override { return this; }
    // Whether Tab reaches the control (its parent's window holds the focus for it).
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v);
    long AccessibleState() const override;
    // Paints the control with the DC's origin at the control's top-left corner.
    virtual void Paint(HDC dc) = 0;
    void Invalidate() override;
    void SetBounds(int l, int t, int w, int h) override;
    void SetVisible(bool v) override;

protected:
    bool tabStop_ = false;
};

// What a windowed control tells, and asks of, the hints of its form's painted children (the form's
// THintTracker answers).
class TControlHints {
public:
    // A mouse message on a windowed control of the form, at p in its client coordinates.
    virtual void MouseMessage(TWinControl& over, const TMessage& m, POINT p) = 0;
    // The pointer left the control's window.
    virtual void MouseLeft(TWinControl& over) = 0;
    // The hint timers on the form's window; true when the message on `on` was one of them.
    virtual bool TimerMessage(const TWinControl& on, TMessage& m) = 0;
    // Hides the hint over a windowed control's children and forgets which child it was for (a hint, a
    // visibility or a place changed).
    virtual void Cancel(const TWinControl& over) = 0;
    // A child went from its parent; a windowed control's window went (the hint window goes with it).
    virtual void ControlRemoved(const TControl& child) = 0;
    virtual void WindowGone(const TWinControl& over) = 0;
    // The painted child whose hint is due or showing, and the windowed control it is on; null for none.
    virtual TControl* Control() const = 0;
    virtual const TWinControl* Over() const = 0;
    // The hint window, made at its first showing.
    virtual const THintWindow* Window() const = 0;

protected:
    ~TControlHints() = default;
};
