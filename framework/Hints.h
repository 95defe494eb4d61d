// The hint shown by the pointer over a painted control that has one: a child window of the top-level
// window, in the system's tip colours and the top-level window's font (the system's status-bar font when
// it has none). (Under Wine on X a popup window over its own
// program's window shows as a black box, the common controls' tip among them; a child window shows as
// drawn.)
#pragma once

#include "framework/Dispatch.h"
#include "framework/Win32.h"

#include <string>

class THintWindow final : public TWindowOwner {
public:
    THintWindow() = default;
    ~THintWindow() { window_.Destroy(); }
    THintWindow(const THintWindow&) = delete;
    THintWindow& operator=(const THintWindow&) = delete;

    // Shows the text in the font (null: the status-bar font) with the hint's top-left corner at the screen
    // point, kept inside the top-level window's client area; the window is made at the first showing.
    void ActivateHint(const std::wstring& text, POINT at, HWND topLevel, HFONT font);
    void Hide();
    bool Showing() const;
    const std::wstring& Text() const { return text_; }

    void WndProc(TMessage& m) override;

private:
    void Paint(HDC dc) const;
    win::Font statusFont_;
    HFONT font_ = nullptr; // the font in use: the caller's, or statusFont_
    std::wstring text_;
};
