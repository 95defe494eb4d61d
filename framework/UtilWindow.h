// The framework's helper windows.
#pragma once

#include "framework/Dispatch.h"
#include "framework/Win32.h"

#include <functional>

// A helper window of the framework whose messages go to a function (tray icon, timers, hidden owners).
// It is a top-level window, so it also hears broadcasts such as the session-end query.
class TUtilWindow final : public TWindowOwner {
public:
    // Returns true when it answered the message (in m.Result); false leaves it to the default handling.
    using Handler = std::function<bool(TMessage&)>;
    // The name is the window's text, which lets tools tell the helper windows apart.
    explicit TUtilWindow(Handler handler, const wchar_t* name = L"");
    ~TUtilWindow() {
        made_ = false;
        window_.Destroy();
    }
    TUtilWindow(const TUtilWindow&) = delete;
    TUtilWindow& operator=(const TUtilWindow&) = delete;
    void WndProc(TMessage& m) override;

private:
    Handler handler_;
    // The handler hears the window's messages from when it is made until it goes: the window is made
    // while its owner is still being constructed, and goes while the owner is being destroyed.
    bool made_ = false;
};
