// Program entry: one copy per executable file (and its close request), the application object, the five
// windows in their fixed order, the message loop.
#include "app/CrashReport.h"
#include "app/comunit.h"
#include "app/dtunit.h"
#include "framework/Instance.h"
#include "app/infounit.h"
#include "app/mainunit.h"
#include "app/pmunit.h"
#include "resources/resource.h"

#include <cwchar>
#include <optional>

namespace {
// The switches the program knows, as given on its command line; other words are ignored.
struct TStartSwitches {
    bool close = false; // "/close": end the running copy of this file
    bool tray = false;  // "/tray": start in the notification area, without the card (the sign-in entry)
};

TStartSwitches ReadSwitches(const wchar_t* commandLine) {
    TStartSwitches s;
    const wchar_t* p = commandLine ? commandLine : L"";
    while (*p) {
        p += wcsspn(p, L" \t");
        const size_t n = wcscspn(p, L" \t");
        const std::wstring word(p, n);
        if (_wcsicmp(word.c_str(), L"/close") == 0) s.close = true;
        if (_wcsicmp(word.c_str(), L"/tray") == 0) s.tray = true;
        p += n;
    }
    return s;
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
    const TStartSwitches switches = ReadSwitches(commandLine);
    if (switches.close) return CloseCopy(self, TApplication::WindowClass(), 30000) ? 0 : 1;
    // A second start of the same file adds no icon and writes nothing: the running copy shows its card,
    // unless this start is the quiet one at sign-in, which shows nothing.
    TInstanceLock lock(self);
    if (!lock.First()) {
        if (switches.tray) return 0;
        if (HWND first = FindCopyWindow(self, TApplication::WindowClass())) {
            DWORD pid = 0;
            GetWindowThreadProcessId(first, &pid);
            AllowSetForegroundWindow(pid); // the card may come to the front
            PostMessageW(first, ComeForwardMessage(), 0, 0);
        }
        return 0;
    }
    // A fault that nothing handles leaves a report, and the system may start the program again, quietly.
    WatchForCrashes(L"/tray");
    std::optional<TApplication> made;
    try {
        made.emplace(TProgramResources{IDI_QUENNEL, IDB_GLYPH_OK, IDB_GLYPH_CANCEL});
    } catch (const Exception& e) {
        // Without its own window the program cannot run: say so, rather than end without a word.
        MessageBoxW(nullptr, TApplication::ErrorBoxText(e.Message()).c_str(), L"Quennel",
                    MB_OK | MB_ICONSTOP);
        return 1;
    }
    TApplication& app = *made;
    app.Initialize();
    app.SetTitle(L"Quennel");
    app.OnComeForward = [](TObject*) {
        if (mainform) mainform->N1Click(nullptr); // as the about command: only when hidden
    };
    // Started at sign-in: the windows as always, the card not shown, the icon at once, as after OK.
    app.SetShowMainForm(!switches.tray);
    return app.Execute([&] {
        app.CreateForm(mainform);
        app.CreateForm(pmform);
        app.CreateForm(commandform);
        app.CreateForm(DTForm);
        app.CreateForm(infoform);
        if (switches.tray) mainform->StartResident();
    });
}
