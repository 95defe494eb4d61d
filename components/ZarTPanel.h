// A panel with an optional dialog frame, outer and inner frames, a border width and a 3-D caption.
#pragma once

#include "components/ZarTBackground.h"

#include "framework/ExtCtrls.h"

class TZarPanel : public TPanel {
public:
    explicit TZarPanel(TComponent* AOwner);
    ~TZarPanel() override;

    TZarFont3D& Font3D() { return font3D_; }
    TZarFrame& FrameOuter() { return frameOuter_; }
    TZarFrame& FrameInner() { return frameInner_; }
    TZarBackground* Background() const { return background_.get(); }
    void SetBackground(TZarBackground* b);
    bool DlgFrame() const { return dlgFrame_; }
    void SetDlgFrame(bool v);
    int Borderwidth() const { return borderWidth_; }
    void SetBorderwidth(int v); // only positive values are stored; repaints always
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    // Stored and repainted; nothing sizes the panel by it.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    // Whether the panel keeps its place when an in-place activated document would take tool space; no
    // such host runs in this program.
    bool Locked() const { return locked_; }
    void SetLocked(bool v) { locked_ = v; }

    // After every move or resize, once the panel has repainted itself whole.
    TNotifyEvent OnResize;
    void WndProc(TMessage& m) override;

    void PaintWindow(HDC dc) override { PaintFace(dc); }
    void PaintFace(HDC dc);

protected:
    void AdjustClientRect(RECT& r) const override;
    void Notification(TComponent* c, TOperation op) override;

private:
    TZarFont3D font3D_{this};
    TZarFrame frameOuter_{this}, frameInner_{this};
    TBackgroundLink background_{this};
    bool dlgFrame_ = false, autoSize_ = false, locked_ = false;
    int borderWidth_ = 0;
    TAlignment alignment_ = TAlignment::taCenter;
};
