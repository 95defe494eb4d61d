// Helpers shared by the test programs: message pumping, a recording shell seam, temporary folders.
#pragma once

#include "framework/Forms.h"
#include "framework/Shell.h"

#include <functional>
#include <initializer_list>
#include <utility>
#include <string>
#include <vector>

namespace test {

// Dispatches messages until the condition holds or the bound passes; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, DWORD boundMs = 5000);
// Dispatches messages as the program's own loop does, dialog keys (Tab, Enter, Escape) included, until
// the condition holds or the bound passes; returns the condition.
bool RunUntil(const std::function<bool()>& condition, DWORD boundMs = 5000);
// Dispatches what is waiting now.
void Pump();

// Records every call made through the shell seam and answers with configurable results.
class RecordingShell : public win::TShell {
public:
    struct NotifyCall {
        DWORD message;
        NOTIFYICONDATAW data;
    };
    RecordingShell() { Install(this); }
    ~RecordingShell() override { Install(nullptr); }

    BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW* data) override;
    BOOL ShellExecuteInfo(SHELLEXECUTEINFOW* info) override;
    HINSTANCE ShellOpen(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* params,
                        const wchar_t* dir, int show) override;
    BOOL StartProcess(const wchar_t* commandLine, int show) override;
    DWORD WaitForProcess(HANDLE process, DWORD ms) override;
    BOOL EndSession(UINT flags, DWORD reason) override;
    BOOL SetPrivilege(const wchar_t* name, bool enable) override;
    BOOL CursorPos(POINT* pt) override;
    bool HighContrast() override { return highContrast; } // not recorded: every paint asks

    struct ExecuteCall {
        SHELLEXECUTEINFOW info;
        bool verbNull, fileNull, paramsNull, dirNull;
        std::wstring verb, file, params, dir;
    };
    std::vector<NotifyCall> notify;
    std::vector<ExecuteCall> executes;
    BOOL executeResult = TRUE;
    HANDLE processToReturn = nullptr; // handed back as the started process
    BOOL endSessionResult = TRUE;
    DWORD endSessionError = 0;       // the thread's last-error code after a refused request
    std::vector<std::wstring> calls; // every call, in order, as text
    std::vector<DWORD> reasons;      // the reason code of every session-end request
    BOOL notifyResult = TRUE;
    POINT cursor{0, 0};
    bool highContrast = false;
};

// Real input, as a user's keys and clicks arrive: through the system's input queue to the foreground
// window and the control with the focus, through dialog navigation and the controls' default handling.
// Presses and releases a key, with Shift (and Ctrl) held when asked.
void SendKey(WORD vk, bool shift = false, bool ctrl = false);
// Moves the pointer to the screen point and clicks the left (or right) button there.
void SendClick(POINT screen, bool right = false);
// Makes the window the foreground window (where keys go); whether it became so.
bool BringToFront(HWND top);
// The window with the keyboard focus in the thread that owns the window, or null.
HWND FocusIn(HWND top);

// Runs the action once a visible top-level window of this thread with the caption (or, for a name
// starting with "#", the system class) appears (from inside
// whatever modal loop is running then). Returns at once; the action runs later from a timer.
void WhenWindowAppears(const std::wstring& caption, std::function<void(HWND)> action);
// Posts a key press and release to a window.
void PostKey(HWND w, WPARAM vk);
// A movable global block holding a copy of the bytes.
HGLOBAL GlobalCopy(const void* data, size_t bytes);
// Replaces the clipboard's content (owned by no window) with the formats and their data, waiting while
// another program holds the clipboard.
void ReplaceClipboard(const std::vector<std::pair<UINT, HANDLE>>& items);
// Puts Unicode text on the clipboard.
void SetClipboardText(const std::wstring& text);
// Changes the clipboard N times as fast as it can: text, a bitmap, a stored component and nothing, in turn.
void ClipboardStorm(int changes);
// Starts this test program again, as another process, with the arguments (a null handle on failure).
win::Handle StartSelf(const std::wstring& arguments);
// Dispatches messages until the process ends; whether it ended in time with exit code 0.
bool PumpUntilExited(HANDLE process, DWORD boundMs);
// The clipboard's Unicode text (empty when it holds none), waiting while another program holds it.
std::wstring ClipboardText();

// A fresh folder under the temporary directory, removed with its contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

std::string ReadBytes(const std::wstring& path);

// Sets an environment variable of this process, and so of the programs it starts, while it lives.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const wchar_t* name_;
    std::wstring before_;
    bool had_;
};
void WriteBytes(const std::wstring& path, const std::string& bytes);

// Collects the messages of errors that reach the application while the object lives.
class ErrorCatcher {
public:
    ErrorCatcher() {
        previous_ = Application->OnException;
        Application->OnException = [this](const std::wstring& m) { messages.push_back(m); };
    }
    ~ErrorCatcher() { Application->OnException = previous_; }
    std::vector<std::wstring> messages;

private:
    std::function<void(const std::wstring&)> previous_;
};

} // namespace test
