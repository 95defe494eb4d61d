// The hints of a form's painted controls: which child the pointer rests on, and when its hint shows and
// goes.
#pragma once

#include "framework/Controls.h"

#include <memory>

// One per form: follows the pointer over the painted children of the form's windowed controls. A
// child with a hint and ShowHint shows it after the pointer rests on it for a moment, for a few seconds;
// moving off it, a press, or the pointer leaving the window hides it. The timers run on the form's
// window; the hint window is made at the first showing and goes with the windowed control it served.
class THintTracker final : public TControlHints {
public:
    explicit THintTracker(TWinControl& form);
    ~THintTracker();
    THintTracker(const THintTracker&) = delete;
    THintTracker& operator=(const THintTracker&) = delete;

    void MouseMessage(TWinControl& over, const TMessage& m, POINT p) override;
    void MouseLeft(TWinControl& over) override;
    bool TimerMessage(const TWinControl& on, TMessage& m) override;
    void Cancel(const TWinControl& over) override;
    void ControlRemoved(const TControl& child) override;
    void WindowGone(const TWinControl& over) override;
    TControl* Control() const override { return control_; }
    const TWinControl* Over() const override { return over_; }
    const THintWindow* Window() const override { return window_.get(); }

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
