// Looking at a running program from outside, as the user's desktop would: its top-level windows, their
// descendants, keys posted to them. Shared by the end-to-end tests and the benchmarks.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

namespace outside {

// A top-level window of the process with the class and caption (either may be null), or null.
HWND TopWindow(DWORD pid, const wchar_t* className, const wchar_t* caption, bool visibleOnly = true);

// The first descendant window whose class (letter case ignored), or with byText whose text (exactly), is
// the given one, or null.
HWND Descendant(HWND top, const wchar_t* name, bool byText = false);

// The window's text as the window answers it (the text of another program's edit box, not only its
// title), at most `limit` characters; empty when it does not answer within a second.
std::wstring WindowText(HWND w, int limit = 4096);

// A key pressed and released, posted to the window.
void PostKey(HWND w, WPARAM vk);

// What a screen reader reads of an element of a window's client area (child 0 is the area itself): the
// system's role and state values, the name and the default action.
struct ReadElement {
    long role = 0, state = 0;
    std::wstring name, action;
};
// The window's client object, as a reader in another process gets it (the caller releases it), or null.
IAccessible* ClientObject(HWND w);
ReadElement Read(IAccessible* object, long child);
// A child id as the interface takes it.
VARIANT ChildId(long id);

} // namespace outside
