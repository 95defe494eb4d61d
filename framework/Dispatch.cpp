#include "framework/Dispatch.h"

#include "framework/Classes.h"
#include "framework/Win32.h"

namespace {
// The program's side of dispatch, installed by the application object (which it is).
TDispatchHost* g_host = nullptr;
} // namespace

// The linker's name for the start of this module's image.
extern "C" IMAGE_DOS_HEADER __ImageBase; // NOLINT(bugprone-reserved-identifier)
HINSTANCE ModuleInstance() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

void SetDispatchHost(TDispatchHost* host) {
    g_host = host;
}

TDispatchHost* DispatchHost() {
    return g_host;
}

void ReportDispatchError() {
    std::wstring message;
    try {
        throw;
    } catch (const Exception& e) {
        message = e.Message();
    } catch (const std::exception& e) {
        message = win::ToWide(e.what());
    } catch (...) {
        message = L"Unknown error";
    }
    if (g_host) g_host->HandleException(message);
}

void RegisterClassOnce(const wchar_t* name, UINT style, const wchar_t* cursor) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(ModuleInstance(), name, &wc)) return;
    wc.style = style;
    wc.lpfnWndProc = &TargetWindowProc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = cursor ? LoadCursorW(nullptr, cursor) : nullptr;
    wc.lpszClassName = name;
    wc.hIcon = g_host ? g_host->ProgramIcon() : nullptr;
    RegisterClassExW(&wc);
}

HWND CreateTargetWindow(TMessageTarget& target, const TWindowSpec& params, bool subclass) {
    HWND h = CreateWindowExW(params.exStyle, params.className, params.caption, params.style, params.x,
                             params.y, params.width, params.height, params.parent, params.menu,
                             ModuleInstance(), subclass ? nullptr : &target);
    const DWORD error = GetLastError();
    // Under Wine a refused window can come back as a handle that is no window.
    if (!h || !IsWindow(h)) throw Exception(L"Error creating window: " + win::SystemErrorText(error));
    if (subclass) SubclassToTarget(h, &target);
    return h;
}

// ---- the window procedure ---------------------------------------------------------------------------

namespace {
// The one place a window keeps its object: the window's user data.
void KeepTarget(HWND h, TMessageTarget* target) {
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(target));
}
} // namespace

LRESULT TMessageTarget::DefaultProc(HWND h, const TMessage& m) const {
    if (ownProc_) return CallWindowProcW(ownProc_, h, m.Msg, m.WParam, m.LParam);
    return DefWindowProcW(h, m.Msg, m.WParam, m.LParam);
}

void SubclassToTarget(HWND h, TMessageTarget* target) {
    KeepTarget(h, target);
    target->ownProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TargetWindowProc)));
    target->WindowAttached(h);
}

TMessageTarget* TargetOf(HWND h) {
    if (!h || reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC)) != &TargetWindowProc)
        return nullptr;
    return reinterpret_cast<TMessageTarget*>(GetWindowLongPtrW(h, GWLP_USERDATA));
}

LRESULT CALLBACK TargetWindowProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    TMessageTarget* target = nullptr;
    if (msg == WM_NCCREATE) {
        target = static_cast<TMessageTarget*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        if (target) {
            KeepTarget(h, target);
            target->ownProc_ = nullptr;
            target->WindowAttached(h);
        }
    } else {
        target = reinterpret_cast<TMessageTarget*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    }
    if (!target) return DefWindowProcW(h, msg, w, l);
    TMessage m{msg, w, l, 0};
    try {
        target->WndProc(m);
    } catch (...) {
        ReportDispatchError(); // no exception crosses the window procedure
    }
    if (msg == WM_NCDESTROY) {
        KeepTarget(h, nullptr);
        if (target->ownProc_) {
            SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(target->ownProc_));
            target->ownProc_ = nullptr;
        }
        target->WindowDetached(h);
    }
    return m.Result;
}
