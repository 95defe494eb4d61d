// The card as a screen reader reads it, in process: each element's role, name, state and place, the
// painted children in order with hit testing and navigation, default actions through the shell seam,
// the events readers follow, an object a reader holds after its control went, and the named text boxes.
#include "tests/app/AppFixture.h"
#include "tests/support/Outside.h"

#include <tuple>

namespace {

using outside::ChildId;

RECT OnScreen(TControl* c) {
    auto* w = dynamic_cast<TWinControl*>(c);
    RECT r = w ? w->ClientRect() : c->BoundsRect();
    MapWindowPoints(w ? w->Handle() : c->Parent()->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct Reader : AppFixture {
    std::vector<IAccessible*> held;
    ~Reader() override {
        for (IAccessible* a : held)
            a->Release();
    }
    IAccessible* Of(HWND w) {
        IAccessible* a = outside::ClientObject(w);
        EXPECT_NE(a, nullptr);
        if (a) held.push_back(a);
        return a;
    }
    IAccessible* Of(TWinControl* c) { return Of(c->Handle()); }
    void ShowCard() {
        mainform->Show();
        ASSERT_TRUE(test::PumpUntil([] { return GetFocus() == mainform->ZarButton1->Handle(); }));
    }
};

TEST_F(Reader, TheCardsElementsReportRoleNameStatePlaceAndAction) {
    ShowCard();
    constexpr long focusable = STATE_SYSTEM_FOCUSABLE, focused = STATE_SYSTEM_FOCUSED,
                   linked = STATE_SYSTEM_LINKED;
    struct Row {
        TWinControl* window;
        long child;
        TControl* control;
        long role;
        std::wstring name;
        long on, off;
        std::wstring action;
    };
    Tmainform* f = mainform;
    const Row rows[] = {
        {f->ZarButton1, 0, f->ZarButton1, ROLE_SYSTEM_PUSHBUTTON, L"确定", focusable | focused,
         STATE_SYSTEM_PRESSED | STATE_SYSTEM_UNAVAILABLE, L"Press"},
        {f->ZarPanel1, 0, f->ZarPanel1, ROLE_SYSTEM_GROUPING, L"Quennel V1.0", 0, focusable, L""},
        {f->Panel2, 1, f->ZarLabel1, ROLE_SYSTEM_STATICTEXT, L"软件作者：谭赛尔", 0, focusable | linked, L""},
        {f->Panel2, 2, f->E, ROLE_SYSTEM_LINK, L"E-mail:ts@qn.example", focusable | linked, focused, L"Jump"},
        {f->Panel2, 3, f->ZarLabel2, ROLE_SYSTEM_LINK, author::Homepage, focusable | linked, focused,
         L"Jump"},
        {f->Panel2, 4, f->Label1, ROLE_SYSTEM_STATICTEXT, author::Address, 0, focusable, L""},
        {f->Panel2, 5, f->Image1, ROLE_SYSTEM_GRAPHIC, L"", 0, focusable, L""},
    };
    for (const Row& row : rows) {
        IAccessible* a = Of(row.window);
        const auto e = outside::Read(a, row.child);
        const std::string what = win::ToUtf8(row.control->Name());
        EXPECT_EQ(std::tie(e.role, e.name, e.action), std::tie(row.role, row.name, row.action)) << what;
        EXPECT_EQ(e.state & (row.on | row.off), row.on) << what;
        long x = 0, y = 0, w = 0, h = 0;
        a->accLocation(&x, &y, &w, &h, ChildId(row.child));
        const RECT r = OnScreen(row.control);
        EXPECT_EQ((std::vector<long>{x, y, x + w, y + h}),
                  (std::vector<long>{r.left, r.top, r.right, r.bottom}))
            << what;
    }
    long count = 0;
    Of(f->Panel2)->get_accChildCount(&count);
    EXPECT_EQ(count, 5);
    f->E->SetVisible(false);
    EXPECT_TRUE(outside::Read(Of(f->Panel2), 2).state & STATE_SYSTEM_INVISIBLE);
}

TEST_F(Reader, ChildrenAreFoundByPointAndInOrderAndTheirActionsAreClicks) {
    ShowCard();
    IAccessible* panel = Of(mainform->Panel2);
    const RECT e = OnScreen(mainform->E);
    VARIANT hit{};
    EXPECT_EQ(panel->accHitTest((e.left + e.right) / 2, (e.top + e.bottom) / 2, &hit), S_OK);
    EXPECT_EQ(std::make_pair(hit.vt, hit.lVal), std::make_pair(VARTYPE{VT_I4}, 2L));
    EXPECT_EQ(panel->accHitTest(e.left - 1000, e.top, &hit), S_FALSE);
    // From the panel to its first and last child; from a child to its neighbours, none past the ends.
    const long steps[][3] = {{NAVDIR_FIRSTCHILD, 0, 1}, {NAVDIR_LASTCHILD, 0, 5}, {NAVDIR_NEXT, 2, 3},
                             {NAVDIR_PREVIOUS, 2, 1},   {NAVDIR_PREVIOUS, 1, 0},  {NAVDIR_NEXT, 5, 0}};
    for (const auto& s : steps) {
        VARIANT to{};
        const HRESULT hr = panel->accNavigate(s[0], ChildId(s[1]), &to);
        EXPECT_EQ(hr == S_OK ? to.lVal : 0L, s[2]) << s[0] << " from " << s[1];
    }
    EXPECT_EQ(panel->accDoDefaultAction(ChildId(2)), S_OK);
    EXPECT_EQ(shell.calls,
              std::vector<std::wstring>{L"ShellExecute null \"mailto:ts@qn.example\" null null 1"});
    EXPECT_EQ(panel->accDoDefaultAction(ChildId(1)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Of(mainform->ZarButton1)->accDoDefaultAction(ChildId(0)), S_OK);
    EXPECT_FALSE(mainform->Visible()) << "the button's action is its click: the card goes";
}

std::vector<std::tuple<DWORD, HWND, LONG, LONG>>* heard = nullptr;

void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND w, LONG object, LONG child, DWORD, DWORD) {
    if (heard) heard->emplace_back(event, w, object, child);
}

TEST_F(Reader, ReadersHearChangesAndAnObjectThatOutlivesItsControlIsDisconnected) {
    ShowCard();
    std::vector<std::tuple<DWORD, HWND, LONG, LONG>> events;
    heard = &events;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr, Heard,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    HWND panel = mainform->Panel2->Handle(), button = mainform->ZarButton1->Handle();
    auto hears = [&](DWORD event, HWND w, LONG child) {
        const auto wanted = std::make_tuple(event, w, OBJID_CLIENT, child);
        return test::PumpUntil(
            [&] { return std::find(events.begin(), events.end(), wanted) != events.end(); });
    };
    mainform->ZarLabel1->SetCaption(L"软件作者");
    EXPECT_TRUE(hears(EVENT_OBJECT_NAMECHANGE, panel, 1));
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(hears(EVENT_OBJECT_STATECHANGE, button, CHILDID_SELF));
    IAccessible* b = Of(mainform->ZarButton1);
    EXPECT_TRUE(outside::Read(b, 0).state & STATE_SYSTEM_PRESSED);
    EXPECT_EQ(Of(mainform->Panel2)->accSelect(SELFLAG_TAKEFOCUS, ChildId(3)), S_OK);
    EXPECT_TRUE(hears(EVENT_OBJECT_FOCUS, panel, 3));
    UnhookWinEvent(hook);
    heard = nullptr;

    delete mainform;
    mainform = nullptr;
    BSTR name = nullptr;
    long count = 0;
    EXPECT_EQ(b->get_accName(ChildId(0), &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(b->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(b->accDoDefaultAction(ChildId(0)), CO_E_OBJNOTCONNECTED);
}

// The text boxes keep the system's object (its role, its value) with the name their painted labels
// cannot give; the run dialog's name is on the box's text part, where the focus goes.
TEST_F(Reader, TextBoxesCarryTheirNamesOnTheSystemsObjects) {
    HWND command = FindWindowExW(commandform->CBOX->Handle(), nullptr, L"Edit", nullptr);
    const std::pair<HWND, std::wstring> boxes[] = {{infoform->Memo1->Handle(), L"个人信息"},
                                                   {command, L"命令行"},
                                                   {DTForm->Edit1->Handle(), L"当前日期时间"}};
    for (const auto& [box, name] : boxes) {
        const auto e = outside::Read(Of(box), 0);
        EXPECT_EQ(std::make_tuple(e.role, e.name), std::make_tuple(long{ROLE_SYSTEM_TEXT}, name));
    }
}

} // namespace
