// A gradient's geometry apart from its drawing: the shapes a fill style paints, in order, over its first
// colour.
#pragma once

#include <windows.h>

#include <cstdint>
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
