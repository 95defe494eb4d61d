// Program entry: one copy per executable file (and its close request), the application object, the five
// windows in their fixed order, the message loop.
#include "app/comunit.h"
#include "app/dtunit.h"
#include "framework/Instance.h"
#include "app/infounit.h"
#include "app/mainunit.h"
#include "app/pmunit.h"
#include "resources/resource.h"

namespace {
// Whether the command line is the one word "/close" (letter case ignored).
bool AsksToClose(const wchar_t* commandLine) {
    std::wstring words = commandLine ? commandLine : L"";
    words.erase(0, words.find_first_not_of(L" \t"));
    words.erase(words.find_last_not_of(L" \t") + 1);
    return _wcsicmp(words.c_str(), L"/close") == 0;
}
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    // Every library loaded from here on comes from the system folder, never from the program's own: a
    // copy in a downloads folder must not run a planted library's code.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    win::LoadDelayedLibrariesFromSystemFolder();
    // "quennel.exe /close" ends the running copy of this file as its exit command would and waits for it
    // (at most 30 seconds): the installer and the uninstaller run it before they replace or remove the file.
    const std::wstring self = ModulePath();
    if (AsksToClose(commandLine)) return CloseCopy(self, TApplication::WindowClass(), 30000) ? 0 : 1;
    // A second start of the same file adds no icon and writes nothing: the running copy shows its card.
    TInstanceLock lock(self);
    if (!lock.First()) {
        if (HWND first = FindCopyWindow(self, TApplication::WindowClass())) {
            DWORD pid = 0;
            GetWindowThreadProcessId(first, &pid);
            AllowSetForegroundWindow(pid); // the card may come to the front
            PostMessageW(first, ComeForwardMessage(), 0, 0);
        }
        return 0;
    }
    TApplication app({IDI_QUENNEL, IDB_GLYPH_OK, IDB_GLYPH_CANCEL});
    app.Initialize();
    app.SetTitle(L"Quennel");
    app.OnComeForward = [](TObject*) {
        if (mainform) mainform->N1Click(nullptr); // as the about command: only when hidden
    };
    return app.Execute([&] {
        app.CreateForm(mainform);
        app.CreateForm(pmform);
        app.CreateForm(commandform);
        app.CreateForm(DTForm);
        app.CreateForm(infoform);
    });
}
