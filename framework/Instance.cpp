#include "framework/Instance.h"

#include <vector>

namespace {
// The path in capitals, so that two spellings of one file name one lock (file names ignore case).
std::wstring Upper(const std::wstring& s) {
    std::wstring u = s;
    if (!u.empty()) CharUpperBuffW(u.data(), static_cast<DWORD>(u.size()));
    return u;
}

std::wstring ProcessPath(DWORD pid) {
    win::Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return {};
    std::vector<wchar_t> path(32768);
    DWORD size = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) return {};
    return std::wstring(path.data(), size);
}
} // namespace

std::wstring ModulePath() {
    std::vector<wchar_t> path(32768);
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring full(path.data(), n);
    // The same file started by its short name is the same copy.
    DWORD m = GetLongPathNameW(full.c_str(), path.data(), static_cast<DWORD>(path.size()));
    return m > 0 && m < path.size() ? std::wstring(path.data(), m) : full;
}

std::wstring TInstanceLock::NameFor(const std::wstring& exePath) {
    // Backslashes are the namespace's separator in object names: the path's become slashes.
    std::wstring key = Upper(exePath);
    for (auto& c : key)
        if (c == L'\\') c = L'/';
    return L"Local\\Quennel:" + key;
}

TInstanceLock::TInstanceLock(const std::wstring& exePath)
    : mutex_(CreateMutexW(nullptr, FALSE, NameFor(exePath).c_str())) {
    // Without a lock (no such object could be made) the program runs rather than refusing to start.
    first_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

UINT ComeForwardMessage() {
    return RegisterWindowMessageW(L"Quennel.ComeForward"); // the same number on every call
}

HWND FindCopyWindow(const std::wstring& exePath, const wchar_t* windowClass) {
    const std::wstring wanted = Upper(exePath);
    const DWORD self = GetCurrentProcessId();
    for (HWND h = FindWindowExW(nullptr, nullptr, windowClass, nullptr); h;
         h = FindWindowExW(nullptr, h, windowClass, nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid != self && Upper(ProcessPath(pid)) == wanted) return h;
    }
    return nullptr;
}

bool CloseCopy(const std::wstring& exePath, const wchar_t* windowClass, DWORD boundMs) {
    HWND window = FindCopyWindow(exePath, windowClass);
    if (!window) return true;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    win::Handle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    PostMessageW(window, WM_CLOSE, 0, 0);
    return !process || WaitForSingleObject(process.get(), boundMs) == WAIT_OBJECT_0;
}
