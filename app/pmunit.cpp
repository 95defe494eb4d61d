#include "app/pmunit.h"

#include "app/songfont.h"

Tpmform* pmform = nullptr;

Tpmform::Tpmform(TComponent* AOwner) : TForm(AOwner) {
    SetName(L"pmform");
    SetCaption(L"系统当前剪贴板");
    SetBorderStyle(TFormBorderStyle::bsSizeToolWin);
    SetBounds(Left(), Top(), 435, 300);
    SetSongFont(Font());

    ZarClipboard1 = New<TZarClipboard>(this);
    ZarClipboard1->SetName(L"ZarClipboard1");
    ZarClipboard1->SetCtl3D(true);
    ZarClipboard1->SetParent(this);
    ZarClipboard1->SetAlign(TAlign::alClient);
}
