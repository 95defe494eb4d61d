// Shared bases of the library's non-visual components, and the style records the decorated controls
// and the background painter draw with.
#pragma once

#include "components/GradientPainter.h"
#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"

#include <cstdint>
#include <memory>
#include <string>

// Common ancestor of the library's non-visual components.
class TZarComponent : public TComponent {
public:
    explicit TZarComponent(TComponent* AOwner) : TComponent(AOwner) {}
};

// A component that performs one action on request.
class TZarExecComponent : public TZarComponent {
public:
    explicit TZarExecComponent(TComponent* AOwner) : TZarComponent(AOwner), designExecute_(L"(Execute)") {}
    // Performs the action; the base has none and answers false.
    virtual bool Execute() { return false; }
    // A design-time trigger: writing exactly "(Busy...)" runs Execute once; it always reads "(Execute)".
    const std::wstring& DesignExecute() const { return designExecute_; }
    void SetDesignExecute(const std::wstring& v);

private:
    std::wstring designExecute_;
};

// ---- style records -----------------------------------------------------------------------------------

// A record that repaints its owning control whenever one of its properties changes.
class TZarOwnedRecord : public TGraphicsObject {
public:
    explicit TZarOwnedRecord(TControl* owner);
    ~TZarOwnedRecord() override;
    TControl* Owner() const { return owner_; }
    // A length of the record (frame width, offset) at the owning control's display density.
    int Scaled(int designPixels) const { return owner_ ? owner_->Scaled(designPixels) : designPixels; }

protected:
    void Notify() { Changed(); }

private:
    TControl* owner_;
};

enum TZarFrameStyle : unsigned char {
    frameSolid,
    frameRaised,
    frameLowered,
    frameNone,
    frameFramedUp,
    frameFramedDown,
    framePanelUp,
    framePanelDown,
    frameLightBordered
};

// A border drawn along the inside of a rectangle, in one or two bands of rings.
class TZarFrame : public TZarOwnedRecord {
public:
    explicit TZarFrame(TControl* owner) : TZarOwnedRecord(owner) {}
    TZarFrameStyle FrameStyle() const { return style_; }
    void SetFrameStyle(TZarFrameStyle v);
    TColor Highlight() const { return highlight_; }
    void SetHighlight(TColor v);
    TColor Shadow() const { return shadow_; }
    void SetShadow(TColor v);
    TColor Solid() const { return solid_; }
    void SetSolid(TColor v);
    int Offset() const { return offset_; }
    void SetOffset(int v); // negative values are ignored
    int FrameWidth() const { return frameWidth_; }
    void SetFrameWidth(int v); // 0 or less is ignored
    // Per-side thickness the style claims.
    int FrameSize() const { return frameSize_; }

    // Paints the border inside r and leaves r shrunk to the area within it; with a plain colour (the
    // high-contrast look), every line in that colour.
    void DrawFrame(HDC dc, RECT& r, TColor plain = clNone) const;

private:
    void Derive();
    TZarFrameStyle style_ = frameRaised;
    TColor highlight_ = clBtnHighlight, shadow_ = clBtnShadow, solid_ = clBlack;
    int frameSize_ = 1, offset_ = 0, frameWidth_ = 1;
};

enum TZarStyle3D : unsigned char {
    fontRaised,
    fontInset,
    fontOnlyShadow,
    fontOnlyHighlight,
    fontOutLineShadow
};
enum TZarRepeat : unsigned char { repeatOnShadow, repeatOnHighLight, repeatNone };

// Raised, inset, shadowed or outlined captions: the text drawn several times, transparently.
class TZarFont3D : public TZarOwnedRecord {
public:
    explicit TZarFont3D(TControl* owner) : TZarOwnedRecord(owner) {}
    bool ThreeDimensional() const { return threeD_; }
    void SetThreeDimensional(bool v);
    bool MaskFont() const { return maskFont_; }
    void SetMaskFont(bool v);
    TColor Highlight() const { return highlight_; }
    void SetHighlight(TColor v);
    TColor Shadow() const { return shadow_; }
    void SetShadow(TColor v);
    TColor RepetitionColor() const { return repetitionColor_; }
    void SetRepetitionColor(TColor v);
    TZarRepeat Repetition() const { return repetition_; }
    void SetRepetition(TZarRepeat v);
    int Repetitionwidth() const { return repetitionWidth_; }
    void SetRepetitionwidth(int v); // negative refused, but still notifies
    int Offset() const { return offset_; }
    void SetOffset(int v); // 0 or less refused, but still notifies
    TZarStyle3D Style3D() const { return style3D_; }
    void SetStyle3D(TZarStyle3D v);

    // Draws text inside r with the caller's flags plus DT_NOCLIP; r and font are left as they were.
    void DrawText3D(const TFont& font, HDC dc, RECT r, const std::wstring& text, UINT format,
                    bool enabled) const;

    // Where the repetition copies go. A caption with repetition copies shrinks its rectangle by the
    // repetition width on every side and starts the copies Offset away, against their direction; a text
    // filled with a background always shrinks it on the left and right only, and starts the copies at
    // the repetition width (repeatOnShadow) or in place. Both widths are at the control's density.
    enum class TPassLayout { Caption, BackgroundText };
    // Every pass before the face, each drawn by pass(colour, rect): when ThreeDimensional, the
    // repetition copies (one pixel apart, as many as the scaled repetition width), then the light and
    // dark copies of Style3D. r comes in as the text's rectangle and leaves as the face's.
    template <typename Pass> void DrawPasses(RECT& r, TPassLayout layout, Pass&& pass) const;

private:
    template <typename Pass> void LightAndDark(RECT& r, Pass&& pass) const;

public:
private:
    bool threeD_ = true, maskFont_ = true;
    TColor highlight_ = clBtnHighlight, shadow_ = clBtnShadow, repetitionColor_ = clBlack;
    TZarRepeat repetition_ = repeatNone;
    int repetitionWidth_ = 0, offset_ = 1;
    TZarStyle3D style3D_ = fontInset;
};

template <typename Pass> void TZarFont3D::DrawPasses(RECT& r, TPassLayout layout, Pass&& pass) const {
    const int width = Scaled(repetitionWidth_);
    if (layout == TPassLayout::BackgroundText) InflateRect(&r, -width, 0);
    if (!threeD_) return;
    if (repetition_ != repeatNone) {
        if (layout == TPassLayout::Caption) InflateRect(&r, -width, -width);
        const int step = repetition_ == repeatOnShadow ? -1 : 1;
        const int start = layout == TPassLayout::Caption ? -step * Scaled(offset_) : (step < 0 ? width : 0);
        OffsetRect(&r, start, start);
        for (int i = 0; i < width; ++i) {
            pass(repetitionColor_, r);
            OffsetRect(&r, step, step);
        }
    }
    LightAndDark(r, pass);
}

template <typename Pass> void TZarFont3D::LightAndDark(RECT& r, Pass&& pass) const {
    if (style3D_ == fontOutLineShadow) {
        // Four copies at the diagonal neighbours, always one (scaled) pixel away.
        const int u = Scaled(1);
        const int moves[4][2] = {{-u, -u}, {2 * u, 0}, {0, 2 * u}, {-2 * u, 0}};
        for (const auto& m : moves) {
            OffsetRect(&r, m[0], m[1]);
            pass(shadow_, r);
        }
        OffsetRect(&r, u, -u);
        return;
    }
    TColor first = (style3D_ == fontRaised || style3D_ == fontOnlyHighlight) ? highlight_ : shadow_;
    TColor second = (style3D_ == fontRaised || style3D_ == fontOnlyShadow) ? shadow_ : highlight_;
    const int offset = Scaled(offset_);
    OffsetRect(&r, -offset, -offset);
    if (style3D_ != fontOnlyShadow) pass(first, r);
    OffsetRect(&r, 2 * offset, 2 * offset);
    if (style3D_ != fontOnlyHighlight) pass(second, r);
    OffsetRect(&r, -offset, -offset);
}

// A colour run (begin, the in-between colours, end) painted in one of thirteen patterns.
class TZarGradient : public TGraphicsObject {
public:
    TZarGradient();
    TZarFillStyle FillStyle() const { return fillStyle_; }
    void SetFillStyle(TZarFillStyle v);
    TColor BeginColor() const { return begin_; }
    void SetBeginColor(TColor v);
    TColor EndColor() const { return end_; }
    void SetEndColor(TColor v);
    int NoOfColors() const { return noOfColors_; }
    void SetNoOfColors(int v); // 2..255, others refused but still notify
    TStringList& ColorsInbetween() { return between_; }
    void SetColorsInbetween(const TStringList& lines) { between_.Assign(lines.Lines()); }
    void Assign(const TZarGradient& g);

    // Paints (0, 0)-(w, h) of dc through an off-screen bitmap copied in one block. A line of
    // ColorsInbetween that is no colour text raises EConvertError and leaves dc untouched.
    void PaintGradient(HDC dc, int w, int h, bool forward) const;
    using TGraphicsObject::Changed;

private:
    TZarFillStyle fillStyle_ = Horizontal;
    TColor begin_ = clSilver, end_ = clGray;
    int noOfColors_ = 32;
    TStringList between_;
    // The last painting's plan and what it was made of, painted again while those stay the same.
    struct TPainted {
        TZarFillStyle style;
        int w, h, noOfColors;
        std::vector<COLORREF> run;
        bool operator==(const TPainted&) const = default;
    };
    mutable TPainted painted_{};
    mutable std::unique_ptr<TGradientPainter> painter_; // none before the first painting
};

enum TZarImageStyle : unsigned char { isTile, isCenter, isStretched };

// A picture painted tiled, centred or stretched, with one of its colours optionally replaced.
class TZarTexture : public TGraphicsObject {
public:
    TBitmap& Image() { return image_; }
    const TBitmap& Image() const { return image_; }
    void SetImage(const TBitmap& b); // a copy; notifies (drawing into Image in place does not)
    TZarImageStyle ImageStyle() const { return imageStyle_; }
    void SetImageStyle(TZarImageStyle v);
    TColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(TColor v);
    TColor TransparentBackground() const { return transparentBackground_; }
    void SetTransparentBackground(TColor v);
    void Assign(const TZarTexture& t);
    void PaintTexture(HDC dc, int w, int h, TColor backColor) const;
    using TGraphicsObject::Changed;

private:
    TBitmap image_;
    TZarImageStyle imageStyle_ = isTile;
    TColor transparentColor_ = clNone, transparentBackground_ = clBtnFace;
};

// A hatch pattern and its colour.
class TZarBrushFill : public TGraphicsObject {
public:
    TBrushStyle BrushStyle() const { return brushStyle_; }
    void SetBrushStyle(TBrushStyle v);
    TColor BrushColor() const { return brushColor_; }
    void SetBrushColor(TColor v);
    void Assign(const TZarBrushFill& b);
    // Paints (0, 0)-(w, h) of dc with the hatch in the brush colour on the ground colour, the pattern
    // starting at the area's corner.
    void PaintBrushFill(HDC dc, int w, int h, COLORREF ground) const;
    using TGraphicsObject::Changed;

private:
    // The 8 x 8 tile as a packed picture, kept until the fill or the ground changes.
    struct THatchTile {
        static constexpr int Side = 8;
        bool made = false;
        TBrushStyle style{};
        COLORREF brush = 0, ground = 0;
        struct {
            BITMAPINFOHEADER header;
            uint32_t pixels[Side * Side];
        } dib{};
    };
    const THatchTile& HatchTile(COLORREF ground) const;

    TBrushStyle brushStyle_ = TBrushStyle::bsSolid;
    TColor brushColor_ = clBtnFace;
    mutable THatchTile hatchTile_;
};
