#include "components/ZarTClipboard.h"

#include "framework/Streams.h"

#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <vector>

TZarClipboard::TZarClipboard(TComponent* AOwner) : TScrollBox(AOwner) {
    width_ = 185;
    height_ = 41;
    color_ = clWindow;
    SetCtl3D(true);
    SetBorderStyle(TBorderStyle::bsSingle);
}

TZarClipboard::~TZarClipboard() {
    DestroyWnd();
}

UINT TZarClipboard::PictureFormat() {
    static const UINT format = RegisterClipboardFormatW(L"Quennel Picture");
    return format;
}

UINT TZarClipboard::ComponentFormat() {
    static const UINT format = RegisterClipboardFormatW(L"Quennel Component");
    return format;
}

UINT TZarClipboard::ClipboardFormatOf(TZarClipFormat f) {
    switch (f) {
    case fText:
        return CF_TEXT;
    case fBitmap:
        return CF_BITMAP;
    case fMetafile:
        return CF_METAFILEPICT;
    case fOemText:
        return CF_OEMTEXT;
    case fPicture:
        return PictureFormat();
    case fComponent:
        return ComponentFormat();
    case fFileList:
        return CF_HDROP;
    default:
        return 0;
    }
}

bool TZarClipboard::HasFormat(UINT format) {
    if (format == 0) return false;
    if (format != PictureFormat()) return IsClipboardFormatAvailable(format) != FALSE;
    // Asked format by format, which needs no opening of the clipboard (another program may hold it).
    return IsClipboardFormatAvailable(CF_METAFILEPICT) || IsClipboardFormatAvailable(CF_ENHMETAFILE) ||
           IsClipboardFormatAvailable(CF_BITMAP);
}

bool TZarClipboard::ContentIsPrivate() {
    static const UINT exclude = RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
    static const UINT ignore = RegisterClipboardFormatW(L"Clipboard Viewer Ignore");
    return IsClipboardFormatAvailable(exclude) || IsClipboardFormatAvailable(ignore);
}

TClipboardSnapshot TClipboardSnapshot::Take() {
    TClipboardSnapshot s;
    s.empty = TZarClipboard::ClipboardIsEmpty();
    s.hidden = !s.empty && TZarClipboard::ContentIsPrivate();
    if (s.empty || s.hidden) return s;
    for (TZarClipFormat f : {fText, fBitmap, fMetafile, fOemText, fPicture, fComponent, fFileList})
        s.present[f] = TZarClipboard::HasFormat(TZarClipboard::ClipboardFormatOf(f));
    return s;
}

TZarClipFormat TZarClipboard::DefaultFormat(const TClipboardSnapshot& now) {
    for (TZarClipFormat f : {fText, fOemText, fFileList, fBitmap, fMetafile, fComponent})
        if (now.Has(f)) return f;
    return fUnknown;
}

TZarClipFormat TZarClipboard::GetDisplayFormat(const TClipboardSnapshot& now) {
    if (now.empty) return fEmpty;
    if (viewFormat_ != fDefault) return viewFormat_;
    return DefaultFormat(now);
}

bool TZarClipboard::CanViewFormat(TZarClipFormat f, const TClipboardSnapshot& now) {
    if (f == fDefault || f == fEmpty || f == fUnknown) return true;
    return now.Has(f);
}

void TZarClipboard::Change() {
    if (OnChange) OnChange(this);
}

void TZarClipboard::SetViewFormat(TZarClipFormat v) {
    if (v == viewFormat_) return;
    const TClipboardSnapshot now = TClipboardSnapshot::Take();
    viewFormat_ = now.Has(v) && CanViewFormat(v, now) ? v : fDefault;
    UpdateViewFor(now);
}

void TZarClipboard::Notification(TComponent* c, TOperation op) {
    TScrollBox::Notification(c, op);
    if (op == TOperation::opRemove && c == displayChild_) displayChild_ = textView_ = nullptr;
}

void TZarClipboard::UpdateView() {
    if (pending_) return ShowView(*pending_);
    ShowView(TClipboardSnapshot::Take());
}

void TZarClipboard::UpdateViewFor(const TClipboardSnapshot& now) {
    pending_ = &now;
    try {
        UpdateView();
    } catch (...) {
        pending_ = nullptr; // a view that fails to load leaves no snapshot behind
        throw;
    }
    pending_ = nullptr;
}

void TZarClipboard::ShowView(const TClipboardSnapshot& now) {
    TZarClipFormat f = GetDisplayFormat(now);
    // Private content is never read, whatever format a derived viewer would show: only the notice.
    if (now.hidden || !CanViewFormat(f, now)) f = fUnknown;
    bool textKind = f == fDefault || f == fUnknown || f == fText || f == fOemText || f == fFileList;
    // Text that follows text is filled into the same box: making a new one, with its scroll bars, costs
    // a busy clipboard a tenth of a second per change.
    if (!(textKind && textView_ && textView_ == displayChild_ && textFormat_ == f)) {
        DestroyComponent(displayChild_); // clears displayChild_ through the removal notice
        displayChild_ = textView_ = nullptr;
    }
    // A new view starts unscrolled, with ranges for what it shows (none for an empty clipboard).
    ResetScroll();
    if (f == fEmpty) return UpdateScrollRanges();
    switch (f) {
    case fDefault:
    case fEmpty:
    case fUnknown:
    case fText:
    case fOemText:
    case fFileList:
        ShowText(f, now);
        break;
    case fBitmap:
    case fMetafile:
    case fPicture:
    case fIcon:
        ShowPicture(f);
        break;
    case fComponent:
        ShowComponent();
        break;
    }
    UpdateScrollRanges();
}

void TZarClipboard::ShowText(TZarClipFormat f, const TClipboardSnapshot& now) {
    TMemo* memo = textView_;
    if (!memo) {
        memo = New<TMemo>(this);
        memo->SetBorder(false);
        memo->SetScrollBars(TScrollStyle::ssBoth);
        memo->SetParent(this);
        // After the parent: the box has the viewer's font (only its name changes) and its density, in
        // which the viewer's size is given.
        memo->SetBounds(0, 0, width_, height_);
        if (f == fOemText) memo->Font().SetName(L"Terminal");
        memo->SetAlign(TAlign::alClient);
        displayChild_ = textView_ = memo;
        textFormat_ = f;
    }
    memo->SetReadOnly(false);
    if (now.Has(fText) && f != fFileList) {
        memo->SelectAll(); // the paste replaces what the box showed
        memo->PasteFromClipboard();
    } else {
        memo->SetText(DescribedContent(f, now));
    }
    memo->SetReadOnly(true); // only after the filling: a read-only box refuses a paste
}

namespace {
// Calls add for each name of a list of names each closed by a zero, up to the empty name that ends the
// list or the end of the text.
template <typename Char, typename Add> void ForEachName(std::basic_string_view<Char> names, Add add) {
    while (!names.empty() && names.front() != Char{}) {
        const size_t n = std::min(names.find(Char{}), names.size());
        add(names.substr(0, n));
        names.remove_prefix(std::min(n + 1, names.size()));
    }
}

// The full paths of a file list (a DROPFILES block of the given size), one per line. Only the block's own
// bytes are read, in one pass.
std::wstring FileListText(const BYTE* block, size_t size) {
    std::wstring text;
    DROPFILES head{};
    if (size < sizeof head) return text;
    memcpy(&head, block, sizeof head);
    if (head.pFiles < sizeof head || head.pFiles >= size) return text;
    const size_t bytes = size - head.pFiles;
    auto addLine = [&text](std::wstring_view path) {
        if (!text.empty()) text += L"\r\n";
        text += path;
    };
    if (head.fWide) {
        std::wstring names(bytes / sizeof(wchar_t), L'\0'); // copied, as the block may place them unaligned
        memcpy(names.data(), block + head.pFiles, names.size() * sizeof(wchar_t));
        ForEachName(std::wstring_view(names), addLine);
    } else {
        // Names in the system's ANSI code page, in which the program that copied them wrote them.
        ForEachName(std::string_view(reinterpret_cast<const char*>(block + head.pFiles), bytes),
                    [&](std::string_view name) { addLine(win::ToWide(name, CP_ACP)); });
    }
    return text;
}

// The standard formats by the names they are usually known by.
constexpr struct {
    UINT format;
    const wchar_t* name;
} kStandardFormats[] = {
    {CF_TEXT, L"CF_TEXT"},
    {CF_BITMAP, L"CF_BITMAP"},
    {CF_METAFILEPICT, L"CF_METAFILEPICT"},
    {CF_SYLK, L"CF_SYLK"},
    {CF_DIF, L"CF_DIF"},
    {CF_TIFF, L"CF_TIFF"},
    {CF_OEMTEXT, L"CF_OEMTEXT"},
    {CF_DIB, L"CF_DIB"},
    {CF_PALETTE, L"CF_PALETTE"},
    {CF_PENDATA, L"CF_PENDATA"},
    {CF_RIFF, L"CF_RIFF"},
    {CF_WAVE, L"CF_WAVE"},
    {CF_UNICODETEXT, L"CF_UNICODETEXT"},
    {CF_ENHMETAFILE, L"CF_ENHMETAFILE"},
    {CF_HDROP, L"CF_HDROP"},
    {CF_LOCALE, L"CF_LOCALE"},
    {CF_DIBV5, L"CF_DIBV5"},
    {CF_OWNERDISPLAY, L"CF_OWNERDISPLAY"},
    {CF_DSPTEXT, L"CF_DSPTEXT"},
    {CF_DSPBITMAP, L"CF_DSPBITMAP"},
    {CF_DSPMETAFILEPICT, L"CF_DSPMETAFILEPICT"},
    {CF_DSPENHMETAFILE, L"CF_DSPENHMETAFILE"},
};

// The name a clipboard format is known by: its registered name, or the usual name of a standard format.
std::wstring ClipboardFormatName(UINT format) {
    for (const auto& standard : kStandardFormats)
        if (standard.format == format) return standard.name;
    if (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST)
        return L"CF_PRIVATEFIRST+" + std::to_wstring(format - CF_PRIVATEFIRST);
    if (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST)
        return L"CF_GDIOBJFIRST+" + std::to_wstring(format - CF_GDIOBJFIRST);
    wchar_t name[256];
    int n = format >= 0xC000 ? GetClipboardFormatNameW(format, name, static_cast<int>(std::size(name))) : 0;
    return n > 0 ? std::wstring(name, static_cast<size_t>(n)) : L"Format " + std::to_wstring(format);
}
} // namespace

std::wstring TZarClipboard::DescribedContent(TZarClipFormat f, const TClipboardSnapshot& now) {
    if (now.hidden) return kPrivateClipboardNotice; // nothing of it is read
    if (now.empty) return L"Clipboard is empty";
    // What is read and what is listed is one opening of the clipboard, so no other program can change
    // it in between.
    std::wstring text;
    win::ClipboardOpen open(Handle());
    if (open.opened() && f == fFileList) {
        win::GlobalLockGuard<const BYTE> files(GetClipboardData(CF_HDROP));
        if (files) text = FileListText(files.get(), files.size());
        if (!text.empty()) return text;
    }
    text = L"Unknown Object on the Clipboard";
    if (!open.opened()) {
        RetryLater(); // another program holds it: the names follow when it lets go
        return text;
    }
    for (UINT c = EnumClipboardFormats(0); c; c = EnumClipboardFormats(c))
        text += L"\r\n" + ClipboardFormatName(c);
    return text;
}

SIZE BoundPictureSize(long long w, long long h) {
    if (w <= 0 || h <= 0) return {kDefaultPictureSide, kDefaultPictureSide};
    // Scaled down, keeping the proportions, until both sides and the area are within the bounds.
    double scale = std::min({1.0, double(kMaxPictureSide) / double(w), double(kMaxPictureSide) / double(h),
                             std::sqrt(double(kMaxPictureArea) / (double(w) * double(h)))});
    auto side = [scale](long long v) {
        return static_cast<LONG>(std::clamp<long long>(std::llround(double(v) * scale), 1, kMaxPictureSide));
    };
    return {side(w), side(h)};
}

SIZE MetafilePictureSize(LONG mm, LONG xExt, LONG yExt, int ppi) {
    long long x = xExt, y = yExt; // wide enough for the magnitude of any LONG
    // Units per inch of the fixed mapping modes; pixels are shown at the display's density.
    long long perInch = 0;
    switch (mm) {
    case MM_TEXT:
        perInch = ppi; // pixels already
        break;
    case MM_LOMETRIC:
        perInch = 254;
        break;
    case MM_HIMETRIC:
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC:
        perInch = 2540;
        break;
    case MM_LOENGLISH:
        perInch = 100;
        break;
    case MM_HIENGLISH:
        perInch = 1000;
        break;
    case MM_TWIPS:
        perInch = 1440;
        break;
    default:
        return BoundPictureSize(0, 0); // not a mapping mode: no size to go by
    }
    if (mm == MM_ISOTROPIC || mm == MM_ANISOTROPIC) {
        // A suggested size in hundredths of a millimetre; negative extents give only the proportions, a
        // zero one no suggestion.
        if (x == 0 || y == 0) return BoundPictureSize(0, 0);
        if (x < 0 || y < 0) {
            double ratio = double(std::llabs(y)) / double(std::llabs(x));
            auto scaled = [](double v) { return std::max(1LL, std::llround(v)); };
            return ratio <= 1 ? BoundPictureSize(kDefaultPictureSide, scaled(kDefaultPictureSide * ratio))
                              : BoundPictureSize(scaled(kDefaultPictureSide / ratio), kDefaultPictureSide);
        }
    }
    auto pixels = [perInch, ppi](long long v) { return (std::llabs(v) * ppi + perInch / 2) / perInch; };
    return BoundPictureSize(pixels(x), pixels(y));
}

namespace {
// What came of reading the clipboard: read, held by another program, or gone since it was chosen.
enum class ReadOutcome { Read, Busy, Gone };

// Loads a bitmap or metafile format from the clipboard into the picture; for fPicture, the first format
// in the clipboard's own order that a picture can load. What is tested and what is read is one opening
// of the clipboard, so no other program can change it in between. The clipboard is opened for a window:
// Wine lets two programs that both open it for no window hold it at once.
ReadOutcome LoadPicture(TPicture& picture, TZarClipFormat f, HWND viewer) {
    win::ClipboardOpen open(viewer);
    if (!open.opened()) return ReadOutcome::Busy;
    UINT format = 0;
    if (f == fPicture) {
        for (UINT c = EnumClipboardFormats(0); c && !format; c = EnumClipboardFormats(c))
            if (c == CF_METAFILEPICT || c == CF_ENHMETAFILE || c == CF_BITMAP) format = c;
    } else {
        format = TZarClipboard::ClipboardFormatOf(f);
    }
    HANDLE data = format ? GetClipboardData(format) : nullptr;
    // Content that went away since the format was chosen is a change whose notice is still to come.
    if (!data && (!format || !IsClipboardFormatAvailable(format))) return ReadOutcome::Gone;
    if (format == CF_BITMAP) {
        BITMAP bm{};
        if (!data || !GetObjectW(data, sizeof bm, &bm)) throw Exception(L"Invalid clipboard bitmap");
        // A bitmap beyond the bounds is shown scaled down, never copied at its full size.
        SIZE size = BoundPictureSize(bm.bmWidth, bm.bmHeight);
        bool whole = size.cx == bm.bmWidth && size.cy == bm.bmHeight;
        win::Bitmap copy(
            static_cast<HBITMAP>(CopyImage(data, IMAGE_BITMAP, whole ? 0 : size.cx, whole ? 0 : size.cy, 0)));
        if (!copy) throw Exception(L"Invalid clipboard bitmap");
        picture.SetBitmap(std::move(copy));
    } else if (format == CF_ENHMETAFILE) {
        auto emf = static_cast<HENHMETAFILE>(data);
        ENHMETAHEADER h{};
        if (!emf || !GetEnhMetaFileHeader(emf, sizeof h, &h)) throw Exception(L"Invalid clipboard metafile");
        // The bounds are inclusive device pixels; empty or inverted ones give no size to go by.
        SIZE size = BoundPictureSize(static_cast<long long>(h.rclBounds.right) - h.rclBounds.left + 1,
                                     static_cast<long long>(h.rclBounds.bottom) - h.rclBounds.top + 1);
        win::EnhMetaFile copy(CopyEnhMetaFile(emf, nullptr));
        if (!copy) throw Exception(L"Invalid clipboard metafile");
        picture.SetMetafile(std::move(copy), size.cx, size.cy);
    } else if (format == CF_METAFILEPICT) {
        win::GlobalLockGuard<METAFILEPICT> mfp(data);
        if (!mfp) throw Exception(L"Invalid clipboard metafile");
        UINT bytes = GetMetaFileBitsEx(mfp->hMF, 0, nullptr);
        std::vector<BYTE> bits(bytes);
        if (!bytes || GetMetaFileBitsEx(mfp->hMF, bytes, bits.data()) != bytes)
            throw Exception(L"Invalid clipboard metafile");
        SIZE size = MetafilePictureSize(mfp->mm, mfp->xExt, mfp->yExt, WindowPPI(viewer));
        win::EnhMetaFile emf(SetWinMetaFileBits(bytes, bits.data(), nullptr, mfp.get()));
        if (!emf) throw Exception(L"Invalid clipboard metafile");
        picture.SetMetafile(std::move(emf), size.cx, size.cy);
    }
    return ReadOutcome::Read;
}
} // namespace

void TZarClipboard::ShowPicture(TZarClipFormat f) {
    auto* image = New<TImage>(this);
    image->SetAutoSize(true);
    image->SetBounds(0, 0, image->Width(), image->Height());
    image->SetParent(this);
    displayChild_ = image;
    if (f != fIcon && LoadPicture(image->Picture(), f, Handle()) == ReadOutcome::Busy) RetryLater();
    CenterInParent(image);
}

void TZarClipboard::ShowComponent() {
    std::string bytes;
    {
        win::ClipboardOpen open(Handle());
        if (!open.opened()) return RetryLater();
        win::GlobalLockGuard<const char> data(GetClipboardData(ComponentFormat()));
        if (!data) return;
        // A stored component is a few lines of text; a block beyond the bound is not one.
        if (data.size() > kMaxComponentBytes) throw EReadError(L"Invalid stream format");
        bytes.assign(data.get(), data.size());
    }
    TComponent* c = ReadComponent(bytes, this);
    auto* control = dynamic_cast<TControl*>(c);
    if (!control) return DestroyComponent(c);
    displayChild_ = control;
    control->SetBounds(1, 1, control->Width(), control->Height());
    control->SetParent(this);
    CenterInParent(control);
}

void TZarClipboard::RetryLater() {
    // Another program holds the clipboard open, perhaps only to read it: look again shortly.
    if (handle_) SetTimer(handle_, kRetryTimer, 100, nullptr);
}

void TZarClipboard::CreateHandleDone() {
    TScrollBox::CreateHandleDone();
    inChain_ = true;
    nextViewer_ = SetClipboardViewer(handle_);
}

void TZarClipboard::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_DRAWCLIPBOARD:
        // Pass the notice on before anything here can fail.
        if (nextViewer_) SendMessageW(nextViewer_, m.Msg, m.WParam, m.LParam);
        {
            const TClipboardSnapshot now = TClipboardSnapshot::Take();
            if (now.empty)
                viewFormat_ = fEmpty;
            else if (!now.Has(viewFormat_))
                viewFormat_ = fDefault;
            Change();
            UpdateViewFor(now);
        }
        break; // then the default processing
    case WM_DESTROYCLIPBOARD:
        viewFormat_ = fEmpty;
        Change();
        UpdateView();
        m.Result = 0;
        return;
    case WM_CHANGECBCHAIN: {
        auto leaving = reinterpret_cast<HWND>(m.WParam);
        if (leaving == nextViewer_) nextViewer_ = reinterpret_cast<HWND>(m.LParam);
        if (leaving != handle_ && nextViewer_) SendMessageW(nextViewer_, m.Msg, m.WParam, m.LParam);
        m.Result = 0;
        return;
    }
    case WM_DESTROY:
        // Every way the window goes (re-creation included) leaves the chain first.
        if (inChain_) {
            inChain_ = false;
            ChangeClipboardChain(handle_, nextViewer_);
            nextViewer_ = nullptr;
        }
        break;
    case WM_TIMER:
        if (m.WParam != kRetryTimer) break;
        KillTimer(handle_, kRetryTimer);
        UpdateView();
        m.Result = 0;
        return;
    case WM_SIZE:
        TScrollBox::WndProc(m);
        if (displayChild_) CenterInParent(displayChild_);
        return;
    default:
        break;
    }
    TScrollBox::WndProc(m);
}
