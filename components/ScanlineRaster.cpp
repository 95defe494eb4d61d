#include "components/ScanlineRaster.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <stdexcept>

namespace {

uint32_t Pixel(COLORREF c) {
    return static_cast<uint32_t>(GetRValue(c)) << 16 | static_cast<uint32_t>(GetGValue(c)) << 8 |
           GetBValue(c);
}

// Spans are mostly a few pixels: a plain loop beats a call.
void Fill(uint32_t* from, uint32_t* to, uint32_t color) {
    for (; from < to; ++from)
        *from = color;
}

// Whether a plan of boxes and ovals paints the same pixels turned half round in a w x h area (as the
// centred styles do): it does when in each run of shapes of one colour, whose order among themselves does
// not matter, every shape's turned image is a shape of the run. (The pixel rules of boxes and ovals turn
// with them; those of lines do not.)
bool TurnsIntoItself(const TGradientPlan& plan, int w, int h) {
    using TKey = std::array<LONG, 5>; // kind, left, top, right, bottom
    auto key = [](const TGradientShape& s) {
        return TKey{s.kind, std::min(s.at.left, s.at.right), std::min(s.at.top, s.at.bottom),
                    std::max(s.at.left, s.at.right), std::max(s.at.top, s.at.bottom)};
    };
    auto turned = [&](const TKey& k) { return TKey{k[0], w - k[3], h - k[4], w - k[1], h - k[2]}; };
    std::vector<TKey> run, images;
    for (auto from = plan.shapes.begin(), to = from; from != plan.shapes.end(); from = to) {
        run.clear();
        images.clear();
        for (to = from; to != plan.shapes.end() && to->color == from->color; ++to) {
            run.push_back(key(*to));
            images.push_back(turned(run.back()));
        }
        std::sort(run.begin(), run.end());
        std::sort(images.begin(), images.end());
        if (run != images) return false;
    }
    return true;
}

// Which shapes are lines drawn again later in the plan: the later copy covers every pixel of the earlier.
std::vector<bool> LinesDrawnAgain(const TGradientPlan& plan) {
    std::vector<bool> drawnAgain(plan.shapes.size());
    std::set<std::array<LONG, 4>> later;
    for (size_t k = plan.shapes.size(); k-- > 0;) {
        const RECT& r = plan.shapes[k].at;
        if (plan.shapes[k].kind == TGradientShape::Stroke)
            drawnAgain[k] = !later.insert({r.left, r.top, r.right, r.bottom}).second;
    }
    return drawnAgain;
}

} // namespace

TScanlineRaster::TScanlineRaster(const TGradientPlan& plan, int w, int h)
    : w_(w), h_(h), ground_(Pixel(plan.ground)), row_(static_cast<size_t>(std::max(w, 0)) + 2 * kMargin) {
    const std::vector<bool> drawnAgain = LinesDrawnAgain(plan);
    for (size_t k = 0; k < plan.shapes.size(); ++k)
        if (!drawnAgain[k]) Add(plan.shapes[k]);
    walks_ = lines_;
    turnsIntoItself_ = lines_.empty() && TurnsIntoItself(plan, w, h);
    auto byRow = [&](auto row) {
        std::vector<size_t> order(shapes_.size());
        for (size_t k = 0; k < order.size(); ++k)
            order[k] = k;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return row(a) < row(b); });
        return order;
    };
    byTop_ = byRow([&](size_t k) { return shapes_[k].top; });
    byBottom_ = byRow([&](size_t k) { return shapes_[k].bottom; });
}

void TScanlineRaster::Add(const TGradientShape& s) {
    const RECT& r = s.at;
    const long long width = std::llabs(static_cast<long long>(r.right) - r.left),
                    height = std::llabs(static_cast<long long>(r.bottom) - r.top);
    if (s.kind != TGradientShape::Box && std::max(width, height) > kMaxShapeSide)
        throw std::length_error("A gradient's shape is too large to paint.");
    if (s.kind == TGradientShape::Stroke) {
        const TLinePixels line({r.left, r.top}, {r.right, r.bottom});
        if (line.Done()) return;
        shapes_.push_back({s.kind, 0, 0, 0, 0, 0, 0, lines_.size(), shapes_.size(), Pixel(s.color)});
        lines_.push_back(line);
        return;
    }
    // A box or an oval: its rows and columns, corners in any order, clipped to the area.
    const int left = std::min(r.left, r.right), top = std::min(r.top, r.bottom);
    TShape shape{s.kind,
                 std::max(top, 0),
                 std::min<int>(std::max(r.top, r.bottom), h_),
                 std::max(left, 0),
                 std::min<int>(std::max(r.left, r.right), w_),
                 top,
                 static_cast<int>(height),
                 0,
                 shapes_.size(),
                 Pixel(s.color)};
    if (shape.left >= shape.right || shape.top >= shape.bottom) return;
    if (s.kind == TGradientShape::Oval) {
        // Its insets, measured from its own (unclipped) sides.
        shape.left = left;
        shape.right = left + static_cast<int>(width);
        const auto [size, fresh] =
            insetsOfSize_.try_emplace({shape.right - left, shape.rows}, insets_.size());
        shape.at = size->second;
        if (fresh) {
            const std::vector<int> all = OvalInsets(shape.right - left, shape.rows);
            for (size_t row = 0; row < (all.size() + 1) / 2; ++row)
                insets_.push_back(static_cast<uint16_t>(all[row]));
        }
    }
    shapes_.push_back(shape);
}

void TScanlineRaster::Paint(int top, int bottom, uint32_t* pixels, ptrdiff_t stride) {
    if (!lines_.empty())
        PaintShapeOverShape(top, bottom, pixels, stride);
    else
        PaintRowsUnder(top, bottom, pixels, stride);
}

void TScanlineRaster::PaintShapeOverShape(int top, int bottom, uint32_t* pixels, ptrdiff_t stride) {
    const int w = w_;
    uint32_t* const band = pixels - stride * top; // row y at band + stride * y
    for (int y = top; y < bottom; ++y)
        std::fill_n(band + stride * y, w, ground_);
    for (const TShape& s : shapes_) {
        const uint32_t color = s.color;
        if (s.kind == TGradientShape::Stroke) {
            // A line goes on from where the rows above left it, up to the band's last row.
            TLinePixels& walk = walks_[s.at];
            if (top == 0) walk = lines_[s.at];
            // A line wholly in the area (as most are) is painted without clipping each pixel.
            if (walk.Within(w, h_))
                walk.WalkAbove(bottom, [&](int x, int y) { band[stride * y + x] = color; });
            else
                walk.WalkAbove(bottom, [&](int x, int y) {
                    if (y >= top && x >= 0 && x < w) band[stride * y + x] = color;
                });
            continue;
        }
        for (int y = std::max(top, s.top); y < std::min(bottom, s.bottom); ++y) {
            const auto [first, last] = SpanOn(s, y);
            if (first < last) std::fill(band + stride * y + first, band + stride * y + last, color);
        }
    }
}

void TScanlineRaster::Cover(int first, int last, uint32_t color) {
    uint32_t* const row = row_.data() + kMargin;
    // covered_ is in order and its spans apart (a row has few: one for shapes inside one another). The
    // first span the new one reaches, or the place for it when it reaches none:
    auto span = covered_.begin();
    while (span != covered_.end() && span->second < first)
        ++span;
    if (span == covered_.end() || span->first > last) {
        Fill(row + first, row + last, color);
        covered_.insert(span, {first, last});
        return;
    }
    // Only the pixels outside the spans it reaches are new; those spans and it become one.
    auto reached = span;
    int x = first, merged = last;
    for (; reached != covered_.end() && reached->first <= last; ++reached) {
        Fill(row + x, row + reached->first, color);
        x = std::max(x, reached->second);
        merged = std::max(merged, reached->second);
    }
    Fill(row + x, row + last, color);
    *span = {std::min(first, span->first), merged};
    if (reached != span + 1) covered_.erase(span + 1, reached);
}

bool TScanlineRaster::JoinAndLeave(int y) {
    bool changed = false;
    for (; nextToLeave_ < byBottom_.size() && shapes_[byBottom_[nextToLeave_]].bottom <= y; ++nextToLeave_) {
        const size_t order = byBottom_[nextToLeave_];
        active_.erase(std::lower_bound(active_.begin(), active_.end(), order,
                                       [](const TShape& a, size_t k) { return a.order < k; }));
        activeOvals_ -= shapes_[order].kind == TGradientShape::Oval;
        changed = true;
    }
    for (; nextToJoin_ < byTop_.size() && shapes_[byTop_[nextToJoin_]].top <= y; ++nextToJoin_) {
        const TShape& shape = shapes_[byTop_[nextToJoin_]];
        active_.insert(std::upper_bound(active_.begin(), active_.end(), shape.order,
                                        [](size_t k, const TShape& a) { return k < a.order; }),
                       shape);
        activeOvals_ += shape.kind == TGradientShape::Oval;
        changed = true;
    }
    return changed;
}

void TScanlineRaster::PaintRow(int y) {
    covered_.clear();
    for (auto shape = active_.rbegin(); shape != active_.rend(); ++shape) {
        const auto [first, last] = SpanOn(*shape, y);
        if (first >= last) continue;
        // Most spans reach one span covered so far and no other (shapes inside one another): only their
        // ends beyond it are new, mostly a few pixels each. That case is handled here, the others by Cover.
        auto span = covered_.begin();
        while (span != covered_.end() && span->second < first)
            ++span;
        if (span == covered_.end() || span->first > last ||
            (span + 1 != covered_.end() && (span + 1)->first <= last)) {
            Cover(first, last, shape->color);
            continue;
        }
        // An end of up to kPiece pixels is written as the kPiece pixels next to the span, in one store and
        // without a branch on its length, when no other span lies among them: those past the end are not
        // covered yet, so a shape further back or the ground writes them again.
        uint32_t* const row = row_.data() + kMargin;
        const bool roomBefore = span == covered_.begin() || (span - 1)->second <= span->first - kPiece;
        const bool roomAfter = span + 1 == covered_.end() || (span + 1)->first >= span->second + kPiece;
        if (roomBefore && span->first - first <= kPiece)
            std::fill_n(row + span->first - kPiece, kPiece, shape->color);
        else
            Fill(row + first, row + span->first, shape->color);
        if (roomAfter && last - span->second <= kPiece)
            std::fill_n(row + span->second, kPiece, shape->color);
        else
            Fill(row + span->second, row + last, shape->color);
        span->first = std::min(span->first, first);
        span->second = std::max(span->second, last);
    }
    Cover(0, w_, ground_);
}

void TScanlineRaster::PaintRowsUnder(int top, int bottom, uint32_t* pixels, ptrdiff_t stride) {
    if (top == 0) {
        active_.clear();
        activeOvals_ = 0;
        nextToJoin_ = nextToLeave_ = 0;
    }
    // When the whole area is painted at once and the plan paints the same turned half round, the lower
    // rows are the upper ones turned.
    const bool turn = turnsIntoItself_ && top == 0 && bottom == h_;
    auto rowAt = [&](int y) { return pixels + stride * (y - top); };
    for (int y = top; y < (turn ? (h_ + 1) / 2 : bottom); ++y) {
        // A row whose active list holds the same boxes as the row above's is that row again.
        if (JoinAndLeave(y) || y == top || activeOvals_ > 0) PaintRow(y);
        std::copy_n(row_.data() + kMargin, w_, rowAt(y));
    }
    if (turn)
        for (int y = (h_ + 1) / 2; y < h_; ++y)
            std::reverse_copy(rowAt(h_ - 1 - y), rowAt(h_ - 1 - y) + w_, rowAt(y));
}
