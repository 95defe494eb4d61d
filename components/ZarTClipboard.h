// A scrolling control that always shows what is on the clipboard: a read-only text box for text, a
// picture for bitmaps and metafiles, or the rebuilt control for a stored component.
#pragma once

#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"

enum TZarClipFormat : unsigned char {
    fDefault,
    fEmpty,
    fUnknown,
    fText,
    fBitmap,
    fMetafile,
    fOemText,
    fPicture,
    fComponent,
    fIcon,
    fFileList // files copied in a file manager: their full paths, one per line, in the text view
};

// Bounds on what content from other programs can make the viewer allocate or lay out: a picture's sides
// and area in pixels, and a stored component's bytes. A picture with no usable size is shown at the
// default side.
constexpr long long kMaxPictureSide = 8192, kMaxPictureArea = 16LL * 1024 * 1024, kDefaultPictureSide = 256;
constexpr size_t kMaxComponentBytes = size_t{64} * 1024;

// A width and height in pixels scaled down, proportions kept, to within the picture bounds; sides that
// are not positive give the default square.
SIZE BoundPictureSize(long long w, long long h);
// The size in pixels (ppi to the inch: the display's density) at which a metafile picture with this
// mapping mode and extents is shown: extents in the mode's units, or for the isotropic and anisotropic
// modes a suggested size in hundredths of a millimetre, proportions only when negative, no suggestion
// when zero. Always bounded.
SIZE MetafilePictureSize(LONG mm, LONG xExt, LONG yExt, int ppi = kDesignPPI);

// What the clipboard holds at one moment: whether it is empty, whether the program that put it there marked
// it private, and which of the formats the viewer shows are there. One is taken for each change, so a
// change asks the system once per format. Private content offers no format at all: nothing of it is read.
struct TClipboardSnapshot {
    bool empty = true;
    bool hidden = false;
    bool present[fFileList + 1] = {}; // by view format, for those that stand for a clipboard format
    static TClipboardSnapshot Take();
    bool Has(TZarClipFormat f) const { return f <= fFileList && present[f]; }
};

// Shown instead of content that its program asked clipboard monitors to leave alone.
inline constexpr const wchar_t* kPrivateClipboardNotice = L"剪贴板内容已由复制它的程序标为私密，不予显示";

class TZarClipboard : public TScrollBox {
public:
    explicit TZarClipboard(TComponent* AOwner);
    ~TZarClipboard() override;

    TZarClipFormat ViewFormat() const { return viewFormat_; }
    void SetViewFormat(TZarClipFormat v);
    HWND NextViewer() const { return nextViewer_; }
    TControl* DisplayChild() const { return displayChild_; }
    TNotifyEvent OnChange;

    // Shows what the clipboard holds: what it held at the change being handled, else what it holds now.
    virtual void UpdateView();
    // The format shown for what the clipboard held when the snapshot was taken.
    virtual TZarClipFormat GetDisplayFormat(const TClipboardSnapshot& now);
    virtual void Change();
    virtual bool CanViewFormat(TZarClipFormat f, const TClipboardSnapshot& now);

    // The clipboard format that stands for a view format (0 for those with none).
    static UINT ClipboardFormatOf(TZarClipFormat f);
    // The format chosen automatically for what the clipboard holds.
    static TZarClipFormat DefaultFormat(const TClipboardSnapshot& now);
    static bool ClipboardIsEmpty() { return CountClipboardFormats() == 0; }
    // Whether the clipboard holds the format; the picture format counts as present when any format a
    // picture can load is there.
    static bool HasFormat(UINT format);
    static UINT PictureFormat();
    static UINT ComponentFormat();
    // Whether the program that put the content there asked clipboard monitors to leave it alone (password
    // managers do, with either of two registered formats).
    static bool ContentIsPrivate();

    void WndProc(TMessage& m) override;

protected:
    void CreateHandleDone() override;
    void Notification(TComponent* c, TOperation op) override;

private:
    // Every rebuild goes through the overridable UpdateView, with the change's one snapshot as state.
    void UpdateViewFor(const TClipboardSnapshot& now);
    void ShowView(const TClipboardSnapshot& now);
    void ShowText(TZarClipFormat f, const TClipboardSnapshot& now);
    // The text shown when no clipboard text is pasted: the notice, the file list, or what is there.
    std::wstring DescribedContent(TZarClipFormat f, const TClipboardSnapshot& now);
    void ShowPicture(TZarClipFormat f);
    void ShowComponent();
    void RetryLater();
    static constexpr UINT_PTR kRetryTimer = 1;
    HWND nextViewer_ = nullptr;
    bool inChain_ = false;
    TControl* displayChild_ = nullptr;
    // The text box ShowText made, while it is the display child, and the format it shows.
    TMemo* textView_ = nullptr;
    TZarClipFormat textFormat_ = fDefault;
    TZarClipFormat viewFormat_ = fDefault;
    const TClipboardSnapshot* pending_ = nullptr; // the snapshot of the change being handled, while it is
};
