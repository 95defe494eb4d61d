// Which pixels a gradient's shapes cover: the rules the rasters follow, the same on every system.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// The widest and tallest oval or line painted: the rules' whole-number terms stay within 64 bits up to
// this size. A plan for an area up to 32767 pixels a side makes no larger shape.
constexpr long long kMaxShapeSide = 65535;

// The oval of a w x h box is the ellipse through the centres of the box's outermost pixels. In doubled
// coordinates from the box's centre, pixel (x, y) (0 <= x < w, 0 <= y < h) is at X = |2x + 1 - w|,
// Y = |2y + 1 - h|, and the ellipse's equation is F(X, Y) = X^2 B^2 + Y^2 A^2 - A^2 B^2 = 0 with A = w - 1,
// B = h - 1 (negative inside). The oval covers the pixel when
// - F(X, Y) + F(X - 2, Y) < 0 or F(X, Y) + F(X, Y - 2) <= 0: the pixel is inside the ellipse, or outside
//   it but nearer the curve, by its equation, than its inner neighbour along its row or its column is
//   inside it (the outline keeps to the pixels nearest the curve, as a pen's outline does). A tie along
//   a row goes to the inner pixel, one along a column to the outer pixel; or
// - the pixel is in a middle row or a middle column (X <= 1 or Y <= 1: one for an odd side, two for an
//   even one), so that every row and every column of the box is reached, however narrow the oval.
// The rule is symmetric about both middles. A box of one row or one column is covered whole, an empty box
// covers nothing. Returns, for each row of the box, how many pixels the oval leaves out at each end.
std::vector<int> OvalInsets(int w, int h);

// The pixels a line from `from` to `to` sets: n = max(|dx|, |dy|) of them, the end point left out as a
// pen's line leaves it: for i = 0 .. n-1, from + round(i d / n) in each coordinate, halves rounded down
// (towards minus infinity). Walked in the order of their rows, from the end back when the line rises, so
// that a raster painting rows downwards meets each pixel on its row.
//
// The walk is a fixed-point DDA: along the major axis (the longer one) each pixel is one step on; the
// minor coordinate is start + floor((2 i d + n - 1) / 2n) (the rounding above). Counted from the first
// pixel walked, its change after k pixels is floor((e + k a) / 2n) for a remainder e < 2n and a = |2d|,
// kept as a sum in fixed point with kFractionBits bits of fraction, each term rounded up: the sum then
// stays less than (k + 1) 2^-kFractionBits above the exact quotient, which lies at least 1/2n below its
// next whole number, so the whole part is exact while (k + 1) 2n < 2^kFractionBits, for every line up
// to kMaxShapeSide pixels long.
class TLinePixels {
public:
    TLinePixels(POINT from, POINT to);
    bool Done() const { return left_ == 0; }
    // Whether every pixel of the line is in the area 0..w-1 by 0..h-1 (both coordinates only grow or only
    // shrink along it, so its first and last pixels tell).
    bool Within(int w, int h) const {
        return bounds_.left >= 0 && bounds_.top >= 0 && bounds_.right < w && bounds_.bottom < h;
    }
    // Calls plot(x, y) for each pixel left on a row above `bottom`, and stops at the first below.
    template <typename Plot> void WalkAbove(int bottom, Plot plot) {
        // In locals: plot's stores could otherwise alias the members and make every step reload them.
        int left = left_, major = major_;
        uint64_t sum = sum_;
        const int majorStep = majorStep_, minorStart = minorStart_, minorStep = minorStep_;
        const uint64_t add = add_;
        auto minor = [&] { return minorStart + minorStep * static_cast<int>(sum >> kFractionBits); };
        if (xMajor_) {
            for (; left > 0 && minor() < bottom; --left, major += majorStep, sum += add)
                plot(major, minor());
        } else {
            for (; left > 0 && major < bottom; --left, major += majorStep, sum += add)
                plot(minor(), major);
        }
        left_ = left;
        major_ = major;
        sum_ = sum;
    }

private:
    static constexpr int kFractionBits = 40;
    RECT bounds_{}; // the first and last pixels' columns and rows, least and most
    bool xMajor_ = true;
    int left_ = 0, major_ = 0, majorStep_ = 0, minorStart_ = 0, minorStep_ = 0;
    uint64_t sum_ = 0, add_ = 0;
};
