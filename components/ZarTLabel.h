// A caption without a window: colour fill, background, 3-D or background-filled text, frame.
#pragma once

#include "components/ZarTBackground.h"

#include "framework/ExtCtrls.h"

class TZarLabel : public TGraphicControl {
public:
    explicit TZarLabel(TComponent* AOwner);
    ~TZarLabel() override;

    TZarFont3D& Font3D() { return font3D_; }
    TZarFrame& Frame() { return frame_; }
    TZarBackground* Background() const { return background_.get(); }
    void SetBackground(TZarBackground* b);
    TZarBackground* FontBackground() const { return fontBackground_.get(); }
    void SetFontBackground(TZarBackground* b);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);

    void Paint(HDC dc) override { PaintFace(dc); }
    void PaintFace(HDC dc);
    // A label with a click handler is a link: painted as one in the plain look, and reported as one.
    bool ActsAsLink() const { return static_cast<bool>(OnClick); }
    long AccessibleRole() const override;
    long AccessibleState() const override;
    std::wstring AccessibleDefaultAction() const override { return ActsAsLink() ? L"Jump" : L""; }
    UINT TextFormat() const;

protected:
    void Notification(TComponent* c, TOperation op) override;

private:
    TZarFont3D font3D_{this};
    TZarFrame frame_{this};
    TBackgroundLink background_{this};
    TBackgroundLink fontBackground_{this};
    bool transparent_ = false, wordWrap_ = false;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};
