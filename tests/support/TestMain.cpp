// Test programs run with the application object in place, as the program does.
#include "framework/Forms.h"
#include "tests/support/TestSupport.h"
#include "resources/resource.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>

int main(int argc, char** argv) {
    // "--write-clipboard N": this program is the other process of a clipboard test, putting N texts
    // ("change 1" ... "change N") on the clipboard as fast as it can, then ending.
    if (argc == 3 && std::string(argv[1]) == "--write-clipboard") {
        for (int i = 1, n = std::stoi(argv[2]); i <= n; ++i)
            test::SetClipboardText(L"change " + std::to_wstring(i));
        return 0;
    }
    // "--clipboard-storm N": text, a bitmap, a stored component and nothing, in turn, N changes in all.
    if (argc == 3 && std::string(argv[1]) == "--clipboard-storm") {
        test::ClipboardStorm(std::stoi(argv[2]));
        return 0;
    }
    // "--record-open FILE WHAT": this program stands in for the handler of a link the program opens,
    // writing down what it was given.
    if (argc == 4 && std::string(argv[1]) == "--record-open") {
        int n = 0;
        wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &n);
        if (wide && n == 4) test::WriteBytes(wide[2], win::ToUtf8(wide[3]));
        LocalFree(wide);
        return 0;
    }
    testing::InitGoogleTest(&argc, argv);
    TApplication app({IDI_QUENNEL, IDB_GLYPH_OK, IDB_GLYPH_CANCEL});
    app.SetTitle(L"Quennel");
    // An error box would wait for a click that never comes: report unexpected errors as failures.
    app.OnException = [](const std::wstring& message) {
        ADD_FAILURE() << "unexpected error: " << win::ToUtf8(message);
    };
    return RUN_ALL_TESTS();
}
