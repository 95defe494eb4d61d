// The seam for every call that leaves the process or the session: tray icons, starting programs, ending the
// session, the cursor position. The default forwards to Win32; tests install a recorder instead.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace win {

class TShell {
public:
    virtual ~TShell() = default;

    virtual BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW* data);
    virtual BOOL ShellExecuteInfo(SHELLEXECUTEINFOW* info);
    virtual HINSTANCE ShellOpen(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* params,
                                const wchar_t* dir, int show);
    // Starts a command line with a normal window; the process and thread handles are closed at once.
    virtual BOOL StartProcess(const wchar_t* commandLine, int show);
    virtual DWORD WaitForProcess(HANDLE process, DWORD milliseconds);
    virtual BOOL EndSession(UINT flags, DWORD reason);
    // Switches one privilege of the process token on or off; false when the token cannot be adjusted.
    virtual BOOL SetPrivilege(const wchar_t* name, bool enable);
    virtual BOOL CursorPos(POINT* pt);
    // Where the notification area shows an icon, in screen pixels; false where the shell cannot say.
    virtual bool IconRect(const NOTIFYICONIDENTIFIER& icon, RECT* rect);
    // The taskbar's edge and rectangle as the shell reports them; false when there is no taskbar.
    virtual bool TaskbarPosition(APPBARDATA* data);
    // The whole and the working rectangle of the monitor nearest a screen point.
    virtual bool MonitorAt(POINT pt, MONITORINFO* info);
    // Whether the user chose a high-contrast look (a setting read, not a call that leaves; here so that
    // tests can switch it, which Wine cannot).
    virtual bool HighContrast();

    // The seam in use: the real one unless a test installed another (pass nullptr to restore).
    static TShell& Current();
    static void Install(TShell* shell);
};

} // namespace win
