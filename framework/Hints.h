// Hints: the window that shows one, and the tracker that follows the pointer over a form's painted
// controls and decides when a hint shows and hides.
//
// The hint shown by the pointer over a painted control that has one: a child window of the top-level
// window, in the system's tip colours and the top-level window's font (the system's status-bar font when
// it has none). (Under Wine on X a popup window over its own
// program's window shows as a black box, the common controls' tip among them; a child window shows as
// drawn.)
#pragma once

#include "framework/Dispatch.h"
#include "framework/Win32.h"

#include <memory>
#include <string>

class THintWindow final : public TMessageTarget {
public:
    THintWindow() = default;
    ~THintWindow() { window_.Destroy(); }
    THintWindow(const THintWindow&) = delete;
    THintWindow& operator=(const THintWindow&) = delete;

    // Shows the text in the font (null: the status-bar font) with the hint's top-left corner at the screen
    // point, kept inside the top-level window's client area; the window is made at the first showing.
    void ActivateHint(const std::wstring& text, POINT at, HWND topLevel, HFONT font);
    void Hide();
    bool Showing() const;
    HWND Handle() const { return window_.get(); }
    const std::wstring& Text() const { return text_; }

    void WndProc(TMessage& m) override;

private:
    void WindowAttached(HWND h) override { window_.Attach(h); }
    // Gone with its top-level window: the owner forgets the handle rather than destroy it again.
    void WindowDetached(HWND) override { window_.Forget(); }
    void Paint(HDC dc) const;
    win::ControlWindow window_;
    win::Font statusFont_;
    HFONT font_ = nullptr; // the font in use: the caller's, or statusFont_
    std::wstring text_;
};

class TControl;
class TWinControl;
struct TMessage;

// One per form: follows the pointer over the painted children of the form's windowed controls. A
// child with a hint and ShowHint shows it after the pointer rests on it for a moment, for a few seconds;
// moving off it, a press, or the pointer leaving the window hides it. The timers run on the form's
// window; the hint window is made at the first showing and goes with the windowed control it served.
class THintTracker {
public:
    explicit THintTracker(TWinControl& form) : form_(form) {}
    ~THintTracker();
    THintTracker(const THintTracker&) = delete;
    THintTracker& operator=(const THintTracker&) = delete;

    // A mouse message on a windowed control of the form, at p in its client coordinates.
    void MouseMessage(TWinControl& over, const TMessage& m, POINT p);
    // The pointer left the control's window.
    void MouseLeft(TWinControl& over);
    // The hint timers on the form's window; true when the message on `on` was one of them.
    bool TimerMessage(const TWinControl& on, TMessage& m);
    // Hides the hint over a windowed control's children and forgets which child it was for (a hint, a
    // visibility or a place changed).
    void Cancel(const TWinControl& over);
    // A child went from its parent; a windowed control's window went (the hint window goes with it).
    void ControlRemoved(const TControl& child);
    void WindowGone(const TWinControl& over);

    // The painted child whose hint is due or showing, and the windowed control it is on; null for none.
    TControl* Control() const { return control_; }
    const TWinControl* Over() const { return over_; }
    // The hint window, made at its first showing.
    const THintWindow* Window() const { return window_.get(); }

private:
    void Reset();
    // The hint timers, with numbers that no form's own timers use; the pointer rests this long before a
    // hint shows, and a hint shows this long.
    static constexpr UINT_PTR kShowTimer = 0x7F01, kHideTimer = 0x7F02;
    static constexpr UINT kShowMs = 500, kHideMs = 5000;
    TWinControl& form_;
    TWinControl* over_ = nullptr; // the windowed control the pointer was last over
    HWND overWindow_ = nullptr;   // its window, through which a timer finds it still there
    TControl* control_ = nullptr; // its child whose hint is due or showing
    HWND leaveTracked_ = nullptr; // the window that reports the pointer's leaving
    std::unique_ptr<THintWindow> window_;
};
