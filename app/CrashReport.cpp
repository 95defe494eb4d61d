#include "app/CrashReport.h"

#include "framework/Win32.h"

#include <windows.h>

#include <dbghelp.h>

#include <cwchar>

namespace {

using FindHandle = win::UniqueHandle<HANDLE, FindClose, -1>;

// The report's folder, made when needed: false when there is none to write in. In fixed buffers: the
// process is failing, and its heap may be what failed.
bool ReportFolder(wchar_t (&folder)[MAX_PATH]) {
    const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH - 64) return false;
    wcscat_s(folder, L"\\Quennel");
    CreateDirectoryW(folder, nullptr);
    wcscat_s(folder, L"\\CrashDumps");
    return CreateDirectoryW(folder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// Deletes the oldest reports until fewer than `keep` are left. The names hold the time, so the oldest is
// the first by name.
void DeleteOldestReports(const wchar_t* folder, int keep) {
    wchar_t pattern[MAX_PATH];
    swprintf(pattern, MAX_PATH, L"%ls\\quennel-*.dmp", folder);
    for (;;) {
        WIN32_FIND_DATAW found;
        const FindHandle find(FindFirstFileW(pattern, &found));
        if (!find) return;
        int count = 0;
        wchar_t oldest[MAX_PATH] = L"";
        do {
            ++count;
            if (!oldest[0] || wcscmp(found.cFileName, oldest) < 0) wcscpy_s(oldest, found.cFileName);
        } while (FindNextFileW(find.get(), &found));
        if (count < keep) return;
        wchar_t path[MAX_PATH];
        swprintf(path, MAX_PATH, L"%ls\\%ls", folder, oldest);
        if (!DeleteFileW(path)) return;
    }
}

LONG WINAPI WriteCrashReport(EXCEPTION_POINTERS* fault) {
    wchar_t folder[MAX_PATH];
    if (!ReportFolder(folder)) return EXCEPTION_CONTINUE_SEARCH;
    DeleteOldestReports(folder, kKeptCrashReports);
    SYSTEMTIME t;
    GetLocalTime(&t);
    wchar_t path[MAX_PATH];
    swprintf(path, MAX_PATH, L"%ls\\quennel-%04u%02u%02u-%02u%02u%02u.dmp", folder, t.wYear, t.wMonth, t.wDay,
             t.wHour, t.wMinute, t.wSecond);
    // The dump writer is loaded only now, and only from the system folder.
    const win::Module dbghelp(LoadLibraryExW(L"dbghelp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    const auto writeDump = reinterpret_cast<decltype(&MiniDumpWriteDump)>(
        reinterpret_cast<void*>(dbghelp ? GetProcAddress(dbghelp.get(), "MiniDumpWriteDump") : nullptr));
    win::File file(
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!writeDump || !file) return EXCEPTION_CONTINUE_SEARCH;
    MINIDUMP_EXCEPTION_INFORMATION exception{GetCurrentThreadId(), fault, FALSE};
    if (!writeDump(GetCurrentProcess(), GetCurrentProcessId(), file.get(), MiniDumpNormal, &exception,
                   nullptr, nullptr)) {
        file.reset();
        DeleteFileW(path); // nothing half-written is left
    }
    return EXCEPTION_CONTINUE_SEARCH; // the system ends the program and reports the fault as ever
}

} // namespace

void WatchForCrashes(const wchar_t* restartSwitch) {
    SetUnhandledExceptionFilter(WriteCrashReport);
    RegisterApplicationRestart(restartSwitch, 0);
}
