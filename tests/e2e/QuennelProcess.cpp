#include "tests/e2e/QuennelProcess.h"

#include "tests/support/Outside.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

namespace e2e {

namespace {
// A file beside the test program (bin\\...).
std::wstring Built(const std::wstring& name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}
std::wstring BuiltProgram() {
    return Built(L"quennel.exe");
}

const wchar_t* const kPlanted[] = {L"msimg32", L"uxtheme",  L"version", L"dwmapi",    L"winmm",  L"oleacc",
                                   L"propsys", L"comctl32", L"userenv", L"cryptbase", L"profapi"};
// Not version.dll: Wine loads it from the folder for every program before the program's first line and
// then calls it, and the stand-in has none of its functions.
bool Overridable(const wchar_t* name) {
    return std::wstring(name) != L"version";
}
} // namespace

QuennelProcess::QuennelProcess(const test::TempDir& dir, const std::wstring& exeName,
                               const std::wstring& arguments) {
    std::wstring exe = dir.File(exeName);
    // A file already there (a copy started before) is started as it is.
    if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES &&
        !CopyFileW(BuiltProgram().c_str(), exe.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy quennel.exe: " << GetLastError();
        return;
    }
    std::wstring cmd = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(), &si,
                        &pi)) {
        ADD_FAILURE() << "cannot start quennel.exe: " << GetLastError();
        return;
    }
    CloseHandle(pi.hThread);
    process_.reset(pi.hProcess);
    pid_ = pi.dwProcessId;
    WaitForInputIdle(pi.hProcess, 15000);
}

QuennelProcess::~QuennelProcess() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

HWND QuennelProcess::FindWindow(const wchar_t* cls, const wchar_t* caption, bool visibleOnly) const {
    return outside::TopWindow(pid_, cls, caption, visibleOnly);
}

HWND QuennelProcess::WaitForWindow(const wchar_t* cls, const wchar_t* caption, DWORD boundMs) const {
    HWND h = nullptr;
    test::PumpUntil([&] { return (h = FindWindow(cls, caption)) != nullptr; }, boundMs);
    return h;
}

HWND QuennelProcess::TrayWindow() const {
    return FindWindow(L"QuennelUtilWindow", L"TTrayIcon", false);
}

bool QuennelProcess::ShellKnowsIcon(HWND w) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = w;
    nid.uID = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

DWORD QuennelProcess::WaitForExit(DWORD boundMs) {
    if (!process_) return STILL_ACTIVE;
    test::PumpUntil([&] { return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }, boundMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

std::wstring BoxText(HWND edit) {
    return outside::WindowText(edit);
}

HWND FindChildByText(HWND parent, const wchar_t* text) {
    return outside::Descendant(parent, text, true);
}

std::wstring DialogText(HWND box) {
    std::wstring text;
    EnumChildWindows(
        box,
        [](HWND h, LPARAM l) -> BOOL {
            wchar_t cls[32];
            GetClassNameW(h, cls, 32);
            if (_wcsicmp(cls, L"Static") == 0) {
                wchar_t buf[512];
                if (GetWindowTextW(h, buf, 512) > 0) *reinterpret_cast<std::wstring*>(l) += buf;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

DWORD RunToEnd(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring cmd = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return static_cast<DWORD>(-1);
    win::Handle process(pi.hProcess), thread(pi.hThread);
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.get(), 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.get(), &code);
    return code;
}

void PostClick(HWND tray, UINT button) {
    POINT p{};
    GetCursorPos(&p);
    PostMessageW(tray, WM_USER + 1, 0, button);
    PostMessageW(tray, WM_USER + 1, MAKEWPARAM(p.x, p.y),
                 MAKELPARAM(button == WM_RBUTTONUP ? WM_CONTEXTMENU : NIN_SELECT, 0));
}

HWND OpenMenu(const QuennelProcess& q, HWND tray, UINT button) {
    PostClick(tray, button);
    return q.WaitForWindow(L"#32768", nullptr, 5000);
}

void ChooseByKeys(const QuennelProcess& q, HWND tray, UINT button, int index) {
    ASSERT_NE(OpenMenu(q, tray, button), nullptr);
    for (int i = 0; i <= index; ++i)
        test::SendKey(VK_DOWN);
    test::SendKey(VK_RETURN);
}

void ConfirmCard(HWND card, HWND tray) {
    test::SendKey(VK_SPACE);
    ASSERT_TRUE(test::PumpUntil([&] { return !IsWindowVisible(card); }));
    ASSERT_TRUE(test::PumpUntil([&] { return QuennelProcess::ShellKnowsIcon(tray); }));
}

PlantedFolder::PlantedFolder(const std::wstring& folder, const wchar_t* bareProgram) : folder_(folder) {
    for (const wchar_t* name : kPlanted) {
        std::wstring file = std::wstring(name) + L".dll";
        if (!CopyFileW(Built(L"planted\\" + file).c_str(), (folder + L"\\" + file).c_str(), FALSE))
            ADD_FAILURE() << "cannot plant " << win::ToUtf8(file) << ": " << GetLastError();
    }
    std::wstring exe = folder_ + L"\\" + bareProgram;
    EXPECT_TRUE(CopyFileW(Built(std::wstring(L"planted\\") + bareProgram).c_str(), exe.c_str(), FALSE));
    PreferPlanted prefer{bareProgram};
    EXPECT_EQ(RunToEnd(exe, L""), 0u) << win::ToUtf8(bareProgram);
    DeleteFileW(exe.c_str());
    baseline_ = TakeMarks();
}

std::vector<std::wstring> PlantedFolder::TakeMarks() const {
    std::vector<std::wstring> loaded;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder_ + L"\\*.mark").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return loaded;
    do {
        std::wstring mark = found.cFileName;
        DeleteFileW((folder_ + L"\\" + mark).c_str());
        mark.resize(mark.size() - 5);
        CharLowerW(mark.data());
        loaded.push_back(mark);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    std::sort(loaded.begin(), loaded.end());
    return loaded;
}

std::wstring PlantedFolder::LoadedBeyondBaseline(const char* who) {
    std::wstring all, bare, extra;
    for (const auto& n : TakeMarks()) {
        all += n + L" ";
        if (std::find(baseline_.begin(), baseline_.end(), n) == baseline_.end()) extra += n + L" ";
    }
    for (const auto& n : baseline_)
        bare += n + L" ";
    std::cout << who << " loaded from its folder: " << win::ToUtf8(all)
              << "(a bare program: " << win::ToUtf8(bare) << ")\n";
    return extra;
}

PreferPlanted::PreferPlanted(std::initializer_list<const wchar_t*> programs) {
    for (const wchar_t* program : programs) {
        keys_.push_back(std::wstring(L"Software\\Wine\\AppDefaults\\") + program);
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, (keys_.back() + L"\\DllOverrides").c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot set the library overrides";
            continue;
        }
        static const wchar_t order[] = L"native,builtin";
        for (const wchar_t* name : kPlanted)
            if (Overridable(name))
                RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
        RegCloseKey(key);
    }
}

PreferPlanted::~PreferPlanted() {
    for (const auto& key : keys_)
        RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

namespace {
// Wine's overrides as they are, with the planted libraries preferred.
std::wstring WithPlantedPreferred() {
    wchar_t before[1024] = L"";
    GetEnvironmentVariableW(L"WINEDLLOVERRIDES", before, 1024);
    std::wstring names;
    for (const wchar_t* name : kPlanted)
        if (Overridable(name)) names += (names.empty() ? L"" : L",") + std::wstring(name);
    return (before[0] ? std::wstring(before) + L";" : L"") + names + L"=n,b";
}
} // namespace

PreferPlantedInEnvironment::PreferPlantedInEnvironment()
    : test::ScopedEnvironment(L"WINEDLLOVERRIDES", WithPlantedPreferred()) {}

} // namespace e2e
