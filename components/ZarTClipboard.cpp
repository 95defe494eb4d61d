#include "ZarTClipboard.h"

#include "../framework/Streams.h"

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
    default:
        return 0;
    }
}

bool TZarClipboard::HasFormat(UINT format) {
    if (format == 0) return false;
    if (format != PictureFormat()) return IsClipboardFormatAvailable(format) != FALSE;
    win::ClipboardOpen open(nullptr);
    if (!open.opened()) return false;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
        if (f == CF_METAFILEPICT || f == CF_ENHMETAFILE || f == CF_BITMAP) return true;
    return false;
}

TZarClipFormat TZarClipboard::DefaultFormat() {
    if (HasFormat(CF_TEXT)) return fText;
    if (HasFormat(CF_OEMTEXT)) return fOemText;
    if (HasFormat(CF_BITMAP)) return fBitmap;
    if (HasFormat(CF_METAFILEPICT)) return fMetafile;
    if (HasFormat(ComponentFormat())) return fComponent;
    return fUnknown;
}

TZarClipFormat TZarClipboard::GetDisplayFormat() {
    if (ClipboardIsEmpty()) return fEmpty;
    if (viewFormat_ != fDefault) return viewFormat_;
    return DefaultFormat();
}

bool TZarClipboard::CanViewFormat(TZarClipFormat f) {
    if (f == fDefault || f == fEmpty || f == fUnknown) return true;
    return HasFormat(ClipboardFormatOf(f));
}

void TZarClipboard::Change() {
    if (OnChange) OnChange(this);
}

void TZarClipboard::SetViewFormat(TZarClipFormat v) {
    if (v == viewFormat_) return;
    viewFormat_ = HasFormat(ClipboardFormatOf(v)) && CanViewFormat(v) ? v : fDefault;
    UpdateView();
}

void TZarClipboard::Notification(TComponent* c, TOperation op) {
    TScrollBox::Notification(c, op);
    if (op == TOperation::opRemove && c == displayChild_) displayChild_ = textView_ = nullptr;
}

void TZarClipboard::UpdateView() {
    TZarClipFormat f = ClipboardIsEmpty() ? fEmpty : GetDisplayFormat();
    if (!CanViewFormat(f)) f = fUnknown;
    bool textKind = f == fDefault || f == fUnknown || f == fText || f == fOemText;
    // Text that follows text is filled into the same box: making a new one, with its scroll bars, costs
    // a busy clipboard a tenth of a second per change.
    if (!(textKind && textView_ && textView_ == displayChild_ && textFormat_ == f)) {
        delete displayChild_; // clears displayChild_ through the removal notice
        displayChild_ = textView_ = nullptr;
    }
    if (f == fEmpty) return;
    switch (f) {
    case fDefault:
    case fEmpty:
    case fUnknown:
    case fText:
    case fOemText:
        ShowText(f);
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

void TZarClipboard::ShowText(TZarClipFormat f) {
    TMemo* memo = textView_;
    if (!memo) {
        memo = New<TMemo>(this);
        memo->SetBorder(false);
        memo->SetScrollBars(TScrollStyle::ssBoth);
        memo->SetBounds(0, 0, width_, height_);
        if (f == fOemText) memo->Font().SetName(L"Terminal");
        memo->SetParent(this);
        memo->SetAlign(TAlign::alClient);
        displayChild_ = textView_ = memo;
        textFormat_ = f;
    }
    memo->SetReadOnly(false);
    if (HasFormat(CF_TEXT)) {
        memo->SelectAll(); // the paste replaces what the box showed
        memo->PasteFromClipboard();
    } else {
        memo->SetText(ClipboardIsEmpty() ? L"Clipboard is empty" : L"Unknown Object on the Clipboard");
    }
    memo->SetReadOnly(true); // only after the filling: a read-only box refuses a paste
}

namespace {
// Loads a bitmap or metafile format from the clipboard into the picture.
void LoadPicture(TPicture& picture, UINT format) {
    win::ClipboardOpen open(nullptr);
    if (!open.opened()) throw Exception(L"Cannot open clipboard");
    if (format == CF_BITMAP) {
        auto bmp = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
        if (!bmp) throw Exception(L"Invalid clipboard bitmap");
        picture.SetBitmap(static_cast<HBITMAP>(CopyImage(bmp, IMAGE_BITMAP, 0, 0, 0)));
    } else if (format == CF_ENHMETAFILE) {
        auto emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
        if (!emf) throw Exception(L"Invalid clipboard metafile");
        ENHMETAHEADER h{};
        GetEnhMetaFileHeader(emf, sizeof h, &h);
        picture.SetMetafile(CopyEnhMetaFile(emf, nullptr), h.rclBounds.right - h.rclBounds.left + 1,
                            h.rclBounds.bottom - h.rclBounds.top + 1);
    } else if (format == CF_METAFILEPICT) {
        HANDLE mem = GetClipboardData(CF_METAFILEPICT);
        auto* mfp = mem ? static_cast<METAFILEPICT*>(GlobalLock(mem)) : nullptr;
        if (!mfp) throw Exception(L"Invalid clipboard metafile");
        UINT size = GetMetaFileBitsEx(mfp->hMF, 0, nullptr);
        std::vector<BYTE> bits(size);
        GetMetaFileBitsEx(mfp->hMF, size, bits.data());
        HENHMETAFILE emf = SetWinMetaFileBits(size, bits.data(), nullptr, mfp);
        // The extent is in hundredths of a millimetre; 96 pixels to the inch.
        int w = MulDiv(std::abs(mfp->xExt), 96, 2540), h = MulDiv(std::abs(mfp->yExt), 96, 2540);
        GlobalUnlock(mem);
        if (!emf) throw Exception(L"Invalid clipboard metafile");
        picture.SetMetafile(emf, w, h);
    }
}
} // namespace

void TZarClipboard::ShowPicture(TZarClipFormat f) {
    auto* image = New<TImage>(this);
    image->SetAutoSize(true);
    image->SetBounds(0, 0, image->Width(), image->Height());
    image->SetParent(this);
    displayChild_ = image;
    UINT load = 0;
    if (f == fPicture && HasFormat(PictureFormat())) {
        win::ClipboardOpen open(nullptr);
        for (UINT c = EnumClipboardFormats(0); c && !load; c = EnumClipboardFormats(c))
            if (c == CF_METAFILEPICT || c == CF_ENHMETAFILE || c == CF_BITMAP) load = c;
    } else if (f == fBitmap && HasFormat(CF_BITMAP)) {
        load = CF_BITMAP;
    } else if (f == fMetafile && HasFormat(CF_METAFILEPICT)) {
        load = CF_METAFILEPICT;
    }
    if (load) LoadPicture(image->Picture(), load);
    CenterInParent(image);
}

void TZarClipboard::ShowComponent() {
    std::string bytes;
    {
        win::ClipboardOpen open(nullptr);
        if (!open.opened()) return;
        HANDLE mem = GetClipboardData(ComponentFormat());
        const void* data = mem ? GlobalLock(mem) : nullptr;
        if (!data) return;
        bytes.assign(static_cast<const char*>(data), GlobalSize(mem));
        GlobalUnlock(mem);
    }
    TComponent* c = ReadComponent(bytes, this);
    if (auto* control = dynamic_cast<TControl*>(c)) {
        displayChild_ = control;
        control->SetBounds(1, 1, control->Width(), control->Height());
        control->SetParent(this);
        CenterInParent(control);
    } else {
        delete c;
    }
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
        if (ClipboardIsEmpty())
            viewFormat_ = fEmpty;
        else if (!HasFormat(ClipboardFormatOf(viewFormat_)))
            viewFormat_ = fDefault;
        Change();
        UpdateView();
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
    case WM_SIZE:
        TScrollBox::WndProc(m);
        if (displayChild_) CenterInParent(displayChild_);
        return;
    default:
        break;
    }
    TScrollBox::WndProc(m);
}
