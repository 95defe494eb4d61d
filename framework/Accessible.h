// What screen readers read of the framework's windowed controls: the accessible object of a control's
// client area, with its painted children as child elements 1..n (in the control's child order). The
// object is made at the first WM_GETOBJECT, when the accessibility library is loaded; when the control's
// window goes the object is cut off from it, and a reader that still holds it gets CO_E_OBJNOTCONNECTED.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Win32.h"

class TWinControl;
struct IAccessible;

// Answers WM_GETOBJECT for the control: its client area's object (made at the first request) for
// OBJID_CLIENT, the system's default answer for anything else.
LRESULT AnswerGetObject(TWinControl& control, win::ComRef<IAccessible>& object, WPARAM w, LPARAM l);
// Answers WM_GETOBJECT for a system control that has a name of ours (a text box with a painted label):
// the system's object with that name. False (nothing answered) for no name or another object.
bool AnswerNamedGetObject(HWND h, const std::wstring& name, WPARAM w, LPARAM l, LRESULT& result);
// Cuts the object off from its control and lets it go (readers may still hold it); object becomes null.
void DisconnectAccessible(win::ComRef<IAccessible>& object);
// The control's name as a reader says it: the caption without its accelerator marks ("&&" is one "&").
std::wstring WithoutAccelerator(const std::wstring& caption);
