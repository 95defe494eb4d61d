#include "app/mainunit.h"
#include "app/upffile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct MainFormFixture : ::testing::Test {
    test::RecordingShell shell;
    Tmainform* form = New<Tmainform>(Application);
    ~MainFormFixture() override { delete form; }
};

TEST_F(MainFormFixture, IsTheAboutCardWithAnInactiveTrayIcon) {
    EXPECT_EQ(form->Caption(), L"Quennel");
    RECT r;
    GetClientRect(form->Handle(), &r);
    EXPECT_EQ(r.right, 306);
    EXPECT_EQ(r.bottom, 196);
    EXPECT_FALSE(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_SYSMENU);
    EXPECT_FALSE(form->TICON->Active());
    EXPECT_EQ(form->TICON->ToolTip(), L"Quennel 1.0");
    EXPECT_FALSE(form->TICON->Icon().Empty());
    EXPECT_TRUE(shell.notify.empty());
    EXPECT_EQ(form->ZarButton1->Caption(), L"确定");
    EXPECT_EQ(form->WExit->ExitType(), xLogoff);
    EXPECT_FALSE(form->WExit->Confirm());
    EXPECT_EQ(form->WExit->ConfirmMessage(), L"Are you sure you want to Logoff ?");
}

TEST_F(MainFormFixture, CreationMakesSureThePersonalInformationFileExists) {
    EXPECT_NE(GetFileAttributesW(UpfPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainFormFixture, OkHasTheFocusAndHidesTheCardAndAddsTheIconOnce) {
    form->Show();
    ASSERT_TRUE(test::PumpUntil([&] { return GetFocus() == form->ZarButton1->Handle(); }));
    SendMessageW(form->ZarButton1->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(form->ZarButton1->Handle(), WM_KEYUP, VK_SPACE, 0xC0000000);
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(form->TICON->Active());
    ASSERT_EQ(shell.notify.size(), 2u); // the add, and the protocol version asked for
    EXPECT_EQ(shell.notify[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_STREQ(shell.notify[0].data.szTip, L"Quennel 1.0");
    form->Show();
    SendMessageW(form->ZarButton1->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(form->ZarButton1->Handle(), WM_KEYUP, VK_SPACE, 0xC0000000);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(shell.notify.size(), 2u); // already active: nothing more
}

TEST_F(MainFormFixture, DestroyingTheCardRemovesAnActiveIcon) {
    form->ZarButton1Click(form);
    delete form;
    form = nullptr;
    ASSERT_EQ(shell.notify.size(), 3u);
    EXPECT_EQ(shell.notify[2].message, static_cast<DWORD>(NIM_DELETE));
}

} // namespace
