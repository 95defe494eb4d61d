// Thin RAII owners for the Win32 handles the program uses, plus the text conversions at file boundaries.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

namespace win {

// Live count of GDI objects and DCs created through the owners below. GetGuiResources answers 0 under
// Wine, so leak tests read this count instead.
long LiveGdiObjects();
void NoteGdiCreated();
void NoteGdiReleased();

// Owns any HGDIOBJ (pen, brush, font, bitmap, region) and deletes it once.
template <typename H> class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H h) : h_(h) {
        if (h_) NoteGdiCreated();
    }
    ~GdiObject() { reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GdiObject& operator=(GdiObject&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    void reset(H h = nullptr) {
        if (h_) {
            DeleteObject(h_);
            NoteGdiReleased();
        }
        h_ = h;
        if (h_) NoteGdiCreated();
    }
    H release() { return std::exchange(h_, nullptr); }
    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    H h_ = nullptr;
};

using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

// Selects an object into a DC for the guard's lifetime and restores the previous one.
class SelectObjectGuard {
public:
    SelectObjectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectObjectGuard() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Saves the DC state and restores it when the guard goes.
class SaveDCGuard {
public:
    explicit SaveDCGuard(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
    ~SaveDCGuard() { RestoreDC(dc_, id_); }
    SaveDCGuard(const SaveDCGuard&) = delete;
    SaveDCGuard& operator=(const SaveDCGuard&) = delete;

private:
    HDC dc_;
    int id_;
};

// A memory DC compatible with another DC; deleted with the owner.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith);
    ~MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

// A window the program made and answers (a control's, a form's, a helper's): destroyed with its owner,
// unless the system destroyed it first (a parent's destruction takes its children), in which case the
// owner is told and forgets it.
class OwnedWindow {
public:
    OwnedWindow() = default;
    ~OwnedWindow() { Destroy(); }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;
    operator HWND() const { return h_; }
    HWND get() const { return h_; }
    void Attach(HWND h) { h_ = h; }
    void Forget() { h_ = nullptr; }
    void Destroy() {
        if (h_) DestroyWindow(h_); // its last message makes the owner forget it
        h_ = nullptr;
    }

private:
    HWND h_ = nullptr;
};

// GetDC/ReleaseDC pair for a window (or the screen when hwnd is null).
class WindowDC {
public:
    explicit WindowDC(HWND hwnd);
    ~WindowDC();
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    operator HDC() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint/EndPaint pair.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }
    const RECT& paintRect() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Generic owner for handles closed by one function (files, processes, menus, icons).
template <typename H, auto Close, intptr_t Invalid = 0> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, invalid());
        }
        return *this;
    }
    void reset(H h = invalid()) {
        if (valid()) Close(h_);
        h_ = h;
    }
    H release() { return std::exchange(h_, invalid()); }
    H get() const { return h_; }
    bool valid() const { return h_ != invalid() && h_ != nullptr; }
    explicit operator bool() const { return valid(); }

private:
    static H invalid() { return reinterpret_cast<H>(Invalid); }
    H h_ = invalid();
};

inline void CloseFileHandle(HANDLE h) {
    CloseHandle(h);
}
inline void CloseMenuHandle(HMENU h) {
    DestroyMenu(h);
}
inline void CloseIconHandle(HICON h) {
    DestroyIcon(h);
}

inline void DeleteMetafileHandle(HENHMETAFILE h) {
    DeleteEnhMetaFile(h);
}
inline void FreeModuleHandle(HMODULE h) {
    FreeLibrary(h);
}

using Handle = UniqueHandle<HANDLE, CloseFileHandle>;
using File = UniqueHandle<HANDLE, CloseFileHandle, -1>;
using Menu = UniqueHandle<HMENU, CloseMenuHandle>;
using Icon = UniqueHandle<HICON, CloseIconHandle>;
using EnhMetaFile = UniqueHandle<HENHMETAFILE, DeleteMetafileHandle>;
using Module = UniqueHandle<HMODULE, FreeModuleHandle>;

// Holds one reference to a COM object and releases it when it goes or is replaced. It adopts the reference
// it is given (a new object's first one, or one an out parameter handed over).
template <typename T> class ComRef {
public:
    ComRef() = default;
    explicit ComRef(T* adopted) : p_(adopted) {}
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComRef& operator=(ComRef&& o) noexcept {
        if (this != &o) reset(std::exchange(o.p_, nullptr));
        return *this;
    }
    void reset(T* adopted = nullptr) {
        if (T* old = std::exchange(p_, adopted)) old->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For a call that hands over a reference through an out parameter: what was held goes first.
    void** put() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }

private:
    T* p_ = nullptr;
};

// A global memory block locked for the guard's life (a clipboard block, say).
template <typename T> class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HANDLE mem) : mem_(mem), p_(mem ? static_cast<T*>(GlobalLock(mem)) : nullptr) {}
    ~GlobalLockGuard() {
        if (p_) GlobalUnlock(mem_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    explicit operator bool() const { return p_ != nullptr; }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    size_t size() const { return p_ ? GlobalSize(mem_) : 0; }

private:
    HANDLE mem_;
    T* p_;
};

// Opens the clipboard for the guard's lifetime; check opened().
class ClipboardOpen {
public:
    explicit ClipboardOpen(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardOpen() {
        if (open_) CloseClipboard();
    }
    ClipboardOpen(const ClipboardOpen&) = delete;
    ClipboardOpen& operator=(const ClipboardOpen&) = delete;
    bool opened() const { return open_; }

private:
    bool open_;
};

// Code-page conversions used where bytes meet the program's UTF-16 text.
constexpr UINT CP_GB2312 = 936;
std::wstring ToWide(std::string_view bytes, UINT codePage);
std::string FromWide(std::wstring_view text, UINT codePage);
std::wstring ToWide(std::string_view utf8); // UTF-8
std::string ToUtf8(std::wstring_view text);

// The whole text of a window.
std::wstring WindowText(HWND h);

// Message text of a Win32 error code, without the trailing line break.
std::wstring SystemErrorText(DWORD code);

// A library loaded from the system folder only: a library of the same name beside the program (in a
// downloads folder, say) or in the current folder is never taken.
HMODULE LoadSystemLibrary(const wchar_t* name);
// Makes the delay-load helper load the delayed libraries (the common controls, the shell) the same way.
void LoadDelayedLibrariesFromSystemFolder();

} // namespace win
