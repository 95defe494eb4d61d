// The floor for the benchmarks: one window of the about card's size, one paint, nothing else. On the tray
// icon's callback message for a left click it tracks the quick-action menu's nine items at the same
// place, the same way. The words on its command line add the least a program can do for other figures:
// - "card": the card's texts in the card's fonts at their places (the least a program showing the card
//   does: its Chinese texts load the same CJK fonts);
// - "clipboard": a clipboard viewer of the clipboard window's size whose only child is a read-only
//   multi-line text box with both scroll bars in the same font, refilled with each new text;
// - "ticking": the time in a focused read-only text box, renewed every second, as a clock window.
#include <windows.h>

namespace {
HWND g_next = nullptr, g_text = nullptr;
bool g_card = false;

// The card's texts, each in its font at its place in the card's client area.
void PaintCardTexts(HDC dc) {
    struct Text {
        const wchar_t* text;
        const wchar_t* face;
        int weight;
        BYTE charset;
        RECT at;
    };
    static const Text texts[] = {
        {L"Quennel V1.0", L"宋体", FW_NORMAL, GB2312_CHARSET, {1, 1, 305, 41}},
        {L"软件作者：谭赛尔", L"MS Sans Serif", FW_BOLD, DEFAULT_CHARSET, {80, 56, 217, 73}},
        {L"E-mail:ts@qn.example", L"MS Sans Serif", FW_BOLD, DEFAULT_CHARSET, {48, 80, 257, 105}},
        {L"http://qn.example/~ts", L"MS Sans Serif", FW_BOLD, DEFAULT_CHARSET, {64, 104, 249, 129}},
        {L"中国上海市南京路100号 邮编200001", L"宋体", FW_NORMAL, GB2312_CHARSET, {17, 133, 289, 149}},
        {L"确定", L"宋体", FW_NORMAL, GB2312_CHARSET, {120, 160, 209, 190}},
    };
    SetBkMode(dc, TRANSPARENT);
    for (const Text& t : texts) {
        HFONT font = CreateFontW(-16, 0, 0, 0, t.weight, 0, 0, 0, t.charset, 0, 0, 0, 0, t.face);
        HGDIOBJ old = SelectObject(dc, font);
        RECT r = t.at;
        DrawTextW(dc, t.text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, old);
        DeleteObject(font);
    }
}
constexpr UINT kTrayCallback = WM_USER + 1;

void TrackQuickActionMenu(HWND owner) {
    static const wchar_t* const items[] = {L"运行记事本", L"日期和时间", L"打开剪贴板",
                                           L"贴个人信息", L"运行程序",   L"重新启动",
                                           L"重新登录",   L"关闭电脑",   L"返回系统"};
    HMENU menu = CreatePopupMenu();
    for (UINT i = 0; i < 9; ++i)
        AppendMenuW(menu, MF_STRING, i + 1, items[i]);
    SetForegroundWindow(owner);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                   GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

void ShowClipboardText(HWND viewer) {
    if (!OpenClipboard(viewer)) return;
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
        if (g_card) PaintCardTexts(dc);
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
    case kTrayCallback:
        if (l == WM_LBUTTONUP) TrackQuickActionMenu(h);
        return 0;
    case WM_DRAWCLIPBOARD:
        if (g_text) ShowClipboardText(h);
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
    const bool clipboard = cmd && wcsstr(cmd, L"clipboard");
    g_card = cmd && wcsstr(cmd, L"card");
    RECT r{0, 0, 306, 196};
    AdjustWindowRect(&r, WS_CAPTION, FALSE);
    HWND w = clipboard ? CreateWindowExW(WS_EX_TOOLWINDOW, L"QuennelFloor", L"Floor",
                                         WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 100, 100, 435,
                                         300, nullptr, nullptr, inst, nullptr)
                       : CreateWindowW(L"QuennelFloor", L"Floor", WS_POPUP | WS_CAPTION, 100, 100,
                                       r.right - r.left, r.bottom - r.top, nullptr, nullptr, inst, nullptr);
    if (clipboard) {
        RECT client;
        GetClientRect(w, &client);
        g_text = CreateWindowW(L"EDIT", L"",
                               WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                                   ES_AUTOHSCROLL | ES_AUTOVSCROLL,
                               0, 0, client.right, client.bottom, w, nullptr, inst, nullptr);
        HFONT song = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"宋体");
        SendMessageW(g_text, WM_SETFONT, reinterpret_cast<WPARAM>(song), FALSE);
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
