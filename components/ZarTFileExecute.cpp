#include "components/ZarTFileExecute.h"

#include "framework/Forms.h"
#include "framework/Shell.h"
#include "framework/Win32.h"

#include <shellapi.h>

TZarFileExecute::TZarFileExecute(TComponent* AOwner) : TZarExecComponent(AOwner) {
    showCommand_ = SW_SHOWNORMAL;
    SetExeStyle(osDefault);
}

void TZarFileExecute::SetExeStyle(TZarOpenStyle v) {
    static const wchar_t* const verbs[] = {L"",     L"open", L"Print", L"explore", L"new",  L"Install",
                                           L"edit", L"find", L"Test",  L"open",    L"Play", L"runas"};
    exeStyle_ = v;
    verb_ = v <= osRunAs ? verbs[v] : L"";
}

void TZarFileExecute::SetWindowstate(TWindowState v) {
    if (v == windowState_) return;
    static const WORD shows[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    showCommand_ = v <= wsMaximized ? shows[v] : SW_SHOWNORMAL;
    windowState_ = v;
}

bool TZarFileExecute::Execute() {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = Application ? Application->Handle() : nullptr;
    info.lpVerb = verb_.empty() ? nullptr : verb_.c_str();
    info.lpFile = filename_.c_str(); // empty strings stay empty strings, never null pointers
    info.lpParameters = parameters_.c_str();
    info.lpDirectory = path_.c_str();
    info.nShow = showCommand_;
    auto& shell = win::TShell::Current();
    bool ok = shell.ShellExecuteInfo(&info) != FALSE;
    win::Handle process(info.hProcess); // closed on every path
    if (wait_ && process) shell.WaitForProcess(process.get(), INFINITE);
    return ok;
}
