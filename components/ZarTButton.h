// A push button drawn by the library: a bevel that flips when pressed, a glyph and a 3-D caption. It is
// pressed with the left mouse button or the space bar; Enter does nothing.
#pragma once

#include "components/ZarClasses2.h"
#include "components/ZarControls.h"

class TZarButton : public TZarCustomControl {
public:
    static constexpr UINT DefaultFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;

    explicit TZarButton(TComponent* AOwner);

    TZarFont3D& Font3D() { return font3D_; }
    TZarGlyph& Glyph() { return glyph_; }
    bool Down() const { return down_; }
    UINT TextFormat() const { return textFormat_; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    // The button's own enabled flag, which greys its face and keeps the mouse from pressing it. The
    // framework's enabled state stays on: the window still takes the focus and the space bar.
    bool Enabled() const { return buttonEnabled_; }
    void SetEnabled(bool v) override;
    void SetCaption(const std::wstring& text) override;
    long AccessibleRole() const override;
    long AccessibleState() const override; // pressed while down, unavailable while not Enabled
    std::wstring AccessibleDefaultAction() const override { return L"Press"; }

    void PaintFace(HDC dc) override;
    // Where the glyph and the caption go for the current state.
    POINT GlyphPosition() const;
    RECT CaptionRect() const;

protected:
    void Click() override;
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
    void KeyDown(unsigned short& key, TShiftState shift) override;
    void KeyUp(unsigned short& key, TShiftState shift) override;
    void CreateParams(TCreateParams& p) override;
    void ScaleBy(int to, int from) override;

private:
    void SetDown(bool v);  // repaints at once and tells readers
    RECT FaceRect() const; // the area inside the bevel, moved when pressed
    TZarFont3D font3D_{this};
    TZarGlyph glyph_{this};
    bool buttonEnabled_ = true;
    bool down_ = false, wordWrap_ = false;
    UINT textFormat_ = DefaultFormat;
};
