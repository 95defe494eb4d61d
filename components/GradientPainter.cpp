#include "components/GradientPainter.h"

#include "components/ScanlineRaster.h"
#include "components/SurfaceWriter.h"

TGradientPainter::TGradientPainter(const TGradientPlan& plan, int w, int h)
    : w_(w), h_(h), raster_(std::make_unique<TScanlineRaster>(plan, w, h)) {}

TGradientPainter::~TGradientPainter() = default;

void TGradientPainter::Draw(HDC dc) {
    WriteRows(dc, w_, h_, [&](int top, int bottom, uint32_t* pixels, ptrdiff_t stride) {
        raster_->Paint(top, bottom, pixels, stride);
    });
}

void DrawGradientPlan(HDC dc, int w, int h, const TGradientPlan& plan) {
    if (w <= 0 || h <= 0) return;
    TGradientPainter(plan, w, h).Draw(dc);
}
