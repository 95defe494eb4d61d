// The painter of a gradient's plan: the one rasterizer header the other components include.
#pragma once

#include "components/GradientPlan.h"

#include <windows.h>

#include <memory>

class TScanlineRaster;

// Paints one plan, as often as asked, at (0, 0)-(w, h) of a DC with each pixel's final colour, rastered
// here by the pixel rules (the same pixels on every system): what the rows need of the plan is worked out
// once, for a gradient painted again (whenever its control is) to skip that work. Throws
// std::length_error for a plan with an oval or a line more than 65535 pixels wide or tall.
class TGradientPainter {
public:
    TGradientPainter(const TGradientPlan& plan, int w, int h);
    ~TGradientPainter();
    TGradientPainter(const TGradientPainter&) = delete;
    TGradientPainter& operator=(const TGradientPainter&) = delete;
    void Draw(HDC dc);

private:
    int w_, h_;
    std::unique_ptr<TScanlineRaster> raster_;
};

// Paints a plan once, as a fresh painter does.
void DrawGradientPlan(HDC dc, int w, int h, const TGradientPlan& plan);
