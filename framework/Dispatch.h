// Message dispatch between the system and the controls: what the windows' code needs from the program
// above it, the report of errors that escape a message handler, and the window classes' registration.
#pragma once

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

// Registers a window class of this module once, with the program's icon.
void RegisterClassOnce(const wchar_t* name, WNDPROC proc, UINT style);

// An object that answers the messages of one window at a time. Its windows have TargetWindowProc as
// their procedure and the target as their creation parameter (or are attached to it after creation).
class TMessageTarget {
public:
    virtual void WndProc(TMessage& m) = 0;

protected:
    ~TMessageTarget() = default;
    // At the window's first message, and after its last (WM_NCDESTROY).
    virtual void WindowAttached(HWND h) = 0;
    virtual void WindowDetached(HWND h) = 0;
    friend LRESULT CALLBACK TargetWindowProc(HWND h, UINT msg, WPARAM w, LPARAM l);
};

// The window procedure of the framework's windows: hands each message to the window's target, reports
// any error that escapes it, and detaches the target when the window goes.
LRESULT CALLBACK TargetWindowProc(HWND h, UINT msg, WPARAM w, LPARAM l);
// Attaches a window made otherwise (a system control being subclassed) to its target.
void AttachTarget(HWND h, TMessageTarget* target);
// The target of a window that has TargetWindowProc as its procedure, or null.
TMessageTarget* TargetOf(HWND h);

inline bool IsMouseMessage(UINT msg) {
    return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK;
}
