#include "app/upffile.h"

#include "framework/Classes.h"
#include "framework/Win32.h"

std::wstring UpfPathFor(const std::wstring& exePath) {
    // UTF-16 text has no trail bytes that could pass for "." "\" or ":", so a plain search is exact.
    size_t dot = exePath.find_last_of(L'.');
    size_t sep = exePath.find_last_of(L"\\:");
    if (dot != std::wstring::npos && (sep == std::wstring::npos || dot > sep))
        return exePath.substr(0, dot) + L".UPF";
    return exePath + L".UPF";
}

std::wstring UpfPath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) {
            buf.resize(n);
            break;
        }
        buf.resize(buf.size() * 2);
    }
    return UpfPathFor(buf);
}

std::string UpfTemplateBytes() {
    static const wchar_t* const lines[] = {
        L"在此放入您的个人信息", L"姓名:", L"电子邮件:", L"电话号码:", L"通讯地址:", L"......", L""};
    std::wstring text;
    for (const wchar_t* line : lines)
        text += std::wstring(line) + L"\r\n";
    return win::FromWide(text, win::CP_GB2312);
}

void EnsureUpfFile(const std::wstring& path) {
    win::File probe(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (probe) return; // it opens: its contents are the user's and are never examined
    DWORD openError = GetLastError();
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        throw EInOutError(openError); // there but unreadable (locked, no permission, a folder): leave it

    // CREATE_NEW: should the file appear meanwhile, it is left alone rather than overwritten.
    win::File file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EInOutError(GetLastError());
    std::string bytes = UpfTemplateBytes();
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        throw EInOutError(GetLastError());
    if (written != bytes.size()) throw EInOutError(ERROR_DISK_FULL);
    if (!CloseHandle(file.release())) throw EInOutError(GetLastError());
}
