// A gradient's geometry apart from its drawing: the shapes a fill style paints, in order, over its first
// colour, and the painter of such a plan.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
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

// Paints the plan at (0, 0)-(w, h) of dc with each pixel's final colour, rastered here (the same pixels on
// every system): straight into the pixels of a 32-bit section when nothing clips the area, otherwise a
// few rows at a time through a small buffer.
void DrawGradientPlan(HDC dc, int w, int h, const TGradientPlan& plan);

// The pixels of a plan whose shapes are all boxes, as 32-bit 0x00RRGGBB values: the same pixels as
// drawing the boxes one by one with a brush, each written once.
class TBoxRaster {
public:
    TBoxRaster(const TGradientPlan& plan, int w, int h);
    // False when the plan has a shape that is no box (nothing can then be painted).
    bool Usable() const { return usable_; }
    // Rows top..bottom-1, whole, into pixels (row top; each row stride values after the one before).
    void Paint(int top, int bottom, uint32_t* pixels, ptrdiff_t stride) const;

private:
    enum TLayout { Rows, Columns, Nested, Overlaid };
    int w_;
    uint32_t ground_;
    bool usable_ = false;
    TLayout layout_ = Overlaid;
    std::vector<RECT> boxes_;
    std::vector<uint32_t> colors_;
    std::vector<uint32_t> rowColor_, row_; // Rows: a colour a row; Columns: the one row
    std::vector<int> lastX_, lastY_;       // Nested: the last box holding each column and each row
};

// Draws the plan shape by shape with a pen and brush of each shape's colour: in place on a memory DC, on
// any other through a compatible bitmap copied in one block.
void DrawPlanShapeByShape(HDC dc, int w, int h, const TGradientPlan& plan);

// Which pixels the ellipse of a w x h box covers: for each row of the box, how many pixels it leaves out at
// each end (w for a row it does not reach). The ellipse is the one through the centres of the box's
// outermost pixels (diameters w - 1 and h - 1 pixels). Its outline is a chain of pixels, each one step
// (along a row, a column or diagonally) from the last, walked from the middle of the left and right sides
// towards the top and bottom, each step chosen from the ellipse's equation at the candidate pixels (in
// whole numbers) so that the chain keeps to the pixels nearest the curve. A row is covered
// from its first chain pixel to the mirror of that pixel. A narrow ellipse whose chain reaches the middle
// columns before the top and bottom rows gets the middle columns on the rows left, so every row of
// the box is reached. A box of one row or one column is covered whole.
std::vector<int> OvalInsets(int w, int h);

// The pixels of a plan of ovals and lines (with boxes among them), as 32-bit 0x00RRGGBB values, each pixel
// the colour of the last shape whose rule covers it:
// - an oval with the box l..r by t..b (corners in any order, the right and bottom edges outside, as the
//   box given to Ellipse) covers the pixels OvalInsets gives for an (r - l) x (b - t) box placed at (l, t);
// - a line from (x0, y0) to (x1, y1) sets n = max(|x1 - x0|, |y1 - y0|) pixels, the end point left out
//   as a pen's line leaves it: for i = 0 .. n-1, (x0 + round(i (x1 - x0) / n), y0 + round(i (y1 - y0) / n)),
//   rounding halves down (towards minus infinity).
class TShapeRaster {
public:
    TShapeRaster(const TGradientPlan& plan, int w, int h);
    // The widest and tallest shape painted (insets are kept in 16 bits, line steps in 32.32 fixed point).
    static constexpr int kMaxShape = 32767;
    // False for a plan with a wider or taller shape, or with both ovals and lines (nothing can then be
    // painted here: the painter draws such a plan shape by shape).
    bool Usable() const { return usable_; }
    // Rows top..bottom-1, whole, into pixels (row top; each row stride values after the one before). The
    // rows are painted in order: a call from row 0 starts the painting afresh, each other call takes the
    // rows after the last call's.
    void Paint(int top, int bottom, uint32_t* pixels, ptrdiff_t stride);

private:
    // A line as far as it is painted, walked in the order of its rows: its next pixel is `major` along
    // its major axis and minorBase + minorStep (acc >> 32) along the other, `left` pixels are to come,
    // and each pixel adds `add` to acc.
    struct TLine {
        uint64_t acc, add;
        int major, minorBase, left, minorStep, majorStep;
        int box;             // >= 0: boxes_[box] instead of a line
        bool xMajor, inside; // inside: every pixel in the area
        uint32_t color;
    };
    static TLine StartLine(const RECT& at, uint32_t color, int w, int h);
    // Goes on with a line through rows top..bottom-1 of a band w pixels wide.
    static void WalkLine(TLine& l, int top, int bottom, int w, uint32_t* px, ptrdiff_t stride);
    int w_, h_;
    uint32_t ground_;
    bool usable_ = true, hasLines_ = false;
    // How the lower rows repeat the upper ones, when they do: flipped upside down, or turned half round.
    enum TRepeat : unsigned char { NoRepeat, Flipped, Turned } repeat_ = NoRepeat;
    std::vector<TLine> lines_;   // with lines: the lines and boxes painted, in order, as they start
    std::vector<TLine> walking_; // and as far as they are painted
    std::vector<std::pair<RECT, uint32_t>> boxes_;
    // Without lines, a shape's runs: on rows top..last (its last row in the area), its columns left..right-1
    // less, on row y, insets_[at + max(y - top, end - y)] at each end (in 32 bits, wrapping). An oval's end
    // is its own last row (past the area too): rows as far from its top as from its end have the same
    // insets. A box's end is top - 1 and its insets are the zeros at the start of insets_.
    struct TActive {
        int top, end, last, left, right;
        uint32_t at, color;
    };
    std::vector<uint16_t> insets_;
    std::vector<TActive> shapes_;            // every shape's, in the plan's order
    std::vector<uint32_t> active_;           // the shapes reaching the row painted, in the plan's order
    std::vector<uint32_t> endingAt_;         // how many shapes end on each row
    size_t ended_ = 0;                       // how many in active_ have ended
    std::vector<uint32_t> byTop_;            // the shapes by their first rows in the area
    size_t next_ = 0;                        // the first in byTop_ not yet taken up
    std::vector<std::pair<int, int>> cover_; // the runs of a row taken so far
    // Writes the pixels of first..last-1 that no run in cover_ holds into out, and adds the run to cover_.
    void Take(int first, int last, uint32_t c, uint32_t* out);
    uint32_t scratch_[4]{};              // takes the pieces of a run that has none
    static constexpr size_t kMargin = 4; // row_'s pixels before and after the row
    std::vector<uint32_t> row_;          // the row painted
};

// Paints one plan as DrawGradientPlan does, as often as asked: what the rows need of the plan is worked
// out once, for a gradient painted again (whenever its control is) to skip that work.
class TGradientPainter {
public:
    TGradientPainter(TGradientPlan plan, int w, int h);
    void Draw(HDC dc);

private:
    TGradientPlan plan_;
    int w_, h_;
    TBoxRaster boxes_;
    std::optional<TShapeRaster> shapes_; // when the plan is not all boxes
};
