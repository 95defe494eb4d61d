// Program entry: the application object, the five windows in their fixed order, the message loop.
#include "comunit.h"
#include "dtunit.h"
#include "infounit.h"
#include "mainunit.h"
#include "pmunit.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    TApplication app;
    app.Initialize();
    app.SetTitle(L"Quennel");
    return app.Execute([&] {
        app.CreateForm(mainform);
        app.CreateForm(pmform);
        app.CreateForm(commandform);
        app.CreateForm(DTForm);
        app.CreateForm(infoform);
    });
}
