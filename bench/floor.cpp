// The floor for the benchmarks: one window of the about card's size, one paint, nothing else. Started
// with "clipboard" it also joins the clipboard viewer chain and shows each new text in a text box, the
// least a clipboard viewer can do; with "ticking" it shows the time in a focused read-only text box,
// renewed every second, the least a clock window can do.
#include <windows.h>

namespace {
HWND g_next = nullptr, g_text = nullptr;

void ShowClipboardText() {
    if (!OpenClipboard(nullptr)) return;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
            SetWindowTextW(g_text, p);
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
}

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
        EndPaint(h, &ps);
        return 0;
    }
    case WM_TIMER: {
        SYSTEMTIME t;
        GetLocalTime(&t);
        wchar_t line[64];
        wsprintfW(line, L"%04d-%02d-%02d %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
        SetWindowTextW(g_text, line);
        return 0;
    }
    case WM_DRAWCLIPBOARD:
        if (g_text) ShowClipboardText();
        if (g_next) SendMessageW(g_next, m, w, l);
        return 0;
    case WM_CHANGECBCHAIN:
        if (reinterpret_cast<HWND>(w) == g_next)
            g_next = reinterpret_cast<HWND>(l);
        else if (g_next)
            SendMessageW(g_next, m, w, l);
        return 0;
    case WM_CLOSE:
        if (g_text) ChangeClipboardChain(h, g_next);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}
} // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR cmd, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.lpszClassName = L"QuennelFloor";
    RegisterClassW(&wc);
    RECT r{0, 0, 306, 196};
    AdjustWindowRect(&r, WS_CAPTION, FALSE);
    HWND w = CreateWindowW(L"QuennelFloor", L"Floor", WS_POPUP | WS_CAPTION, 100, 100, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, inst, nullptr);
    if (cmd && wcsstr(cmd, L"clipboard")) {
        g_text = CreateWindowW(L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, 0, 0, 306,
                               196, w, nullptr, inst, nullptr);
        g_next = SetClipboardViewer(w);
    }
    const bool ticking = cmd && wcsstr(cmd, L"ticking");
    if (ticking) {
        g_text = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_READONLY, 8, 16,
                                 241, 24, w, nullptr, inst, nullptr);
        SetTimer(w, 1, 1000, nullptr);
    }
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    if (ticking) SetFocus(g_text); // first in tab order, like the clock window's line
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
