// Message dispatch between the system and the controls: what the windows' code needs from the program
// above it, the report of errors that escape a message handler, the window classes' registration, and
// the one window procedure through which every window of the framework reaches its object.
#pragma once

#include "framework/Win32.h"

#include <windows.h>

#include <string>

// A window message as the controls see it: its number and parameters, and the answer.
struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// This module's instance: the owner of the framework's window classes and the program's resources.
HINSTANCE ModuleInstance();

// The program's side of dispatch: where an error that escapes a message handler goes, and the icon the
// framework's window classes carry. The application object installs itself as the host.
class TDispatchHost {
public:
    virtual void HandleException(const std::wstring& message) = 0;
    virtual HICON ProgramIcon() const = 0;

protected:
    ~TDispatchHost() = default;
};

// Installs the host (null: none); a host that goes takes itself away.
void SetDispatchHost(TDispatchHost* host);
TDispatchHost* DispatchHost();

// Hands the exception being handled (call it from a catch block) to the host: its message, or "Unknown
// error". No exception crosses a window procedure; every dispatch boundary reports this way.
void ReportDispatchError();

// Registers one of the framework's window classes once: its procedure is TargetWindowProc, its icon the
// program's, its cursor the given system cursor (null: each window sets its own).
void RegisterClassOnce(const wchar_t* name, UINT style, const wchar_t* cursor = nullptr);

// An object that answers the messages of one window at a time: every window of the framework (controls
// and forms, the hint, the helper windows, the application window, the parts of system controls it
// subclasses) is one. Its windows have TargetWindowProc as their procedure and the target as their
// creation parameter, or are subclassed to it after creation (SubclassToTarget).
class TMessageTarget {
public:
    virtual void WndProc(TMessage& m) = 0;

protected:
    ~TMessageTarget() = default;
    // At the window's first message, and after its last (WM_NCDESTROY), when the window no longer leads
    // to the target and has its own procedure back.
    virtual void WindowAttached(HWND h) = 0;
    virtual void WindowDetached(HWND h) = 0;
    // The window's own handling of a message: its class procedure when subclassed, otherwise the
    // system's default.
    LRESULT DefaultProc(HWND h, const TMessage& m) const;

private:
    WNDPROC ownProc_ = nullptr;
    friend LRESULT CALLBACK TargetWindowProc(HWND h, UINT msg, WPARAM w, LPARAM l);
    friend void SubclassToTarget(HWND h, TMessageTarget* target);
};

// A target that owns one window of its own: it holds the handle from the window's first message and
// forgets it after the last; a window still there when the owner goes is destroyed with it (the owner's
// destructor destroys it first when the window's messages need the whole owner).
class TWindowOwner : public TMessageTarget {
public:
    HWND Handle() const { return window_.get(); }

protected:
    ~TWindowOwner() = default;
    void WindowAttached(HWND h) override { window_.Attach(h); }
    void WindowDetached(HWND) override { window_.Forget(); }
    win::OwnedWindow window_;
};

// What a window is made with (CreateWindowExW's arguments but the instance and the creation parameter).
struct TWindowSpec {
    DWORD exStyle = 0;
    const wchar_t* className = nullptr;
    const wchar_t* caption = L"";
    DWORD style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;
    HMENU menu = nullptr;
};

// Makes a window that answers through the target: one of the framework's classes reaches the target from
// its first message, one of a system class (subclass) is subclassed to it once made. Throws when the
// system makes no window.
HWND CreateTargetWindow(TMessageTarget& target, const TWindowSpec& params, bool subclass = false);

// The window procedure of the framework's windows: hands each message to the window's target, reports
// any error that escapes it (the one exception guard), and after WM_NCDESTROY lets the window go: it
// no longer leads to the target, a subclassed window has its own procedure back, and the target hears
// WindowDetached.
LRESULT CALLBACK TargetWindowProc(HWND h, UINT msg, WPARAM w, LPARAM l);
// Makes a window made otherwise (a system control, or a part of one) answer through its target; the
// target's DefaultProc then reaches the window's own procedure.
void SubclassToTarget(HWND h, TMessageTarget* target);
// The target of a window that has TargetWindowProc as its procedure, or null.
TMessageTarget* TargetOf(HWND h);

inline bool IsMouseMessage(UINT msg) {
    return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK;
}
