// The run-program dialog: a command line or a chosen file handed to the shell.
#pragma once

#include "components/ZarTFileExecute.h"
#include "framework/Buttons.h"
#include "framework/Dialogs.h"

#include <string>

// The directory part of a command text: up to the last "\" or ":", without a trailing "\" unless it
// follows a drive colon or another "\" (C:\WINDOWS\NOTEPAD.EXE gives C:\WINDOWS, C:\SETUP.EXE gives C:\).
std::wstring DirectoryPart(const std::wstring& text);
// The text with its environment variables (%NAME%) expanded as the system's run box expands them; names
// that are not set stay as typed.
std::wstring ExpandVariables(const std::wstring& text);

class Tcommandform : public TForm {
public:
    explicit Tcommandform(TComponent* AOwner);

    TComboBox* CBOX;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;
    TBitBtn* BitBtn3;
    TOpenDialog* DOpen;
    TZarFileExecute* FExecute;

    void BitBtn1Click(TObject* Sender);
    void BitBtn2Click(TObject* Sender);
    void BitBtn3Click(TObject* Sender);
    void CBOXKeyPress(TObject* Sender, wchar_t& Key);
    // Ctrl+Shift+Enter runs the text as administrator.
    void CBOXKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift);

private:
    // The run step of OK, Enter and Ctrl+Shift+Enter: the typed text into the history, its expansion to
    // the shell with the verb of the style, in the expansion's folder; then the dialog closes.
    void RunText(TZarOpenStyle style);
};

extern Tcommandform* commandform;
