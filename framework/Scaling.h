// Display scaling: the one rounding rule every scaled length goes through, and the display's dots per
// inch for the system, a window or a new window, with the system metrics at a given density.
#pragma once

#include <windows.h>

// Every length in the program's layout is given for this density (100 % display scaling).
constexpr int kDesignPPI = 96;

// The rounding rule: v * to / from, rounded to the nearest whole pixel, halves away from zero. A
// rectangle is scaled by its edges, so that neighbours stay neighbours and a size is the difference of
// its two scaled edges.
int ScaleValue(int v, int to, int from = kDesignPPI);
RECT ScaleRect(const RECT& r, int to, int from = kDesignPPI);

// The density of the primary display (also the notification area's), and the one a window is shown at.
int SystemPPI();
int WindowPPI(HWND window);
// GetSystemMetrics for a density; on systems without per-display densities, the system's value scaled.
int SystemMetricForPPI(int index, int ppi);
// The outer rectangle of a window of the styles whose client area is `client`, at a density.
RECT WindowRectForClient(RECT client, DWORD style, DWORD exStyle, int ppi);

// Images come in three scales, 1x, 1.5x and 2x; the one nearest a density (ties go to the larger, as
// shrinking loses less than stretching) and its resource number: the 1x number plus 1000 or 2000.
int ImageScaleFor(int ppi);
int ScaledImageResource(HINSTANCE module, int id, int ppi);
constexpr int kImageScaleStep = 1000;
