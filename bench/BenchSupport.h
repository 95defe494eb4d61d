// Helpers shared by the benchmark programs: finding the built programs, starting a copy of one in a
// folder of its own, finding its windows, medians and a millisecond clock.
#pragma once

#include "tests/support/Outside.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace bench {

using outside::Descendant;
using outside::PostKey;

inline HWND FindWindowOf(DWORD pid, const wchar_t* cls, const wchar_t* caption, bool visibleOnly = true) {
    return outside::TopWindow(pid, cls, caption, visibleOnly);
}

// A file beside this benchmark program (the build puts every program in one folder).
inline std::wstring Beside(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring p = self;
    return p.substr(0, p.find_last_of(L'\\') + 1) + name;
}

// A fresh folder under the temporary directory for one run.
inline std::wstring RunFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = std::wstring(temp) + L"quennel-bench";
    CreateDirectoryW(base.c_str(), nullptr);
    std::wstring folder = base + L"\\" + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// How a figure's goal is put: at most so many times the floor's figure, at most so much above it, or
// below a bound of its own (no floor); a row with no goal only informs.
enum class Goal { Times, Above, Below, None };

// One row of the table scripts/bench gathers from every benchmark (a floor below zero is none):
// | figure | Quennel | floor | ratio | goal | met |
inline void Row(const std::string& figure, double quennel, double floor, Goal kind, double goal = 0) {
    char q[32], f[32] = "-", ratio[32] = "-", target[48] = "-";
    const char* met = "-";
    snprintf(q, sizeof q, "%.3g", quennel);
    if (floor >= 0) snprintf(f, sizeof f, "%.3g", floor);
    if (floor > 0) snprintf(ratio, sizeof ratio, "%.2f", quennel / floor);
    bool ok = true;
    switch (kind) {
    case Goal::Times:
        snprintf(target, sizeof target, "<= %g x floor", goal);
        ok = floor > 0 && quennel / floor <= goal;
        break;
    case Goal::Above:
        snprintf(target, sizeof target, "<= floor + %g", goal);
        ok = floor >= 0 && quennel - floor <= goal;
        break;
    case Goal::Below:
        snprintf(target, sizeof target, "< %g", goal);
        ok = quennel < goal;
        break;
    case Goal::None:
        break;
    }
    if (kind != Goal::None) met = quennel >= 0 && ok ? "yes" : "NO";
    printf("| %s | %s | %s | %s | %s | %s |\n", figure.c_str(), q, f, ratio, target, met);
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

inline double NowMs() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return 1000.0 * double(t.QuadPart) / double(f.QuadPart);
}

// Copies the program into the folder; returns the copy's path.
inline std::wstring Install(const std::wstring& exe, const std::wstring& folder) {
    std::wstring copy = folder + L"\\" + exe.substr(exe.find_last_of(L'\\') + 1);
    CopyFileW(exe.c_str(), copy.c_str(), FALSE);
    return copy;
}

// Starts a program with the folder as its current directory (handles null when it cannot start).
inline PROCESS_INFORMATION Launch(const std::wstring& exe, const std::wstring& folder,
                                  const std::wstring& arguments = L"") {
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\" " + arguments;
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &pi))
        return {};
    return pi;
}

// Asks the program to close as the system does (a close request to its visible windows), then ends it
// if it does not; releases the handles.
inline void Close(PROCESS_INFORMATION& pi) {
    if (!pi.hProcess) return;
    EnumWindows(
        [](HWND h, LPARAM l) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == static_cast<DWORD>(l) && IsWindowVisible(h)) PostMessageW(h, WM_CLOSE, 0, 0);
            return TRUE;
        },
        static_cast<LPARAM>(pi.dwProcessId));
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    pi = {};
}

// Polls without sleeping (the figures are milliseconds), giving the processor up between looks so the
// program measured is not slowed, until the condition holds or the bound passes.
template <typename F> bool SpinUntil(F condition, double boundMs = 10000) {
    double start = NowMs();
    while (!condition()) {
        if (NowMs() - start > boundMs) return false;
        SwitchToThread();
    }
    return true;
}

// A visible top-level window of the class belonging to the process, found with few requests to the
// system (it is polled while a figure is being taken), or null.
inline HWND VisibleWindowOfClass(DWORD pid, const wchar_t* cls) {
    for (HWND h = FindWindowExW(nullptr, nullptr, cls, nullptr); h;
         h = FindWindowExW(nullptr, h, cls, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == pid && IsWindowVisible(h)) return h;
    }
    return nullptr;
}

// A started quennel.exe seen from outside: its process and the tray icon's window, which takes the
// shell's click reports.
struct TrayProgram {
    PROCESS_INFORMATION pi{};
    HWND tray = nullptr;

    // Opens a tray menu (the quick actions on a left click, the program's commands on a right one) as
    // the shell reports the click (version 4: the release, then the selection or the menu request at the
    // pointer); the menu window, or null.
    HWND OpenMenu(UINT button = WM_LBUTTONUP) const {
        POINT p{};
        GetCursorPos(&p);
        PostMessageW(tray, WM_USER + 1, 0, button);
        PostMessageW(tray, WM_USER + 1, MAKEWPARAM(p.x, p.y),
                     MAKELPARAM(button == WM_RBUTTONUP ? WM_CONTEXTMENU : NIN_SELECT, 0));
        HWND m = nullptr;
        SpinUntil([&] { return (m = VisibleWindowOfClass(pi.dwProcessId, L"#32768")); });
        return m;
    }
    // Chooses the item, counted from the top, of a tray menu.
    void Choose(int item, UINT button = WM_LBUTTONUP) const {
        HWND m = OpenMenu(button);
        for (int i = 0; m && i <= item; ++i)
            PostKey(m, VK_DOWN);
        if (m) PostKey(m, VK_RETURN);
    }
};

inline double Seconds(const FILETIME& f) {
    return (double(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e7;
}

inline bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Under Wine, a file of /proc for the Linux process whose command line is the program's path (Wine shows
// the Windows path), read through Wine's Z: drive; empty when there is none. Wine does not report another
// process's processor times or private bytes, Linux does.
inline std::string LinuxProcFile(const std::wstring& exePath, const wchar_t* name) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &fd);
    if (find == INVALID_HANDLE_VALUE) return {};
    std::string content;
    do {
        std::wstring dir = std::wstring(L"Z:\\proc\\") + fd.cFileName;
        if (std::wstring(fd.cFileName).find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        std::ifstream cmdline(std::filesystem::path(dir + L"\\cmdline"), std::ios::binary);
        std::string first;
        std::getline(cmdline, first, '\0');
        std::wstring wide(first.begin(), first.end()); // the paths used here are ASCII
        if (_wcsicmp(wide.c_str(), exePath.c_str()) != 0) continue;
        std::ifstream file(std::filesystem::path(dir + L"\\" + name));
        content.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        break;
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return content;
}

// Processor seconds the process has used (all its threads), or -1 when it cannot be read.
inline double CpuSeconds(HANDLE process, const std::wstring& exePath) {
    if (!UnderWine()) {
        FILETIME c, e, k, u;
        if (!GetProcessTimes(process, &c, &e, &k, &u)) return -1;
        return Seconds(k) + Seconds(u);
    }
    std::string stat = LinuxProcFile(exePath, L"stat");
    if (stat.empty()) return -1;
    std::istringstream fields(stat.substr(stat.rfind(')') + 2)); // after the name: field 3 on
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i >= 14) ticks += std::atof(field.c_str()); // utime, stime
    return ticks / 100.0;                               // USER_HZ
}

// Private bytes in MB: the reported figure, or under Wine the Linux process's private resident pages
// (shared libraries and files count only where this process alone maps them).
inline double PrivateMb(const std::wstring& exePath, double reported) {
    if (!UnderWine()) return reported;
    std::istringstream lines(LinuxProcFile(exePath, L"smaps_rollup"));
    std::string key;
    double kb = 0, total = 0;
    while (lines >> key) {
        if ((key == "Private_Clean:" || key == "Private_Dirty:") && lines >> kb) total += kb;
        lines.ignore(1 << 20, '\n');
    }
    return total / 1024.0;
}

} // namespace bench
