// Plain painted controls: text labels and pictures.
#pragma once

#include "Controls.h"

// A caption painted by its parent.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    // The size the caption needs when wrapped at the given width.
    SIZE TextExtent(int maxWidth) const;
    void Paint(HDC dc) override;

private:
    bool transparent_ = false, wordWrap_ = true;
};

// An icon picture painted by its parent.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    TIcon& Picture() { return picture_; }
    void Paint(HDC dc) override;

private:
    TIcon picture_;
};
