#include "components/ZarTExitWindows.h"

#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/Shell.h"

TZarExitWindows::TZarExitWindows(TComponent* AOwner)
    : TZarExecComponent(AOwner), confirmMessage_(L"Are you sure you want to Logoff ?") {}

UINT TZarExitWindows::FlagsFor(TZarExitType t) {
    switch (t) {
    case xLogoff:
        return EWX_LOGOFF;
    case xReboot:
        return EWX_REBOOT;
    case xShutDown:
        return EWX_SHUTDOWN;
    case xPowerOff:
        return EWX_POWEROFF;
    case xForce:
        return EWX_FORCE;
    }
    return EWX_LOGOFF;
}

bool TZarExitWindows::Execute() {
    if (OnExecute) OnExecute(this);
    if (confirm_ && MessageDlg(confirmMessage_, L"Confirm", mtConfirmation, {mbYes, mbNo}) != mrYes)
        return false;

    auto& shell = win::TShell::Current();
    shell.SetPrivilege(SE_SHUTDOWN_NAME, true);
    // The system records why the session ended: a planned end for no reason it knows better.
    constexpr DWORD reason = SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;
    bool ok = shell.EndSession(FlagsFor(exitType_), reason) != FALSE;
    // Read the request's own error now: switching the privilege off resets the thread's error code.
    DWORD error = ok ? 0 : GetLastError();
    shell.SetPrivilege(SE_SHUTDOWN_NAME, false);

    if (!ok) {
        lastError_ = L"Error: " + std::to_wstring(error);
        return false;
    }
    if (Application) Application->Terminate();
    return true;
}
