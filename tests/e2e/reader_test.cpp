// The running card read from another process, as a screen reader reads it, and its links used by the
// keyboard: Tab after the OK button reaches the e-mail link, whose Enter opens it as a click does.
#include "tests/e2e/QuennelProcess.h"

#include <oleacc.h>

#include <iostream>
#include <map>

namespace {

constexpr GUID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

struct Com {
    Com() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~Com() { CoUninitialize(); }
};

// A window's client object, released when it goes.
struct Object {
    IAccessible* a = nullptr;
    explicit Object(HWND h) {
        AccessibleObjectFromWindow(h, static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                   reinterpret_cast<void**>(&a));
    }
    ~Object() {
        if (a) a->Release();
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
};

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

// What a reader says of an element: its role, its name, whether it is a link or focused, its action.
std::wstring Says(IAccessible* a, long child) {
    static const std::map<long, std::wstring> roles = {{ROLE_SYSTEM_PUSHBUTTON, L"push button"},
                                                       {ROLE_SYSTEM_STATICTEXT, L"static text"},
                                                       {ROLE_SYSTEM_LINK, L"link"},
                                                       {ROLE_SYSTEM_GROUPING, L"grouping"},
                                                       {ROLE_SYSTEM_GRAPHIC, L"graphic"},
                                                       {ROLE_SYSTEM_CLIENT, L"client"}};
    VARIANT role{}, state{};
    BSTR name = nullptr, action = nullptr;
    a->get_accRole(Child(child), &role);
    a->get_accName(Child(child), &name);
    a->get_accState(Child(child), &state);
    a->get_accDefaultAction(Child(child), &action);
    auto found = roles.find(role.lVal);
    std::wstring line = (found != roles.end() ? found->second : L"role " + std::to_wstring(role.lVal)) +
                        L" \"" + Take(name) + L"\"";
    if (state.lVal & STATE_SYSTEM_LINKED) line += L" linked";
    if (state.lVal & STATE_SYSTEM_FOCUSED) line += L" focused";
    const std::wstring act = Take(action);
    if (!act.empty()) line += L", action " + act;
    return line;
}

// Every window of the card and the painted elements of each, in the windows' order.
std::vector<std::wstring> ReadCard(HWND card) {
    std::vector<HWND> windows{card};
    EnumChildWindows(
        card,
        [](HWND h, LPARAM l) {
            reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    std::vector<std::wstring> lines;
    for (HWND h : windows) {
        Object o(h);
        if (!o.a) continue;
        lines.push_back(Says(o.a, CHILDID_SELF));
        long count = 0;
        o.a->get_accChildCount(&count);
        for (long i = 1; i <= count; ++i) {
            IDispatch* own = nullptr;
            if (o.a->get_accChild(Child(i), &own) == S_OK && own) {
                own->Release(); // a window of its own: read in its turn
                continue;
            }
            lines.push_back(L"  " + Says(o.a, i));
        }
    }
    return lines;
}

HWND WindowWithLinks(HWND card) {
    HWND found = nullptr;
    for (HWND h = nullptr; (h = FindWindowExW(card, h, nullptr, nullptr)) != nullptr && !found;)
        for (HWND inner = nullptr; (inner = FindWindowExW(h, inner, nullptr, nullptr)) != nullptr;) {
            Object o(inner);
            VARIANT role{};
            if (o.a && o.a->get_accRole(Child(2), &role) == S_OK && role.lVal == ROLE_SYSTEM_LINK)
                found = inner;
        }
    return found;
}

long FocusedElement(HWND w) {
    Object o(w);
    VARIANT focus{};
    if (!o.a || o.a->get_accFocus(&focus) != S_OK || focus.vt != VT_I4) return -1;
    return focus.lVal;
}

// The program asked to open a mailto link gets this test program instead of a mail client, which writes
// down what it was asked to open. (Wine's merged classes view does not take the user's own classes, so
// the machine's handler is replaced for the test and put back after it.)
struct MailHandler {
    static constexpr const wchar_t* kKey = L"mailto\\shell\\open\\command";
    HKEY key = nullptr;
    std::wstring file, before;
    explicit MailHandler(const std::wstring& out) : file(out) {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const std::wstring command =
            L"\"" + std::wstring(self) + L"\" --record-open \"" + file + L"\" \"%1\"";
        RegCreateKeyExW(HKEY_CLASSES_ROOT, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
        wchar_t old[1024] = L"";
        DWORD size = sizeof old;
        if (RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
            ERROR_SUCCESS)
            before = old;
        Set(command);
    }
    void Set(const std::wstring& command) const {
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    ~MailHandler() {
        Set(before);
        RegCloseKey(key);
    }
};

using Reader = e2e::Running;

TEST_F(Reader, AnotherProcessReadsTheCardAndTheKeyboardOpensItsLinks) {
    Com com;
    const auto lines = ReadCard(card);
    for (const auto& line : lines)
        std::cout << "reader: " << win::ToUtf8(line) << "\n";
    auto has = [&](const std::wstring& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has(L"push button \"确定\" focused, action Press"));
    EXPECT_TRUE(has(L"  static text \"软件作者：谭赛尔\""));
    EXPECT_TRUE(has(L"  link \"E-mail:ts@qn.example\" linked, action Jump"));
    EXPECT_TRUE(has(L"  link \"http://qn.example/~ts\" linked, action Jump"));
    EXPECT_TRUE(has(L"  static text \"中国上海市南京路100号 邮编200001\""));

    ASSERT_TRUE(test::BringToFront(card));
    HWND links = WindowWithLinks(card), ok = e2e::FindChildByText(card, L"确定");
    ASSERT_NE(links, nullptr);
    auto focusOn = [&](HWND w, long element) {
        return test::PumpUntil(
            [&] { return test::FocusIn(card) == w && (element < 0 || FocusedElement(w) == element); });
    };
    ASSERT_TRUE(focusOn(ok, -1)) << "the OK button has the first focus";
    test::SendKey(VK_TAB);
    EXPECT_TRUE(focusOn(links, 2)) << "Tab after OK: the e-mail link";
    test::SendKey(VK_TAB);
    EXPECT_TRUE(focusOn(links, 3)) << "then the home page";
    test::SendKey(VK_TAB);
    EXPECT_TRUE(focusOn(ok, -1)) << "then OK again";
    test::SendKey(VK_TAB, true);
    EXPECT_TRUE(focusOn(links, 3)) << "Shift+Tab comes back to the last link";
    test::SendKey(VK_TAB, true);
    ASSERT_TRUE(focusOn(links, 2));

    MailHandler handler(dir.File(L"opened.txt"));
    test::SendKey(VK_RETURN);
    EXPECT_TRUE(test::PumpUntil([&] { return !test::ReadBytes(handler.file).empty(); }, 15000));
    EXPECT_EQ(test::ReadBytes(handler.file), "mailto:ts@qn.example");
    EXPECT_TRUE(IsWindowVisible(card)) << "a link leaves the card open";
}

} // namespace
