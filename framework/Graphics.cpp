#include "framework/Graphics.h"

#include "framework/Scaling.h"
#include "framework/Shell.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>
#include <utility>

COLORREF ColorToRGB(TColor c) {
    if (c < 0) return GetSysColor(c & 0xFF);
    return static_cast<COLORREF>(c);
}

namespace {
struct ColorName {
    TColor color;
    const wchar_t* name;
};
constexpr std::array<ColorName, 42> kColorNames{{
    {clBlack, L"clBlack"},
    {clMaroon, L"clMaroon"},
    {clGreen, L"clGreen"},
    {clOlive, L"clOlive"},
    {clNavy, L"clNavy"},
    {clPurple, L"clPurple"},
    {clTeal, L"clTeal"},
    {clGray, L"clGray"},
    {clSilver, L"clSilver"},
    {clRed, L"clRed"},
    {clLime, L"clLime"},
    {clYellow, L"clYellow"},
    {clBlue, L"clBlue"},
    {clFuchsia, L"clFuchsia"},
    {clAqua, L"clAqua"},
    {clWhite, L"clWhite"},
    {clScrollBar, L"clScrollBar"},
    {clBackground, L"clBackground"},
    {SysColor(COLOR_ACTIVECAPTION), L"clActiveCaption"},
    {SysColor(COLOR_INACTIVECAPTION), L"clInactiveCaption"},
    {SysColor(COLOR_MENU), L"clMenu"},
    {clWindow, L"clWindow"},
    {SysColor(COLOR_WINDOWFRAME), L"clWindowFrame"},
    {SysColor(COLOR_MENUTEXT), L"clMenuText"},
    {clWindowText, L"clWindowText"},
    {SysColor(COLOR_CAPTIONTEXT), L"clCaptionText"},
    {SysColor(COLOR_ACTIVEBORDER), L"clActiveBorder"},
    {SysColor(COLOR_INACTIVEBORDER), L"clInactiveBorder"},
    {SysColor(COLOR_APPWORKSPACE), L"clAppWorkSpace"},
    {clHighlight, L"clHighlight"},
    {clHighlightText, L"clHighlightText"},
    {clBtnFace, L"clBtnFace"},
    {clBtnShadow, L"clBtnShadow"},
    {clGrayText, L"clGrayText"},
    {clBtnText, L"clBtnText"},
    {SysColor(COLOR_INACTIVECAPTIONTEXT), L"clInactiveCaptionText"},
    {clBtnHighlight, L"clBtnHighlight"},
    {cl3DDkShadow, L"cl3DDkShadow"},
    {cl3DLight, L"cl3DLight"},
    {SysColor(COLOR_INFOTEXT), L"clInfoText"},
    {clInfoBk, L"clInfoBk"},
    {clNone, L"clNone"},
}};
} // namespace

bool IdentToColor(const std::wstring& ident, TColor& c) {
    for (const auto& n : kColorNames)
        if (_wcsicmp(n.name, ident.c_str()) == 0) {
            c = n.color;
            return true;
        }
    return false;
}

std::wstring ColorToString(TColor c) {
    for (const auto& n : kColorNames)
        if (n.color == c) return n.name;
    wchar_t buf[16];
    swprintf(buf, 16, L"$%.8X", static_cast<unsigned>(c));
    return buf;
}

TColor StringToColor(const std::wstring& text) {
    TColor c = 0;
    if (IdentToColor(text, c)) return c;
    // Integer text: decimal with an optional sign, or "$" followed by hexadecimal digits.
    std::wstring t = text;
    auto fail = [&]() -> TColor { throw EConvertError(L"'" + text + L"' is not a valid integer value"); };
    if (t.empty()) return fail();
    bool neg = false;
    size_t i = 0;
    if (t[i] == L'-' || t[i] == L'+') neg = t[i++] == L'-';
    int base = 10;
    if (i < t.size() && (t[i] == L'$')) {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == L'0' && (t[i + 1] == L'x' || t[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size()) return fail();
    unsigned long long v = 0;
    for (; i < t.size(); ++i) {
        int d;
        wchar_t ch = t[i];
        if (ch >= L'0' && ch <= L'9')
            d = ch - L'0';
        else if (base == 16 && ch >= L'a' && ch <= L'f')
            d = ch - L'a' + 10;
        else if (base == 16 && ch >= L'A' && ch <= L'F')
            d = ch - L'A' + 10;
        else
            return fail();
        v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (v > 0xFFFFFFFFull) return fail();
    }
    if (base == 10 && !neg && v > 0x7FFFFFFFull) return fail();
    long long s = neg ? -static_cast<long long>(v) : static_cast<long long>(v);
    return static_cast<TColor>(static_cast<std::uint32_t>(s));
}

void TIcon::Assign(const TIcon& source) {
    if (&source == this) return;
    module_ = source.module_;
    resource_ = source.resource_;
    size_ = source.size_;
    handle_.reset(source.Empty() ? nullptr : CopyIcon(source.Handle()));
    Changed();
}

namespace {
// Whether the icon resource carries an image of exactly that size (its group directory lists them).
bool IconHasSize(HINSTANCE module, const wchar_t* name, int size) {
    HRSRC res = FindResourceW(module, name, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
    const auto* dir = res ? static_cast<const BYTE*>(LockResource(LoadResource(module, res))) : nullptr;
    DWORD bytes = res ? SizeofResource(module, res) : 0;
    if (!dir || bytes < 6) return false;
    const int count = dir[4] | dir[5] << 8;
    for (int i = 0; i < count && 6 + 14 * (i + 1) <= static_cast<int>(bytes); ++i) {
        const BYTE* entry = dir + 6 + 14 * static_cast<ptrdiff_t>(i);
        if ((entry[0] ? entry[0] : 256) == size && (entry[1] ? entry[1] : 256) == size) return true;
    }
    return false;
}
} // namespace

win::Icon LoadIconOfSize(HINSTANCE module, const wchar_t* name, int size) {
    // An image of the size is taken as it is; otherwise the common controls shrink the next larger one
    // (that library is loaded only then).
    HICON icon = nullptr;
    if (!IconHasSize(module, name, size) && FAILED(LoadIconWithScaleDown(module, name, size, size, &icon)))
        icon = nullptr;
    if (!icon) {
        icon = static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size, size, module ? 0 : LR_SHARED));
        // A shared system icon is not the caller's to destroy: the caller gets a copy.
        if (icon && !module) icon = CopyIcon(icon);
    }
    return win::Icon(icon);
}

void TIcon::LoadFromResource(HINSTANCE module, int id, int size) {
    module_ = module;
    resource_ = id;
    size_ = size;
    handle_ = LoadIconOfSize(module, MAKEINTRESOURCEW(id), size);
    Changed();
}

bool TIcon::Reload(int size) {
    if (!resource_) return false;
    if (size != size_) LoadFromResource(module_, resource_, size);
    return true;
}

void TIcon::SetHandle(HICON icon) {
    resource_ = 0;
    handle_.reset(icon);
    Changed();
}

// Every change of the font drops its handle (made again when next asked for), then notifies.
void TFont::Changed() {
    handle_.reset();
    TGraphicsObject::Changed();
}
void TFont::SetName(const std::wstring& v) {
    if (v != name_) {
        name_ = v;
        Changed();
    }
}
void TFont::SetHeight(int v) {
    if (v != height_) {
        height_ = v;
        Changed();
    }
}
void TFont::SetSize(int points) {
    SetHeight(MulDiv(points, 96, 72));
}
void TFont::SetStyle(TFontStyles v) {
    if (v != style_) {
        style_ = v;
        Changed();
    }
}
void TFont::SetColor(TColor v) {
    if (v != color_) {
        color_ = v;
        Changed();
    }
}
void TFont::SetCharset(BYTE v) {
    if (v != charset_) {
        charset_ = v;
        Changed();
    }
}
void TFont::Assign(const TFont& f) {
    if (&f == this) return;
    name_ = f.name_;
    height_ = f.height_;
    style_ = f.style_;
    color_ = f.color_;
    charset_ = f.charset_;
    Changed();
}

LOGFONTW TFont::LogFont() const {
    LOGFONTW lf{};
    lf.lfHeight = -height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
    lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = charset_;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    return lf;
}

HFONT TFont::Handle() const {
    if (!handle_) {
        LOGFONTW lf = LogFont();
        handle_.reset(CreateFontIndirectW(&lf));
    }
    return handle_.get();
}

void TPicture::Clear() {
    iconResource_ = 0;
    icon_.reset();
    bitmap_.reset();
    metafile_.reset();
    kind_ = Kind::None;
    width_ = height_ = 0;
}

SIZE IconSize(HICON icon) {
    ICONINFO ii{};
    if (!icon || !GetIconInfo(icon, &ii)) return {0, 0};
    // The icon's information comes with copies of its bitmaps, which are the caller's to free.
    win::Bitmap mask(ii.hbmMask), colour(ii.hbmColor);
    BITMAP bm{};
    GetObjectW(mask.get(), sizeof bm, &bm);
    // A monochrome icon's mask holds the AND and XOR halves one above the other.
    return {bm.bmWidth, colour ? bm.bmHeight : bm.bmHeight / 2};
}

void TPicture::SetIcon(win::Icon icon) {
    Clear();
    if (icon) {
        SIZE size = IconSize(icon.get());
        width_ = size.cx;
        height_ = size.cy;
        icon_ = std::move(icon);
        kind_ = Kind::Icon;
    }
    Changed();
}

void TPicture::LoadIcon(HINSTANCE module, int id, int size) {
    SetIcon(LoadIconOfSize(module, MAKEINTRESOURCEW(id), size));
    iconModule_ = module;
    iconResource_ = id;
}

void TPicture::ScaleIcon(int to, int from) {
    if (kind_ == Kind::Icon && iconResource_)
        LoadIcon(iconModule_, iconResource_, ScaleValue(width_, to, from));
}

void TPicture::SetBitmap(win::Bitmap bitmap) {
    Clear();
    if (bitmap) {
        BITMAP bm{};
        GetObjectW(bitmap.get(), sizeof bm, &bm);
        width_ = bm.bmWidth;
        height_ = bm.bmHeight;
        bitmap_ = std::move(bitmap);
        kind_ = Kind::Bitmap;
    }
    Changed();
}

void TPicture::SetMetafile(win::EnhMetaFile mf, int w, int h) {
    Clear();
    if (mf) {
        metafile_ = std::move(mf);
        kind_ = Kind::Metafile;
        width_ = w;
        height_ = h;
    }
    Changed();
}

void TPicture::Draw(HDC dc, int x, int y) const {
    switch (kind_) {
    case Kind::Icon:
        DrawIconEx(dc, x, y, icon_.get(), width_, height_, 0, nullptr, DI_NORMAL);
        break;
    case Kind::Bitmap: {
        win::MemoryDC mem(dc);
        win::SelectObjectGuard sel(mem, bitmap_.get());
        BitBlt(dc, x, y, width_, height_, mem, 0, 0, SRCCOPY);
        break;
    }
    case Kind::Metafile: {
        RECT r{x, y, x + width_, y + height_};
        PlayEnhMetaFile(dc, metafile_.get(), &r);
        break;
    }
    case Kind::None:
        break;
    }
}

win::Brush CreateBrushOf(TBrushStyle style, TColor color) {
    COLORREF rgb = ColorToRGB(color);
    switch (style) {
    case TBrushStyle::bsSolid:
        return win::Brush(CreateSolidBrush(rgb));
    case TBrushStyle::bsClear:
        return win::Brush(); // nothing to paint with
    case TBrushStyle::bsHorizontal:
        return win::Brush(CreateHatchBrush(HS_HORIZONTAL, rgb));
    case TBrushStyle::bsVertical:
        return win::Brush(CreateHatchBrush(HS_VERTICAL, rgb));
    case TBrushStyle::bsFDiagonal:
        return win::Brush(CreateHatchBrush(HS_FDIAGONAL, rgb));
    case TBrushStyle::bsBDiagonal:
        return win::Brush(CreateHatchBrush(HS_BDIAGONAL, rgb));
    case TBrushStyle::bsCross:
        return win::Brush(CreateHatchBrush(HS_CROSS, rgb));
    case TBrushStyle::bsDiagCross:
        return win::Brush(CreateHatchBrush(HS_DIAGCROSS, rgb));
    }
    return win::Brush(CreateSolidBrush(rgb));
}

void TBitmap::SetSize(int w, int h) {
    handle_.reset();
    width_ = std::max(0, w);
    height_ = std::max(0, h);
    if (width_ && height_) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width_;
        bi.bmiHeader.biHeight = -height_;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        handle_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (bits) memset(bits, 0xFF, static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4);
    }
    Changed();
}

void TBitmap::Assign(const TBitmap& other) {
    if (&other == this) return;
    SetSize(other.width_, other.height_);
    if (!other.Empty()) {
        win::MemoryDC from(nullptr), to(nullptr);
        win::SelectObjectGuard a(from, other.Handle()), b(to, Handle());
        BitBlt(to, 0, 0, width_, height_, from, 0, 0, SRCCOPY);
    }
    Changed();
}

void TBitmap::LoadFromResource(HINSTANCE module, int id) {
    win::Bitmap loaded(static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
    if (!loaded) throw Exception(L"Resource not found");
    BITMAP bm{};
    GetObjectW(loaded.get(), sizeof bm, &bm);
    SetSize(bm.bmWidth, bm.bmHeight);
    win::MemoryDC from(nullptr), to(nullptr);
    win::SelectObjectGuard a(from, loaded.get()), b(to, Handle());
    BitBlt(to, 0, 0, width_, height_, from, 0, 0, SRCCOPY);
}

void BrushCopy(HDC dst, const RECT& d, HDC src, const RECT& s, COLORREF replace, HBRUSH brush) {
    // The brush everywhere (no brush paints nothing), then the source over it except where it has the
    // colour to replace.
    int oldMode = SetBkMode(dst, TRANSPARENT);
    if (brush) FillRect(dst, &d, brush);
    SetBkMode(dst, oldMode);
    GdiTransparentBlt(dst, d.left, d.top, d.right - d.left, d.bottom - d.top, src, s.left, s.top,
                      s.right - s.left, s.bottom - s.top, replace);
}

void BevelRing(HDC dc, RECT& r, TColor top, TColor bottom, int thickness) {
    win::Brush t(CreateSolidBrush(ColorToRGB(top))), b(CreateSolidBrush(ColorToRGB(bottom)));
    for (int ring = 0; ring < thickness; ++ring) {
        RECT left{r.left, r.top, r.left + 1, r.bottom - 1}, upper{r.left, r.top, r.right - 1, r.top + 1};
        FillRect(dc, &left, t.get());
        FillRect(dc, &upper, t.get());
        RECT right{r.right - 1, r.top, r.right, r.bottom}, lower{r.left, r.bottom - 1, r.right, r.bottom};
        FillRect(dc, &right, b.get());
        FillRect(dc, &lower, b.get());
        InflateRect(&r, -1, -1);
    }
}

bool HighContrast() {
    return win::TShell::Current().HighContrast();
}

void PlainText(HDC dc, const TFont& font, RECT r, const std::wstring& text, UINT format, TColor color) {
    win::SaveDCGuard keep(dc);
    SelectObject(dc, font.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(color));
    std::wstring copy = text; // DrawTextEx may write into the text with some flags
    DrawTextExW(dc, copy.data(), -1, &r, format, nullptr);
}
