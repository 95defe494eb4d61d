// The hint tracker of a form: which painted child's hint is due or showing, its timers and its window.
#include "framework/HintTracker.h"
#include "framework/Hints.h"

THintTracker::THintTracker(TWinControl& form) : form_(form) {}

THintTracker::~THintTracker() {
    Reset();
}

void THintTracker::Reset() {
    if (form_.HandleAllocated()) {
        KillTimer(form_.Handle(), kShowTimer);
        KillTimer(form_.Handle(), kHideTimer);
    }
    if (window_) window_->Hide();
    control_ = nullptr;
}

void THintTracker::Cancel(const TWinControl& over) {
    if (&over == over_) Reset();
}

void THintTracker::ControlRemoved(const TControl& child) {
    if (&child == over_) WindowGone(*over_);
    if (&child == control_) Reset();
}

void THintTracker::WindowGone(const TWinControl& over) {
    if (&over == over_) {
        Reset();
        window_.reset(); // a new window makes a new hint when it first shows one
        over_ = nullptr;
    }
    if (leaveTracked_ && !IsWindow(leaveTracked_)) leaveTracked_ = nullptr;
}

void THintTracker::MouseLeft(TWinControl& over) {
    if (over.HandleAllocated() && over.Handle() == leaveTracked_) leaveTracked_ = nullptr;
    Cancel(over);
}

void THintTracker::MouseMessage(TWinControl& over, const TMessage& m, POINT p) {
    TControl* c = nullptr;
    if (m.Msg == WM_MOUSEMOVE) {
        c = over.ControlAtPos(p);
        if (c && (!c->ShowHint() || c->Hint().empty() || !c->AsPainted())) c = nullptr;
    }
    if (&over != over_) {
        // Another window's messages leave the hint alone until the pointer comes to a child of it that
        // has one; leaving the hint's own window says the pointer went.
        if (!c) return;
        Reset();
        over_ = &over;
        overWindow_ = over.Handle();
    }
    if (m.Msg != WM_MOUSEMOVE) {
        // A press hides the hint; it comes again only after the pointer has left the child.
        if (form_.HandleAllocated()) KillTimer(form_.Handle(), kShowTimer);
        if (window_) window_->Hide();
        return;
    }
    if (leaveTracked_ != overWindow_) {
        TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, overWindow_, 0};
        leaveTracked_ = TrackMouseEvent(&leave) ? overWindow_ : nullptr;
    }
    if (c == control_) return;
    Reset();
    control_ = c;
    if (c) SetTimer(form_.Handle(), kShowTimer, kShowMs, nullptr);
}

bool THintTracker::TimerMessage(const TWinControl& on, TMessage& m) {
    if (&on != &form_ || m.Msg != WM_TIMER || (m.WParam != kShowTimer && m.WParam != kHideTimer))
        return false;
    KillTimer(form_.Handle(), m.WParam);
    // The control and its child may have gone by ways the form does not hear of (a branch taken out of
    // it): the window still leads to the control, and the control still lists the child.
    if (TWinControl::FromHandle(overWindow_) != over_) over_ = nullptr;
    bool listed = false;
    for (int i = 0; over_ && i < over_->ControlCount() && !listed; ++i)
        listed = over_->Controls(i) == control_;
    if (!listed) control_ = nullptr;
    if (m.WParam == kShowTimer && control_) {
        if (!window_) window_ = std::make_unique<THintWindow>();
        POINT at;
        GetCursorPos(&at);
        // Below the pointer's tip.
        at.y += SystemMetricForPPI(SM_CYCURSOR, over_->CurrentPPI()) / 2 + over_->Scaled(4);
        HWND root = GetAncestor(over_->Handle(), GA_ROOT);
        TWinControl* top = TWinControl::FromHandle(root);
        window_->ActivateHint(control_->Hint(), at, root, top ? top->Font().Handle() : nullptr);
        SetTimer(form_.Handle(), kHideTimer, kHideMs, nullptr);
    } else if (m.WParam == kHideTimer && window_) {
        window_->Hide();
    }
    m.Result = 0;
    return true;
}
