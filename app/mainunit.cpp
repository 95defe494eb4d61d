#include "mainunit.h"

#include "upffile.h"

Tmainform* mainform = nullptr;

Tmainform::Tmainform(TComponent* AOwner) : TForm(AOwner) {
    SetName(L"mainform");
    SetCaption(L"Quennel");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetSystemMenu(false);
    SetClientSize(306, 196);
    Font().SetName(L"宋体");
    Font().SetHeight(16);
    Font().SetCharset(GB2312_CHARSET);

    ZarButton1 = New<TButton>(this);
    ZarButton1->SetName(L"ZarButton1");
    ZarButton1->SetCaption(L"确定");
    ZarButton1->SetBounds(120, 160, 89, 30);
    ZarButton1->SetParent(this);
    ZarButton1->OnClick = [this](TObject* s) { ZarButton1Click(s); };

    WExit = New<TZarExitWindows>(this);
    WExit->SetName(L"WExit");
    WExit->SetExitType(xLogoff);
    WExit->SetConfirm(false);
    WExit->SetConfirmMessage(L"Are you sure you want to Logoff ?");

    TICON = New<TTrayIcon>(this);
    TICON->SetName(L"TICON");
    TICON->SetActive(false);
    TICON->SetShowDesigning(false);
    TIcon icon;
    icon.LoadFromResource(ModuleInstance(), IDI_QUENNEL, GetSystemMetrics(SM_CXSMICON));
    TICON->SetIcon(icon);
    TICON->SetToolTip(L"Quennel 1.0");
    TICON->OnClick = [this](TObject* s) { ticonClick(s); };
    TICON->OnRightClick = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        ticonRightClick(s, b, sh, x, y);
    };

    // A failing creation handler is reported and start-up carries on.
    try {
        FormCreate(this);
    } catch (...) {
        ReportDispatchError();
    }
}

void Tmainform::FormCreate(TObject*) {
    EnsureUpfFile(UpfPath());
}

void Tmainform::ZarButton1Click(TObject*) {
    Hide();
    TICON->SetActive(true);
}

void Tmainform::ticonClick(TObject*) {}

void Tmainform::ticonRightClick(TObject*, TMouseButton, TShiftState, int, int) {}
