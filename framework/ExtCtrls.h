// Plain painted controls: text labels and pictures.
#pragma once

#include "framework/Controls.h"
#include "framework/UtilWindow.h"

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
    long AccessibleRole() const override;

private:
    bool transparent_ = false, wordWrap_ = true;
};

// A picture painted by its parent; with AutoSize it takes the picture's size.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    TPicture& Picture() { return picture_; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    void Paint(HDC dc) override;
    long AccessibleRole() const override;

protected:
    // An icon loaded from the program's resources is loaded again at the scaled size.
    void ScaleBy(int to, int from) override;

private:
    void PictureChanged();
    TPicture picture_;
    bool autoSize_ = false;
};

enum class TBorderStyle { bsNone, bsSingle };

// A container that scrolls: its scroll ranges follow the extent of its children.
class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool v);
    POINT ScrollPos() const { return {hPos_, vPos_}; }
    // Recomputes the scroll ranges from the children's extent.
    void UpdateScrollRanges();
    // Scrolls back to the origin, moving the children with the view.
    void ResetScroll();
    void AlignControls() override;
    void WndProc(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void Recreate();

private:
    void ScrollTo(int bar, int pos);
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    bool ctl3D_ = true;
    int hPos_ = 0, vPos_ = 0;
    bool updating_ = false;
};

// Centres a control in its parent's client area, each coordinate clamped at 0; the size is kept.
void CenterInParent(TControl* control);

// A separator line along the top edge: a shadow line above a highlight line.
class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {}
    void Paint(HDC dc) override;
};

// A timer on the GUI thread: OnTimer every Interval milliseconds while enabled.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    // Assigning the handler starts the timer when it is enabled.
    void SetOnTimer(TNotifyEvent handler);
    const TNotifyEvent& OnTimer() const { return onTimer_; }

private:
    void Update();
    TUtilWindow window_;
    TNotifyEvent onTimer_;
    unsigned interval_ = 1000;
    bool enabled_ = true;
    bool running_ = false;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
// The text-drawing flag of an alignment: DT_LEFT, DT_RIGHT or DT_CENTER.
UINT AlignmentFlag(TAlignment a);

// A container with a one-pixel bevel, a face colour and a centred caption.
class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* AOwner);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut v);
    void PaintWindow(HDC dc) override;
    long AccessibleRole() const override; // a grouping, named by its caption

protected:
    void AdjustClientRect(RECT& r) const override;
    // The base panel's face: bevel, colour fill and the plain centred caption.
    void PaintPanel(HDC dc);

private:
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
};
