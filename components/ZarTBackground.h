// A background painter shared by decorated controls: gradient, texture, solid colour or hatch. Any change
// of its settings repaints every control that uses it, then fires OnChanged.
#pragma once

#include "components/ZarClasses.h"

#include <cstdint>
#include <vector>

enum TZarBackStyle : unsigned char {
    bGradient,
    bTexture,
    bSolidcolor,
    bBrushFillUseCurrent,
    bBrushFillSolidColor
};

class TZarBackground : public TZarComponent {
public:
    explicit TZarBackground(TComponent* AOwner);
    ~TZarBackground() override;

    TZarTexture& Texture() { return texture_; }
    void SetTexture(const TZarTexture& t);
    TZarGradient& Gradient() { return gradient_; }
    void SetGradient(const TZarGradient& g);
    TZarBrushFill& BrushFill() { return brushFill_; }
    void SetBrushFill(const TZarBrushFill& b);
    TColor SolidColor() const { return solidColor_; }
    void SetSolidColor(TColor c);
    TZarBackStyle BackgroundStyle() const { return style_; }
    void SetBackgroundStyle(TZarBackStyle s);
    TNotifyEvent OnChanged;

    // Controls that show this background; duplicates allowed, the first occurrence removed.
    void AddClient(TControl* c) { clients_.push_back(c); }
    void RemoveClient(TControl* c);
    const std::vector<TControl*>& Clients() const { return clients_; }
    // Invalidates every client in order, then fires OnChanged.
    void NotifyClients();

    void PaintBackground(HDC dc, int w, int h, bool forward) const;
    // Draws text with the 3-D passes of font3D and the face of the letters filled with this background.
    // The canvas area (0, 0)-(rect's size) is worked on off-screen and copied back in one block.
    void DrawBackgroundText(const TZarFont3D& font3D, const TFont& font, HDC canvas, const RECT& rect,
                            const std::wstring& text, UINT format) const;

private:
    TZarTexture texture_;
    TZarBrushFill brushFill_;
    TZarBackStyle style_ = bGradient;
    TColor solidColor_ = clBtnFace;
    TZarGradient gradient_;
    std::vector<TControl*> clients_;
};

// A control's link to a background painter: it joins the painter's clients and asks to hear when the
// painter is destroyed; it leaves the client list when it is moved or goes with its control.
class TBackgroundLink {
public:
    explicit TBackgroundLink(TControl* control) : control_(control) {}
    ~TBackgroundLink() {
        if (background_) background_->RemoveClient(control_);
    }
    TBackgroundLink(const TBackgroundLink&) = delete;
    TBackgroundLink& operator=(const TBackgroundLink&) = delete;
    TZarBackground* get() const { return background_; }
    TZarBackground* operator->() const { return background_; }
    explicit operator bool() const { return background_ != nullptr; }
    // Leaves the old painter's list, joins the new one's, and repaints the control.
    void Set(TZarBackground* value);
    // The control's removal notice: clears the link (and repaints) when it names the linked painter.
    void Removed(TComponent* removed);

private:
    TControl* control_;
    TZarBackground* background_ = nullptr;
};
