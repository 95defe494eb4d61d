// A fault in Quennel, caused from outside (no trigger is built into the program): it leaves a report.
#include "tests/e2e/QuennelProcess.h"

#include <dbghelp.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Wine's debugger shows no crash dialog while it lives (the process ends as it would unattended).
struct NoCrashDialog {
    static constexpr const wchar_t* kKey = L"Software\\Wine\\WineDbg";
    NoCrashDialog() {
        const DWORD no = 0;
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"ShowCrashDialog", REG_DWORD, &no, sizeof no);
    }
    ~NoCrashDialog() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"ShowCrashDialog"); }
};

// The code in a dump's exception stream, or 0 for a file that is no dump or has none.
DWORD ExceptionCode(const std::string& dump) {
    MINIDUMP_HEADER header{};
    if (dump.size() < sizeof header) return 0;
    std::memcpy(&header, dump.data(), sizeof header);
    if (dump.compare(0, 4, "MDMP") != 0) return 0;
    for (ULONG i = 0; i < header.NumberOfStreams; ++i) {
        MINIDUMP_DIRECTORY entry{};
        const size_t at = header.StreamDirectoryRva + i * sizeof entry;
        if (at + sizeof entry > dump.size()) return 0;
        std::memcpy(&entry, dump.data() + at, sizeof entry);
        MINIDUMP_EXCEPTION_STREAM stream{};
        if (entry.StreamType != ExceptionStream || entry.Location.Rva + sizeof stream > dump.size()) continue;
        std::memcpy(&stream, dump.data() + entry.Location.Rva, sizeof stream);
        return stream.ExceptionRecord.ExceptionCode;
    }
    return 0;
}

TEST(Crash, AFaultInAnyThreadLeavesADumpWithItsExceptionAndEndsTheProgram) {
    test::TempDir dir;
    const std::wstring appData = dir.File(L"AppData");
    CreateDirectoryW(appData.c_str(), nullptr);
    test::ScopedEnvironment localAppData(L"LOCALAPPDATA", appData);
    NoCrashDialog quiet;
    e2e::QuennelProcess q{dir};
    ASSERT_NE(q.WaitForWindow(L"QuennelWindow", L"Quennel", 30000), nullptr);
    // A thread of Quennel's made to start at an address where nothing is.
    const win::Handle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, q.Id()));
    ASSERT_TRUE(process);
    const win::Handle thread(CreateRemoteThread(
        process.get(), nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(0x10), nullptr, 0, nullptr));
    ASSERT_TRUE(thread);
    EXPECT_NE(q.WaitForExit(60000), STILL_ACTIVE) << "the program goes on after the fault";

    const std::wstring folder = appData + L"\\Quennel\\CrashDumps";
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\quennel-*.dmp").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE) << "no report";
    FindClose(find);
    const std::string dump = test::ReadBytes(folder + L"\\" + found.cFileName);
    std::cout << "report " << win::ToUtf8(found.cFileName) << ", " << dump.size() << " bytes, exception 0x"
              << std::hex << ExceptionCode(dump) << std::dec << "\n";
    EXPECT_EQ(dump.substr(0, 4), "MDMP");
    EXPECT_EQ(ExceptionCode(dump), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
}

} // namespace
