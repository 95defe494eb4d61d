#include "app/comunit.h"

#include "app/songfont.h"
#include "resources/resource.h"

Tcommandform* commandform = nullptr;

std::wstring DirectoryPart(const std::wstring& text) {
    // UTF-16 has no trail bytes that could pass for "\" or ":", so a plain search is exact.
    size_t pos = text.find_last_of(L"\\:");
    if (pos == std::wstring::npos) return {};
    size_t i = pos + 1; // 1-based position of that character
    if (i > 1 && text[i - 1] == L'\\' && text[i - 2] != L'\\' && text[i - 2] != L':') --i;
    return text.substr(0, i);
}

std::wstring ExpandVariables(const std::wstring& text) {
    DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    std::wstring expanded(size, L'\0');
    // A variable may change between the two calls: then the text goes as typed.
    DWORD written = size ? ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size) : 0;
    if (written == 0 || written > size) return text;
    expanded.resize(written - 1); // the count includes the closing zero
    return expanded;
}

Tcommandform::Tcommandform(TComponent* AOwner) : TForm(AOwner) {
    SetName(L"commandform");
    SetCaption(L"输入命令行");
    SetBorderStyle(TFormBorderStyle::bsToolWindow);
    SetClientSize(309, 73);
    SetSongFont(Font());

    CBOX = New<TComboBox>(this);
    CBOX->SetName(L"CBOX");
    CBOX->SetBounds(16, 8, 281, 24);
    CBOX->SetItemHeight(16);
    CBOX->SetAccessibleName(L"命令行"); // the name a screen reader says for the box
    CBOX->SetParent(this);
    CBOX->OnKeyPress = [this](TObject* s, wchar_t& k) { CBOXKeyPress(s, k); };
    CBOX->OnKeyDown = [this](TObject* s, unsigned short& k, TShiftState sh) { CBOXKeyDown(s, k, sh); };

    BitBtn1 = New<TBitBtn>(this);
    BitBtn1->SetName(L"BitBtn1");
    BitBtn1->SetBounds(16, 40, 75, 25);
    BitBtn1->SetParent(this);
    BitBtn1->SetKind(TBitBtnKind::bkOK);
    BitBtn1->SetModalResult(mrNone); // the run step closes the dialog itself
    BitBtn1->SetCaption(L"确定");
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };

    BitBtn2 = New<TBitBtn>(this);
    BitBtn2->SetName(L"BitBtn2");
    BitBtn2->SetBounds(120, 40, 75, 25);
    BitBtn2->SetParent(this);
    BitBtn2->SetKind(TBitBtnKind::bkCancel);
    BitBtn2->SetCaption(L"放弃");
    BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };

    BitBtn3 = New<TBitBtn>(this);
    BitBtn3->SetName(L"BitBtn3");
    BitBtn3->SetBounds(224, 40, 75, 25);
    BitBtn3->SetParent(this);
    BitBtn3->SetCaption(L"浏览");
    BitBtn3->LoadGlyph(IDB_GLYPH_BROWSE, 2);
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };

    DOpen = New<TOpenDialog>(this);
    DOpen->SetName(L"DOpen");
    DOpen->SetFilter(L"Executable files [*.EXE; *.COM ; *.BAT ]|*.com;*.bat;*.exe|All Files [*.*]|*.*");

    FExecute = New<TZarFileExecute>(this);
    FExecute->SetName(L"FExecute");
}

void Tcommandform::RunText(TZarOpenStyle style) {
    const std::wstring text = CBOX->Text();
    CBOX->AddItem(text); // every run, empty texts and repeats too, as typed
    const std::wstring command = ExpandVariables(text);
    FExecute->SetExeStyle(style);
    FExecute->SetFilename(command);
    FExecute->SetExePath(DirectoryPart(command));
    FExecute->Execute(); // a failed start or a refused elevation closes the dialog all the same
    Close();
}

void Tcommandform::BitBtn1Click(TObject*) {
    RunText(osDefault);
}

void Tcommandform::BitBtn2Click(TObject*) {
    Close();
}

void Tcommandform::BitBtn3Click(TObject* Sender) {
    if (DOpen->Execute()) CBOX->SetText(DOpen->FileName());
    BitBtn1Click(Sender); // also after a cancelled file dialog
}

void Tcommandform::CBOXKeyPress(TObject* Sender, wchar_t& Key) {
    if (Key == L'\r') BitBtn1Click(Sender);
}

void Tcommandform::CBOXKeyDown(TObject*, unsigned short& Key, TShiftState Shift) {
    if (Key != VK_RETURN || (Shift & (ssCtrl | ssShift | ssAlt)) != (ssCtrl | ssShift)) return;
    Key = 0;   // the box does nothing more with it
    MSG typed; // nor with the character the key made, if the keyboard gave one
    PeekMessageW(&typed, CBOX->EditHandle(), WM_CHAR, WM_CHAR, PM_REMOVE);
    RunText(osRunAs);
}
