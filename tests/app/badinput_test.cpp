#include "AppFixture.h"
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

TEST_F(BadInput, AMegabyteFileLoadsWholeAndRoundTrips) {
    std::string big;
    for (int i = 0; big.size() < 1024 * 1024; ++i)
        big += "\xC4\xE3\xBA\xC3 line " + std::to_string(i) + "\r\n";
    test::WriteBytes(path, big);
    RoundTrip();
    EXPECT_EQ(infoform->Memo1->Text().size(), win::ToWide(big, win::CP_GB2312).size());
    EXPECT_EQ(test::ReadBytes(path), big);
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
