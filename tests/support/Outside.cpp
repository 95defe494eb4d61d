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

namespace {
// The interface's identity (the toolchain's import library gives it as code, not data).
constexpr GUID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::wstring Take(BSTR b) {
    std::wstring s = b ? b : L"";
    SysFreeString(b);
    return s;
}
} // namespace

VARIANT ChildId(long id) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

IAccessible* ClientObject(HWND w) {
    IAccessible* a = nullptr;
    if (FAILED(AccessibleObjectFromWindow(w, static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                          reinterpret_cast<void**>(&a))))
        return nullptr;
    return a;
}

ReadElement Read(IAccessible* object, long child) {
    ReadElement e;
    VARIANT role{}, state{};
    BSTR name = nullptr, action = nullptr;
    if (object->get_accRole(ChildId(child), &role) == S_OK) e.role = role.lVal;
    if (object->get_accState(ChildId(child), &state) == S_OK) e.state = state.lVal;
    object->get_accName(ChildId(child), &name);
    object->get_accDefaultAction(ChildId(child), &action);
    e.name = Take(name);
    e.action = Take(action);
    return e;
}

} // namespace outside
