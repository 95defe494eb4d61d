// One running copy of a program per executable path in the user's logon session. The first start holds a
// named mutex; a later start of the same file finds the first copy's application window and asks it, by a
// registered message, to come forward, then ends without touching anything.
#pragma once

#include "framework/Win32.h"

#include <windows.h>

#include <string>

// The program's own file, its full long path.
std::wstring ModulePath();

class TInstanceLock {
public:
    // Takes the lock named for the path (in the session's namespace, letter case ignored).
    explicit TInstanceLock(const std::wstring& exePath);
    // False when another copy started from the same path holds the lock.
    bool First() const { return first_; }
    static std::wstring NameFor(const std::wstring& exePath);

private:
    win::Handle mutex_;
    bool first_ = true;
};

// The message a later start posts to the first copy's application window.
UINT ComeForwardMessage();

// The top-level window of the given class belonging to a process started from the path, or null.
HWND FindCopyWindow(const std::wstring& exePath, const wchar_t* windowClass);

// Asks the running copy started from the path to end, as its own exit command does (a close request to its
// application window), and waits for it. True when no copy runs or it ended within the bound.
bool CloseCopy(const std::wstring& exePath, const wchar_t* windowClass, DWORD boundMs);
