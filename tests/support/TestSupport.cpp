#include "tests/support/TestSupport.h"

#include "components/ZarTClipboard.h"
#include "framework/Streams.h"

#include <shellapi.h>

#include <cstring>

#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <iterator>

namespace test {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD boundMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > boundMs) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Pump();
    }
    return true;
}

bool RunUntil(const std::function<bool()>& condition, DWORD boundMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > boundMs) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Application->ProcessMessages();
    }
    return true;
}

BOOL RecordingShell::NotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
    notify.push_back({message, *data});
    calls.push_back(L"NotifyIcon " + std::to_wstring(message));
    return notifyResult;
}

BOOL RecordingShell::ShellExecuteInfo(SHELLEXECUTEINFOW* info) {
    auto text = [](const wchar_t* p) { return p ? std::wstring(p) : std::wstring(); };
    executes.push_back({*info, !info->lpVerb, !info->lpFile, !info->lpParameters, !info->lpDirectory,
                        text(info->lpVerb), text(info->lpFile), text(info->lpParameters),
                        text(info->lpDirectory)});
    calls.push_back(L"ShellExecuteEx " + text(info->lpFile));
    info->hProcess = processToReturn;
    return executeResult;
}

HINSTANCE RecordingShell::ShellOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* params,
                                    const wchar_t* dir, int show) {
    auto s = [](const wchar_t* p) { return p ? std::wstring(L"\"") + p + L"\"" : std::wstring(L"null"); };
    calls.push_back(L"ShellExecute " + s(verb) + L" " + s(file) + L" " + s(params) + L" " + s(dir) + L" " +
                    std::to_wstring(show));
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

BOOL RecordingShell::StartProcess(const wchar_t* commandLine, int show) {
    calls.push_back(std::wstring(L"StartProcess ") + commandLine + L" " + std::to_wstring(show));
    return TRUE;
}

DWORD RecordingShell::WaitForProcess(HANDLE, DWORD ms) {
    calls.push_back(L"WaitForProcess " + std::to_wstring(ms));
    return WAIT_OBJECT_0;
}

BOOL RecordingShell::EndSession(UINT flags, DWORD reason) {
    calls.push_back(L"ExitWindows " + std::to_wstring(flags));
    reasons.push_back(reason);
    if (!endSessionResult) SetLastError(endSessionError);
    return endSessionResult;
}

BOOL RecordingShell::SetPrivilege(const wchar_t* name, bool enable) {
    calls.push_back(std::wstring(L"SetPrivilege ") + name + (enable ? L" on" : L" off"));
    SetLastError(ERROR_SUCCESS); // as the real adjustment does on success
    return TRUE;
}

BOOL RecordingShell::CursorPos(POINT* pt) {
    calls.push_back(L"CursorPos");
    *pt = cursor;
    return TRUE;
}

namespace {
struct Watch {
    std::wstring caption;
    std::function<void(HWND)> action;
};
UINT_PTR g_watchTimer = 0;
std::vector<Watch>& Watches() {
    static std::vector<Watch> watches;
    return watches;
}
HWND FindThreadWindow(const std::wstring& caption) {
    struct Find {
        const std::wstring* caption;
        HWND found;
    } f{&caption, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM l) -> BOOL {
            auto* find = reinterpret_cast<Find*>(l);
            wchar_t buf[256];
            // A name starting with "#" is a system class (#32768 menus, #32770 dialogs).
            if ((*find->caption)[0] == L'#')
                GetClassNameW(h, buf, 256);
            else
                GetWindowTextW(h, buf, 256);
            if (IsWindowVisible(h) && *find->caption == buf) {
                find->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}
void CALLBACK WatchTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto& watches = Watches();
    for (size_t i = 0; i < watches.size(); ++i)
        if (HWND h = FindThreadWindow(watches[i].caption)) {
            auto action = std::move(watches[i].action);
            watches.erase(watches.begin() + static_cast<std::ptrdiff_t>(i));
            if (watches.empty()) {
                KillTimer(nullptr, id);
                g_watchTimer = 0;
            }
            action(h);
            return;
        }
}
} // namespace

void WhenWindowAppears(const std::wstring& caption, std::function<void(HWND)> action) {
    Watches().push_back({caption, std::move(action)});
    if (!g_watchTimer) g_watchTimer = SetTimer(nullptr, 0, 30, &WatchTimer);
}

void PostKey(HWND w, WPARAM vk) {
    UINT scan = MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
    PostMessageW(w, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageW(w, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

namespace {
// Opens the clipboard, waiting while another program holds it for a moment (a viewer reading it, or
// the platform's clipboard service copying it out), as a program using it would.
void OpenClipboardWaiting(std::optional<win::ClipboardOpen>& open) {
    DWORD start = GetTickCount();
    for (open.emplace(nullptr); !open->opened(); open.emplace(nullptr)) {
        if (GetTickCount() - start > 5000)
            throw std::runtime_error("the clipboard stays held by another program");
        Sleep(1);
    }
}
} // namespace

HGLOBAL GlobalCopy(const void* data, size_t bytes) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(mem), data, bytes);
    GlobalUnlock(mem);
    return mem;
}

void ReplaceClipboard(const std::vector<std::pair<UINT, HANDLE>>& items) {
    std::optional<win::ClipboardOpen> open;
    OpenClipboardWaiting(open);
    EmptyClipboard();
    for (const auto& [format, data] : items)
        SetClipboardData(format, data);
}

void SetClipboardText(const std::wstring& text) {
    ReplaceClipboard({{CF_UNICODETEXT, GlobalCopy(text.c_str(), (text.size() + 1) * sizeof(wchar_t))}});
}

void SendKey(WORD vk, bool shift, bool ctrl) {
    std::vector<INPUT> in;
    auto key = [&](WORD k, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(k, MAPVK_VK_TO_VSC));
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    if (ctrl) key(VK_CONTROL, false);
    if (shift) key(VK_SHIFT, false);
    key(vk, false);
    key(vk, true);
    if (shift) key(VK_SHIFT, true);
    if (ctrl) key(VK_CONTROL, true);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void SendClick(POINT p, bool right) {
    INPUT in[3]{};
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        i.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    // The press and the release carry the place too: under Wine at a scaling other than 100 % the
    // pointer's echo from the X server can move the cursor elsewhere between the move and the press.
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags =
        MOUSEEVENTF_MOVE | (right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN) | MOUSEEVENTF_ABSOLUTE;
    in[2].mi.dwFlags =
        MOUSEEVENTF_MOVE | (right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP) | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, in, sizeof(INPUT));
}

bool BringToFront(HWND top) {
    SetForegroundWindow(top);
    return test::PumpUntil([&] { return GetForegroundWindow() == top; });
}

HWND FocusIn(HWND top) {
    GUITHREADINFO info{sizeof info};
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

void ClipboardStorm(int changes) {
    TLabel sample(nullptr);
    sample.SetCaption(L"stored");
    sample.SetBounds(0, 0, 50, 20);
    const std::string component = WriteComponent("TLabel", sample);
    win::WindowDC screen(nullptr);
    for (int i = 0; i < changes; ++i) {
        switch (i % 4) {
        case 0:
            SetClipboardText(L"storm " + std::to_wstring(i));
            break;
        case 1:
            ReplaceClipboard({{CF_BITMAP, CreateCompatibleBitmap(screen, 30 + i % 7, 20)}});
            break;
        case 2:
            ReplaceClipboard(
                {{TZarClipboard::ComponentFormat(), GlobalCopy(component.data(), component.size())}});
            break;
        default:
            ReplaceClipboard({});
            break;
        }
    }
}

win::Handle StartSelf(const std::wstring& arguments) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring cmd = L"\"" + std::wstring(self) + L"\" " + arguments;
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(self, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return {};
    CloseHandle(pi.hThread);
    return win::Handle(pi.hProcess);
}

bool PumpUntilExited(HANDLE process, DWORD boundMs) {
    DWORD code = 1;
    return PumpUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, boundMs) &&
           GetExitCodeProcess(process, &code) && code == 0;
}

std::wstring ClipboardText() {
    std::optional<win::ClipboardOpen> open;
    OpenClipboardWaiting(open);
    HANDLE h = GetClipboardData(CF_UNICODETEXT);
    auto* p = h ? static_cast<const wchar_t*>(GlobalLock(h)) : nullptr;
    std::wstring text = p ? p : L"";
    if (p) GlobalUnlock(h);
    return text;
}

TempDir::TempDir() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::wstring(base) + L"quennel-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
}

TempDir::~TempDir() {
    std::wstring from = path_ + L'\0'; // double-terminated list
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

ScopedEnvironment::ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name) {
    const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    had_ = n > 0;
    if (had_) {
        before_.resize(n);
        before_.resize(GetEnvironmentVariableW(name, before_.data(), n));
    }
    SetEnvironmentVariableW(name, value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironmentVariableW(name_, had_ ? before_.c_str() : nullptr);
}

} // namespace test
