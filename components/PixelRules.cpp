#include "components/PixelRules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// The largest m with m * m <= v, for v >= 0.
long long SquareRootDown(long long v) {
    auto m = static_cast<long long>(std::sqrt(static_cast<double>(v))); // within one of the answer
    while (m * m > v)
        --m;
    while ((m + 1) * (m + 1) <= v)
        ++m;
    return m;
}

// floor(a / b) for b > 0.
long long FloorDiv(long long a, long long b) {
    const long long q = a / b;
    return q * b > a ? q - 1 : q;
}

} // namespace

std::vector<int> OvalInsets(int w, int h) {
    std::vector<int> insets(static_cast<size_t>(std::max(h, 0)), std::max(w, 0));
    if (w <= 0 || h <= 0) return insets;
    const uint64_t A = static_cast<uint64_t>(w) - 1, B = static_cast<uint64_t>(h) - 1;
    const int middleInset = (w - 1) / 2; // the middle column's (the first middle column's for an even w)
    // On a row at Y the pixels with F(X, Y) + F(X - 2, Y) < 0, that is
    //     ((X - 1)^2 + 1) B^2 < A^2 (B^2 - Y^2),
    // are those with (X - 1)^2 + 1 at most the largest whole number below A^2 (B^2 - Y^2) / B^2 (the left
    // side is whole); those with F(X, Y) + F(X, Y - 2) <= 0 are those with X^2 at most the whole part of
    //     A^2 (B^2 - (Y - 1)^2 - 1) / B^2.
    // Each holds from X = 0 up to its largest X (none: -1).
    auto largestX = [&](uint64_t Y) {
        const auto rowSide = static_cast<long long>(A * A * (B * B - Y * Y));
        const auto columnSide = static_cast<long long>(A * A * (B * B - (Y - 1) * (Y - 1) - 1));
        const auto B2 = static_cast<long long>(B * B);
        const long long alongRow = (rowSide - 1) / B2; // rowSide is 0 at most on the middle rows
        const long long byRow = alongRow < 1 ? -1 : SquareRootDown(alongRow - 1) + 1;
        return std::max(byRow, SquareRootDown(columnSide / B2));
    };
    for (int y = 0; y < h; ++y) {
        const uint64_t Y = static_cast<uint64_t>(std::abs(2 * y + 1 - h));
        if (Y <= 1) { // a middle row
            insets[static_cast<size_t>(y)] = 0;
            continue;
        }
        const long long most = largestX(Y);
        // The first column reached: X = 2x + 1 - w >= -most, so x >= (w - 1 - most) / 2, rounded up.
        const long long first = (static_cast<long long>(w) - most) / 2;
        insets[static_cast<size_t>(y)] = static_cast<int>(std::clamp<long long>(first, 0, middleInset));
    }
    return insets;
}

TLinePixels::TLinePixels(POINT from, POINT to) {
    const long long dx = to.x - from.x, dy = to.y - from.y;
    const long long n = std::max(std::llabs(dx), std::llabs(dy));
    if (n == 0) return; // no pixel
    auto at = [&](long long i, long long start, long long d) {
        return static_cast<LONG>(start + FloorDiv(2 * i * d + n - 1, 2 * n));
    };
    const LONG x0 = from.x, y0 = from.y, x1 = at(n - 1, from.x, dx), y1 = at(n - 1, from.y, dy);
    bounds_ = {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    xMajor_ = std::llabs(dx) == n;
    // Downwards from pixel 0, or upwards from pixel n - 1 when the line rises.
    const long long first = dy >= 0 ? 0 : n - 1, step = dy >= 0 ? 1 : -1;
    const long long majorD = xMajor_ ? dx : dy, minorD = xMajor_ ? dy : dx;
    const long long majorStart = xMajor_ ? from.x : from.y, minorStart = xMajor_ ? from.y : from.x;
    left_ = static_cast<int>(n);
    majorStep_ = static_cast<int>(majorD > 0 ? step : -step);
    major_ = static_cast<int>(majorStart + first * (majorD > 0 ? 1 : -1));
    // The minor coordinate of the first pixel walked and the remainder of its division; when the walk
    // moves it downwards the remainder is counted from the other end (2n - 1 - r), so that it only grows.
    const long long numerator = 2 * first * minorD + n - 1, quotient = FloorDiv(numerator, 2 * n);
    const long long r = numerator - 2 * n * quotient, change = 2 * minorD * step;
    minorStart_ = static_cast<int>(minorStart + quotient);
    minorStep_ = change >= 0 ? 1 : -1;
    const auto twoN = static_cast<uint64_t>(2 * n);
    auto fixedUp = [&](long long v) {
        return ((static_cast<uint64_t>(v) << kFractionBits) + twoN - 1) / twoN;
    };
    sum_ = fixedUp(change >= 0 ? r : 2 * n - 1 - r);
    add_ = fixedUp(std::llabs(change));
}
