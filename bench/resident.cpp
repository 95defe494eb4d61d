// Figures of the resident quennel.exe (its card confirmed, only the tray icon left) against the floor
// program doing the same work. Usage: resident [samples] [idle seconds]. Prints rows of the figures
// table: the program's CPU time over the idle seconds, resident, and with the date-and-time window open
// beside the floor's focused text box renewed every second; the medians of a tray click to the
// quick-action menu on screen, beside the floor tracking the same menu on the same message; and of a
// clipboard change made by this (another) process to the clipboard window showing the new text, beside
// the floor's viewer with the same text box.
#include "bench/BenchSupport.h"
#include "framework/Win32.h"

#include <cstdio>

namespace {

using namespace bench;

// The quick-action items used here, counted from the top.
constexpr int kDateTimeItem = 1, kClipboardItem = 2;

void SetClipboardText(const std::wstring& text) {
    while (!OpenClipboard(nullptr))
        Sleep(1);
    EmptyClipboard();
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(mem), text.c_str(), bytes);
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
}

std::wstring TextOf(HWND w) {
    return outside::WindowText(w, 256);
}

// Milliseconds from a clipboard change made here to the viewer's text box showing it, or -1.
double ClipboardLatency(HWND top, const std::wstring& text) {
    HWND box = Descendant(top, L"Edit");
    double t0 = NowMs();
    SetClipboardText(text);
    bool shown = SpinUntil([&] {
        if (!IsWindow(box)) box = Descendant(top, L"Edit"); // a viewer may make a new box
        return box && TextOf(box) == text;
    });
    return shown ? NowMs() - t0 : -1;
}

// The program's share of one processor over the seconds, in percent (-1 when it cannot be read).
double CpuPercent(const PROCESS_INFORMATION& pi, const std::wstring& exePath, int seconds) {
    double before = CpuSeconds(pi.hProcess, exePath);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    double after = CpuSeconds(pi.hProcess, exePath);
    return before < 0 || after < 0 ? -1 : 100.0 * (after - before) / seconds;
}

} // namespace

int main(int argc, char** argv) {
    int samples = argc > 1 ? std::max(3, atoi(argv[1])) : 50;
    int idleSeconds = argc > 2 ? std::max(1, atoi(argv[2])) : 60;

    std::wstring floorFolder = RunFolder(L"resident-floor"), quennelFolder = RunFolder(L"resident-quennel");
    PROCESS_INFORMATION floorProcess =
        Launch(Install(Beside(L"floor.exe"), floorFolder), floorFolder, L"clipboard");
    HWND floorWindow = nullptr;
    SpinUntil(
        [&] { return (floorWindow = FindWindowOf(floorProcess.dwProcessId, L"QuennelFloor", nullptr)); });
    TrayProgram q;
    std::wstring quennelExe = Install(Beside(L"quennel.exe"), quennelFolder);
    q.pi = Launch(quennelExe, quennelFolder);
    HWND card = nullptr;
    SpinUntil([&] { return (card = FindWindowOf(q.pi.dwProcessId, L"QuennelWindow", L"Quennel")); });
    q.tray = FindWindowOf(q.pi.dwProcessId, L"QuennelUtilWindow", L"TTrayIcon", false);
    HWND ok = card ? Descendant(card, L"\x786e\x5b9a", true) : nullptr; // the OK button's caption
    if (!floorWindow || !card || !q.tray || !ok) {
        fprintf(stderr, "the programs did not start as expected\n");
        Close(q.pi); // neither is left running behind a failed run
        Close(floorProcess);
        return 1;
    }
    PostKey(ok, VK_SPACE); // confirms the card: the program goes to the tray
    SpinUntil([&] { return !IsWindowVisible(card); });
    Sleep(1000);

    double idleResident = CpuPercent(q.pi, quennelExe, idleSeconds);
    q.Choose(kDateTimeItem);
    HWND dateTime = nullptr;
    SpinUntil([&] {
        return (dateTime = FindWindowOf(q.pi.dwProcessId, nullptr, L"\x5f53\x524d\x65e5\x671f\x65f6\x95f4"));
    });
    Sleep(1000);
    double idleDateTime = dateTime ? CpuPercent(q.pi, quennelExe, idleSeconds) : -1;
    if (dateTime) PostMessageW(dateTime, WM_CLOSE, 0, 0);
    // The floor for that: a window with a focused text box renewed every second, and nothing else.
    std::wstring tickingFolder = RunFolder(L"resident-ticking");
    std::wstring tickingExe = Install(Beside(L"floor.exe"), tickingFolder);
    PROCESS_INFORMATION ticking = Launch(tickingExe, tickingFolder, L"ticking");
    Sleep(2000);
    double idleTicking = CpuPercent(ticking, tickingExe, idleSeconds);
    Close(ticking);

    // The floor's clipboard viewer alone in the chain first; then the menus, the floor's and Quennel's in
    // turn; then Quennel's clipboard window, with the floor gone from the chain (a viewer passes each
    // change on and would wait for the floor).
    std::vector<double> floorClip, floorMenu, menu, clip;
    for (int i = 0; i < samples; ++i) {
        double shown = ClipboardLatency(floorWindow, L"floor " + std::to_wstring(i));
        if (shown >= 0) floorClip.push_back(shown);
        Sleep(50);
    }
    TrayProgram floorTray{floorProcess, floorWindow};
    for (int i = 0; i < samples; ++i)
        for (const TrayProgram* p :
             {static_cast<const TrayProgram*>(&floorTray), static_cast<const TrayProgram*>(&q)}) {
            double t0 = NowMs();
            HWND m = p->OpenMenu();
            if (m) (p == &q ? menu : floorMenu).push_back(NowMs() - t0);
            if (m) PostKey(m, VK_ESCAPE);
            SpinUntil([&] { return !VisibleWindowOfClass(p->pi.dwProcessId, L"#32768"); });
            Sleep(50);
        }
    Close(floorProcess);
    q.Choose(kClipboardItem);
    HWND viewer = nullptr;
    SpinUntil([&] {
        return (viewer =
                    FindWindowOf(q.pi.dwProcessId, nullptr, L"\x7cfb\x7edf\x5f53\x524d\x526a\x8d34\x677f"));
    });
    for (int i = 0; viewer && i < samples; ++i) {
        double shown = ClipboardLatency(viewer, L"resident " + std::to_wstring(i));
        if (shown >= 0) clip.push_back(shown);
        Sleep(50);
    }
    Close(q.pi);

    const std::string over = " (% of a core over " + std::to_string(idleSeconds) + " s)";
    const std::string median = " (ms, median of " + std::to_string(samples) + ")";
    Row("idle CPU, tray icon only" + over, idleResident, -1, Goal::Below, 0.1);
    Row("idle CPU, date-and-time window open" + over, idleDateTime, idleTicking, Goal::Times, 1.2);
    Row("tray click to quick-action menu shown" + median, menu.size() == size_t(samples) ? Median(menu) : -1,
        Median(floorMenu), Goal::Times, 1.2);
    Row("clipboard change to text shown" + median, clip.size() == size_t(samples) ? Median(clip) : -1,
        Median(floorClip), Goal::Times, 1.2);
    return 0;
}
