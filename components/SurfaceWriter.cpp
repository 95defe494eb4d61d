#include "components/SurfaceWriter.h"

#include <algorithm>
#include <vector>

namespace {

// A band's buffer holds this many pixels (16 KB): small enough to stay in the processor's cache and to be
// reused by the heap from paint to paint, where a buffer for a whole large area would be fresh memory,
// every page of it faulted in, costing more than the painting.
constexpr int kBandPixels = 4096;

// The pixel of the DC's surface at the DC's (0, 0) and the distance between its rows, when the surface can
// take the painting straight: a 32-bit DIB section in a memory DC that maps without scaling or mirroring,
// whose drawable part is a rectangle holding the whole area.
bool DirectPixels(HDC dc, int w, int h, uint32_t*& origin, ptrdiff_t& stride) {
    if (GetObjectType(dc) != OBJ_MEMDC) return false;
    DIBSECTION ds{};
    if (GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof ds, &ds) != sizeof ds) return false;
    if (ds.dsBm.bmBitsPixel != 32 || !ds.dsBm.bmBits || ds.dsBmih.biCompression != BI_RGB) return false;
    if (GetMapMode(dc) != MM_TEXT || GetGraphicsMode(dc) != GM_COMPATIBLE || GetLayout(dc) != 0 ||
        GetROP2(dc) != R2_COPYPEN)
        return false;
    RECT clip;
    if (GetClipBox(dc, &clip) != SIMPLEREGION || clip.left > 0 || clip.top > 0 || clip.right < w ||
        clip.bottom < h)
        return false;
    POINT viewport, window;
    GetViewportOrgEx(dc, &viewport);
    GetWindowOrgEx(dc, &window);
    const long long x = viewport.x - window.x, y = viewport.y - window.y; // (0, 0) on the surface
    if (x < 0 || y < 0 || x + w > ds.dsBm.bmWidth || y + h > ds.dsBm.bmHeight) return false;
    GdiFlush(); // what GDI still has to draw there comes first
    auto* bits = static_cast<uint8_t*>(ds.dsBm.bmBits);
    const ptrdiff_t rowBytes = ds.dsBm.bmWidthBytes;
    uint32_t* down = reinterpret_cast<uint32_t*>(bits + rowBytes * y) + x;
    uint32_t* up = reinterpret_cast<uint32_t*>(bits + rowBytes * (ds.dsBm.bmHeight - 1 - y)) + x;
    // Which way the rows run: not every system reports a top-down section as one, so a pixel set at
    // (0, 0), which the painting covers anyway, shows it.
    bool topDown = ds.dsBmih.biHeight < 0;
    if (!topDown && down != up) {
        const uint32_t probe = ~*down & 0xFFFFFF;
        SetPixelV(dc, 0, 0, RGB(probe >> 16, (probe >> 8) & 0xFF, probe & 0xFF));
        GdiFlush();
        topDown = *down == probe;
    }
    origin = topDown ? down : up;
    stride = (topDown ? rowBytes : -rowBytes) / static_cast<ptrdiff_t>(sizeof(uint32_t));
    return true;
}

} // namespace

void WriteRows(HDC dc, int w, int h, const TRowPainter& paint) {
    if (w <= 0 || h <= 0) return;
    uint32_t* origin = nullptr;
    ptrdiff_t stride = 0;
    if (DirectPixels(dc, w, h, origin, stride)) return paint(0, h, origin, stride);
    const int rows = std::clamp(kBandPixels / w, 1, h);
    std::vector<uint32_t> band(static_cast<size_t>(w) * static_cast<size_t>(rows));
    BITMAPINFO info{};
    for (int top = 0; top < h; top += rows) {
        const int n = std::min(rows, h - top);
        paint(top, top + n, band.data(), w);
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -n, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        SetDIBitsToDevice(dc, 0, top, static_cast<DWORD>(w), static_cast<DWORD>(n), 0, 0, 0,
                          static_cast<UINT>(n), band.data(), &info, DIB_RGB_COLORS);
    }
}
