// Figures of the resident quennel.exe (its card confirmed, only the tray icon left) against the floor
// program. Usage: resident [samples] [idle seconds]. Prints, one per line:
// - the program's CPU time over the idle seconds, resident and again with the date-and-time window open,
//   and the floor's with a focused text box renewed every second;
// - the medians of the floor's time to answer a message sent from another process, of a tray click to
//   the quick-action menu on screen, and of a clipboard change made by this (another) process to the
//   clipboard window showing the new text, for Quennel and for the floor's bare viewer (a text box
//   without scroll bars, alone in the viewer chain).
#include "BenchSupport.h"

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
    wchar_t buf[256] = L"";
    DWORD_PTR ignored;
    SendMessageTimeoutW(w, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 1000, &ignored);
    return buf;
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

    // The bare viewer alone in the chain first: Quennel's joins when its clipboard window first opens.
    std::vector<double> floorAnswer, floorClip, menu, clip;
    for (int i = 0; i < samples; ++i) {
        double bare = ClipboardLatency(floorWindow, L"floor " + std::to_wstring(i));
        if (bare >= 0) floorClip.push_back(bare);
        Sleep(50);
    }
    for (int i = 0; i < samples; ++i) {
        double t0 = NowMs();
        SendMessageW(floorWindow, WM_NULL, 0, 0);
        floorAnswer.push_back(NowMs() - t0);

        t0 = NowMs();
        HWND m = q.OpenMenu();
        if (m) menu.push_back(NowMs() - t0);
        if (m) PostKey(m, VK_ESCAPE);
        SpinUntil([&] { return !VisibleWindowOfClass(q.pi.dwProcessId, L"#32768"); });
        Sleep(50);
    }
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
    Close(floorProcess);

    printf("idle_cpu_percent_of_one_core resident %.3f date_time_window_open %.3f over %d s (goal < 0.1)\n",
           idleResident, idleDateTime, idleSeconds);
    printf("idle_cpu_percent_of_one_core floor_ticking_text_box %.3f over %d s\n", idleTicking, idleSeconds);
    printf("samples %d\n", samples);
    printf("floor_answer_ms %.2f\n", Median(floorAnswer));
    printf("tray_click_to_menu_ms %.2f (%zu shown) above_floor %.2f (goal <= 5)\n", Median(menu), menu.size(),
           Median(menu) - Median(floorAnswer));
    printf("clipboard_change_to_view_ms quennel %.2f (%zu shown) above_floor %.2f (goal <= 5)\n",
           Median(clip), clip.size(), Median(clip) - Median(floorAnswer));
    printf("clipboard_change_to_view_ms bare_viewer %.2f (%zu shown)\n", Median(floorClip), floorClip.size());
    return 0;
}
