// A gradient's geometry apart from its drawing: the shapes a fill style paints, in order, over its first
// colour, and the painter of such a plan.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

enum TZarFillStyle : unsigned char {
    Circle,
    Horizontal,
    Vertical,
    LeftBottom,
    RoundMiddle,
    SquareMiddle,
    Spectral,
    DoppelFlash,
    Singleflash,
    MiddleHBar,
    MiddleVBar,
    VerticalDoppelBar,
    HorizontalDoppelBar
};

// Rounds to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double x);

struct TGradientShape {
    enum TKind : unsigned char { Box, Oval, Stroke };
    TKind kind;
    // Box: the pixels left..right-1 by top..bottom-1. Oval: the box given to Ellipse, corners in any
    // order. Stroke: a pen line from (left, top) to (right, bottom), its last point not drawn.
    RECT at;
    COLORREF color;
};

struct TGradientPlan {
    COLORREF ground; // the whole area, before the shapes
    std::vector<TGradientShape> shapes;
};

// The shapes of a fill style for a w x h area. `run` is the colour run (the first colour, the in-between
// colours, the last colour) as RGB; each stretch between two neighbours is painted in noOfColors steps.
TGradientPlan PlanGradient(TZarFillStyle style, int w, int h, const std::vector<COLORREF>& run,
                           int noOfColors);

class TScanlineRaster;

// Paints one plan, as often as asked, at (0, 0)-(w, h) of a DC with each pixel's final colour, rastered
// here by the pixel rules (the same pixels on every system): what the rows need of the plan is worked out
// once, for a gradient painted again (whenever its control is) to skip that work. Throws
// std::length_error for a plan with an oval or a line more than 65535 pixels wide or tall.
class TGradientPainter {
public:
    TGradientPainter(TGradientPlan plan, int w, int h);
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
