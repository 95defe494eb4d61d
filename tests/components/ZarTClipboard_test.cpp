#include "components/ZarTClipboard.h"
#include "framework/Streams.h"
#include "tests/support/TestSupport.h"

#include <shlobj.h>

#include <gtest/gtest.h>

namespace {

// Puts the given formats on the clipboard in one go: text, a bitmap of the size, a private format.
void FillClipboard(const wchar_t* text, SIZE bitmap = {0, 0}, UINT privateFormat = 0) {
    win::ClipboardOpen open(nullptr);
    ASSERT_TRUE(open.opened());
    EmptyClipboard();
    if (text) {
        size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
        memcpy(GlobalLock(mem), text, bytes);
        GlobalUnlock(mem);
        SetClipboardData(CF_UNICODETEXT, mem);
    }
    if (bitmap.cx) {
        win::WindowDC screen(nullptr);
        SetClipboardData(CF_BITMAP, CreateCompatibleBitmap(screen, bitmap.cx, bitmap.cy));
    }
    if (privateFormat) {
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4);
        SetClipboardData(privateFormat, mem);
    }
}

void EmptyTheClipboard() {
    win::ClipboardOpen open(nullptr);
    EmptyClipboard();
}

// A window that joins the chain first and counts the notices that reach it.
struct ChainRecorder {
    int draws = 0, changes = 0;
    HWND next = nullptr;
    TUtilWindow window{[this](TMessage& m) {
        if (m.Msg == WM_DRAWCLIPBOARD) ++draws;
        if (m.Msg == WM_CHANGECBCHAIN) ++changes;
        return m.Msg == WM_DRAWCLIPBOARD || m.Msg == WM_CHANGECBCHAIN;
    }};
    void Join() { next = SetClipboardViewer(window.Handle()); }
    ~ChainRecorder() { ChangeClipboardChain(window.Handle(), next); }
};

struct ViewerFixture : ::testing::Test {
    TForm* form = New<TForm>(Application);
    TZarClipboard* viewer = nullptr;
    int changes = 0;
    ViewerFixture() {
        form->SetClientSize(300, 200);
        form->HandleNeeded();
    }
    void MakeViewer() {
        viewer = New<TZarClipboard>(form);
        viewer->OnChange = [this](TObject*) { ++changes; };
        viewer->SetParent(form);
        viewer->SetAlign(TAlign::alClient);
        test::Pump();
    }
    ~ViewerFixture() override {
        delete form;
        EmptyTheClipboard(); // later programs start from a clean clipboard
    }
    std::wstring MemoText() {
        auto* memo = dynamic_cast<TMemo*>(viewer->DisplayChild());
        return memo ? memo->Text() : L"(no text view)";
    }
    template <typename F> bool Until(F f) { return test::PumpUntil(f, 3000); }
};

TEST_F(ViewerFixture, StartsWithWindowColourAndFollowsTheClipboardOnItsOwn) {
    EmptyTheClipboard();
    MakeViewer();
    EXPECT_EQ(viewer->Color(), clWindow);
    EXPECT_EQ(viewer->DisplayChild(), nullptr); // empty: only the background
    EXPECT_EQ(viewer->ViewFormat(), fEmpty);
    FillClipboard(L"hello 你好");
    ASSERT_TRUE(Until([&] { return MemoText() == L"hello 你好"; })) << MemoText();
    auto* memo = static_cast<TMemo*>(viewer->DisplayChild());
    EXPECT_TRUE(GetWindowLongPtrW(memo->Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(memo->Align(), TAlign::alClient);
    EXPECT_EQ(viewer->ViewFormat(), fDefault);
    EXPECT_GE(changes, 2);
}

TEST_F(ViewerFixture, TextAfterTextReplacesTheWholeTextInTheSameReadOnlyBox) {
    MakeViewer();
    auto boxWindow = [&] { return static_cast<TMemo*>(viewer->DisplayChild())->Handle(); };
    FillClipboard(L"a first, rather longer text\r\nover two lines");
    ASSERT_TRUE(Until([&] { return MemoText() == L"a first, rather longer text\r\nover two lines"; }));
    HWND box = boxWindow();
    FillClipboard(L"short");
    ASSERT_TRUE(Until([&] { return MemoText() == L"short"; })) << MemoText();
    EXPECT_EQ(boxWindow(), box);
    EXPECT_TRUE(GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY);

    // Another kind of content, then text again: a box of its own each time.
    FillClipboard(nullptr, {0, 0}, RegisterClipboardFormatW(L"Quennel Test Private"));
    ASSERT_TRUE(Until([&] { return MemoText().starts_with(L"Unknown Object on the Clipboard\r\n"); }));
    EXPECT_FALSE(IsWindow(box));
    box = boxWindow();
    FillClipboard(L"text again");
    ASSERT_TRUE(Until([&] { return MemoText() == L"text again"; })) << MemoText();
    EXPECT_FALSE(IsWindow(box));
    EmptyTheClipboard();
    ASSERT_TRUE(Until([&] { return viewer->DisplayChild() == nullptr; }));
}

// Content a password manager marks private (either registered format) shows only the notice, whatever
// view format is asked for; the next ordinary content shows as usual.
TEST_F(ViewerFixture, PrivateContentShowsOnlyTheNoticeInEveryViewFormat) {
    MakeViewer();
    for (const wchar_t* mark :
         {L"ExcludeClipboardContentFromMonitorProcessing", L"Clipboard Viewer Ignore"}) {
        FillClipboard(L"hunter2", {40, 20}, RegisterClipboardFormatW(mark));
        ASSERT_TRUE(Until([&] { return MemoText() == kPrivateClipboardNotice; })) << MemoText();
        for (TZarClipFormat f : {fText, fBitmap, fMetafile, fOemText, fPicture, fComponent, fDefault}) {
            viewer->SetViewFormat(f);
            EXPECT_EQ(MemoText(), kPrivateClipboardNotice) << "view format " << int(f);
        }
        FillClipboard(L"ordinary");
        EXPECT_TRUE(Until([&] { return MemoText() == L"ordinary"; })) << MemoText();
    }
}

// A derived viewer's UpdateView is the step every rebuild takes: a change, a chosen format, private content.
TEST_F(ViewerFixture, EveryRebuildGoesThroughTheOverridableUpdateView) {
    struct Counting : TZarClipboard {
        using TZarClipboard::TZarClipboard;
        int updates = 0;
        void UpdateView() override {
            ++updates;
            TZarClipboard::UpdateView();
        }
    };
    auto* counting = New<Counting>(form);
    viewer = counting;
    counting->SetParent(form);
    FillClipboard(L"text", {4, 4});
    ASSERT_TRUE(Until([&] { return MemoText() == L"text"; }));
    int before = counting->updates;
    viewer->SetViewFormat(fBitmap);
    EXPECT_EQ(counting->updates, before + 1);
    FillClipboard(L"x", {0, 0}, RegisterClipboardFormatW(L"Clipboard Viewer Ignore"));
    ASSERT_TRUE(Until([&] { return MemoText() == kPrivateClipboardNotice; }));
    EXPECT_GE(counting->updates, before + 2);
}

TEST_F(ViewerFixture, ChosenBitmapIsCentredAndLastsOnlyWhileOffered) {
    MakeViewer();
    FillClipboard(L"text", {40, 20});
    ASSERT_TRUE(Until([&] { return MemoText() == L"text"; }));
    viewer->SetViewFormat(fBitmap);
    EXPECT_EQ(viewer->ViewFormat(), fBitmap);
    auto* image = dynamic_cast<TImage*>(viewer->DisplayChild());
    ASSERT_NE(image, nullptr);
    RECT client = viewer->ClientRect();
    EXPECT_EQ(image->Width(), 40);
    EXPECT_EQ(image->Left(), (client.right - 40) / 2);
    EXPECT_EQ(image->Top(), (client.bottom - 20) / 2);
    TControl* shown = viewer->DisplayChild();
    viewer->SetViewFormat(fBitmap); // the same value: no rebuild
    EXPECT_EQ(viewer->DisplayChild(), shown);

    FillClipboard(L"other", {10, 10});
    ASSERT_TRUE(Until([&] {
        auto* i = dynamic_cast<TImage*>(viewer->DisplayChild());
        return i && i->Width() == 10;
    }));
    EXPECT_EQ(viewer->ViewFormat(), fBitmap);
    FillClipboard(L"just text");
    ASSERT_TRUE(Until([&] { return MemoText() == L"just text"; }));
    EXPECT_EQ(viewer->ViewFormat(), fDefault);
}

TEST_F(ViewerFixture, FormatsWithoutAClipboardFormatEndAsDefault) {
    MakeViewer();
    FillClipboard(L"x", {4, 4});
    ASSERT_TRUE(Until([&] { return MemoText() == L"x"; }));
    for (TZarClipFormat f : {fIcon, fEmpty, fUnknown}) {
        viewer->SetViewFormat(fBitmap);
        viewer->SetViewFormat(f);
        EXPECT_EQ(viewer->ViewFormat(), fDefault);
    }
}

TEST_F(ViewerFixture, LargeBitmapSitsAtTheOriginAndScrolls) {
    MakeViewer();
    FillClipboard(nullptr, {900, 700});
    ASSERT_TRUE(Until([&] { return dynamic_cast<TImage*>(viewer->DisplayChild()) != nullptr; }));
    TControl* image = viewer->DisplayChild();
    EXPECT_EQ(image->Left(), 0);
    EXPECT_EQ(image->Top(), 0);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(viewer->Handle(), SB_HORZ, &si));
    EXPECT_EQ(si.nMax, 899);
    SendMessageW(viewer->Handle(), WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(image->Left(), -8);

    // Whatever comes next starts unscrolled, with ranges of its own.
    EmptyTheClipboard();
    ASSERT_TRUE(Until([&] { return viewer->DisplayChild() == nullptr; }));
    ASSERT_TRUE(GetScrollInfo(viewer->Handle(), SB_HORZ, &si));
    EXPECT_EQ(si.nMax, 0);
    EXPECT_EQ(viewer->ScrollPos().x, 0);
    FillClipboard(nullptr, {900, 700});
    ASSERT_TRUE(Until([&] { return dynamic_cast<TImage*>(viewer->DisplayChild()) != nullptr; }));
    SendMessageW(viewer->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    FillClipboard(nullptr, {10, 10});
    ASSERT_TRUE(Until([&] {
        auto* i = dynamic_cast<TImage*>(viewer->DisplayChild());
        return i && i->Width() == 10;
    }));
    RECT client = viewer->ClientRect();
    EXPECT_EQ(viewer->DisplayChild()->Left(), (client.right - 10) / 2);
    EXPECT_EQ(viewer->DisplayChild()->Top(), (client.bottom - 10) / 2);
    EXPECT_EQ(viewer->ScrollPos().y, 0);
}

// OEM text shows in the "Terminal" face at the viewer's own size and character set.
TEST_F(ViewerFixture, OemTextChangesOnlyTheFontName) {
    MakeViewer();
    viewer->Font().SetHeight(20);
    viewer->Font().SetCharset(GB2312_CHARSET);
    const char oem[] = "dir C:\\";
    {
        win::ClipboardOpen open(nullptr);
        EmptyClipboard();
        SetClipboardData(CF_OEMTEXT, test::GlobalCopy(oem, sizeof oem));
    }
    ASSERT_TRUE(Until([&] { return MemoText() == L"dir C:\\"; })) << MemoText();
    viewer->SetViewFormat(fOemText); // the system offers it as plain text too, which comes first
    ASSERT_EQ(viewer->ViewFormat(), fOemText);
    const TFont& font = viewer->DisplayChild()->Font();
    EXPECT_EQ(font.Name(), L"Terminal");
    EXPECT_EQ(font.Height(), 20);
    EXPECT_EQ(font.Charset(), GB2312_CHARSET);
}

TEST_F(ViewerFixture, ChainNoticesFollowTheRules) {
    ChainRecorder first, other;
    first.Join();
    MakeViewer();
    ASSERT_EQ(viewer->NextViewer(), first.window.Handle());
    int before = first.changes;
    SendMessageW(viewer->Handle(), WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(viewer->Handle()), 0);
    EXPECT_EQ(first.changes, before); // naming the viewer itself: not passed on
    SendMessageW(viewer->Handle(), WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(first.window.Handle()),
                 reinterpret_cast<LPARAM>(other.window.Handle()));
    EXPECT_EQ(viewer->NextViewer(), other.window.Handle());
    EXPECT_EQ(other.changes, 1); // passed on to the new next viewer
    // Restore the real chain order before the recorders leave.
    SendMessageW(viewer->Handle(), WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(other.window.Handle()),
                 reinterpret_cast<LPARAM>(first.window.Handle()));
}

TEST_F(ViewerFixture, PassesDrawNoticesOnAndLeavesTheChainWhenDestroyed) {
    ChainRecorder recorder;
    recorder.Join();
    MakeViewer();
    int before = recorder.draws;
    FillClipboard(L"one");
    ASSERT_TRUE(Until([&] { return recorder.draws > before; }));
    delete viewer;
    viewer = nullptr;
    before = recorder.draws;
    FillClipboard(L"two");
    EXPECT_TRUE(Until([&] { return recorder.draws > before; })) << "the chain was broken";
}

TEST_F(ViewerFixture, RecreatingTheWindowRejoinsTheChain) {
    MakeViewer();
    viewer->SetCtl3D(false);
    FillClipboard(L"after");
    EXPECT_TRUE(Until([&] { return MemoText() == L"after"; }));
}

TEST_F(ViewerFixture, HugeTextIsShownWhole) {
    MakeViewer();
    std::wstring big(3 * 1024 * 1024, L'a');
    FillClipboard(big.c_str());
    ASSERT_TRUE(Until([&] { return dynamic_cast<TMemo*>(viewer->DisplayChild()) != nullptr; }));
    EXPECT_TRUE(Until([&] {
        return GetWindowTextLengthW(viewer->DisplayChild()
                                        ? static_cast<TMemo*>(viewer->DisplayChild())->Handle()
                                        : nullptr) == static_cast<int>(big.size());
    }));
}

TEST_F(ViewerFixture, StoredComponentIsRebuiltAndUnknownClassesAreReported) {
    MakeViewer();
    test::ErrorCatcher errors;
    TLabel sample(nullptr);
    sample.SetCaption(L"stored");
    sample.SetBounds(0, 0, 50, 20);
    auto put = [](const std::string& bytes) {
        win::ClipboardOpen open(nullptr);
        EmptyClipboard();
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        memcpy(GlobalLock(mem), bytes.data(), bytes.size());
        GlobalUnlock(mem);
        SetClipboardData(TZarClipboard::ComponentFormat(), mem);
    };
    put(WriteComponent("TLabel", sample));
    ASSERT_TRUE(Until([&] { return dynamic_cast<TLabel*>(viewer->DisplayChild()) != nullptr; }));
    EXPECT_EQ(viewer->DisplayChild()->Caption(), L"stored");
    put(WriteComponent("TNoSuchThing", sample));
    ASSERT_TRUE(Until([&] { return !errors.messages.empty(); }));
    EXPECT_EQ(errors.messages[0], L"Class TNoSuchThing not found");
    EXPECT_EQ(viewer->DisplayChild(), nullptr);
}

// Another program changing the clipboard many times a second: content that goes between the viewer's
// choice of view and its read is a change still to come, never an error.
TEST_F(ViewerFixture, AStormOfChangesFromAnotherProgramGivesNoFalseErrors) {
    MakeViewer();
    test::ErrorCatcher errors;
    win::Handle storm = test::StartSelf(L"--clipboard-storm 200");
    ASSERT_TRUE(storm);
    EXPECT_TRUE(test::PumpUntilExited(storm.get(), 300000));
    FillClipboard(L"calm again");
    EXPECT_TRUE(Until([&] { return MemoText() == L"calm again"; })) << MemoText();
    for (const auto& m : errors.messages)
        ADD_FAILURE() << "error box: " << win::ToUtf8(m);
}

// A file list as a file manager puts it on the clipboard: the header, the names each closed by a zero,
// and one more zero.
HGLOBAL FileList(const std::vector<std::wstring>& paths, DWORD offset = sizeof(DROPFILES)) {
    DROPFILES head{offset, {0, 0}, FALSE, TRUE};
    std::wstring block(reinterpret_cast<const wchar_t*>(&head), sizeof head / sizeof(wchar_t));
    for (const auto& p : paths)
        block += p + L'\0';
    return test::GlobalCopy(block.c_str(), (block.size() + 1) * sizeof(wchar_t));
}

// Files copied with no text show their full paths, one per line; text beside them shows as text; a
// private list only the notice; what the viewer cannot show, the formats that are there.
TEST_F(ViewerFixture, FileListsShowTheirPathsAndUnknownContentItsFormats) {
    MakeViewer();
    const std::vector<std::wstring> three{L"C:\\a.txt", L"D:\\文件夹\\b c.doc", L"\\\\host\\share\\d"};
    const struct {
        HGLOBAL files;
        UINT other; // with a little data, when not 0
        std::wstring shown;
    } cases[] = {
        {FileList(three), 0, L"C:\\a.txt\r\nD:\\文件夹\\b c.doc\r\n\\\\host\\share\\d"},
        {FileList(three), CF_UNICODETEXT, L"t"},
        {FileList(three), RegisterClipboardFormatW(L"Clipboard Viewer Ignore"), kPrivateClipboardNotice},
        {nullptr, RegisterClipboardFormatW(L"Quennel Test"),
         L"Unknown Object on the Clipboard\r\nQuennel Test"},
        {FileList(three, 1 << 20), 0, L"Unknown Object on the Clipboard\r\nCF_HDROP"},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<UINT, HANDLE>> items;
        if (c.files) items.push_back({CF_HDROP, c.files});
        if (c.other) items.push_back({c.other, test::GlobalCopy(L"t", 4)});
        test::ReplaceClipboard(items);
        EXPECT_TRUE(Until([&] { return MemoText() == c.shown; })) << win::ToUtf8(MemoText());
    }
    // A hundred thousand files are shown whole, read in one pass.
    test::ReplaceClipboard(
        {{CF_HDROP, FileList(std::vector<std::wstring>(100000, L"C:\\Pictures\\IMG_0000.JPG"))}});
    EXPECT_TRUE(test::PumpUntil(
        [&] { return GetWindowTextLengthW(GetWindow(viewer->Handle(), GW_CHILD)) == 2'599'998; }, 30000));
}

// Sizes from other programs' content are bounded, and metafile extents follow the platform's rules:
// positive ones are a size in the mode's units, negative ones only proportions, zero ones no suggestion.
TEST(PictureBounds, MetafileExtentsAndOversizedPicturesGiveABoundedSize) {
    struct Case {
        LONG mm, x, y;
        LONG w, h;
    } cases[] = {
        {MM_ANISOTROPIC, 2540, 1270, 96, 48},
        {MM_ISOTROPIC, -2, -1, 256, 128},
        {MM_ISOTROPIC, -1, INT_MIN, 1, 256},
        {MM_ANISOTROPIC, INT_MIN, INT_MIN, 256, 256},
        {MM_ANISOTROPIC, INT_MIN, 500, 256, 1}, // one negative: proportions only
        {MM_ANISOTROPIC, 0, 0, 256, 256},
        {MM_ANISOTROPIC, INT_MAX, INT_MAX, 4096, 4096},
        {MM_TEXT, 100, 50, 100, 50},
        {MM_TEXT, INT_MIN, 10, 8192, 1},
        {MM_TWIPS, 1440, -1440, 96, 96},
        {MM_LOENGLISH, 100, 200, 96, 192},
        {12345, 100, 100, 256, 256}, // not a mapping mode
    };
    for (const Case& c : cases) {
        SIZE s = MetafilePictureSize(c.mm, c.x, c.y);
        EXPECT_EQ(s.cx, c.w) << c.mm << " " << c.x << " " << c.y;
        EXPECT_EQ(s.cy, c.h) << c.mm << " " << c.x << " " << c.y;
    }
    // On a display scaled to 150 %, an inch is 144 pixels; pixels stay pixels.
    EXPECT_EQ(MetafilePictureSize(MM_TWIPS, 1440, 720, 144).cx, 144);
    EXPECT_EQ(MetafilePictureSize(MM_TWIPS, 1440, 720, 144).cy, 72);
    EXPECT_EQ(MetafilePictureSize(MM_TEXT, 100, 50, 144).cx, 100);
    SIZE wide = BoundPictureSize(100000, 10), big = BoundPictureSize(6000, 6000);
    EXPECT_EQ(wide.cx, 8192);
    EXPECT_EQ(wide.cy, 1);
    EXPECT_EQ(big.cx, 4096);
    EXPECT_EQ(big.cy, 4096);
}

TEST(CenterInParent, ClampsAtZero) {
    TForm form(nullptr);
    form.SetClientSize(100, 50);
    form.HandleNeeded();
    auto* c = New<TLabel>(&form);
    c->SetParent(&form);
    c->SetBounds(5, 5, 40, 10);
    CenterInParent(c);
    RECT r = form.ClientRect();
    EXPECT_EQ(c->Left(), (r.right - 40) / 2);
    EXPECT_EQ(c->Top(), (r.bottom - 10) / 2);
    c->SetBounds(5, 5, 300, 300);
    CenterInParent(c);
    EXPECT_EQ(c->Left(), 0);
    EXPECT_EQ(c->Top(), 0);
}

} // namespace
