#include "app/upffile.h"
#include "framework/Classes.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(UpfPath, ReplacesTheExtensionOrAppendsOne) {
    EXPECT_EQ(UpfPathFor(L"C:\\Tools\\Q.EXE"), L"C:\\Tools\\Q.UPF");
    EXPECT_EQ(UpfPathFor(L"C:\\Tools\\quennel"), L"C:\\Tools\\quennel.UPF");
    EXPECT_EQ(UpfPathFor(L"C:\\My.Tools\\quennel"), L"C:\\My.Tools\\quennel.UPF");
    EXPECT_EQ(UpfPathFor(L"C:\\My.Tools\\q.v2.exe"), L"C:\\My.Tools\\q.v2.UPF");
    EXPECT_EQ(UpfPathFor(L"D:quennel"), L"D:quennel.UPF");
    EXPECT_EQ(UpfPathFor(L"D:.x"), L"D:.UPF");
    EXPECT_EQ(UpfPathFor(L"C:\\工具\\软件.exe"), L"C:\\工具\\软件.UPF");
}

TEST(UpfPath, FollowsTheRunningExecutable) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_EQ(UpfPath(), UpfPathFor(exe));
}

TEST(UpfTemplate, IsSevenGb2312LinesEndingInTwoLineBreaks) {
    const std::string expected = "\xD4\xDA\xB4\xCB\xB7\xC5\xC8\xEB\xC4\xFA\xB5\xC4\xB8\xF6\xC8\xCB\xD0\xC5"
                                 "\xCF\xA2\r\n"                          // 在此放入您的个人信息
                                 "\xD0\xD5\xC3\xFB:\r\n"                 // 姓名:
                                 "\xB5\xE7\xD7\xD3\xD3\xCA\xBC\xFE:\r\n" // 电子邮件:
                                 "\xB5\xE7\xBB\xB0\xBA\xC5\xC2\xEB:\r\n" // 电话号码:
                                 "\xCD\xA8\xD1\xB6\xB5\xD8\xD6\xB7:\r\n" // 通讯地址:
                                 "......\r\n\r\n";
    EXPECT_EQ(UpfTemplateBytes(), expected);
}

TEST(UpfEnsure, FirstStartWritesExactlyTheTemplate) {
    test::TempDir dir;
    std::wstring path = dir.File(L"Q.UPF");
    EnsureUpfFile(path);
    EXPECT_EQ(test::ReadBytes(path), UpfTemplateBytes());
}

TEST(UpfEnsure, AnExistingFileIsLeftByteForByte) {
    test::TempDir dir;
    std::wstring path = dir.File(L"Q.UPF");
    for (const std::string& content :
         {std::string(), std::string("a\0b\r\n", 5), std::string("\x81\x20 x\n")}) {
        test::WriteBytes(path, content);
        EnsureUpfFile(path);
        EXPECT_EQ(test::ReadBytes(path), content);
    }
}

TEST(UpfEnsure, AFolderOfThatNameIsReportedAndLeftAlone) {
    test::TempDir dir;
    std::wstring path = dir.File(L"Q.UPF");
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    try {
        EnsureUpfFile(path);
        FAIL() << "no error raised";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), L"File access denied");
    }
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(UpfEnsure, AFileHeldWithoutSharingIsReportedAndNotOverwritten) {
    test::TempDir dir;
    std::wstring path = dir.File(L"Q.UPF");
    test::WriteBytes(path, "mine");
    {
        win::File held(
            CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_THROW(EnsureUpfFile(path), EInOutError);
    }
    EXPECT_EQ(test::ReadBytes(path), "mine");
}

TEST(UpfEnsure, AFolderThatDoesNotExistGivesAnError) {
    test::TempDir dir;
    EXPECT_THROW(EnsureUpfFile(dir.File(L"missing\\Q.UPF")), EInOutError);
}

} // namespace
