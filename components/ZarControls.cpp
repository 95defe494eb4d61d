#include "ZarControls.h"

TZarCustomControl::~TZarCustomControl() {
    if (background_) background_->RemoveClient(this);
}

void TZarCustomControl::SetBackground(TZarBackground* b) {
    if (background_) {
        background_->RemoveClient(this);
        RemoveFreeNotification(background_);
    }
    if (b) b->AddClient(this);
    background_ = b;
    if (b) FreeNotification(b); // cleared wherever the background lives
    Invalidate();
}

void TZarCustomControl::Notification(TComponent* c, TOperation op) {
    TWinControl::Notification(c, op);
    if (op == TOperation::opRemove && c == background_) {
        background_ = nullptr; // the background is going: its list goes with it
        Invalidate();
    }
}

void TZarCustomControl::PaintFace(HDC dc) {
    if (background_) {
        background_->PaintBackground(dc, width_, height_, true);
        return;
    }
    RECT r{0, 0, width_, height_};
    win::Brush face(CreateSolidBrush(ColorToRGB(clBtnFace)));
    FillRect(dc, &r, face.get());
}

void TZarCustomControl::RedrawNow() {
    if (!handle_) return;
    win::WindowDC dc(handle_);
    PaintFace(dc);
}
