// Starts quennel.exe from a folder of its own and looks at it from outside, as a user's desktop would.
#pragma once

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace e2e {

class QuennelProcess {
public:
    // Copies the built program into the folder (as exeName, unless that file is there) and starts it there.
    QuennelProcess(const test::TempDir& dir, const std::wstring& exeName = L"quennel.exe");
    ~QuennelProcess(); // ends the program if it is still running
    QuennelProcess(const QuennelProcess&) = delete;
    QuennelProcess& operator=(const QuennelProcess&) = delete;

    // A top-level window of the program with the class and caption (either may be null), or null.
    HWND FindWindow(const wchar_t* className, const wchar_t* caption, bool visibleOnly = true) const;
    HWND WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD boundMs = 15000) const;
    // The program's notification window (the tray icon's hidden window).
    HWND TrayWindow() const;
    // Whether the shell holds an icon for the window (a modify request succeeds only for a known icon).
    static bool ShellKnowsIcon(HWND w);
    // Waits for the program to end; returns its exit code, or STILL_ACTIVE when it did not end in time.
    DWORD WaitForExit(DWORD boundMs = 15000);
    DWORD Id() const { return pid_; }

private:
    win::Handle process_;
    DWORD pid_ = 0;
};

// A running Quennel with its about card up: the test's folder, the process, the card and the tray icon's
// window.
struct Running : ::testing::Test {
    test::TempDir dir;
    QuennelProcess q{dir};
    HWND card = nullptr, tray = nullptr;

    void SetUp() override {
        // A program's first window in a Wine session can take a while when the session's desktop is
        // still starting.
        card = q.WaitForWindow(L"QuennelWindow", L"Quennel", 30000);
        ASSERT_NE(card, nullptr);
        tray = q.TrayWindow();
    }
    // Reports a click on the icon as the shell does, then waits for the menu window.
    HWND OpenMenu(UINT button) {
        PostMessageW(tray, WM_USER + 1, 0, button);
        return q.WaitForWindow(L"#32768", nullptr, 5000);
    }
};

// An edit box's text, asked of the box itself (another program's window text is only its title).
std::wstring BoxText(HWND edit);

// A descendant window with exactly this text, or null.
HWND FindChildByText(HWND parent, const wchar_t* text);

// Text of a window's static children joined by new lines (a message box's text).
std::wstring DialogText(HWND box);

} // namespace e2e
