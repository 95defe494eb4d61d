// The button glyph: a strip of one to three cells drawn for the button's state with a key colour left
// out, embossed when disabled; and the drawing routines it and the button use.
#pragma once

#include "components/ZarClasses.h"

class TZarGlyph : public TGraphicsObject {
public:
    explicit TZarGlyph(TComponent* owner) : owner_(owner) {}
    TBitmap& Bitmap() { return bitmap_; }
    // Copies the image; in design mode it also derives NumGlyphs and the key colour from it.
    void SetBitmap(const TBitmap& b);
    // The strip from a bitmap resource drawn for the owner's display density (the 1x, 1.5x or 2x one,
    // ScaledImageResource); remembered, so that a change of density loads the matching one (Rescale).
    void LoadFromResource(HINSTANCE module, int id);
    void Rescale();
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int v); // 1..3
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(TColor v);
    int GlyphWidth() const;
    int GlyphHeight() const { return bitmap_.Empty() ? 0 : bitmap_.Height(); }

    // Draws the cell for the state with its top-left corner at (x, y).
    void DrawGlyph(HDC dc, int x, int y, bool enabled, bool down) const;

private:
    // The owner's display density: a control's, else the design density.
    int OwnerPPI() const;
    TComponent* owner_;
    TBitmap bitmap_;
    HINSTANCE module_ = nullptr;
    int resource_ = 0, loadedResource_ = 0;
    TColor transparentColor_ = clBlack;
    bool visible_ = true, transparent_ = true;
    int numGlyphs_ = 2;
};

// The black outline of the picture in clBtnShadow with a clBtnHighlight echo `echo` pixels down and right.
void DrawEmbossed(HDC dc, int x, int y, const TBitmap& bitmap, int echo = 1);
// The picture with the pixels of the key colour left out.
void DrawTransparent(HDC dc, const TBitmap& bitmap, int x, int y, TColor key);
// Grey text with a highlight echo `echo` pixels down and right.
void DrawDisabledText(const TFont& font, HDC dc, RECT r, const std::wstring& text, UINT format, int echo = 1);
