// Message dialogs built from the framework's own form, so that their buttons follow the form's rules
// (a default button for Enter, a cancel button for Escape).
#pragma once

#include "Forms.h"

#include <initializer_list>
#include <string>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel };

// Shows a modal dialog centred on the screen; the first button is the default, and the last one is what
// Escape chooses. Returns the modal result of the button chosen (mrYes, mrNo, mrOk, mrCancel).
int MessageDlg(const std::wstring& text, const std::wstring& caption, TMsgDlgType type,
               std::initializer_list<TMsgDlgBtn> buttons);
