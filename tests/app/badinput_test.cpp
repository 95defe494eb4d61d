#include "tests/app/AppFixture.h"
#include "app/upffile.h"

#include <random>

namespace {

// The personal-information file under bad input: each case gives its error or works, and no byte of
// the user's data is lost.
struct BadInput : AppFixture {
    std::wstring path = UpfPath();
    std::string saved = test::ReadBytes(path);
    ~BadInput() override {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(path.c_str());
        test::WriteBytes(path, saved);
    }
    // Load and OK without an edit.
    void RoundTrip() {
        infoform->LoadPersonalInfo();
        infoform->SavePersonalInfo();
    }
    std::wstring ErrorOf(void (Tinfoform::*op)()) {
        try {
            (infoform->*op)();
        } catch (const Exception& e) {
            return e.Message();
        }
        return L"";
    }
};

// GB2312 lines of Chinese and Latin text making exactly the number of characters.
std::string TextOfLength(size_t chars) {
    std::wstring text;
    for (int i = 0; text.size() < chars; ++i)
        text += L"你好 line " + std::to_wstring(i) + L"\r\n";
    text.resize(chars);
    text.back() = L'z'; // never half a line break
    return win::FromWide(text, win::CP_GB2312);
}

TEST_F(BadInput, AFileAtTheCapacityLoadsWholeAndRoundTrips) {
    std::string full = TextOfLength(kMemoCapacity);
    test::WriteBytes(path, full);
    RoundTrip();
    EXPECT_EQ(infoform->Memo1->Text().size(), kMemoCapacity);
    EXPECT_EQ(test::ReadBytes(path), full);
}

// One character over the text box's capacity: both commands give the error at once, nothing reaches the
// clipboard, nothing is left to be saved over the file, and a normal file works right after.
TEST_F(BadInput, ATextOverTheCapacityIsRefusedAndLosesNothing) {
    infoform->LoadPersonalInfo(); // the editor holds a text of the file's when the file grows
    const std::string over = TextOfLength(kMemoCapacity + 1);
    test::WriteBytes(path, over);
    DWORD sequence = GetClipboardSequenceNumber();
    EXPECT_EQ(ErrorOf(&Tinfoform::CopyPersonalInfo), L"Text exceeds memo capacity");
    EXPECT_EQ(ErrorOf(&Tinfoform::EditPersonalInfo), L"Text exceeds memo capacity");
    EXPECT_FALSE(infoform->Visible());
    EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
    EXPECT_EQ(infoform->Memo1->Text(), L"");
    EXPECT_TRUE(infoform->Memo1->ReadOnly());
    infoform->SavePersonalInfo(); // OK writes nothing that did not come from a whole load
    EXPECT_EQ(test::ReadBytes(path), over);
    // Far over: refused by its size, before it is read.
    test::WriteBytes(path, std::string(2 * kMemoCapacity + 1, ' '));
    EXPECT_EQ(ErrorOf(&Tinfoform::LoadPersonalInfo), L"Text exceeds memo capacity");

    test::WriteBytes(path, "normal\r\n");
    infoform->CopyPersonalInfo();
    EXPECT_EQ(test::ClipboardText(), L"normal\r\n");
    EXPECT_FALSE(infoform->Memo1->ReadOnly());
    infoform->Memo1->SetText(L"edited");
    infoform->SavePersonalInfo();
    EXPECT_EQ(test::ReadBytes(path), "edited");
}

TEST_F(BadInput, RandomBinaryBytesAndANulByteAreKeptByAnUneditedSave) {
    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (auto& c : noise)
        c = static_cast<char>(random() & 0xFF);
    test::WriteBytes(path, noise);
    RoundTrip();
    EXPECT_EQ(test::ReadBytes(path), noise);
    const std::string nul("before\r\n\0after", 14);
    test::WriteBytes(path, nul);
    infoform->LoadPersonalInfo();
    EXPECT_EQ(infoform->Memo1->Text(), L"before\r\n");
    infoform->SavePersonalInfo();
    EXPECT_EQ(test::ReadBytes(path), nul);
}

TEST_F(BadInput, LoneLineBreaksBecomeCrLf) {
    test::WriteBytes(path, "a\rb\rc");
    RoundTrip();
    EXPECT_EQ(test::ReadBytes(path), "a\r\nb\r\nc");
}

TEST_F(BadInput, AReadOnlyFileRefusesTheSaveAndKeepsItsBytes) {
    test::WriteBytes(path, "mine");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    infoform->LoadPersonalInfo();
    infoform->Memo1->SetText(L"changed");
    EXPECT_EQ(ErrorOf(&Tinfoform::SavePersonalInfo), L"Cannot create file " + path);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(test::ReadBytes(path), "mine");
}

TEST_F(BadInput, AFileHeldWithoutSharingCannotBeOpenedOrReplaced) {
    test::WriteBytes(path, "held");
    infoform->LoadPersonalInfo();
    infoform->Memo1->SetText(L"changed");
    {
        win::File held(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(ErrorOf(&Tinfoform::LoadPersonalInfo), L"Cannot open file " + path);
        EXPECT_NE(ErrorOf(&Tinfoform::SavePersonalInfo), L"");
    }
    EXPECT_EQ(test::ReadBytes(path), "held");
}

TEST_F(BadInput, AFolderWithTheFilesNameIsReportedAndLeftAlone) {
    infoform->LoadPersonalInfo();
    DeleteFileW(path.c_str());
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    EXPECT_EQ(ErrorOf(&Tinfoform::LoadPersonalInfo), L"Cannot open file " + path);
    infoform->Memo1->SetText(L"text");
    EXPECT_EQ(ErrorOf(&Tinfoform::SavePersonalInfo), L"Cannot create file " + path);
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(BadInput, EveryWindowOfTheProgramLetsTheSessionEnd) {
    mainform->ZarButton1Click(nullptr);
    for (TForm* f : std::initializer_list<TForm*>{mainform, pmform, commandform, DTForm, infoform})
        f->HandleNeeded();
    int asked = 0;
    struct Ask {
        int* asked;
        bool allYes = true;
    } ask{&asked};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM l) -> BOOL {
            auto* a = reinterpret_cast<Ask*>(l);
            ++*a->asked;
            if (SendMessageW(h, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) == FALSE) a->allYes = false;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ask));
    EXPECT_GE(asked, 10); // five forms, the application window, the tray, two menu owners, the timer
    EXPECT_TRUE(ask.allYes);
}

} // namespace
