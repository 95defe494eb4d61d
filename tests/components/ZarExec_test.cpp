#include "components/ZarTExitWindows.h"
#include "components/ZarTFileExecute.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Counting : TZarExecComponent {
    using TZarExecComponent::TZarExecComponent;
    bool Execute() override {
        ++runs;
        return true;
    }
    int runs = 0;
};

TEST(ExecComponent, OnlyTheExactBusyTextRunsExecuteAndTheTextAlwaysReadsExecute) {
    Counting c(nullptr);
    EXPECT_EQ(c.DesignExecute(), L"(Execute)");
    for (const wchar_t* v : {L"(busy...)", L"(Busy...) ", L"(Execute)", L"", L"Busy"})
        c.SetDesignExecute(v);
    EXPECT_EQ(c.runs, 0);
    c.SetDesignExecute(L"(Busy...)");
    EXPECT_EQ(c.runs, 1);
    EXPECT_EQ(c.DesignExecute(), L"(Execute)");
    TZarExecComponent plain(nullptr);
    EXPECT_FALSE(plain.Execute());
}

// ---- exit windows --------------------------------------------------------------------------------

struct ExitFixture : ::testing::Test {
    test::RecordingShell shell;
    TZarExitWindows exit{nullptr};
    int executes = 0;
    ExitFixture() {
        exit.OnExecute = [this](TObject* s) {
            EXPECT_EQ(s, &exit);
            ++executes;
        };
    }
};

TEST_F(ExitFixture, StartsAsAQuietLogoff) {
    EXPECT_EQ(exit.ExitType(), xLogoff);
    EXPECT_FALSE(exit.Confirm());
    EXPECT_EQ(exit.ConfirmMessage(), L"Are you sure you want to Logoff ?");
    EXPECT_EQ(exit.LastError(), L"");
}

TEST_F(ExitFixture, EachTypeMapsToExactlyOneFlag) {
    EXPECT_EQ(TZarExitWindows::FlagsFor(xLogoff), 0x0u);
    EXPECT_EQ(TZarExitWindows::FlagsFor(xReboot), 0x2u);
    EXPECT_EQ(TZarExitWindows::FlagsFor(xShutDown), 0x1u);
    EXPECT_EQ(TZarExitWindows::FlagsFor(xPowerOff), 0x8u);
    EXPECT_EQ(TZarExitWindows::FlagsFor(xForce), 0x4u);
}

TEST_F(ExitFixture, EveryRequestGivesAPlannedOtherReason) {
    shell.endSessionResult = FALSE; // the test program keeps running
    for (TZarExitType t : {xLogoff, xReboot, xShutDown, xPowerOff, xForce}) {
        exit.SetExitType(t);
        exit.Execute();
    }
    const DWORD planned = SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;
    EXPECT_EQ(shell.reasons, std::vector<DWORD>(5, planned));
}

TEST_F(ExitFixture, RefusedRequestReportsItsOwnErrorAndSwitchesThePrivilegeBackOff) {
    shell.endSessionResult = FALSE;
    shell.endSessionError = ERROR_ACCESS_DENIED;
    exit.SetExitType(xForce);
    EXPECT_FALSE(exit.Execute());
    EXPECT_EQ(shell.calls,
              (std::vector<std::wstring>{L"SetPrivilege SeShutdownPrivilege on", L"ExitWindows 4",
                                         L"SetPrivilege SeShutdownPrivilege off"}));
    EXPECT_EQ(exit.LastError(), L"Error: 5");
    shell.endSessionError = 1234;
    EXPECT_FALSE(exit.Execute());
    EXPECT_EQ(exit.LastError(), L"Error: 1234"); // replaced, not appended
    EXPECT_EQ(executes, 2);
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(ExitFixture, DeclinedConfirmationMakesNoRequestButStillCallsOnExecute) {
    exit.SetConfirm(true);
    exit.SetConfirmMessage(L"Really?");
    std::wstring seen;
    test::WhenWindowAppears(L"Confirm", [&](HWND box) {
        seen = L"shown";
        test::PostKey(GetFocus(), VK_ESCAPE);
        (void)box;
    });
    EXPECT_FALSE(exit.Execute());
    EXPECT_EQ(seen, L"shown");
    EXPECT_EQ(executes, 1);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(exit.LastError(), L"");
}

TEST_F(ExitFixture, ConfirmationShowsTheMessageWithYesAsTheDefault) {
    exit.SetConfirm(true);
    exit.SetConfirmMessage(L"Really?");
    shell.endSessionResult = FALSE; // a refused request keeps the test application running
    std::wstring texts;
    test::WhenWindowAppears(L"Confirm", [&](HWND box) {
        EnumChildWindows(
            box,
            [](HWND h, LPARAM l) -> BOOL {
                wchar_t buf[64];
                GetWindowTextW(h, buf, 64);
                *reinterpret_cast<std::wstring*>(l) += std::wstring(buf) + L"|";
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&texts));
        test::PostKey(GetFocus(), VK_RETURN);
    });
    EXPECT_FALSE(exit.Execute());
    EXPECT_EQ(texts, L"&Yes|&No|");
    EXPECT_EQ(shell.calls.size(), 3u); // Yes went on to the request
}

// ---- file execute --------------------------------------------------------------------------------

struct FileExecFixture : ::testing::Test {
    test::RecordingShell shell;
    TZarFileExecute fe{nullptr};
};

TEST_F(FileExecFixture, DefaultsPassNoVerbEmptyStringsAndAShowNormal) {
    EXPECT_TRUE(fe.Execute());
    ASSERT_EQ(shell.executes.size(), 1u);
    const auto& c = shell.executes[0];
    EXPECT_EQ(c.info.cbSize, sizeof(SHELLEXECUTEINFOW));
    EXPECT_EQ(c.info.fMask, static_cast<ULONG>(SEE_MASK_NOCLOSEPROCESS));
    EXPECT_EQ(c.info.hwnd, Application->Handle());
    EXPECT_TRUE(c.verbNull);
    EXPECT_FALSE(c.fileNull || c.paramsNull || c.dirNull);
    EXPECT_EQ(c.file + c.params + c.dir, L"");
    EXPECT_EQ(c.info.nShow, SW_SHOWNORMAL);
    EXPECT_TRUE(std::find(shell.calls.begin(), shell.calls.end(), L"WaitForProcess 4294967295") ==
                shell.calls.end());
}

TEST_F(FileExecFixture, VerbsAreSpelledAsTheShellExpects) {
    const std::pair<TZarOpenStyle, const wchar_t*> table[] = {
        {osOpen, L"open"},       {osPrint, L"Print"}, {osExplore, L"explore"}, {osNew, L"new"},
        {osInstall, L"Install"}, {osEdit, L"edit"},   {osFind, L"find"},       {osTest, L"Test"},
        {osConfigure, L"open"},  {osPlay, L"Play"}};
    for (auto [style, verb] : table) {
        fe.SetExeStyle(style);
        EXPECT_EQ(fe.Verb(), verb);
        fe.Execute();
        EXPECT_FALSE(shell.executes.back().verbNull);
        EXPECT_EQ(shell.executes.back().verb, verb);
    }
    fe.SetExeStyle(osDefault);
    EXPECT_EQ(fe.Verb(), L"");
    fe.Execute();
    EXPECT_TRUE(shell.executes.back().verbNull);
}

TEST_F(FileExecFixture, WindowStateGivesTheShowValueAndTheWholeTextIsTheFile) {
    fe.SetWindowstate(wsMaximized);
    EXPECT_EQ(fe.ShowCommand(), SW_SHOWMAXIMIZED);
    fe.SetWindowstate(wsMinimized);
    EXPECT_EQ(fe.ShowCommand(), SW_SHOWMINIMIZED);
    fe.SetFilename(L"notepad C:\\a b.txt");
    fe.SetExePath(L"C:\\WINDOWS");
    fe.SetExeParameters(L"-x");
    fe.Execute();
    const auto& c = shell.executes.back();
    EXPECT_EQ(c.info.nShow, SW_SHOWMINIMIZED);
    EXPECT_EQ(c.file, L"notepad C:\\a b.txt");
    EXPECT_EQ(c.dir, L"C:\\WINDOWS");
    EXPECT_EQ(c.params, L"-x");
}

TEST_F(FileExecFixture, WaitsWhenAskedAndAlwaysClosesTheProcessHandle) {
    HANDLE dup = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &dup, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    shell.processToReturn = dup;
    fe.SetWait(true);
    fe.Execute();
    EXPECT_EQ(shell.calls.back(), L"WaitForProcess 4294967295");
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(dup, &flags)); // closed

    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &dup, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    shell.processToReturn = dup;
    fe.SetWait(false);
    fe.Execute();
    EXPECT_FALSE(GetHandleInformation(dup, &flags));
}

TEST_F(FileExecFixture, ReportsWhetherTheShellAcceptedTheRequest) {
    shell.executeResult = FALSE;
    EXPECT_FALSE(fe.Execute());
    shell.executeResult = TRUE;
    EXPECT_TRUE(fe.Execute());
}

} // namespace
