// Start-up, footprint and idle figures of quennel.exe against the floor program, run alternately.
// Usage: startup [runs] [idle seconds]; prints one figure per line.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring Beside(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring p = self;
    return p.substr(0, p.find_last_of(L'\\') + 1) + name;
}

struct Sample {
    double startMs, workingSetMb, privateMb, idleCpuPercent;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Seconds(const FILETIME& f) {
    return (double(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e7;
}

// Starts the program in a folder of its own; the first paint is done when it first waits for input.
Sample Run(const std::wstring& exe, const std::wstring& folder, int idleSeconds) {
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring copy = folder + L"\\" + exe.substr(exe.find_last_of(L'\\') + 1);
    CopyFileW(exe.c_str(), copy.c_str(), FALSE);
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + copy + L"\"";
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(copy.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &pi))
        return {};
    WaitForInputIdle(pi.hProcess, 30000);
    QueryPerformanceCounter(&t1);
    Sleep(1000);
    PROCESS_MEMORY_COUNTERS_EX mem{};
    mem.cb = sizeof mem;
    GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem), sizeof mem);
    double idle = 0;
    if (idleSeconds > 0) {
        FILETIME c, e, k0, u0, k1, u1;
        GetProcessTimes(pi.hProcess, &c, &e, &k0, &u0);
        Sleep(static_cast<DWORD>(idleSeconds) * 1000);
        GetProcessTimes(pi.hProcess, &c, &e, &k1, &u1);
        idle = 100.0 * (Seconds(k1) - Seconds(k0) + Seconds(u1) - Seconds(u0)) / idleSeconds;
    }
    // End it as the system asks a program to close.
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
    return {1000.0 * double(t1.QuadPart - t0.QuadPart) / double(f.QuadPart), mem.WorkingSetSize / 1048576.0,
            mem.PrivateUsage / 1048576.0, idle};
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    int idleSeconds = argc > 2 ? atoi(argv[2]) : 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = std::wstring(temp) + L"quennel-bench";
    CreateDirectoryW(base.c_str(), nullptr);
    std::vector<double> qs, qw, qp, qi, fs, fw, fp;
    for (int i = 0; i < runs; ++i) { // alternating, so both see the same machine
        Sample q = Run(Beside(L"quennel.exe"), base + L"\\q" + std::to_wstring(i), idleSeconds);
        Sample fl = Run(Beside(L"floor.exe"), base + L"\\f" + std::to_wstring(i), 0);
        qs.push_back(q.startMs), qw.push_back(q.workingSetMb), qp.push_back(q.privateMb),
            qi.push_back(q.idleCpuPercent);
        fs.push_back(fl.startMs), fw.push_back(fl.workingSetMb), fp.push_back(fl.privateMb);
    }
    WIN32_FILE_ATTRIBUTE_DATA size{};
    GetFileAttributesExW(Beside(L"quennel.exe").c_str(), GetFileExInfoStandard, &size);
    printf("runs %d\n", runs);
    printf("startup_ms quennel %.1f floor %.1f ratio %.2f (goal <= 1.5)\n", Median(qs), Median(fs),
           Median(qs) / Median(fs));
    printf("working_set_mb quennel %.1f floor %.1f above_floor %.1f (goal <= 4)\n", Median(qw), Median(fw),
           Median(qw) - Median(fw));
    printf("private_mb quennel %.1f floor %.1f ratio %.2f\n", Median(qp), Median(fp),
           Median(qp) / std::max(0.01, Median(fp)));
    printf("exe_size_mb %.2f (goal < 1.5)\n", size.nFileSizeLow / 1048576.0);
    if (idleSeconds > 0)
        printf("idle_cpu_percent_of_one_core %.3f over %d s, card shown (goal < 0.1)\n", Median(qi),
               idleSeconds);
    return 0;
}
