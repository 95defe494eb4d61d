#include "tests/support/Outside.h"

#include "framework/Win32.h"

#include <algorithm>

namespace outside {

HWND TopWindow(DWORD pid, const wchar_t* className, const wchar_t* caption, bool visibleOnly) {
    struct Find {
        DWORD pid;
        const wchar_t *cls, *caption;
        bool visibleOnly;
        HWND found;
    } f{pid, className, caption, visibleOnly, nullptr};
    EnumWindows(
        [](HWND h, LPARAM l) -> BOOL {
            auto* find = reinterpret_cast<Find*>(l);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner != find->pid || (find->visibleOnly && !IsWindowVisible(h))) return TRUE;
            wchar_t buf[256];
            if (find->cls && (!GetClassNameW(h, buf, 256) || wcscmp(buf, find->cls) != 0)) return TRUE;
            if (find->caption && win::WindowText(h) != find->caption) return TRUE;
            find->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}

HWND Descendant(HWND top, const wchar_t* name, bool byText) {
    struct Find {
        const wchar_t* name;
        bool byText;
        HWND found;
    } f{name, byText, nullptr};
    EnumChildWindows(
        top,
        [](HWND h, LPARAM l) -> BOOL {
            auto* find = reinterpret_cast<Find*>(l);
            if (find->byText) {
                if (win::WindowText(h) != find->name) return TRUE;
            } else {
                wchar_t cls[256];
                if (!GetClassNameW(h, cls, 256) || _wcsicmp(cls, find->name) != 0) return TRUE;
            }
            find->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}

std::wstring WindowText(HWND w, int limit) {
    std::wstring text(static_cast<size_t>(std::max(limit, 0)) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!w || !SendMessageTimeoutW(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                                   SMTO_ABORTIFHUNG, 1000, &copied))
        return {};
    text.resize(std::min<size_t>(copied, text.size() - 1));
    return text;
}

void PostKey(HWND w, WPARAM vk) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(w, WM_KEYDOWN, vk, 1 | scan);
    PostMessageW(w, WM_KEYUP, vk, 1 | scan | static_cast<LPARAM>(0xC0000000u));
}

} // namespace outside
