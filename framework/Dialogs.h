// Message dialogs built from the framework's own form, so that their buttons follow the form's rules
// (a default button for Enter, a cancel button for Escape).
#pragma once

#include "framework/Forms.h"

#include <functional>
#include <initializer_list>
#include <string>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel };

// Shows a modal dialog centred on the screen; the first button is the default, and the last one is what
// Escape chooses. Returns the modal result of the button chosen (mrYes, mrNo, mrOk, mrCancel).
int MessageDlg(const std::wstring& text, const std::wstring& caption, TMsgDlgType type,
               std::initializer_list<TMsgDlgBtn> buttons);

// The platform's file-open dialog with a filter; it offers the last file chosen when it opens again.
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}
    // "Description|patterns|Description|patterns".
    const std::wstring& Filter() const { return filter_; }
    void SetFilter(const std::wstring& f) { filter_ = f; }
    const std::wstring& FileName() const { return fileName_; }
    void SetFileName(const std::wstring& f) { fileName_ = f; }
    // Shows the dialog modally; true when the user chose a file (then FileName is its full path).
    bool Execute();
    // Replaces the platform dialog (tests): called with the dialog, answers like Execute.
    std::function<bool(TOpenDialog&)> Chooser;

private:
    std::wstring filter_, fileName_;
};
