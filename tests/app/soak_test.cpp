#include "tests/app/AppFixture.h"

namespace {

// Windows of this thread, top-level and children.
int ThreadWindowCount() {
    int n = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM l) -> BOOL {
            ++*reinterpret_cast<int*>(l);
            EnumChildWindows(
                h,
                [](HWND, LPARAM c) -> BOOL {
                    ++*reinterpret_cast<int*>(c);
                    return TRUE;
                },
                l);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

// Long runs, in a CTest test of their own ("soak"); the other app tests skip them.
struct Soak : AppFixture {
    void SetUp() override {
        if (!GetEnvironmentVariableW(L"QUENNEL_SOAK", nullptr, 0)) GTEST_SKIP() << "run by the soak test";
    }
};

TEST_F(Soak, AThousandClipboardChangesLeaveTheViewerCurrentAndNothingBehind) {
    // A second viewer, behind Quennel's in the chain, must keep hearing every change.
    int heard = 0;
    TUtilWindow second([&](TMessage& m) {
        if (m.Msg != WM_DRAWCLIPBOARD) return false;
        ++heard;
        return true;
    });
    HWND after = SetClipboardViewer(second.Handle());
    mainform->popmenuPopup(nullptr);
    mainform->N3Click(nullptr); // the clipboard window
    test::SetClipboardText(L"warm-up");
    test::PumpUntil([] { return false; }, 100);
    const long gdi = win::LiveGdiObjects();
    const int windows = ThreadWindowCount();
    const int heardBefore = heard;
    // Another program (this test program started again as a writer) makes the changes in quick
    // succession, as a busy clipboard user would.
    win::Handle writer = test::StartSelf(L"--write-clipboard 1000");
    ASSERT_TRUE(writer);
    EXPECT_TRUE(test::PumpUntilExited(writer.get(), 600000)) << "the writer did not finish its changes";
    auto* memo = dynamic_cast<TMemo*>(pmform->ZarClipboard1->DisplayChild());
    ASSERT_TRUE(test::PumpUntil([&] {
        memo = dynamic_cast<TMemo*>(pmform->ZarClipboard1->DisplayChild());
        return memo && memo->Text() == L"change 1000";
    }));
    EXPECT_LE(std::abs(win::LiveGdiObjects() - gdi), 2);
    EXPECT_LE(std::abs(ThreadWindowCount() - windows), 2);
    EXPECT_GE(heard - heardBefore, 1000);
    pmform->Close();
    delete pmform; // leaves the chain before the second viewer does
    pmform = nullptr;
    ChangeClipboardChain(second.Handle(), after);
}

TEST_F(Soak, AThousandOpeningsOfEachMenuAndWindowLeaveTheCountsFlat) {
    mainform->ZarButton1Click(nullptr);
    for (TForm* f : std::initializer_list<TForm*>{commandform, infoform})
        f->OnShow = [f](TObject*) { PostMessageW(f->Handle(), WM_CLOSE, 0, 0); };
    auto round = [&] {
        for (TPopupMenu* menu : {mainform->popmenu, mainform->PopupMenu1}) {
            test::WhenWindowAppears(L"#32768", [](HWND m) { test::PostKey(m, VK_ESCAPE); });
            menu->Popup(100, 100);
        }
        for (TForm* f : std::initializer_list<TForm*>{pmform, DTForm, mainform}) {
            f->Show();
            f->Close();
            if (f == mainform) f->Hide();
        }
        for (TForm* f : std::initializer_list<TForm*>{commandform, infoform})
            f->ShowModal();
        test::Pump();
    };
    round(); // the first showing makes each window's handles once
    const long gdi = win::LiveGdiObjects();
    const int windows = ThreadWindowCount();
    for (int i = 1; i < 1000; ++i)
        round();
    EXPECT_LE(std::abs(win::LiveGdiObjects() - gdi), 2);
    EXPECT_LE(std::abs(ThreadWindowCount() - windows), 2);
    for (TForm* f : std::initializer_list<TForm*>{mainform, pmform, commandform, DTForm, infoform})
        EXPECT_FALSE(IsWindowVisible(f->Handle())) << win::ToUtf8(f->Caption());
    EXPECT_FALSE(Application->TaskbarEntryVisible());
}

} // namespace
