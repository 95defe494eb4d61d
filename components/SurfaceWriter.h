// Writes rows of 32-bit 0x00RRGGBB pixels onto a device context.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>

// Paints rows top..bottom-1 into pixels (row top; each row stride values after the one before).
using TRowPainter = std::function<void(int top, int bottom, uint32_t* pixels, ptrdiff_t stride)>;

// Has paint fill (0, 0)-(w, h) of dc, its rows in order: straight into the pixels of a 32-bit section when
// the DC maps onto one unscaled and nothing clips the area, otherwise a band of rows at a time through a
// small buffer copied onto the DC.
void WriteRows(HDC dc, int w, int h, const TRowPainter& paint);
