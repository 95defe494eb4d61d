#include "tests/e2e/QuennelProcess.h"

#include "tests/support/Outside.h"

#include <gtest/gtest.h>

namespace e2e {

namespace {
std::wstring BuiltProgram() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"quennel.exe";
}

} // namespace

QuennelProcess::QuennelProcess(const test::TempDir& dir, const std::wstring& exeName) {
    std::wstring exe = dir.File(exeName);
    // A file already there (a copy started before) is started as it is.
    if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES &&
        !CopyFileW(BuiltProgram().c_str(), exe.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy quennel.exe: " << GetLastError();
        return;
    }
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(), &si,
                        &pi)) {
        ADD_FAILURE() << "cannot start quennel.exe: " << GetLastError();
        return;
    }
    CloseHandle(pi.hThread);
    process_.reset(pi.hProcess);
    pid_ = pi.dwProcessId;
    WaitForInputIdle(pi.hProcess, 15000);
}

QuennelProcess::~QuennelProcess() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

HWND QuennelProcess::FindWindow(const wchar_t* cls, const wchar_t* caption, bool visibleOnly) const {
    return outside::TopWindow(pid_, cls, caption, visibleOnly);
}

HWND QuennelProcess::WaitForWindow(const wchar_t* cls, const wchar_t* caption, DWORD boundMs) const {
    HWND h = nullptr;
    test::PumpUntil([&] { return (h = FindWindow(cls, caption)) != nullptr; }, boundMs);
    return h;
}

HWND QuennelProcess::TrayWindow() const {
    return FindWindow(L"QuennelUtilWindow", L"TTrayIcon", false);
}

bool QuennelProcess::ShellKnowsIcon(HWND w) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = w;
    nid.uID = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

DWORD QuennelProcess::WaitForExit(DWORD boundMs) {
    if (!process_) return STILL_ACTIVE;
    test::PumpUntil([&] { return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }, boundMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

std::wstring BoxText(HWND edit) {
    return win::WindowView(edit).Text();
}

HWND FindChildByText(HWND parent, const wchar_t* text) {
    return outside::Descendant(parent, text, true);
}

std::wstring DialogText(HWND box) {
    std::wstring text;
    EnumChildWindows(
        box,
        [](HWND h, LPARAM l) -> BOOL {
            wchar_t cls[32];
            GetClassNameW(h, cls, 32);
            if (_wcsicmp(cls, L"Static") == 0) {
                wchar_t buf[512];
                if (GetWindowTextW(h, buf, 512) > 0) *reinterpret_cast<std::wstring*>(l) += buf;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

} // namespace e2e
