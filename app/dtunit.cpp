#include "dtunit.h"

TDTForm* DTForm = nullptr;

TDTForm::TDTForm(TComponent* AOwner) : TForm(AOwner) {
    SetName(L"DTForm");
    SetCaption(L"当前日期时间");
    SetBorderStyle(TFormBorderStyle::bsToolWindow);
    SetClientSize(255, 82);
    Font().SetName(L"宋体");
    Font().SetHeight(16);
    Font().SetCharset(GB2312_CHARSET);
}
