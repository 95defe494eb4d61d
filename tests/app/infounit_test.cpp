#include "tests/app/AppFixture.h"
#include "app/upffile.h"

namespace {

TEST(LineBreaks, LoneBreaksBecomeCrLfAndANulEndsTheText) {
    EXPECT_EQ(NormalizeLineBreaks("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(NormalizeLineBreaks("\r\r\n\n"), "\r\n\r\n\r\n");
    EXPECT_EQ(NormalizeLineBreaks(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(NormalizeLineBreaks("x\r"), "x\r\n");
}

struct Info : AppFixture {
    std::wstring path = UpfPath();
    std::string saved = test::ReadBytes(path);
    ~Info() override { test::WriteBytes(path, saved); }
    static std::string ClipboardText() { return win::FromWide(test::ClipboardText(), win::CP_GB2312); }
};

TEST_F(Info, CopyPutsExactlyTheTemplateOnTheClipboard) {
    test::WriteBytes(path, UpfTemplateBytes());
    infoform->CopyPersonalInfo();
    EXPECT_EQ(ClipboardText(), UpfTemplateBytes());
    EXPECT_FALSE(infoform->Visible());
}

TEST_F(Info, LfOnlyFileLoadsAsLinesAndSavesWithCrLf) {
    test::WriteBytes(path, "a\nb\n");
    infoform->LoadPersonalInfo();
    EXPECT_EQ(infoform->Memo1->Text(), L"a\r\nb\r\n");
    infoform->SavePersonalInfo();
    EXPECT_EQ(test::ReadBytes(path), "a\r\nb\r\n");
}

TEST_F(Info, EditedTextIsSavedExactlyAsGb2312WithoutAnAddedLineBreak) {
    test::WriteBytes(path, UpfTemplateBytes());
    infoform->LoadPersonalInfo();
    infoform->Memo1->SetText(L"姓名:张三\r\n\r\n");
    infoform->SavePersonalInfo();
    EXPECT_EQ(test::ReadBytes(path), "\xD0\xD5\xC3\xFB:\xD5\xC5\xC8\xFD\r\n\r\n");
    infoform->Memo1->SetText(L"end");
    infoform->SavePersonalInfo();
    EXPECT_EQ(test::ReadBytes(path), "end");
}

TEST_F(Info, UneditedLoadAndSaveKeepsEvenInvalidBytes) {
    const std::string odd("\x81\x20 name\r\n\xFF\xFE\r\n", 13);
    test::WriteBytes(path, odd);
    infoform->LoadPersonalInfo();
    infoform->SavePersonalInfo();
    EXPECT_EQ(test::ReadBytes(path), odd);
}

TEST_F(Info, TextGb2312CannotHoldIsRefusedAndTheFileKept) {
    test::WriteBytes(path, "old");
    infoform->LoadPersonalInfo();
    infoform->Memo1->SetText(L"emoji \U0001F600");
    EXPECT_THROW(infoform->SavePersonalInfo(), Exception);
    EXPECT_EQ(test::ReadBytes(path), "old");
}

TEST_F(Info, MissingFileIsReportedWithItsPathAndNotRecreated) {
    DeleteFileW(path.c_str());
    for (auto command : {&Tinfoform::CopyPersonalInfo, &Tinfoform::EditPersonalInfo}) {
        try {
            (infoform->*command)();
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), L"Cannot open file " + path);
        }
    }
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(infoform->Visible());
}

TEST_F(Info, FailedSaveKeepsTheOldFileAndTheEditorOpenWithTheEdits) {
    test::WriteBytes(path, "old");
    test::ErrorCatcher errors;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    bool stayedOpen = false;
    infoform->OnShow = [&](TObject*) {
        infoform->Memo1->SetText(L"edited");
        PostMessageW(infoform->BitBtn1->Handle(), BM_CLICK, 0, 0);
        test::WhenWindowAppears(L"修改个人信息", [&](HWND) {}); // keeps the loop turning
        PostMessageW(infoform->BitBtn2->Handle(), BM_CLICK, 0, 0);
    };
    infoform->OnHide = [&](TObject*) { stayedOpen = !errors.messages.empty(); };
    infoform->EditPersonalInfo();
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], L"Cannot create file " + path);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(infoform->Memo1->Text(), L"edited");
    EXPECT_EQ(test::ReadBytes(path), "old");
}

TEST_F(Info, EditorOpensWithTheFocusOnOkAndEnterSaves) {
    test::WriteBytes(path, "before");
    infoform->OnShow = [&](TObject*) {
        infoform->Memo1->SetText(L"after");
        test::WhenWindowAppears(L"修改个人信息", [&](HWND) { test::PostKey(GetFocus(), VK_RETURN); });
    };
    infoform->LoadPersonalInfo(); // as the edit command does before it shows the editor
    EXPECT_EQ(infoform->ShowModal(), mrOk);
    EXPECT_EQ(test::ReadBytes(path), "after");
}

} // namespace
