// Colours, icons and the graphics-object base of the style records.
#pragma once

#include "framework/Classes.h"
#include "framework/Win32.h"

#include <cstdint>
#include <string>

// 0x00BBGGRR for RGB colours; 0x80000000 + n for system colour n; clNone for "no colour".
using TColor = std::int32_t;

constexpr TColor SysColor(int n) {
    return static_cast<TColor>(0x80000000u + static_cast<unsigned>(n));
}
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR), clBackground = SysColor(COLOR_BACKGROUND),
                 clHotLight = SysColor(COLOR_HOTLIGHT), clWindow = SysColor(COLOR_WINDOW),
                 clWindowText = SysColor(COLOR_WINDOWTEXT), clBtnFace = SysColor(COLOR_BTNFACE),
                 clBtnShadow = SysColor(COLOR_BTNSHADOW), clGrayText = SysColor(COLOR_GRAYTEXT),
                 clBtnText = SysColor(COLOR_BTNTEXT), clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT),
                 clHighlight = SysColor(COLOR_HIGHLIGHT), clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT),
                 cl3DDkShadow = SysColor(COLOR_3DDKSHADOW), cl3DLight = SysColor(COLOR_3DLIGHT),
                 clInfoBk = SysColor(COLOR_INFOBK);

// Resolves system colours to RGB; RGB colours pass through (clNone resolves to its own value).
COLORREF ColorToRGB(TColor c);

// Colour text: a colour name ("clRed", "clBtnFace"), decimal or "$" hexadecimal. StringToColor raises
// EConvertError for text that is none of these.
std::wstring ColorToString(TColor c);
TColor StringToColor(const std::wstring& text);
bool IdentToColor(const std::wstring& ident, TColor& c);

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Base of every style record: a persistent object with a change event.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed() {
        if (OnChange) OnChange(this);
    }
};

// An icon image, owned. Empty until loaded or assigned.
class TIcon : public TGraphicsObject {
public:
    TIcon() = default;
    HICON Handle() const { return handle_.get(); }
    bool Empty() const { return !handle_; }
    // Takes ownership of a copy of the icon's image (and where it came from).
    void Assign(const TIcon& source);
    // Loads an icon resource of a module at the given size, shrunk from the nearest larger image the
    // resource carries when it has none of that size; the icon remembers where it came from.
    void LoadFromResource(HINSTANCE module, int id, int size);
    // Loads the same resource again at another size (false when the icon did not come from one).
    bool Reload(int size);
    int Size() const { return size_; }
    void SetHandle(HICON icon); // takes ownership

private:
    win::Icon handle_;
    HINSTANCE module_ = nullptr;
    int resource_ = 0, size_ = 0;
};

// An icon's size in pixels ({0, 0} for none).
SIZE IconSize(HICON icon);
// An icon resource's image of a size: shrunk from a larger one rather than stretched from a smaller.
win::Icon LoadIconOfSize(HINSTANCE module, const wchar_t* name, int size);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// A font description with a handle made on demand and remade after every change.
class TFont : public TGraphicsObject {
public:
    TFont() = default;
    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& v);
    // Character height in pixels (negative LOGFONT height: the em height without internal leading).
    int Height() const { return height_; }
    void SetHeight(int v);
    // Point size at 96 dots per inch; sets the height.
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE v);
    void Assign(const TFont& f);
    LOGFONTW LogFont() const;
    HFONT Handle() const; // owned by the font; valid until the next change

protected:
    void Changed() override;

private:
    std::wstring name_ = L"MS Sans Serif";
    int height_ = 11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    BYTE charset_ = DEFAULT_CHARSET;
    mutable win::Font handle_;
};

// A picture: an icon, a bitmap or a metafile, owned.
class TPicture : public TGraphicsObject {
public:
    enum class Kind { None, Icon, Bitmap, Metafile };
    Kind GetKind() const { return kind_; }
    bool Empty() const { return kind_ == Kind::None; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Clear();
    void SetIcon(win::Icon icon);
    // An icon resource at a size; the picture can load it again at another (ScaleIcon).
    void LoadIcon(HINSTANCE module, int id, int size);
    void ScaleIcon(int to, int from);
    void SetBitmap(win::Bitmap bitmap);
    void SetMetafile(win::EnhMetaFile mf, int w, int h); // size in pixels
    HBITMAP Bitmap() const { return bitmap_.get(); }
    // Draws the picture at its own size with its top-left corner at (x, y).
    void Draw(HDC dc, int x, int y) const;

private:
    Kind kind_ = Kind::None;
    int width_ = 0, height_ = 0;
    win::Icon icon_;
    win::Bitmap bitmap_;
    win::EnhMetaFile metafile_;
    HINSTANCE iconModule_ = nullptr;
    int iconResource_ = 0;
};

enum class TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

// A new brush of the style and colour, owned by the caller; a clear brush is none (an empty owner), and
// filling with it paints nothing.
win::Brush CreateBrushOf(TBrushStyle style, TColor color);

// A bitmap picture, owned: a device-independent section of 32 bits per pixel.
class TBitmap : public TGraphicsObject {
public:
    TBitmap() = default;
    TBitmap(int w, int h) { SetSize(w, h); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return !handle_; }
    HBITMAP Handle() const { return handle_.get(); }
    // A new white picture of the size (an empty one for a zero size).
    void SetSize(int w, int h);
    void Assign(const TBitmap& other);
    // Loads a bitmap resource of the module.
    void LoadFromResource(HINSTANCE module, int id);

private:
    win::Bitmap handle_;
    int width_ = 0, height_ = 0;
};

// Copies the source rectangle to the destination with every pixel of colour `replace` painted with the
// brush instead (the source is unchanged).
void BrushCopy(HDC dst, const RECT& dstRect, HDC src, const RECT& srcRect, COLORREF replace, HBRUSH brush);

// The bevel ring: left column and top row in `top` (but for the bottom-left and top-right pixels), right
// column and bottom row in `bottom`; r then shrinks by one on every side. A thicker ring is that many
// rings of the same colours.
void BevelRing(HDC dc, RECT& r, TColor top, TColor bottom, int thickness = 1);

// The high-contrast look the user chose in the system (read through the shell seam at each paint). Under
// it the decorated controls paint plainly, in the system's colour pairs: a fill, lines and text, with
// no gradient, texture, pattern or 3-D passes.
bool HighContrast();
// One line of the plain look: a ring of `thickness` in one colour (r shrinks as BevelRing's does).
inline void PlainRing(HDC dc, RECT& r, TColor color, int thickness) {
    BevelRing(dc, r, color, color, thickness);
}
// Text of the plain look: the font, one colour, the format's flags.
void PlainText(HDC dc, const TFont& font, RECT r, const std::wstring& text, UINT format, TColor color);
