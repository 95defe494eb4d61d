// The font every window of the program is laid out for: the Song face, 16 pixels high, GB2312 characters.
#pragma once

#include "framework/Graphics.h"

inline void SetSongFont(TFont& font) {
    font.SetName(L"宋体");
    font.SetHeight(16);
    font.SetCharset(GB2312_CHARSET);
}
