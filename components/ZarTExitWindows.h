// Ends the session or turns the computer off on request, optionally after a confirmation.
#pragma once

#include "components/ZarClasses.h"

#include <windows.h>

enum TZarExitType : unsigned char { xLogoff, xReboot, xShutDown, xPowerOff, xForce };

class TZarExitWindows : public TZarExecComponent {
public:
    explicit TZarExitWindows(TComponent* AOwner);

    TZarExitType ExitType() const { return exitType_; }
    void SetExitType(TZarExitType v) {
        if (v != exitType_) exitType_ = v;
    }
    const std::wstring& LastError() const { return lastError_; }
    bool Confirm() const { return confirm_; }
    void SetConfirm(bool v) { confirm_ = v; }
    const std::wstring& ConfirmMessage() const { return confirmMessage_; }
    void SetConfirmMessage(const std::wstring& v) { confirmMessage_ = v; }
    TNotifyEvent OnExecute;

    // Asks the system to end the session as ExitType says. True: accepted, and the application has been
    // asked to terminate. False: declined by the user, or refused (LastError tells the code).
    bool Execute() override;

    // The ExitWindowsEx flags of an exit type: exactly one flag, never combined.
    static UINT FlagsFor(TZarExitType t);

private:
    TZarExitType exitType_ = xLogoff;
    std::wstring lastError_;
    bool confirm_ = false;
    std::wstring confirmMessage_;
};
