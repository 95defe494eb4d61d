#include "framework/Win32.h"

#include <algorithm>

#include <delayimp.h>

namespace win {

namespace {
long g_liveGdi = 0; // GUI-thread only: GDI objects belong to the thread's paints
}

long LiveGdiObjects() {
    return g_liveGdi;
}
void NoteGdiCreated() {
    ++g_liveGdi;
}
void NoteGdiReleased() {
    --g_liveGdi;
}

MemoryDC::MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {
    if (dc_) NoteGdiCreated();
}
MemoryDC::~MemoryDC() {
    if (dc_) {
        DeleteDC(dc_);
        NoteGdiReleased();
    }
}

WindowDC::WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {
    if (dc_) NoteGdiCreated();
}
WindowDC::~WindowDC() {
    if (dc_) {
        ReleaseDC(hwnd_, dc_);
        NoteGdiReleased();
    }
}

std::wstring ToWide(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string FromWide(std::wstring_view text, UINT codePage) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

std::wstring ToWide(std::string_view utf8) {
    return ToWide(utf8, CP_UTF8);
}
std::string ToUtf8(std::wstring_view text) {
    return FromWide(text, CP_UTF8);
}

std::wstring WindowText(HWND h) {
    int n = GetWindowTextLengthW(h);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(h, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

std::wstring SystemErrorText(DWORD code) {
    wchar_t* buf = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    std::wstring text = n ? std::wstring(buf, n) : std::wstring();
    if (buf) LocalFree(buf);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    // Some system libraries load theirs on first use by a search that, under Wine, still starts in the
    // program's folder whatever the default directories say (the common controls' delay imports: msimg32
    // for drawing, uxtheme for the combo box's theme). Those loaded from the system folder here first are
    // then found already loaded.
    for (const wchar_t* theirs : {L"msimg32.dll", L"uxtheme.dll"})
        if (!GetModuleHandleW(theirs)) LoadLibraryExW(theirs, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

namespace {
// Called by the delay-load helper before it loads a library itself; a module returned here is used
// instead. The names are the import table's, plain ASCII.
FARPROC WINAPI LoadDelayedFromSystemFolder(unsigned notice, PDelayLoadInfo info) {
    if (notice != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
    std::wstring name(info->szDll, info->szDll + strlen(info->szDll));
    return reinterpret_cast<FARPROC>(LoadSystemLibrary(name.c_str()));
}
} // namespace

#ifdef _MSC_VER
} // namespace win
// The Visual C++ helper reads a constant hook that the program defines.
extern "C" const PfnDliHook __pfnDliNotifyHook2 = win::LoadDelayedFromSystemFolder;
namespace win {
void LoadDelayedLibrariesFromSystemFolder() {}
#else
// The MinGW-w64 helper keeps its hook in a variable of its own, set before the first delayed call.
void LoadDelayedLibrariesFromSystemFolder() {
    __pfnDliNotifyHook2 = LoadDelayedFromSystemFolder;
}
#endif

} // namespace win
