#include "tests/support/Outside.h"

#include "framework/Win32.h"

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
            auto* f = reinterpret_cast<Find*>(l);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner != f->pid || (f->visibleOnly && !IsWindowVisible(h))) return TRUE;
            wchar_t buf[256];
            if (f->cls && (!GetClassNameW(h, buf, 256) || wcscmp(buf, f->cls) != 0)) return TRUE;
            if (f->caption && win::WindowText(h) != f->caption) return TRUE;
            f->found = h;
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
            auto* f = reinterpret_cast<Find*>(l);
            if (f->byText) {
                if (win::WindowText(h) != f->name) return TRUE;
            } else {
                wchar_t cls[256];
                if (!GetClassNameW(h, cls, 256) || _wcsicmp(cls, f->name) != 0) return TRUE;
            }
            f->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}

void PostKey(HWND w, WPARAM vk) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(w, WM_KEYDOWN, vk, 1 | scan);
    PostMessageW(w, WM_KEYUP, vk, 1 | scan | static_cast<LPARAM>(0xC0000000u));
}

} // namespace outside
