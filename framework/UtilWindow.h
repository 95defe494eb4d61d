// The framework's helper windows.
#pragma once

#include "framework/Dispatch.h"

#include <functional>

// A helper window of the framework whose messages go to a function (tray icon, timers, hidden owners).
// It is a top-level window, so it also hears broadcasts such as the session-end query.
class TUtilWindow {
public:
    // Returns true when it answered the message (in m.Result); false leaves it to the default handling.
    using Handler = std::function<bool(TMessage&)>;
    // The name is the window's text, which lets tools tell the helper windows apart.
    explicit TUtilWindow(Handler handler, const wchar_t* name = L"");
    ~TUtilWindow();
    TUtilWindow(const TUtilWindow&) = delete;
    TUtilWindow& operator=(const TUtilWindow&) = delete;
    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l);
    Handler handler_;
    HWND hwnd_ = nullptr;
};
