// Program entry: one copy per executable file, the application object, the five windows in their fixed
// order, the message loop.
#include "comunit.h"
#include "dtunit.h"
#include "framework/Instance.h"
#include "infounit.h"
#include "mainunit.h"
#include "pmunit.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // A second start of the same file adds no icon and writes nothing: the running copy shows its card.
    const std::wstring self = ModulePath();
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
    TApplication app;
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
