#include "framework/Shell.h"

#include "framework/Win32.h"

#include <string>

namespace win {

namespace {
TShell g_realShell;
TShell* g_shell = &g_realShell; // replaced only by tests
} // namespace

TShell& TShell::Current() {
    return *g_shell;
}
void TShell::Install(TShell* shell) {
    g_shell = shell ? shell : &g_realShell;
}

BOOL TShell::NotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
    return Shell_NotifyIconW(message, data);
}

BOOL TShell::ShellExecuteInfo(SHELLEXECUTEINFOW* info) {
    return ShellExecuteExW(info);
}

HINSTANCE TShell::ShellOpen(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* params,
                            const wchar_t* dir, int show) {
    return ShellExecuteW(owner, verb, file, params, dir, show);
}

BOOL TShell::StartProcess(const wchar_t* commandLine, int show) {
    std::wstring cmd = commandLine; // CreateProcessW may write into its command line
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return FALSE;
    win::Handle process(pi.hProcess), thread(pi.hThread); // not waited for: closed at once
    return TRUE;
}

DWORD TShell::WaitForProcess(HANDLE process, DWORD milliseconds) {
    return WaitForSingleObject(process, milliseconds);
}

BOOL TShell::EndSession(UINT flags, DWORD reason) {
    return ExitWindowsEx(flags, reason);
}

BOOL TShell::SetPrivilege(const wchar_t* name, bool enable) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return FALSE;
    Handle token(raw);
    TOKEN_PRIVILEGES tp{};
    if (!LookupPrivilegeValueW(nullptr, name, &tp.Privileges[0].Luid)) return FALSE;
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    return AdjustTokenPrivileges(token.get(), FALSE, &tp, 0, nullptr, nullptr);
}

BOOL TShell::CursorPos(POINT* pt) {
    return GetCursorPos(pt);
}

bool TShell::IconRect(const NOTIFYICONIDENTIFIER& icon, RECT* rect) {
    return SUCCEEDED(Shell_NotifyIconGetRect(&icon, rect));
}

bool TShell::TaskbarPosition(APPBARDATA* data) {
    return SHAppBarMessage(ABM_GETTASKBARPOS, data) != FALSE;
}

bool TShell::MonitorAt(POINT pt, MONITORINFO* info) {
    return GetMonitorInfoW(MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), info) != FALSE;
}

bool TShell::HighContrast() {
    HIGHCONTRASTW hc{sizeof hc};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

} // namespace win
