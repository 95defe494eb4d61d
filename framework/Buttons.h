// A push button with a glyph beside its caption; the OK and Cancel kinds bring their default and cancel
// roles, modal results and standard glyphs.
#pragma once

#include "framework/StdCtrls.h"

#include <commctrl.h>

enum class TBitBtnKind { bkCustom, bkOK, bkCancel };

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* AOwner);
    TBitBtnKind Kind() const { return kind_; }
    // OK: default button, result OK, OK glyph; Cancel: cancel button, result Cancel, Cancel glyph.
    void SetKind(TBitBtnKind k);
    // A strip of NumGlyphs square cells (normal, then disabled) from a bitmap resource of this module;
    // the strip drawn for the button's density (ScaledImageResource) is the one shown.
    void LoadGlyph(int resourceId, int numGlyphs);
    int NumGlyphs() const { return numGlyphs_; }

protected:
    void CreateHandleDone() override;
    void ScaleBy(int to, int from) override;

private:
    void MakeImages();
    void ApplyGlyph();
    TBitBtnKind kind_ = TBitBtnKind::bkCustom;
    static void DestroyImages(HIMAGELIST h) { ImageList_Destroy(h); }
    win::UniqueHandle<HIMAGELIST, DestroyImages> images_;
    int numGlyphs_ = 0;
    int glyphResource_ = 0;
};
