#include "infounit.h"

Tinfoform* infoform = nullptr;

Tinfoform::Tinfoform(TComponent* AOwner) : TForm(AOwner) {
    SetName(L"infoform");
    SetCaption(L"修改个人信息");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetClientSize(307, 200);
    Font().SetName(L"宋体");
    Font().SetHeight(16);
    Font().SetCharset(GB2312_CHARSET);
}
