// The card as a screen reader reads it, in process: each element's role, name, state and place, the
// painted children in order with hit testing and navigation, default actions through the shell seam,
// the events readers follow, and an object a reader holds after its control went.
#include "tests/app/AppFixture.h"

#include <oleacc.h>

#include <tuple>

namespace {

constexpr GUID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

VARIANT Child(long id) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring Take(BSTR b) {
    std::wstring s = b ? b : L"";
    SysFreeString(b);
    return s;
}

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
    IAccessible* Of(TWinControl* c) {
        IAccessible* a = nullptr;
        EXPECT_EQ(AccessibleObjectFromWindow(c->Handle(), static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                             reinterpret_cast<void**>(&a)),
                  S_OK);
        if (a) held.push_back(a);
        return a;
    }
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
        ASSERT_NE(a, nullptr);
        const std::string what = win::ToUtf8(row.control->Name());
        VARIANT role{}, state{};
        BSTR name = nullptr, action = nullptr;
        EXPECT_EQ(a->get_accRole(Child(row.child), &role), S_OK) << what;
        EXPECT_EQ(role.lVal, row.role) << what;
        a->get_accName(Child(row.child), &name);
        EXPECT_EQ(Take(name), row.name) << what;
        a->get_accState(Child(row.child), &state);
        EXPECT_EQ(state.lVal & row.on, row.on) << what;
        EXPECT_EQ(state.lVal & row.off, 0) << what;
        a->get_accDefaultAction(Child(row.child), &action);
        EXPECT_EQ(Take(action), row.action) << what;
        long x = 0, y = 0, w = 0, h = 0;
        a->accLocation(&x, &y, &w, &h, Child(row.child));
        const RECT r = OnScreen(row.control);
        EXPECT_EQ((std::vector<long>{x, y, w, h}),
                  (std::vector<long>{r.left, r.top, r.right - r.left, r.bottom - r.top}))
            << what;
    }
    long count = 0;
    Of(f->Panel2)->get_accChildCount(&count);
    EXPECT_EQ(count, 5);
    f->E->SetVisible(false);
    VARIANT state{};
    Of(f->Panel2)->get_accState(Child(2), &state);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_INVISIBLE);
}

TEST_F(Reader, ChildrenAreFoundByPointAndInOrderAndTheirActionsAreClicks) {
    ShowCard();
    IAccessible* panel = Of(mainform->Panel2);
    const RECT e = OnScreen(mainform->E);
    VARIANT hit{};
    EXPECT_EQ(panel->accHitTest((e.left + e.right) / 2, (e.top + e.bottom) / 2, &hit), S_OK);
    EXPECT_EQ(std::make_pair(hit.vt, hit.lVal), std::make_pair(VARTYPE{VT_I4}, 2L));
    EXPECT_EQ(panel->accHitTest(e.left - 1000, e.top, &hit), S_FALSE);
    struct Step {
        long direction, from;
        HRESULT result;
        long to;
    };
    for (Step s : {Step{NAVDIR_FIRSTCHILD, 0, S_OK, 1}, Step{NAVDIR_LASTCHILD, 0, S_OK, 5},
                   Step{NAVDIR_NEXT, 2, S_OK, 3}, Step{NAVDIR_PREVIOUS, 2, S_OK, 1},
                   Step{NAVDIR_PREVIOUS, 1, S_FALSE, 0}, Step{NAVDIR_NEXT, 5, S_FALSE, 0}}) {
        VARIANT to{};
        EXPECT_EQ(panel->accNavigate(s.direction, Child(s.from), &to), s.result)
            << s.direction << " " << s.from;
        EXPECT_EQ(s.result == S_OK ? to.lVal : 0L, s.to) << s.direction << " " << s.from;
    }
    EXPECT_EQ(panel->accDoDefaultAction(Child(2)), S_OK);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0],
              std::wstring(L"ShellExecute null \"mailto:") + author::Mail + L"\" null null 1");
    EXPECT_EQ(panel->accDoDefaultAction(Child(1)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Of(mainform->ZarButton1)->accDoDefaultAction(Child(0)), S_OK);
    EXPECT_FALSE(mainform->Visible()) << "the button's action is its click: the card goes";
    EXPECT_TRUE(mainform->TICON->Active());
}

std::vector<std::tuple<DWORD, HWND, LONG, LONG>>* heard = nullptr;

void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND w, LONG object, LONG child, DWORD, DWORD) {
    if (heard && event != EVENT_OBJECT_LOCATIONCHANGE) heard->emplace_back(event, w, object, child);
}

TEST_F(Reader, ReadersHearChangesAndAnObjectThatOutlivesItsControlIsDisconnected) {
    ShowCard();
    std::vector<std::tuple<DWORD, HWND, LONG, LONG>> events;
    heard = &events;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, Heard,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    HWND panel = mainform->Panel2->Handle(), button = mainform->ZarButton1->Handle();
    auto hears = [&](DWORD event, HWND w, LONG child) {
        return test::PumpUntil([&] {
            return std::find(events.begin(), events.end(), std::make_tuple(event, w, OBJID_CLIENT, child)) !=
                   events.end();
        });
    };
    mainform->ZarLabel1->SetCaption(L"软件作者");
    EXPECT_TRUE(hears(EVENT_OBJECT_NAMECHANGE, panel, 1));
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(hears(EVENT_OBJECT_STATECHANGE, button, CHILDID_SELF));
    VARIANT state{};
    IAccessible* b = Of(mainform->ZarButton1);
    b->get_accState(Child(0), &state);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_PRESSED);
    UnhookWinEvent(hook);
    hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, Heard, GetCurrentProcessId(), 0,
                           WINEVENT_OUTOFCONTEXT);
    EXPECT_EQ(Of(mainform->Panel2)->accSelect(SELFLAG_TAKEFOCUS, Child(3)), S_OK);
    EXPECT_TRUE(hears(EVENT_OBJECT_FOCUS, panel, 3));
    UnhookWinEvent(hook);
    heard = nullptr;

    delete mainform;
    mainform = nullptr;
    BSTR name = nullptr;
    long count = 0;
    EXPECT_EQ(b->get_accName(Child(0), &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(b->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(b->accDoDefaultAction(Child(0)), CO_E_OBJNOTCONNECTED);
}

// The text boxes keep the system's object (its role, its value) with the name their painted labels
// cannot give; the run dialog's name is on the box's text part, where the focus goes.
TEST_F(Reader, TextBoxesCarryTheirNamesOnTheSystemsObjects) {
    HWND command = FindWindowExW(commandform->CBOX->Handle(), nullptr, L"Edit", nullptr);
    ASSERT_NE(command, nullptr);
    const std::pair<HWND, std::wstring> boxes[] = {{infoform->Memo1->Handle(), L"个人信息"},
                                                   {command, L"命令行"},
                                                   {DTForm->Edit1->Handle(), L"当前日期时间"}};
    for (const auto& [box, expected] : boxes) {
        IAccessible* a = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(box, static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                             reinterpret_cast<void**>(&a)),
                  S_OK);
        held.push_back(a);
        BSTR name = nullptr;
        VARIANT role{};
        a->get_accName(Child(0), &name);
        EXPECT_EQ(Take(name), expected);
        a->get_accRole(Child(0), &role);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT) << win::ToUtf8(expected);
    }
}

} // namespace
