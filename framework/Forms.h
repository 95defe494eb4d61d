// Forms and the application object: top-level windows, modal showing, the message loop and error box.
#pragma once

#include "framework/Controls.h"
#include "framework/HintTracker.h"

#include <functional>
#include <string>
#include <vector>

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

enum TModalResult : int {
    mrNone = 0,
    mrOk = IDOK,
    mrCancel = IDCANCEL,
    mrAbort = IDABORT,
    mrRetry = IDRETRY,
    mrIgnore = IDIGNORE,
    mrYes = IDYES,
    mrNo = IDNO
};

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;
    TForm* AsForm() override { return this; }

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);
    // Whether the caption carries the system menu (and with it the close box).
    bool SystemMenu() const { return systemMenu_; }
    void SetSystemMenu(bool v);
    // Sets the outer size so that the client area has the given size.
    void SetClientSize(int w, int h);

    void Show();
    void Hide();
    // Hides the form; a modal form ends its modal loop as given up; the main form ends the program.
    void Close();
    int ShowModal();
    bool Modal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int r) { modalResult_ = r; }
    void SetVisible(bool v) override;

    // The buttons that Enter and Escape press (null for none).
    TWinControl* DefaultControl() const { return defaultControl_; }
    void SetDefaultControl(TWinControl* c) { defaultControl_ = c; }
    TWinControl* CancelControl() const { return cancelControl_; }
    void SetCancelControl(TWinControl* c) { cancelControl_ = c; }
    // The control that gets the focus when the form is activated.
    TWinControl* ActiveControl() const;
    void SetActiveControl(TWinControl* c);

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnClose;

    void WndProc(TMessage& m) override;
    // The form's one hint tracker, for all its controls.
    TControlHints* Hints() override { return &hints_; }

protected:
    void CreateParams(TCreateParams& p) override;
    void Notification(TComponent* c, TOperation op) override;
    // A new window takes the density of the display it is on: the form's layout is scaled to it.
    void CreateHandleDone() override;
    // A form keeps its place on the screen and scales its client size; the frame is the system's.
    void ScaleBounds(int to, int from) override;
    void FocusFirst();

private:
    void ApplyStyle();
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    bool systemMenu_ = true;
    bool positioned_ = false;
    bool modal_ = false;
    int modalResult_ = mrNone;
    int clientW_ = -1, clientH_ = -1;
    TWinControl* defaultControl_ = nullptr;
    TWinControl* cancelControl_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    THintTracker hints_{*this};
};

// The application: owns the forms, runs the message loop, carries the task-bar entry and the error box.
// The resource numbers the program gives the framework: its icon (the windows' and the task-bar entry's)
// and the glyphs of the OK and Cancel buttons (16 x 16 cells). 0 is none.
struct TProgramResources {
    int icon = 0;
    int okGlyph = 0;
    int cancelGlyph = 0;
};

class TApplication : public TComponent, public TDispatchHost, public TWindowOwner {
public:
    explicit TApplication(TProgramResources resources = {});
    ~TApplication() override;

    // Prepares the program's thread: COM, apartment-threaded, which the shell's calls need.
    void Initialize();
    const std::wstring& Title() const { return title_; }
    void SetTitle(const std::wstring& t);
    // The window that carries the program's task-bar entry; every form is owned by it.
    using TWindowOwner::Handle;
    TForm* MainForm() const { return mainForm_; }
    const TProgramResources& Resources() const { return resources_; }
    // The program's icon, or null when it gave none.
    HICON ProgramIcon() const override;

    // Creates a form owned by the application; the first one created becomes the main form.
    // The reference is cleared again when the form is destroyed.
    template <typename T> void CreateForm(T*& reference) {
        reference = New<T>(this);
        T** ref = &reference;
        references_.push_back({reference, [ref] { *ref = nullptr; }});
        if (!mainForm_) mainForm_ = reference;
    }

    // Whether Run shows the main form first (on unless the program starts without a window).
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool v) { showMainForm_ = v; }
    // Shows the main form (when ShowMainForm) and processes messages until Terminate.
    void Run();
    // Makes the forms, then runs. An error while the forms are made is shown in the error box and ends
    // the program: the result is the exit code, 0 or, after such an error, 1.
    int Execute(const std::function<void()>& createForms);
    // Waits for and dispatches one message; false once the loop is asked to end.
    bool HandleMessage();
    // Dispatches the messages waiting now, without waiting.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Shows an escaped error: stop icon, the title as caption, the message with a closing full stop.
    void HandleException(const std::wstring& message) override;
    static std::wstring ErrorBoxText(const std::wstring& message);
    // A message box owned by the active form, with the task-bar entry present while it is open.
    int MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);

    // Called whenever a form is shown or hidden: the task-bar entry is present only while a window is.
    void FormVisibilityChanged();
    bool TaskbarEntryVisible() const;

    // Observers for tests and tools: called with the error text instead of showing the box when set.
    std::function<void(const std::wstring&)> OnException;
    // A later start of the same program asks this one to come forward (ComeForwardMessage); heard only
    // once the program runs, not while its forms are still being made.
    TNotifyEvent OnComeForward;
    // The class of the application window, which a later start looks for.
    static const wchar_t* WindowClass();

protected:
    void Notification(TComponent* c, TOperation op) override;

private:
    bool DispatchOne(MSG& msg);
    void WndProc(TMessage& m) override;
    std::wstring title_;
    TProgramResources resources_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool running_ = false;
    bool showMainForm_ = true;
    UINT comeForward_ = 0;
    bool comInitialized_ = false;
    int boxesOpen_ = 0;
    struct Reference {
        TComponent* form;
        std::function<void()> clear;
    };
    std::vector<Reference> references_;
};

extern TApplication* Application;

// Screen size of the primary monitor.
int ScreenWidth();
int ScreenHeight();
