#include "comunit.h"

Tcommandform* commandform = nullptr;

Tcommandform::Tcommandform(TComponent* AOwner) : TForm(AOwner) {
    SetName(L"commandform");
    SetCaption(L"输入命令行");
    SetBorderStyle(TFormBorderStyle::bsToolWindow);
    SetClientSize(309, 73);
    Font().SetName(L"宋体");
    Font().SetHeight(16);
    Font().SetCharset(GB2312_CHARSET);
}
