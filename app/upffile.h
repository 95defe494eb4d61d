// The personal-information file beside the executable: its path and the template made at first start.
#pragma once

#include <string>

// The executable's path with its extension replaced by ".UPF": the last "." is replaced when it comes
// after the last "\" and ":", otherwise ".UPF" is appended.
std::wstring UpfPathFor(const std::wstring& exePath);
// The path for the running executable, worked out afresh at each call.
std::wstring UpfPath();

// The template's bytes: seven GB2312 lines, each ended by CR LF.
std::string UpfTemplateBytes();

// Makes sure the file exists. An existing file is never touched; a missing one is created holding the
// template. Raises EInOutError when the file exists but cannot be opened, or cannot be created or written.
void EnsureUpfFile(const std::wstring& path);
