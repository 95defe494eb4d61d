#include "components/ZarControls.h"

TZarCustomControl::~TZarCustomControl() = default;

void TZarCustomControl::SetBackground(TZarBackground* b) {
    background_.Set(b);
}

void TZarCustomControl::Notification(TComponent* c, TOperation op) {
    TWinControl::Notification(c, op);
    if (op == TOperation::opRemove) background_.Removed(c);
}

void TZarCustomControl::PaintFace(HDC dc) {
    if (background_ && !HighContrast()) {
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
