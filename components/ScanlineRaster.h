// The pixels of a gradient's plan, painted row by row (scanline by scanline) as 32-bit 0x00RRGGBB values,
// each pixel the colour of the last shape covering it by the pixel rules.
#pragma once

#include "components/GradientPlan.h"
#include "components/PixelRules.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

class TScanlineRaster {
public:
    // Throws std::length_error for a plan with an oval or a line wider or taller than kMaxShapeSide.
    TScanlineRaster(const TGradientPlan& plan, int w, int h);
    // Rows top..bottom-1, whole, into pixels (row top; each row stride values after the one before). Rows
    // are painted in order: a call from row 0 starts the painting afresh, each other call takes the rows
    // after the last call's.
    void Paint(int top, int bottom, uint32_t* pixels, ptrdiff_t stride);

private:
    // A shape as the rows see it: rows top..bottom-1 of the area, on each the span left..right-1, less, for
    // an oval, its inset on the row at each end. An oval's rows are ovalTop.. (past the area too), and
    // those as far from its top as from its bottom have the same inset: row r's is insets_[at + min(r,
    // rows - 1 - r)]. A line is lines_[at], and walks_[at] as far as the rows painted took it.
    struct TShape {
        TGradientShape::TKind kind;
        int top, bottom, left, right, ovalTop, rows;
        size_t at, order; // order: its place among shapes_
        uint32_t color;
    };
    // Adds a shape of the plan that has pixels in the area (lines only the last of equal ones).
    void Add(const TGradientShape& shape);
    // Plans with lines are painted shape over shape in the plan's order, a band of rows at a time; the
    // others one row at a time from the last shape back, each pixel written once.
    void PaintShapeOverShape(int top, int bottom, uint32_t* pixels, ptrdiff_t stride);
    void PaintRowsUnder(int top, int bottom, uint32_t* pixels, ptrdiff_t stride);
    // The span a box or an oval covers on row y (top <= y < bottom), as first..last-1 within the area.
    std::pair<int, int> SpanOn(const TShape& shape, int y) const {
        if (shape.kind == TGradientShape::Box) return {shape.left, shape.right};
        const int row = y - shape.ovalTop,
                  inset = insets_[shape.at + static_cast<size_t>(std::min(row, shape.rows - 1 - row))];
        return {std::max(shape.left + inset, 0), std::min(shape.right - inset, w_)};
    }
    // Brings the active list to row y; true when a shape joined or left.
    bool JoinAndLeave(int y);
    // Paints row y into row_ from the active list.
    void PaintRow(int y);
    // Writes colour into the pixels of first..last-1 that no span in covered_ holds, and adds the span.
    void Cover(int first, int last, uint32_t color);

    int w_, h_;
    uint32_t ground_;
    std::vector<TShape> shapes_; // in the plan's order, those with no pixel in the area left out
    // The upper halves of the ovals' insets (ovals of one size share theirs), where each size's begin.
    std::vector<uint16_t> insets_;
    std::map<std::pair<int, int>, size_t> insetsOfSize_;
    std::vector<TLinePixels> lines_, walks_;
    // Row by row: the active list (the shapes reaching the row, by their place in the plan) and how many
    // of them are ovals; the shapes by their first rows and by the rows after their last, and the next of
    // each to join and to leave; the spans of the row covered so far, and the row.
    bool turnsIntoItself_ = false;
    std::vector<TShape> active_;
    std::vector<size_t> byTop_, byBottom_;
    size_t activeOvals_ = 0, nextToJoin_ = 0, nextToLeave_ = 0;
    std::vector<std::pair<int, int>> covered_;
    static constexpr int kPiece = 4;          // pixels written in one store beside a covered span
    static constexpr size_t kMargin = kPiece; // row_'s pixels before and after the row, which they reach
    std::vector<uint32_t> row_;
};
