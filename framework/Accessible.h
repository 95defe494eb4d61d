// What screen readers read of the framework's windowed controls: the accessible object of a control's
// client area, with its painted children as child elements 1..n (in the control's child order). The
// object is made at the first WM_GETOBJECT, when the accessibility library is loaded; when the control's
// window goes the object is cut off from it, and a reader that still holds it gets CO_E_OBJNOTCONNECTED.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Win32.h"

struct IAccessible;

// What a control's object asks of the control, read at the moment of each call. Its elements are
// numbered as the object's children are: 0 is the control itself (its client area), 1..ElementCount()
// its children in child order.
class TAccessibleElements {
public:
    virtual HWND ElementsWindow() = 0; // the control's window
    virtual int ElementCount() const = 0;
    virtual std::wstring ElementName(int element) const = 0;
    virtual std::wstring ElementDescription(int element) const = 0;
    virtual std::wstring ElementDefaultAction(int element) const = 0; // "" for none
    virtual long ElementRole(int element) const = 0;
    virtual long ElementState(int element) const = 0;
    virtual RECT ElementRect(int element) const = 0; // in the window's client coordinates
    virtual bool ElementVisible(int element) const = 0;
    virtual HWND ElementWindow(int element) = 0; // a child's own window, null for a painted child
    // The element with the keyboard focus, or -1 while the window has it not.
    virtual int FocusedElement() const = 0;
    virtual bool FocusElement(int element) = 0; // false when the focus cannot go there
    virtual void DoElementDefaultAction(int element) = 0;

protected:
    ~TAccessibleElements() = default;
};

// Answers WM_GETOBJECT for the control: its client area's object (made at the first request) for
// OBJID_CLIENT, the system's default answer for anything else.
LRESULT AnswerGetObject(TAccessibleElements& control, win::ComRef<IAccessible>& object, WPARAM w, LPARAM l);
// Answers WM_GETOBJECT for a system control that has a name of ours (a text box with a painted label):
// the system's object with that name. False (nothing answered) for no name or another object.
bool AnswerNamedGetObject(HWND h, const std::wstring& name, WPARAM w, LPARAM l, LRESULT& result);
// Cuts the object off from its control and lets it go (readers may still hold it); object becomes null.
void DisconnectAccessible(win::ComRef<IAccessible>& object);
// The control's name as a reader says it: the caption without its accelerator marks ("&&" is one "&").
std::wstring WithoutAccelerator(const std::wstring& caption);
