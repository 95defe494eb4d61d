#include "components/ZarClasses2.h"

void TZarGlyph::SetBitmap(const TBitmap& b) {
    if (&b == &bitmap_) return;
    bitmap_.Assign(b);
    if (owner_ && owner_->Designing() && !bitmap_.Empty()) {
        int w = bitmap_.Width(), h = bitmap_.Height();
        if (w % h == 0) numGlyphs_ = w / h > 3 ? 1 : w / h;
        win::MemoryDC dc(nullptr);
        win::SelectObjectGuard sel(dc, bitmap_.Handle());
        transparentColor_ = static_cast<TColor>(GetPixel(dc, 0, h - 1));
    }
    Changed();
}

void TZarGlyph::LoadFromResource(HINSTANCE module, int id) {
    module_ = module;
    resource_ = id;
    loadedResource_ = 0;
    Rescale();
}

void TZarGlyph::Rescale() {
    if (!resource_) return;
    const int id = ScaledImageResource(module_, resource_, OwnerPPI());
    if (id == loadedResource_) return;
    TBitmap strip;
    strip.LoadFromResource(module_, id);
    loadedResource_ = id;
    SetBitmap(strip);
}

int TZarGlyph::OwnerPPI() const {
    const auto* control = dynamic_cast<const TControl*>(owner_);
    return control ? control->CurrentPPI() : kDesignPPI;
}

void TZarGlyph::SetVisible(bool v) {
    if (v != visible_) {
        visible_ = v;
        Changed();
    }
}
void TZarGlyph::SetNumGlyphs(int v) {
    if (v >= 1 && v <= 3 && v != numGlyphs_) {
        numGlyphs_ = v;
        Changed();
    }
}
void TZarGlyph::SetTransparent(bool v) {
    if (v != transparent_) {
        transparent_ = v;
        Changed();
    }
}
void TZarGlyph::SetTransparentColor(TColor v) {
    if (v != transparentColor_) {
        transparentColor_ = v;
        Changed();
    }
}

int TZarGlyph::GlyphWidth() const {
    return bitmap_.Empty() ? 0 : RoundHalfEven(double(bitmap_.Width()) / numGlyphs_);
}

void TZarGlyph::DrawGlyph(HDC dc, int x, int y, bool enabled, bool down) const {
    if (bitmap_.Empty() || !visible_) return;
    const int w = GlyphWidth(), h = bitmap_.Height();
    TBitmap cell(w, h); // white to begin with
    {
        win::MemoryDC to(dc);
        win::SelectObjectGuard selTo(to, cell.Handle());
        if (enabled) {
            int index = (down && numGlyphs_ == 3) ? 2 : 1;
            win::MemoryDC from(dc);
            win::SelectObjectGuard selFrom(from, bitmap_.Handle());
            BitBlt(to, 0, 0, w, h, from, w * (index - 1), 0, SRCCOPY);
        } else {
            DrawEmbossed(to, 0, 0, bitmap_, ScaleValue(1, OwnerPPI()));
        }
    }
    if (transparent_) {
        DrawTransparent(dc, cell, x, y, transparentColor_);
    } else {
        win::MemoryDC from(dc);
        win::SelectObjectGuard sel(from, cell.Handle());
        BitBlt(dc, x, y, w, h, from, 0, 0, SRCCOPY);
    }
}

void DrawEmbossed(HDC dc, int x, int y, const TBitmap& bitmap, int echo) {
    const int w = bitmap.Width(), h = bitmap.Height();
    win::MemoryDC src(dc), maskDC(dc);
    win::SelectObjectGuard selSrc(src, bitmap.Handle());
    win::Bitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
    win::SelectObjectGuard selMask(maskDC, mask.get());
    SetBkColor(src, RGB(0, 0, 0)); // black pixels become the set bits
    BitBlt(maskDC, 0, 0, w, h, src, 0, 0, SRCCOPY);
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0)), oldBk = SetBkColor(dc, RGB(255, 255, 255));
    // DSPDxax: the brush where a bit is set, the destination elsewhere.
    for (auto [colour, dx] : {std::pair{clBtnHighlight, echo}, std::pair{clBtnShadow, 0}}) {
        win::Brush brush(CreateSolidBrush(ColorToRGB(colour)));
        win::SelectObjectGuard selBrush(dc, brush.get());
        BitBlt(dc, x + dx, y + dx, w, h, maskDC, 0, 0, 0x00E20746);
    }
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
}

void DrawTransparent(HDC dc, const TBitmap& bitmap, int x, int y, TColor key) {
    win::MemoryDC src(dc);
    win::SelectObjectGuard sel(src, bitmap.Handle());
    GdiTransparentBlt(dc, x, y, bitmap.Width(), bitmap.Height(), src, 0, 0, bitmap.Width(), bitmap.Height(),
                      ColorToRGB(key));
}

void DrawDisabledText(const TFont& font, HDC dc, RECT r, const std::wstring& text, UINT format, int echo) {
    win::SaveDCGuard keep(dc);
    SelectObject(dc, font.Handle());
    SetBkMode(dc, TRANSPARENT);
    std::wstring copy = text;
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    DrawTextExW(dc, copy.data(), -1, &r, format, nullptr);
    OffsetRect(&r, -echo, -echo);
    SetTextColor(dc, ColorToRGB(clGrayText));
    copy = text;
    DrawTextExW(dc, copy.data(), -1, &r, format, nullptr);
}
