// Hands a file, program or folder to the desktop shell with a verb, directory, parameters and window state.
#pragma once

#include "components/ZarClasses.h"

#include <windows.h>

enum TZarOpenStyle : unsigned char {
    osDefault,
    osOpen,
    osPrint,
    osExplore,
    osNew,
    osInstall,
    osEdit,
    osFind,
    osTest,
    osConfigure,
    osPlay,
    osRunAs // as administrator, after the system asks the user
};

enum TWindowState : unsigned char { wsNormal, wsMinimized, wsMaximized };

class TZarFileExecute : public TZarExecComponent {
public:
    explicit TZarFileExecute(TComponent* AOwner);

    const std::wstring& Filename() const { return filename_; }
    void SetFilename(const std::wstring& v) { filename_ = v; }
    const std::wstring& ExeParameters() const { return parameters_; }
    void SetExeParameters(const std::wstring& v) { parameters_ = v; }
    const std::wstring& ExePath() const { return path_; }
    void SetExePath(const std::wstring& v) { path_ = v; }
    bool Wait() const { return wait_; }
    void SetWait(bool v) { wait_ = v; }
    TWindowState Windowstate() const { return windowState_; }
    void SetWindowstate(TWindowState v);
    TZarOpenStyle ExeStyle() const { return exeStyle_; }
    void SetExeStyle(TZarOpenStyle v);
    // Derived by the setters: the shell verb (empty: the default action) and the show-window value.
    const std::wstring& Verb() const { return verb_; }
    WORD ShowCommand() const { return showCommand_; }

    // Hands Filename to the shell; waits for the started process when Wait is set. Returns whether the
    // shell accepted the request (the shell shows its own message when it cannot).
    bool Execute() override;

private:
    std::wstring filename_, parameters_, path_, verb_;
    TWindowState windowState_ = wsNormal;
    TZarOpenStyle exeStyle_ = osDefault;
    WORD showCommand_ = SW_SHOWNORMAL;
    bool wait_ = false;
};
