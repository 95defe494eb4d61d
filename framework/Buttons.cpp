#include "framework/Buttons.h"

#include "framework/Forms.h"

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {}

void TBitBtn::SetKind(TBitBtnKind k) {
    kind_ = k;
    if (k == TBitBtnKind::bkOK) {
        SetDefault(true);
        SetModalResult(mrOk);
        LoadGlyph(Application ? Application->Resources().okGlyph : 0, 1);
    } else if (k == TBitBtnKind::bkCancel) {
        SetCancel(true);
        SetModalResult(mrCancel);
        LoadGlyph(Application ? Application->Resources().cancelGlyph : 0, 1);
    }
}

void TBitBtn::LoadGlyph(int resourceId, int numGlyphs) {
    images_.reset();
    bool found = FindResourceW(ModuleInstance(), MAKEINTRESOURCEW(resourceId), RT_BITMAP) != nullptr;
    glyphResource_ = found ? resourceId : 0;
    numGlyphs_ = found ? numGlyphs : 0;
    ApplyGlyph();
}

// The image list is made with the button's window: a dialog that is never opened never loads the
// common-controls library for its glyphs.
void TBitBtn::MakeImages() {
    if (images_ || !glyphResource_) return;
    const int id = ScaledImageResource(ModuleInstance(), glyphResource_, currentPPI_);
    win::Bitmap strip(static_cast<HBITMAP>(
        LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!strip) return;
    BITMAP bm{};
    GetObjectW(strip.get(), sizeof bm, &bm);
    const int cell = bm.bmHeight;
    // The button takes one image per state: normal, hot, pressed, disabled, default, stylus-hot. The
    // disabled state shows the second cell when the strip has one.
    win::WindowDC screen(nullptr);
    win::Bitmap states(CreateCompatibleBitmap(screen, cell * 6, cell));
    {
        win::MemoryDC from(screen), to(screen);
        win::SelectObjectGuard a(from, strip.get()), b(to, states.get());
        for (int state = 0; state < 6; ++state) {
            int source = (state == 3 && numGlyphs_ >= 2 && bm.bmWidth >= 2 * cell) ? 1 : 0;
            BitBlt(to, state * cell, 0, cell, cell, from, source * cell, 0, SRCCOPY);
        }
    }
    images_.reset(ImageList_Create(cell, cell, ILC_COLOR24 | ILC_MASK, 6, 0));
    ImageList_AddMasked(images_.get(), states.get(), RGB(255, 0, 255));
}

void TBitBtn::CreateHandleDone() {
    TButton::CreateHandleDone();
    ApplyGlyph();
}

void TBitBtn::ScaleBy(int to, int from) {
    TButton::ScaleBy(to, from);
    // The button lets go of the old images only once it has the new ones.
    auto old = std::move(images_);
    ApplyGlyph();
}

void TBitBtn::ApplyGlyph() {
    if (!handle_) return;
    MakeImages();
    if (!images_) return;
    BUTTON_IMAGELIST list{images_.get(), {Scaled(4), 0, Scaled(4), 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
    SendMessageW(handle_, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
}
