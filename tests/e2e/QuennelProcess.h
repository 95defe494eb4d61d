// Starts quennel.exe from a folder of its own and looks at it from outside, as a user's desktop would.
#pragma once

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {

class QuennelProcess {
public:
    // Copies the built program into the folder (as exeName, unless that file is there) and starts it there.
    QuennelProcess(const test::TempDir& dir, const std::wstring& exeName = L"quennel.exe",
                   const std::wstring& arguments = L"");
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

// Runs a program to its end; its exit code, or STILL_ACTIVE when it did not end within a minute (-1 when
// it did not start).
DWORD RunToEnd(const std::wstring& exe, const std::wstring& arguments);

// Reports a click on the icon as the shell does, then waits for the menu window.
// Posts what the shell sends for a click on the icon (version 4): the button's release, then the
// selection (left) or the menu request at the pointer (right).
void PostClick(HWND tray, UINT button);
HWND OpenMenu(const QuennelProcess& q, HWND tray, UINT button);
// Chooses a menu item by keyboard: Down to it, Enter.
void ChooseByKeys(const QuennelProcess& q, HWND tray, UINT button, int index);
// Confirms the card (in front) with Space, as a user would: it goes, and the icon is in the tray.
void ConfirmCard(HWND card, HWND tray);

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
    HWND OpenMenu(UINT button) { return e2e::OpenMenu(q, tray, button); }
};

// The stand-ins for libraries planted beside a program (bin/planted), copied into a folder: each leaves a
// mark file when it is loaded. The baseline is what a program with the given imports that ends in its
// first line loads from the folder (what the system loads before any program's own code), run there:
// "bare.exe" imports the C runtime alone, "bare-comctl.exe" the common controls too.
class PlantedFolder {
public:
    PlantedFolder(const std::wstring& folder, const wchar_t* bareProgram);
    // The libraries loaded from the folder since the last look beyond the baseline, space-separated ("" for
    // none); all of them are printed, with the baseline, and their marks taken away.
    std::wstring LoadedBeyondBaseline(const char* who);

private:
    std::vector<std::wstring> TakeMarks() const;
    std::wstring folder_;
    std::vector<std::wstring> baseline_;
};

// While it lives, the named programs take a library beside them before the system's (Wine's stand-in for
// Windows' search order for libraries outside its known list: a per-program override in Wine's registry
// keys, which Windows does not read).
class PreferPlanted {
public:
    PreferPlanted(std::initializer_list<const wchar_t*> programs);
    ~PreferPlanted();
    PreferPlanted(const PreferPlanted&) = delete;
    PreferPlanted& operator=(const PreferPlanted&) = delete;

private:
    std::vector<std::wstring> keys_;
};

// While it lives, every program started takes a library beside it before the system's, through Wine's
// override in the environment (as `WINEDLLOVERRIDES=...=n,b wine quennel.exe`): it also reaches the
// libraries that Wine's own libraries load for the program, which the per-program key does not.
struct PreferPlantedInEnvironment : test::ScopedEnvironment {
    PreferPlantedInEnvironment();
};

// An edit box's text, asked of the box itself (another program's window text is only its title).
std::wstring BoxText(HWND edit);

// A descendant window with exactly this text, or null.
HWND FindChildByText(HWND parent, const wchar_t* text);

// Text of a window's static children joined by new lines (a message box's text).
std::wstring DialogText(HWND box);

} // namespace e2e
