// Base of the library's decorated windowed controls: one paint path over a button-face fill or a linked
// background painter.
#pragma once

#include "components/ZarTBackground.h"

class TZarCustomControl : public TWinControl {
public:
    explicit TZarCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
    ~TZarCustomControl() override;

    TZarBackground* Background() const { return background_.get(); }
    // Leaves the old background's client list, joins the new one's and repaints.
    void SetBackground(TZarBackground* b);

    // Paints the whole face on a device context (the paint message only obtains the context).
    virtual void PaintFace(HDC dc);
    void PaintWindow(HDC dc) override { PaintFace(dc); }

protected:
    void Notification(TComponent* c, TOperation op) override;
    // Repaints at once, outside a paint request.
    void RedrawNow();

private:
    TBackgroundLink background_{this};
};
