#include "TestSupport.h"

#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace test {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD boundMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > boundMs) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Pump();
    }
    return true;
}

BOOL RecordingShell::NotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
    notify.push_back({message, *data});
    calls.push_back(L"NotifyIcon " + std::to_wstring(message));
    return notifyResult;
}

BOOL RecordingShell::ShellExecuteInfo(SHELLEXECUTEINFOW* info) {
    calls.push_back(std::wstring(L"ShellExecuteEx ") + (info->lpFile ? info->lpFile : L"(null)"));
    return TRUE;
}

HINSTANCE RecordingShell::ShellOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* params,
                                       const wchar_t* dir, int show) {
    auto s = [](const wchar_t* p) { return p ? std::wstring(L"\"") + p + L"\"" : std::wstring(L"null"); };
    calls.push_back(L"ShellExecute " + s(verb) + L" " + s(file) + L" " + s(params) + L" " + s(dir) + L" " +
                    std::to_wstring(show));
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

BOOL RecordingShell::StartProcess(const wchar_t* commandLine, int show) {
    calls.push_back(std::wstring(L"StartProcess ") + commandLine + L" " + std::to_wstring(show));
    return TRUE;
}

DWORD RecordingShell::WaitForProcess(HANDLE, DWORD ms) {
    calls.push_back(L"WaitForProcess " + std::to_wstring(ms));
    return WAIT_OBJECT_0;
}

BOOL RecordingShell::EndSession(UINT flags, DWORD) {
    calls.push_back(L"ExitWindows " + std::to_wstring(flags));
    return TRUE;
}

BOOL RecordingShell::SetPrivilege(const wchar_t* name, bool enable) {
    calls.push_back(std::wstring(L"SetPrivilege ") + name + (enable ? L" on" : L" off"));
    return TRUE;
}

BOOL RecordingShell::CursorPos(POINT* pt) {
    calls.push_back(L"CursorPos");
    *pt = cursor;
    return TRUE;
}

TempDir::TempDir() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::wstring(base) + L"quennel-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
}

TempDir::~TempDir() {
    std::wstring from = path_ + L'\0'; // double-terminated list
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace test
