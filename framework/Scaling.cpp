#include "framework/Scaling.h"

#include "framework/Win32.h"

#include <cstdlib>

namespace {
// The per-display functions arrived with later systems; they are looked up once, and a system without
// them gets the system-wide answer.
template <typename F> F UserFunction(const char* name) {
    return reinterpret_cast<F>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}
} // namespace

int ScaleValue(int v, int to, int from) {
    if (to == from || from <= 0) return v;
    long long n = static_cast<long long>(v) * to;
    long long q = (std::llabs(n) * 2 + from) / (2LL * from);
    return static_cast<int>(n < 0 ? -q : q);
}

RECT ScaleRect(const RECT& r, int to, int from) {
    return {ScaleValue(r.left, to, from), ScaleValue(r.top, to, from), ScaleValue(r.right, to, from),
            ScaleValue(r.bottom, to, from)};
}

int SystemPPI() {
    static const auto forSystem = UserFunction<UINT(WINAPI*)()>("GetDpiForSystem");
    if (forSystem) return static_cast<int>(forSystem());
    win::WindowDC screen(nullptr);
    int ppi = GetDeviceCaps(screen, LOGPIXELSY);
    return ppi > 0 ? ppi : kDesignPPI;
}

int WindowPPI(HWND window) {
    static const auto forWindow = UserFunction<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (forWindow && window) {
        if (UINT ppi = forWindow(window)) return static_cast<int>(ppi);
    }
    return SystemPPI();
}

int SystemMetricForPPI(int index, int ppi) {
    static const auto forDpi = UserFunction<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, static_cast<UINT>(ppi));
    return ScaleValue(GetSystemMetrics(index), ppi, SystemPPI());
}

RECT WindowRectForClient(RECT client, DWORD style, DWORD exStyle, int ppi) {
    static const auto forDpi =
        UserFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&client, style, FALSE, exStyle, static_cast<UINT>(ppi)))
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
    return client;
}

int ImageScaleFor(int ppi) {
    // The midpoints between 96, 144 and 192 are 120 and 168.
    return ppi < 120 ? 96 : ppi < 168 ? 144 : 192;
}

int ScaledImageResource(HINSTANCE module, int id, int ppi) {
    // The nearest scale that the program carries, looking down from the wanted one.
    for (int scale = ImageScaleFor(ppi); scale > kDesignPPI; scale -= kDesignPPI / 2) {
        int scaled = id + (scale - kDesignPPI) / (kDesignPPI / 2) * kImageScaleStep;
        if (FindResourceW(module, MAKEINTRESOURCEW(scaled), MAKEINTRESOURCEW(2) /* RT_BITMAP */))
            return scaled;
    }
    return id;
}
