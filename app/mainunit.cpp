#include "app/mainunit.h"

#include "app/comunit.h"
#include "app/dtunit.h"
#include "app/infounit.h"
#include "app/pmunit.h"
#include "app/songfont.h"
#include "app/upffile.h"
#include "resources/resource.h"

#include "framework/Shell.h"

Tmainform* mainform = nullptr;

Tmainform::Tmainform(TComponent* AOwner) : TForm(AOwner) {
    SetName(L"mainform");
    SetCaption(L"Quennel");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetSystemMenu(false);
    SetClientSize(306, 196);
    SetSongFont(Font());

    Panel1 = New<TPanel>(this);
    Panel1->SetName(L"Panel1");
    Panel1->SetParent(this);
    Panel1->SetAlign(TAlign::alClient);

    Panel2 = New<TPanel>(this);
    Panel2->SetName(L"Panel2");
    Panel2->SetBounds(8, 48, 289, 105);
    Panel2->SetBevelOuter(TBevelCut::bvLowered);
    Panel2->SetColor(8454143);
    Panel2->SetParent(Panel1);

    auto linkFont = [](TZarLabel* l, TColor colour, TFontStyles style) {
        l->Font().SetName(L"MS Sans Serif");
        l->Font().SetHeight(16);
        l->Font().SetStyle(style);
        l->Font().SetColor(colour);
        l->Frame().SetFrameStyle(frameNone);
    };
    ZarLabel1 = New<TZarLabel>(this);
    ZarLabel1->SetName(L"ZarLabel1");
    ZarLabel1->SetBounds(72, 8, 137, 17);
    ZarLabel1->SetCaption(std::wstring(L"软件作者：") + author::Name);
    linkFont(ZarLabel1, clWindowText, fsBold);
    ZarLabel1->Font3D().SetStyle3D(fontOnlyHighlight);
    ZarLabel1->Font3D().SetShadow(clHighlight);
    ZarLabel1->SetParent(Panel2);

    E = New<TZarLabel>(this);
    E->SetName(L"E");
    E->SetBounds(40, 32, 209, 25);
    E->SetCaption(std::wstring(L"E-mail:") + author::Mail);
    linkFont(E, clBlue, fsBold | fsUnderline);
    E->SetCursor(IDC_HAND);
    E->SetHint(L"发电子邮件给Tamsel");
    E->SetShowHint(true);
    E->OnClick = [this](TObject* s) { EClick(s); };
    E->SetTabStop(true);
    E->SetParent(Panel2);

    ZarLabel2 = New<TZarLabel>(this);
    ZarLabel2->SetName(L"ZarLabel2");
    ZarLabel2->SetBounds(56, 56, 185, 25);
    ZarLabel2->SetCaption(author::Homepage);
    linkFont(ZarLabel2, clRed, fsBold | fsUnderline);
    ZarLabel2->SetColor(clWhite);
    ZarLabel2->SetTransparent(true);
    ZarLabel2->SetCursor(IDC_HAND);
    ZarLabel2->SetHint(L"浏览Tamsel的个人主页");
    ZarLabel2->SetShowHint(true);
    ZarLabel2->OnClick = [this](TObject* s) { ZarLabel2Click(s); };
    ZarLabel2->SetTabStop(true);
    ZarLabel2->SetParent(Panel2);

    Label1 = New<TLabel>(this);
    Label1->SetName(L"Label1");
    Label1->SetBounds(9, 85, 272, 16);
    Label1->SetCaption(author::Address);
    Label1->SetTransparent(true);
    Label1->SetWordWrap(false);
    Label1->SetParent(Panel2);
    Label1->Font().SetColor(clMaroon);

    Image1 = New<TImage>(this);
    Image1->SetName(L"Image1");
    Image1->SetBounds(216, 8, 33, 33);
    Image1->Picture().LoadIcon(ModuleInstance(), IDI_QUENNEL, 32);
    Image1->OnClick = [this](TObject* s) { Image1Click(s); };
    Image1->SetParent(Panel2);

    ZarPanel1 = New<TZarPanel>(this);
    ZarPanel1->SetName(L"ZarPanel1");
    ZarPanel1->SetBounds(1, 1, 304, 40);
    ZarPanel1->SetCaption(L"Quennel V1.0");
    ZarPanel1->SetDlgFrame(true);
    ZarPanel1->SetBorderwidth(0);
    ZarPanel1->FrameInner().SetSolid(8453888);
    ZarPanel1->SetParent(Panel1);

    ZarButton1 = New<TZarButton>(this);
    ZarButton1->SetName(L"ZarButton1");
    ZarButton1->SetBounds(120, 160, 89, 30);
    ZarButton1->SetCaption(L"确定");
    ZarButton1->Glyph().LoadFromResource(ModuleInstance(), IDB_CARD_OK);
    ZarButton1->Glyph().SetTransparentColor(clPurple);
    ZarButton1->OnClick = [this](TObject* s) { ZarButton1Click(s); };
    ZarButton1->SetParent(Panel1);

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
    icon.LoadFromResource(ModuleInstance(), IDI_QUENNEL, TTrayIcon::NotificationAreaIconSize());
    TICON->SetIcon(icon);
    TICON->SetToolTip(L"Quennel 1.0");
    TICON->OnSelect = [this](TObject* s) { ticonClick(s); };
    TICON->OnContextMenu = [this](TObject* s, int x, int y) { ticonContextMenu(s, x, y); };

    popmenu = New<TPopupMenu>(this);
    popmenu->SetName(L"popmenu");
    popmenu->OnPopup = [this](TObject* s) { popmenuPopup(s); };
    N2 = AddItem(popmenu, L"N2", L"运行记事本", L"打开记事本程序", &Tmainform::N2Click);
    N8 = AddItem(popmenu, L"N8", L"日期和时间", L"显示当前日期及日期", &Tmainform::N8Click);
    N3 = AddItem(popmenu, L"N3", L"观看剪贴板", L"查看剪贴板内容", &Tmainform::N3Click);
    N10 = AddItem(popmenu, L"N10", L"贴个人信息", L"把个人信息复制到剪贴板", &Tmainform::N10Click);
    N4 = AddItem(popmenu, L"N4", L"运行程序", L"运行程序", &Tmainform::N4Click);
    N6 = AddItem(popmenu, L"N6", L"重新启动", L"重新启动计算机", &Tmainform::N6Click);
    N7 = AddItem(popmenu, L"N7", L"重新登录", L"关闭计算机并以其他用户登录", &Tmainform::N7Click);
    N5 = AddItem(popmenu, L"N5", L"关闭电脑", L"安全关闭计算机", &Tmainform::N5Click);
    N9 = AddItem(popmenu, L"N9", L"返回系统", L"关闭此菜单", &Tmainform::N9Click);

    PopupMenu1 = New<TPopupMenu>(this);
    PopupMenu1->SetName(L"PopupMenu1");
    PopupMenu1->OnPopup = [this](TObject* s) { PopupMenu1Popup(s); };
    N12 = AddItem(PopupMenu1, L"N12", L"设置修改个人信息", L"修改设置个人信息内容", &Tmainform::N12Click);
    N12->SetBreak(TMenuBreak::mbBreak);
    N1 = AddItem(PopupMenu1, L"N1", L"关于\"Quennel\"", L"", &Tmainform::N1Click);
    N15 = AddItem(PopupMenu1, L"N15", L"退出\"Quennel\"", L"退出软件\"Quennel\"", &Tmainform::N15Click);
    N11 = AddItem(PopupMenu1, L"N11", L"返回系统", L"关闭此菜单", nullptr);

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
    StartResident();
}

void Tmainform::StartResident() {
    TICON->SetActive(true);
}

TMenuItem* Tmainform::AddItem(TPopupMenu* menu, const wchar_t* name, const wchar_t* caption,
                              const wchar_t* hint, void (Tmainform::*command)(TObject*)) {
    auto* item = New<TMenuItem>(this);
    item->SetName(name);
    item->SetCaption(caption);
    item->SetHint(hint);
    if (command) item->OnClick = [this, command](TObject* s) { (this->*command)(s); };
    menu->Add(item);
    return item;
}

void Tmainform::ShellOpen(const std::wstring& target) {
    win::TShell::Current().ShellOpen(Handle(), nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Tmainform::EClick(TObject*) {
    ShellOpen(std::wstring(L"mailto:") + author::Mail);
}

void Tmainform::ZarLabel2Click(TObject*) {
    ShellOpen(author::Homepage);
}

void Tmainform::Image1Click(TObject*) {
    Application->MessageBox(L"Tamsel在这里向您问好！祝愿您好运永远.", L"Quennel", MB_OK);
}

void Tmainform::ticonClick(TObject*) {
    if (MenuOpen()) return; // the same press again (Enter reports itself twice)
    // Beside the icon: from the corner of its monitor's work area on the taskbar's side.
    const POINT corner = TICON->CornerBesideIcon();
    if (!popmenu->Popup(corner.x, corner.y)) TICON->ReturnFocus();
}

void Tmainform::ticonContextMenu(TObject*, int X, int Y) {
    if (MenuOpen()) return;
    if (!PopupMenu1->Popup(X, Y)) TICON->ReturnFocus();
}

void Tmainform::popmenuPopup(TObject*) {
    N3->SetCaption(pmform->Visible() ? L"关闭剪贴板" : L"打开剪贴板");
    N4->SetEnabled(!commandform->Visible());
    N2->SetEnabled(!Visible());
    N8->SetEnabled(!DTForm->Visible());
}

void Tmainform::PopupMenu1Popup(TObject*) {
    N12->SetEnabled(!infoform->Visible());
}

bool Tmainform::MenuOpen() const {
    return popmenu->Tracking() || PopupMenu1->Tracking();
}

std::wstring NotepadCommand(const wchar_t* windowsDir, unsigned reportedLength) {
    if (reportedLength == 0 || reportedLength >= 100) return {};
    return L"\"" + std::wstring(windowsDir, reportedLength) + L"\\NOTEPAD.EXE\"";
}

void Tmainform::N2Click(TObject*) {
    wchar_t dir[100];
    std::wstring cmd = NotepadCommand(dir, GetWindowsDirectoryW(dir, 100));
    if (!cmd.empty()) win::TShell::Current().StartProcess(cmd.c_str(), SW_SHOWNORMAL);
}

void Tmainform::N8Click(TObject*) {
    DTForm->Show();
}

void Tmainform::N3Click(TObject*) {
    if (N3->Caption() == L"打开剪贴板")
        pmform->Show();
    else
        pmform->Close();
}

void Tmainform::N10Click(TObject*) {
    infoform->CopyPersonalInfo();
}

void Tmainform::N4Click(TObject*) {
    commandform->ShowModal();
}

void Tmainform::N6Click(TObject*) {
    WExit->SetExitType(xReboot);
    WExit->Execute();
}

void Tmainform::N7Click(TObject*) {
    WExit->SetExitType(xLogoff);
    WExit->Execute();
}

void Tmainform::N5Click(TObject*) {
    WExit->SetExitType(xShutDown);
    WExit->Execute();
}

void Tmainform::N9Click(TObject*) {}

void Tmainform::N12Click(TObject*) {
    infoform->EditPersonalInfo();
}

void Tmainform::N1Click(TObject*) {
    if (!Visible()) Show();
}

void Tmainform::N15Click(TObject*) {
    Close();
}
