// The main window: the about card that carries the tray icon and the program's non-visual members.
#pragma once

#include "components/TrayIcon.h"
#include "components/ZarTButton.h"
#include "components/ZarTLabel.h"
#include "components/ZarTPanel.h"
#include "components/ZarTExitWindows.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

class Tmainform : public TForm {
public:
    explicit Tmainform(TComponent* AOwner);

    TZarExitWindows* WExit;
    TTrayIcon* TICON;
    TPanel* Panel1;
    TPanel* Panel2;
    TZarLabel* ZarLabel1;
    TZarLabel* E;
    TZarLabel* ZarLabel2;
    TLabel* Label1;
    TImage* Image1;
    TZarPanel* ZarPanel1;
    TZarButton* ZarButton1;

    TPopupMenu* popmenu;
    TMenuItem *N2, *N8, *N3, *N10, *N4, *N6, *N7, *N5, *N9;
    TPopupMenu* PopupMenu1;
    TMenuItem *N12, *N1, *N15, *N11;

    void FormCreate(TObject* Sender);
    void ZarButton1Click(TObject* Sender);
    // The program as after OK on the card, with the card hidden: the tray icon added.
    void StartResident();
    void EClick(TObject* Sender);
    void ZarLabel2Click(TObject* Sender);
    void Image1Click(TObject* Sender);
    // Hands a text to the desktop shell to open with its default action.
    void ShellOpen(const std::wstring& target);
    // The icon chosen (a click, Enter or Space): the quick actions; its menu asked for: the program menu.
    // A menu closed unused gives the focus back to the notification area.
    void ticonClick(TObject* Sender);
    void ticonContextMenu(TObject* Sender, int X, int Y);
    void popmenuPopup(TObject* Sender);
    void PopupMenu1Popup(TObject* Sender);
    void N2Click(TObject* Sender);
    void N8Click(TObject* Sender);
    void N3Click(TObject* Sender);
    void N10Click(TObject* Sender);
    void N4Click(TObject* Sender);
    void N6Click(TObject* Sender);
    void N7Click(TObject* Sender);
    void N5Click(TObject* Sender);
    void N9Click(TObject* Sender);
    void N12Click(TObject* Sender);
    void N1Click(TObject* Sender);
    void N15Click(TObject* Sender);

private:
    // Whether one of the icon's menus is open (a command chosen from it runs after it closed).
    bool MenuOpen() const;
    TMenuItem* AddItem(TPopupMenu* menu, const wchar_t* name, const wchar_t* caption, const wchar_t* hint,
                       void (Tmainform::*command)(TObject*));
};

// The Notepad command line for a Windows directory as the system reports it into a buffer of 100
// characters; empty when the directory did not fit (then nothing is started).
std::wstring NotepadCommand(const wchar_t* windowsDir, unsigned reportedLength);

extern Tmainform* mainform;

// The author's details shown on the card and used by its links.
namespace author {
inline const wchar_t* const Name = L"谭赛尔";
inline const wchar_t* const Mail = L"ts@qn.example";
inline const wchar_t* const Homepage = L"http://qn.example/~ts";
inline const wchar_t* const Address = L"中国上海市南京路100号 邮编200001";
} // namespace author
