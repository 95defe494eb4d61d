// Paint cost of every gradient style and every background style. Usage: paint [repetitions] (default 21).
// For a 306 x 196 area (the card) and a 1920 x 1080 one, prints the median time of one paint of each style
// into a 32-bit off-screen surface beside the median time, taken in the same run, of a plain fill plus one
// block copy of the same area, as rows of the figures table (goal: 20 times at the small size, 40 at the
// large one). For the round and line styles it also prints the first paint of a new gradient, which plans
// it too (no goal).
#include "bench/BenchSupport.h"
#include "components/ZarTBackground.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

double MedianMs(int repetitions, const std::function<void()>& paint) {
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        double t0 = bench::NowMs();
        paint();
        GdiFlush();
        times.push_back(bench::NowMs() - t0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

const char* const kGradientNames[] = {
    "Circle",       "Horizontal",        "Vertical",           "LeftBottom",  "RoundMiddle",
    "SquareMiddle", "Spectral",          "DoppelFlash",        "Singleflash", "MiddleHBar",
    "MiddleVBar",   "VerticalDoppelBar", "HorizontalDoppelBar"};
const char* const kBackgroundNames[] = {"bGradient", "bTexture", "bSolidcolor", "bBrushFillUseCurrent",
                                        "bBrushFillSolidColor"};

} // namespace

int main(int argc, char** argv) {
    int repetitions = argc > 1 ? std::max(3, atoi(argv[1])) : 21;
    for (SIZE area : {SIZE{306, 196}, SIZE{1920, 1080}}) {
        const int w = area.cx, h = area.cy;
        const double goal = w > 1000 ? 40 : 20;
        TBitmap surface(w, h), source(w, h);
        win::MemoryDC dc(nullptr), from(nullptr);
        win::SelectObjectGuard target(dc, surface.Handle()), copy(from, source.Handle());
        RECT all{0, 0, w, h};
        win::Brush face(CreateSolidBrush(RGB(212, 208, 200)));
        // The floor: what any painter must at least do, a fill and one block copy of the area.
        double floor = MedianMs(repetitions, [&] {
            FillRect(from, &all, face.get());
            BitBlt(dc, 0, 0, w, h, from, 0, 0, SRCCOPY);
        });
        std::string size = std::to_string(w) + "x" + std::to_string(h);
        auto report = [&](const std::string& name, double ms) {
            bench::Row("paint " + name + " " + size + ", ms", ms, floor, bench::Goal::Times, goal);
        };
        for (int s = 0; s < 13; ++s) {
            auto made = [&](TZarGradient& g) {
                g.SetFillStyle(static_cast<TZarFillStyle>(s));
                g.SetBeginColor(RGB(0, 0, 255));
                g.SetEndColor(RGB(255, 255, 0));
                g.SetNoOfColors(255);
            };
            TZarGradient g;
            made(g);
            report(std::string("gradient ") + kGradientNames[s],
                   MedianMs(repetitions, [&] { g.PaintGradient(dc, w, h, true); }));
            // A gradient keeps its plan between paints; its first paint also plans it.
            const auto style = static_cast<TZarFillStyle>(s);
            if (style != Circle && style != Spectral && style != RoundMiddle && style != DoppelFlash &&
                style != Singleflash)
                continue;
            const double first = MedianMs(repetitions, [&] {
                TZarGradient fresh;
                made(fresh);
                fresh.PaintGradient(dc, w, h, true);
            });
            bench::Row("paint gradient " + std::string(kGradientNames[s]) + " " + size + ", first paint, ms",
                       first, floor, bench::Goal::None);
        }
        TBitmap tile(64, 64);
        {
            win::MemoryDC t(nullptr);
            win::SelectObjectGuard sel(t, tile.Handle());
            win::Brush red(CreateSolidBrush(RGB(200, 40, 40)));
            RECT half{0, 0, 32, 64};
            FillRect(t, &half, red.get());
        }
        for (int s = 0; s < 5; ++s) {
            TZarBackground b(nullptr);
            b.SetBackgroundStyle(static_cast<TZarBackStyle>(s));
            b.Gradient().SetNoOfColors(255);
            b.Texture().SetImage(tile);
            b.BrushFill().SetBrushStyle(TBrushStyle::bsDiagCross);
            b.SetSolidColor(RGB(255, 255, 128));
            report(std::string("background ") + kBackgroundNames[s],
                   MedianMs(repetitions, [&] { b.PaintBackground(dc, w, h, true); }));
        }
    }
    return 0;
}
