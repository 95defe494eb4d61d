// The main window: the about card that carries the tray icon and the program's non-visual members.
#pragma once

#include "../components/TrayIcon.h"
#include "../components/ZarTExitWindows.h"
#include "../framework/StdCtrls.h"

class Tmainform : public TForm {
public:
    explicit Tmainform(TComponent* AOwner);

    TZarExitWindows* WExit;
    TTrayIcon* TICON;
    TButton* ZarButton1;

    void FormCreate(TObject* Sender);
    void ZarButton1Click(TObject* Sender);
    void ticonClick(TObject* Sender);
    void ticonRightClick(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
};

extern Tmainform* mainform;

// Resource id of the program icon.
constexpr int IDI_QUENNEL = 1;
