#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Hints.h"
#include "framework/Instance.h"
#include "framework/StdCtrls.h"
#include "framework/UtilWindow.h"
#include "tests/support/TestSupport.h"

#include <commctrl.h>
#include <objbase.h>
#include <gtest/gtest.h>

namespace {

TEST(ErrorBox, FullStopFollowsOnlyCharactersAboveTheFullStop) {
    EXPECT_EQ(TApplication::ErrorBoxText(L"File access denied"), L"File access denied.");
    EXPECT_EQ(TApplication::ErrorBoxText(L"I/O error 5"), L"I/O error 5.");
    EXPECT_EQ(TApplication::ErrorBoxText(L"文件错误"), L"文件错误.");
    EXPECT_EQ(TApplication::ErrorBoxText(L"Done."), L"Done.");
    EXPECT_EQ(TApplication::ErrorBoxText(L"Stop!"), L"Stop!");
    EXPECT_EQ(TApplication::ErrorBoxText(L"(x)"), L"(x)");
    EXPECT_EQ(TApplication::ErrorBoxText(L"trailing "), L"trailing ");
    EXPECT_EQ(TApplication::ErrorBoxText(L""), L"");
}

struct FormFixture : ::testing::Test {
    TForm* form = New<TForm>(Application);
    ~FormFixture() override { delete form; }
};

TEST_F(FormFixture, ClientSizeIsKeptForEveryBorderStyle) {
    for (auto style : {TFormBorderStyle::bsDialog, TFormBorderStyle::bsToolWindow,
                       TFormBorderStyle::bsSizeable, TFormBorderStyle::bsSizeToolWin}) {
        form->SetBorderStyle(style);
        form->SetClientSize(306, 196);
        RECT r;
        GetClientRect(form->Handle(), &r);
        EXPECT_EQ(r.right, 306);
        EXPECT_EQ(r.bottom, 196);
    }
}

TEST_F(FormFixture, DialogWithoutSystemMenuHasNoCaptionButtonsAndIsOwnedByTheApplication) {
    form->SetBorderStyle(TFormBorderStyle::bsDialog);
    form->SetSystemMenu(false);
    LONG_PTR style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_SYSMENU);
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Application->Handle());
    form->SetBorderStyle(TFormBorderStyle::bsToolWindow);
    form->SetSystemMenu(true);
    EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_SYSMENU);
}

TEST_F(FormFixture, CentredAtFirstShowAndLeftWhereItWasAfterwards) {
    form->SetBorderStyle(TFormBorderStyle::bsToolWindow);
    form->SetClientSize(255, 82);
    form->Show();
    RECT r;
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, (ScreenWidth() - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, (ScreenHeight() - (r.bottom - r.top)) / 2);
    form->Hide();
    SetWindowPos(form->Handle(), nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    form->Show();
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    form->Hide();
}

TEST_F(FormFixture, CentringNeverPlacesAWindowAboveOrLeftOfTheScreen) {
    form->SetBounds(0, 0, ScreenWidth() + 200, ScreenHeight() + 100);
    form->Show();
    EXPECT_EQ(form->Left(), 0);
    EXPECT_EQ(form->Top(), 0);
    form->Hide();
}

TEST_F(FormFixture, CloseHidesAFormThatIsNotTheMainForm) {
    form->Show();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(IsWindow(form->Handle()));
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(FormFixture, TaskbarEntryIsPresentExactlyWhileAFormIsVisible) {
    EXPECT_FALSE(Application->TaskbarEntryVisible());
    form->Show();
    EXPECT_TRUE(Application->TaskbarEntryVisible());
    form->Hide();
    EXPECT_FALSE(Application->TaskbarEntryVisible());
}

TEST_F(FormFixture, ShowModalReturnsTheResultOfTheButtonPressed) {
    auto* ok = New<TButton>(form);
    ok->SetParent(form);
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    PostMessageW(ok->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(form->Visible());
}

TEST_F(FormFixture, EscapePressesTheCancelButtonAndOtherWindowsAreDisabledMeanwhile) {
    TForm* other = New<TForm>(Application);
    other->Show();
    auto* cancel = New<TButton>(form);
    cancel->SetParent(form);
    cancel->SetCancel(true);
    bool otherDisabledDuring = false;
    cancel->OnClick = [&](TObject*) {
        otherDisabledDuring = !IsWindowEnabled(other->Handle());
        form->SetModalResult(mrCancel);
    };
    form->OnShow = [&](TObject*) { PostMessageW(cancel->Handle(), WM_KEYDOWN, VK_ESCAPE, 0); };
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_TRUE(otherDisabledDuring);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    delete other;
}

TEST_F(FormFixture, WmCloseEndsAModalFormAsGivenUp) {
    form->OnShow = [&](TObject*) { PostMessageW(form->Handle(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(FormFixture, ErrorsEscapingAHandlerReachTheApplicationAndTheProgramCarriesOn) {
    test::ErrorCatcher errors;
    auto* b = New<TButton>(form);
    b->SetParent(form);
    int clicks = 0;
    b->OnClick = [&](TObject*) {
        ++clicks;
        throw EInOutError(ERROR_ACCESS_DENIED);
    };
    SendMessageW(b->Handle(), BM_CLICK, 0, 0);
    SendMessageW(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.messages[0], L"File access denied");
}

// A helper window and a part of a system control answer through the same window procedure as the
// controls: an error escaping their handlers is reported once each and they answer on; a helper window
// that goes is forgotten by its object.
TEST_F(FormFixture, HelperWindowsAndSubclassedPartsReportEscapingErrorsAndForgetTheirWindows) {
    test::ErrorCatcher errors;
    TUtilWindow helper([](TMessage& m) {
        if (m.Msg == WM_APP) throw Exception(L"helper");
        return false;
    });
    auto* combo = New<TComboBox>(form);
    combo->SetParent(form);
    combo->OnKeyPress = [](TObject*, wchar_t&) { throw Exception(L"edit"); };
    SendMessageW(helper.Handle(), WM_APP, 0, 0);
    SendMessageW(combo->EditHandle(), WM_CHAR, L'a', 0);
    SendMessageW(combo->EditHandle(), WM_CHAR, L'b', 0);
    EXPECT_EQ(errors.messages, (std::vector<std::wstring>{L"helper", L"edit", L"edit"}));
    EXPECT_TRUE(IsWindow(helper.Handle()));
    DestroyWindow(helper.Handle());
    EXPECT_EQ(helper.Handle(), nullptr);
}

TEST_F(FormFixture, TheFocusReturnsToTheControlThatHadItWhenTheFormWasLastActive) {
    auto* a = New<TButton>(form);
    a->SetParent(form);
    auto* b = New<TButton>(form);
    b->SetParent(form);
    b->SetLeft(100);
    form->Show();
    ASSERT_TRUE(test::PumpUntil([&] { return GetFocus() == a->Handle(); }));
    b->SetFocus();
    form->Hide();
    form->Show();
    EXPECT_TRUE(test::PumpUntil([&] { return GetFocus() == b->Handle(); }));
    // Also when the focus was in a part of a control: a combo box's text.
    auto* c = New<TComboBox>(form);
    c->SetParent(form);
    c->SetTop(50);
    SetFocus(c->EditHandle());
    form->Hide();
    form->Show();
    EXPECT_TRUE(test::PumpUntil([&] { return GetFocus() == c->EditHandle(); }));
    form->Hide();
}

// A child's close request (an edit box posts one on Escape) reaches the form, which closes as its close
// box would; no control loses its window to it.
TEST_F(FormFixture, AChildsCloseRequestClosesTheFormAndKeepsTheChildsWindow) {
    auto* box = New<TScrollBox>(form);
    box->SetParent(form);
    auto* memo = New<TMemo>(form);
    memo->SetParent(box);
    form->Show();
    PostMessageW(box->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(test::PumpUntil([&] { return !form->Visible(); }));
    EXPECT_TRUE(IsWindow(box->Handle()));
    EXPECT_TRUE(IsChild(box->Handle(), memo->Handle()));
}

// In a multi-line text box Enter makes a new line, while Tab moves on to the next control.
TEST_F(FormFixture, AMemoWantsEnterButLetsTabMoveTheFocus) {
    auto* memo = New<TMemo>(form);
    memo->SetParent(form);
    auto code = [&](WPARAM key) {
        MSG msg{memo->Handle(), WM_KEYDOWN, key, 0, 0, {0, 0}};
        return SendMessageW(memo->Handle(), WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
    };
    EXPECT_TRUE(code(VK_RETURN) & DLGC_WANTALLKEYS);
    EXPECT_FALSE(code(VK_TAB) & (DLGC_WANTALLKEYS | DLGC_WANTTAB));
}

TEST(Application, InitializeGivesTheThreadAnApartmentForTheShell) {
    Application->Initialize();
    HRESULT again = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(again, S_FALSE) << "no apartment yet";
    if (SUCCEEDED(again)) CoUninitialize();
}

// An error while the forms are made is shown, and the program ends with a failing exit code.
TEST(Application, AnErrorWhileTheFormsAreMadeIsShownAndEndsTheProgram) {
    test::ErrorCatcher errors;
    TForm* made = nullptr;
    int code = Application->Execute([&] {
        made = New<TForm>(Application);
        throw Exception(L"Not enough timers available");
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(errors.messages, std::vector<std::wstring>{L"Not enough timers available"});
    delete made;
}

TEST(Application, OneLockPerProgramFileAndRequestsToComeForwardWaitForTheLoop) {
    const std::wstring path = L"C:\\Some Folder\\q" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    const std::wstring name = TInstanceLock::NameFor(path);
    EXPECT_EQ(name, TInstanceLock::NameFor(L"c:\\some folder\\Q" + std::to_wstring(GetCurrentProcessId()) +
                                           L".EXE"));
    EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos) << "a backslash past the namespace";
    const std::wstring elsewhere = L"C:\\Other\\q" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    EXPECT_NE(name, TInstanceLock::NameFor(elsewhere));
    {
        TInstanceLock first(path), second(path), other(elsewhere);
        EXPECT_TRUE(first.First());
        EXPECT_FALSE(second.First());
        EXPECT_TRUE(other.First());
    }
    EXPECT_TRUE(TInstanceLock(path).First()) << "the lock outlived its holders";

    // Before the message loop runs (the forms are still being made) the request is ignored.
    int heard = 0;
    Application->OnComeForward = [&](TObject*) { ++heard; };
    SendMessageW(Application->Handle(), ComeForwardMessage(), 0, 0);
    EXPECT_EQ(heard, 0);
    Application->OnComeForward = nullptr;
}

TEST(Application, CreateFormMakesTheFirstFormMainAndClearsTheReferenceWithTheForm) {
    TForm* ref = nullptr;
    TForm* main = Application->MainForm();
    Application->CreateForm(ref);
    ASSERT_NE(ref, nullptr);
    if (!main) {
        EXPECT_EQ(Application->MainForm(), ref);
    }
    delete ref;
    EXPECT_EQ(ref, nullptr);
    EXPECT_EQ(Application->MainForm(), main);
}

} // namespace

namespace {

TEST(WinControl, AskingAChildForItsWindowFirstMakesOneWindowUnderTheParent) {
    TForm* form = New<TForm>(Application);
    auto* edit = New<TEdit>(form);
    edit->SetParent(form);
    HWND h = edit->Handle(); // before the form has a window
    int children = 0;
    EnumChildWindows(
        form->Handle(),
        [](HWND, LPARAM l) -> BOOL {
            ++*reinterpret_cast<int*>(l);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    EXPECT_EQ(children, 1);
    EXPECT_EQ(GetParent(h), form->Handle());
    delete form;
}

TEST(WinControl, ClientAlignedChildFillsTheParentAndFollowsItsSize) {
    TForm* form = New<TForm>(Application);
    form->SetClientSize(200, 100);
    auto* edit = New<TMemo>(form);
    edit->SetParent(form);
    edit->SetAlign(TAlign::alClient);
    form->HandleNeeded();
    EXPECT_EQ(edit->Width(), form->ClientWidth());
    form->SetClientSize(300, 150);
    EXPECT_EQ(edit->Width(), 300);
    EXPECT_EQ(edit->Height(), 150);
    delete form;
}

} // namespace

namespace {

TEST(Edit, ColourRequestsFollowTheControlsColour) {
    TForm* form = New<TForm>(Application);
    auto* edit = New<TEdit>(form);
    edit->SetParent(form);
    auto brushColour = [&] {
        win::WindowDC dc(edit->Handle());
        auto brush = reinterpret_cast<HBRUSH>(SendMessageW(form->Handle(), WM_CTLCOLOREDIT,
                                                           reinterpret_cast<WPARAM>(dc.get()),
                                                           reinterpret_cast<LPARAM>(edit->Handle())));
        LOGBRUSH lb{};
        GetObjectW(brush, sizeof lb, &lb);
        return lb.lbColor;
    };
    edit->SetColor(clRed);
    EXPECT_EQ(brushColour(), RGB(255, 0, 0));
    edit->SetColor(clBlue);
    EXPECT_EQ(brushColour(), RGB(0, 0, 255));
    delete form;
}

// A text given before the window exists arrives whole once it does; a text over MaxLength is refused
// with the capacity error and leaves the box empty, and the box then takes a normal text.
TEST(Edit, LongTextsArriveWholeOrAreRefusedLeavingNothing) {
    TForm* form = New<TForm>(Application);
    auto* memo = New<TMemo>(form);
    memo->SetWordWrap(false);
    std::wstring big;
    while (big.size() < 1024 * 1024)
        big += L"a line of text\r\n";
    memo->SetText(big);
    memo->SetParent(form);
    EXPECT_EQ(GetWindowTextLengthW(memo->Handle()), static_cast<int>(big.size()));

    auto* later = New<TMemo>(form); // no window until it is placed on the form
    for (TMemo* m : {memo, later}) {
        m->SetMaxLength(10);
        try {
            m->SetText(std::wstring(11, L'y'));
            ADD_FAILURE() << "an eleven-character text was taken";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), L"Text exceeds memo capacity");
        }
        EXPECT_EQ(m->Text(), L"");
        m->SetText(L"0123456789");
    }
    later->SetParent(form);
    for (TMemo* m : {memo, later})
        EXPECT_EQ(win::WindowText(m->Handle()), L"0123456789");
    delete form;
}

} // namespace

namespace {

// The system file dialog is loaded on demand: it must still come up, answer OK with the chosen file and
// leave the name alone when given up.
TEST(OpenDialog, TheSystemDialogReturnsTheChosenFileAndKeepsTheNameWhenCancelled) {
    test::TempDir dir;
    std::wstring file = dir.File(L"tool.exe");
    test::WriteBytes(file, "MZ");
    TOpenDialog dialog(nullptr);
    dialog.SetFileName(file);
    test::WhenWindowAppears(L"#32770", [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(_wcsicmp(dialog.FileName().c_str(), file.c_str()), 0) << dialog.FileName();

    dialog.SetFileName(L"before");
    test::WhenWindowAppears(L"#32770", [](HWND box) { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), L"before");
}

} // namespace

namespace {

// Tips are made at the first pointing and go with the window they belong to.
// The pointer resting on a painted child with a hint shows the hint, in the tip colours, as a child of
// the top-level window inside its client area; moving off, or a press, hides it; the hint goes with the
// window it serves.
TEST(Hints, ShownWhereThePointerRestsAndGoneWithTheWindow) {
    TForm* form = New<TForm>(Application);
    form->SetClientSize(300, 150);
    auto* panel = New<TPanel>(form);
    panel->SetBounds(0, 0, 200, 100);
    panel->SetParent(form);
    auto* label = New<TLabel>(form);
    label->SetBounds(10, 10, 80, 20);
    label->SetCaption(L"link");
    label->SetHint(L"where the link goes");
    label->SetShowHint(true);
    label->SetParent(panel);
    form->Show();
    auto point = [&](int x, int y) { SendMessageW(panel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); };
    point(15, 15);
    EXPECT_EQ(panel->HintControl(), label);
    ASSERT_TRUE(test::PumpUntil([&] { return panel->HintWindow() && panel->HintWindow()->Showing(); }));
    const THintWindow* hint = panel->HintWindow();
    EXPECT_EQ(hint->Text(), L"where the link goes");
    EXPECT_EQ(GetParent(hint->Handle()), form->Handle());
    RECT r, client;
    GetWindowRect(hint->Handle(), &r);
    MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
    GetClientRect(form->Handle(), &client);
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom);
    UpdateWindow(hint->Handle());
    {
        win::WindowDC dc(hint->Handle());
        EXPECT_EQ(GetPixel(dc, 2, 2), GetSysColor(COLOR_INFOBK));
    }
    SendMessageW(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    SendMessageW(panel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    EXPECT_FALSE(hint->Showing()) << "a press hides the hint";
    point(150, 80); // off the label: nothing due
    EXPECT_EQ(panel->HintControl(), nullptr);

    point(15, 15);
    ASSERT_TRUE(test::PumpUntil([&] { return hint->Showing(); }));
    HWND window = hint->Handle();
    DestroyWindow(panel->Handle()); // the panel's window goes; its form stays
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(panel->HintWindow(), nullptr);
    delete form;
}

} // namespace
