// The installer and the uninstaller, run silently in a throwaway prefix (the "installer" test sets
// QUENNEL_SETUP to the built installer and gives it a prefix of its own, made fresh on every run).
#include "tests/e2e/QuennelProcess.h"

#include <shlobj.h>

#include <gtest/gtest.h>

namespace {

const wchar_t* const kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quennel";
const wchar_t* const kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
    CoTaskMemFree(path);
    return result;
}

// A string value under the current user's key, or "(none)".
std::wstring UserValue(const wchar_t* key, const wchar_t* name) {
    wchar_t buf[1024];
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return L"(none)";
    return buf;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The installed program, started as the user would, with its card up.
struct Started {
    win::Handle process;
    explicit Started(const std::wstring& exe) {
        std::wstring cmd = L"\"" + exe + L"\"";
        STARTUPINFOW si{sizeof si};
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return;
        CloseHandle(pi.hThread);
        process.reset(pi.hProcess);
        WaitForInputIdle(pi.hProcess, 15000);
    }
    bool Ended(DWORD boundMs) const {
        return process && WaitForSingleObject(process.get(), boundMs) == WAIT_OBJECT_0;
    }
};

TEST(Installer, SilentInstallsWithAndWithoutSignInOverARunningCopyThenAnUninstallThatKeepsTheFile) {
    wchar_t setupPath[MAX_PATH] = L"";
    if (!GetEnvironmentVariableW(L"QUENNEL_SETUP", setupPath, MAX_PATH)) GTEST_SKIP() << "no installer given";
    const std::wstring setup = setupPath;
    const std::wstring dir = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Quennel";
    const std::wstring exe = dir + L"\\quennel.exe", upf = dir + L"\\quennel.UPF";
    const std::wstring uninstaller = dir + L"\\Uninstall.exe";
    const std::wstring shortcut = KnownFolder(FOLDERID_Programs) + L"\\Quennel.lnk";

    // A folder nobody can write is refused, and nothing is installed.
    EXPECT_EQ(e2e::RunToEnd(setup, L"/S /D=Z:\\proc\\Quennel"), 2u);
    EXPECT_EQ(UserValue(kUninstallKey, L"DisplayName"), L"(none)");

    // Without the sign-in option: the program, the uninstaller, the shortcut and the Apps entry.
    ASSERT_EQ(e2e::RunToEnd(setup, L"/S /NOSIGNIN"), 0u);
    EXPECT_TRUE(Exists(exe));
    EXPECT_TRUE(Exists(uninstaller));
    EXPECT_TRUE(Exists(shortcut));
    EXPECT_FALSE(Exists(upf)) << "the installer wrote the personal-information file";
    EXPECT_EQ(UserValue(kRunKey, L"Quennel"), L"(none)");
    EXPECT_EQ(UserValue(kUninstallKey, L"DisplayName"), L"Quennel");
    EXPECT_EQ(UserValue(kUninstallKey, L"DisplayVersion"), L"1.0");
    EXPECT_EQ(UserValue(kUninstallKey, L"DisplayIcon"), exe + L",0");
    EXPECT_EQ(UserValue(kUninstallKey, L"UninstallString"), L"\"" + uninstaller + L"\"");

    // With it (the default): started quietly at sign-in.
    ASSERT_EQ(e2e::RunToEnd(setup, L"/S"), 0u);
    EXPECT_EQ(UserValue(kRunKey, L"Quennel"), L"\"" + exe + L"\" /tray");

    // Over a running copy with the user's own file: the copy is asked to end, the file is kept.
    const std::string mine("name: me\r\n\0tail\xB1\xA1", 18);
    test::WriteBytes(upf, mine);
    {
        Started running(exe);
        ASSERT_TRUE(running.process);
        ASSERT_FALSE(running.Ended(0));
        EXPECT_EQ(e2e::RunToEnd(setup, L"/S"), 0u);
        EXPECT_TRUE(running.Ended(0)) << "the running copy was not ended before the program was replaced";
    }
    EXPECT_EQ(test::ReadBytes(upf), mine);
    EXPECT_TRUE(Exists(exe));

    // The uninstaller ends a running copy and takes away everything but the personal information.
    Started running(exe);
    ASSERT_TRUE(running.process);
    EXPECT_EQ(e2e::RunToEnd(uninstaller, L"/S"), 0u);
    // The uninstaller works from a copy of itself that it starts and leaves running.
    EXPECT_TRUE(test::PumpUntil([&] { return !Exists(uninstaller); }, 60000)) << "the uninstaller stayed";
    EXPECT_TRUE(running.Ended(10000)) << "the running copy was not ended";
    EXPECT_FALSE(Exists(exe));
    EXPECT_FALSE(Exists(shortcut));
    EXPECT_EQ(UserValue(kRunKey, L"Quennel"), L"(none)");
    EXPECT_EQ(UserValue(kUninstallKey, L"DisplayName"), L"(none)");
    EXPECT_EQ(test::ReadBytes(upf), mine);
}

// Libraries planted beside the installer, and then in the installed folder beside the uninstaller: neither
// loads one that a bare program with the installer's imports does not load too.
TEST(Installer, NeitherTheInstallerNorTheUninstallerLoadsALibraryFromItsFolder) {
    wchar_t setupPath[MAX_PATH] = L"";
    if (!GetEnvironmentVariableW(L"QUENNEL_SETUP", setupPath, MAX_PATH)) GTEST_SKIP() << "no installer given";
    test::TempDir downloads;
    const std::wstring setup = downloads.File(L"Quennel-1.0-setup.exe");
    ASSERT_TRUE(CopyFileW(setupPath, setup.c_str(), FALSE));
    e2e::PlantedFolder besideSetup(downloads.Path(), L"bare-comctl.exe");
    e2e::PreferPlanted prefer{L"Quennel-1.0-setup.exe", L"Uninstall.exe", L"quennel.exe"};
    ASSERT_EQ(e2e::RunToEnd(setup, L"/S /NOSIGNIN"), 0u);
    EXPECT_EQ(besideSetup.LoadedBeyondBaseline("installer"), L"");

    const std::wstring dir = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Quennel";
    const std::wstring uninstaller = dir + L"\\Uninstall.exe";
    e2e::PlantedFolder installed(dir, L"bare-comctl.exe");
    EXPECT_EQ(e2e::RunToEnd(uninstaller, L"/S"), 0u);
    EXPECT_TRUE(test::PumpUntil([&] { return !Exists(uninstaller); }, 60000)) << "the uninstaller stayed";
    EXPECT_EQ(installed.LoadedBeyondBaseline("uninstaller"), L"");
}

} // namespace
