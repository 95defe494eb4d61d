#include "framework/Dialogs.h"

#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"

#include <commdlg.h>

#include <algorithm>
#include <memory>
#include <vector>

int MessageDlg(const std::wstring& text, const std::wstring& caption, TMsgDlgType type,
               std::initializer_list<TMsgDlgBtn> buttons) {
    std::unique_ptr<TForm> form(New<TForm>(nullptr));
    // The box is laid out at the density it is shown at, from its text's measured size.
    form->ChangeScale(SystemPPI());
    auto px = [&form](int designPixels) { return form->Scaled(designPixels); };
    form->SetBorderStyle(TFormBorderStyle::bsDialog);
    form->SetCaption(caption);
    form->Font().Assign(TFont());
    form->Font().SetName(L"Tahoma");
    form->Font().SetHeight(px(11));

    const wchar_t* iconId = nullptr;
    switch (type) {
    case mtWarning:
        iconId = IDI_WARNING;
        break;
    case mtError:
        iconId = IDI_ERROR;
        break;
    case mtInformation:
        iconId = IDI_INFORMATION;
        break;
    case mtConfirmation:
        iconId = IDI_QUESTION;
        break;
    case mtCustom:
        break;
    }
    const int margin = px(12), iconSide = px(32);
    int x = margin;
    if (iconId) {
        auto* image = New<TImage>(form.get());
        image->SetParent(form.get());
        image->SetBounds(margin, margin, iconSide, iconSide);
        image->Picture().SetIcon(LoadIconOfSize(nullptr, iconId, iconSide));
        x = px(56);
    }

    auto* label = New<TLabel>(form.get());
    label->SetParent(form.get());
    label->SetCaption(text);
    SIZE textSize = label->TextExtent(px(360));
    label->SetBounds(x, margin + (iconId ? std::max(0L, (iconSide - textSize.cy) / 2) : 0), textSize.cx,
                     textSize.cy);

    const int bw = px(75), bh = px(25), gap = px(8);
    int count = static_cast<int>(buttons.size());
    int rowWidth = count * bw + (count - 1) * gap;
    int clientW = std::max<int>(x + textSize.cx + margin, rowWidth + 2 * margin);
    int top = margin + std::max<int>(iconId ? iconSide : 0, textSize.cy) + px(16);
    int left = (clientW - rowWidth) / 2;
    int index = 0;
    for (TMsgDlgBtn b : buttons) {
        static const wchar_t* const captions[] = {L"&Yes", L"&No", L"OK", L"Cancel"};
        static const int results[] = {mrYes, mrNo, mrOk, mrCancel};
        auto* button = New<TButton>(form.get());
        button->SetParent(form.get());
        button->SetCaption(captions[b]);
        button->SetModalResult(results[b]);
        button->SetBounds(left + index * (bw + gap), top, bw, bh);
        if (index == 0) button->SetDefault(true);
        if (index == count - 1) button->SetCancel(true);
        if (index == 0) form->SetActiveControl(button);
        ++index;
    }
    form->SetClientSize(clientW, top + bh + margin);
    return form->ShowModal();
}

bool TOpenDialog::Execute() {
    if (Chooser) return Chooser(*this);
    std::wstring filter = filter_;
    for (auto& c : filter)
        if (c == L'|') c = L'\0';
    filter += std::wstring(2, L'\0');
    std::wstring file = fileName_;
    file.resize(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
    // The dialog library is loaded only while the dialog is up: linked at start it pulls in the printing
    // stack behind it, which costs every start-up and megabytes of memory for a rarely used button.
    win::Module comdlg(win::LoadSystemLibrary(L"comdlg32.dll"));
    auto open = comdlg ? reinterpret_cast<decltype(&GetOpenFileNameW)>(
                             reinterpret_cast<void*>(GetProcAddress(comdlg.get(), "GetOpenFileNameW")))
                       : nullptr;
    if (!open) throw Exception(L"The file dialog is not available: " + win::SystemErrorText(GetLastError()));
    if (!open(&ofn)) return false;
    fileName_ = file.c_str();
    return true;
}
