#include "app/infounit.h"

#include "app/songfont.h"
#include "app/upffile.h"

Tinfoform* infoform = nullptr;

std::string NormalizeLineBreaks(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\0') break;
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

Tinfoform::Tinfoform(TComponent* AOwner) : TForm(AOwner) {
    SetName(L"infoform");
    SetCaption(L"修改个人信息");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetClientSize(307, 200);
    SetSongFont(Font());

    BitBtn1 = New<TBitBtn>(this);
    BitBtn1->SetName(L"BitBtn1");
    BitBtn1->SetCaption(L"OK");
    BitBtn1->SetBounds(40, 168, 75, 25);
    BitBtn1->SetParent(this);
    BitBtn1->SetKind(TBitBtnKind::bkOK);
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };

    BitBtn2 = New<TBitBtn>(this);
    BitBtn2->SetName(L"BitBtn2");
    BitBtn2->SetCaption(L"Cancel");
    BitBtn2->SetBounds(192, 168, 75, 25);
    BitBtn2->SetParent(this);
    BitBtn2->SetKind(TBitBtnKind::bkCancel);

    Memo1 = New<TMemo>(this);
    Memo1->SetName(L"Memo1");
    Memo1->SetBounds(0, 0, 307, 153);
    Memo1->SetScrollBars(TScrollStyle::ssNone);
    Memo1->SetWordWrap(true);
    Memo1->SetAccessibleName(L"个人信息"); // the name a screen reader says for the box
    Memo1->SetWantReturns(true);
    Memo1->SetParent(this);
    Memo1->SetMaxLength(kMemoCapacity); // what is typed in can always be loaded again
    Memo1->SetText(L"姓名:\r\n电子邮件:\r\n个人主页:\r\n通讯地址:\r\n联系电话:\r\nICQ UIN :\r\n");

    auto* bevel = New<TBevel>(this);
    bevel->SetName(L"Bevel1");
    bevel->SetBounds(0, 160, 305, 2);
    bevel->SetParent(this);
}

void Tinfoform::LoadPersonalInfo() {
    std::wstring path = UpfPath();
    win::File file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw Exception(L"Cannot open file " + path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) throw Exception(L"Cannot open file " + path);
    // Every byte gives at most one character, but a lone line break gives two: a file over twice the
    // capacity cannot fit, and is refused before it is read.
    if (static_cast<unsigned long long>(size.QuadPart) > 2 * kMemoCapacity) RefuseText();
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        throw Exception(L"Cannot open file " + path);
    bytes.resize(read);
    bool cutAtNul = bytes.find('\0') != std::string::npos;
    std::string raw = cutAtNul ? bytes : std::string();
    bytes = NormalizeLineBreaks(bytes);
    std::wstring text = win::ToWide(bytes, win::CP_GB2312);
    if (text.size() > kMemoCapacity) RefuseText();
    if (Memo1->Text() != text) {
        loaded_ = false; // until the text box holds the whole new text
        try {
            Memo1->SetText(text);
        } catch (...) {
            RefuseText();
        }
    }
    Memo1->SetReadOnly(false);
    loaded_ = true;
    cutAtNul_ = cutAtNul;
    rawBytes_ = std::move(raw);
    loadedBytes_ = std::move(bytes);
    loadedText_ = std::move(text);
}

void Tinfoform::RefuseText() {
    // The editor is left without a text that could be taken for the file's and saved over it.
    loaded_ = false;
    try {
        Memo1->SetText(L"");
    } catch (...) {
    }
    Memo1->SetReadOnly(true);
    loadedText_.clear();
    loadedBytes_.clear();
    rawBytes_.clear();
    throw Exception(L"Text exceeds memo capacity");
}

void Tinfoform::SavePersonalInfo() {
    // After a load that failed the text box holds nothing of the file's: there is nothing to save.
    if (!loaded_) return;
    std::wstring path = UpfPath();
    std::wstring text = Memo1->Text();
    std::string bytes;
    if (text == loadedText_) {
        bytes = cutAtNul_ ? rawBytes_ : loadedBytes_; // unedited: nothing the user did not change is lost
    } else {
        BOOL lossy = FALSE;
        int n = WideCharToMultiByte(win::CP_GB2312, WC_NO_BEST_FIT_CHARS, text.data(),
                                    static_cast<int>(text.size()), nullptr, 0, nullptr, &lossy);
        if (lossy) throw Exception(L"The text holds characters that GB2312 cannot store");
        bytes.resize(static_cast<size_t>(n));
        WideCharToMultiByte(win::CP_GB2312, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                            bytes.data(), n, nullptr, nullptr);
    }
    // A read-only file is the user's word that it must not change (a rename would replace it anyway).
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        throw Exception(L"Cannot create file " + path);
    // The new text goes to a file beside the old one, which is replaced only once all of it is written.
    std::wstring temp = path + L".new";
    {
        win::File file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) throw Exception(L"Cannot create file " + path);
        DWORD written = 0;
        bool ok = (bytes.empty() || WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                              &written, nullptr)) &&
                  written == bytes.size() && FlushFileBuffers(file.get());
        if (!ok) {
            file.reset();
            DeleteFileW(temp.c_str());
            throw Exception(L"Stream write error");
        }
    }
    if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        throw Exception(L"Cannot create file " + path);
    }
    loadedBytes_ = std::move(bytes);
    loadedText_ = std::move(text);
    cutAtNul_ = false;
    rawBytes_.clear();
}

void Tinfoform::EditPersonalInfo() {
    LoadPersonalInfo();
    ShowModal();
}

void Tinfoform::CopyPersonalInfo() {
    LoadPersonalInfo();
    Memo1->SelectAll();
    Memo1->CopyToClipboard();
}

void Tinfoform::BitBtn1Click(TObject*) {
    try {
        SavePersonalInfo();
    } catch (...) {
        // A failed save keeps the editor open with the user's text.
        SetModalResult(mrNone);
        throw;
    }
}
