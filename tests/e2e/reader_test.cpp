// The running card read from another process, as a screen reader reads it, and its links used by the
// keyboard: Tab after the OK button reaches the e-mail link, whose Enter opens it as a click does.
#include "tests/e2e/QuennelProcess.h"
#include "tests/support/Outside.h"

#include <iostream>
#include <map>

namespace {

// What a reader says of an element: its role, its name, whether it is a link or focused, its action.
std::wstring Says(IAccessible* a, long child) {
    static const std::map<long, std::wstring> roles = {{ROLE_SYSTEM_PUSHBUTTON, L"push button"},
                                                       {ROLE_SYSTEM_STATICTEXT, L"static text"},
                                                       {ROLE_SYSTEM_LINK, L"link"},
                                                       {ROLE_SYSTEM_GROUPING, L"grouping"},
                                                       {ROLE_SYSTEM_GRAPHIC, L"graphic"},
                                                       {ROLE_SYSTEM_CLIENT, L"client"}};
    const auto e = outside::Read(a, child);
    std::wstring line = (child ? L"  " : L"") + roles.at(e.role) + L" \"" + e.name + L"\"";
    if (e.state & STATE_SYSTEM_LINKED) line += L" linked";
    if (e.state & STATE_SYSTEM_FOCUSED) line += L" focused";
    return e.action.empty() ? line : line + L", action " + e.action;
}

// The client object of the card and of each of its windows, each followed by its painted elements.
std::vector<std::wstring> ReadCard(HWND card, HWND& links) {
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
        IAccessible* a = outside::ClientObject(h);
        if (!a) continue;
        lines.push_back(Says(a, CHILDID_SELF));
        long count = 0;
        a->get_accChildCount(&count);
        for (long i = 1; i <= count; ++i) {
            IDispatch* own = nullptr;
            if (a->get_accChild(outside::ChildId(i), &own) == S_OK && own)
                own->Release(); // read in its turn
            else
                lines.push_back(Says(a, i));
            if (outside::Read(a, i).role == ROLE_SYSTEM_LINK) links = h;
        }
        a->Release();
    }
    return lines;
}

// Which painted element of the window has the focus, as a reader asks (-1: none).
long FocusedElement(HWND w) {
    IAccessible* a = outside::ClientObject(w);
    VARIANT focus{};
    const bool known = a && a->get_accFocus(&focus) == S_OK && focus.vt == VT_I4;
    if (a) a->Release();
    return known ? focus.lVal : -1;
}

// The e-mail link, opened, starts this test program instead of a mail client, which writes down what it
// was asked to open. Wine's classes view does not take the user's own classes, so the machine's handler
// is replaced for the test and put back after it.
struct MailHandler {
    HKEY key = nullptr;
    std::wstring file, before;
    explicit MailHandler(const std::wstring& out) : file(out) {
        wchar_t self[MAX_PATH], old[1024] = L"";
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        RegCreateKeyExW(HKEY_CLASSES_ROOT, L"mailto\\shell\\open\\command", 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
        DWORD size = sizeof old;
        if (RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == 0)
            before = old;
        Set(L"\"" + std::wstring(self) + L"\" --record-open \"" + file + L"\" \"%1\"");
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
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND links = nullptr, ok = e2e::FindChildByText(card, L"确定");
    const auto lines = ReadCard(card, links);
    for (const auto& line : lines)
        std::cout << "reader: " << win::ToUtf8(line) << "\n";
    for (const wchar_t* heard :
         {L"push button \"确定\" focused, action Press", L"  static text \"软件作者：谭赛尔\"",
          L"  link \"E-mail:ts@qn.example\" linked, action Jump",
          L"  link \"http://qn.example/~ts\" linked, action Jump",
          L"  static text \"中国上海市南京路100号 邮编200001\""})
        EXPECT_NE(std::find(lines.begin(), lines.end(), heard), lines.end()) << win::ToUtf8(heard);

    ASSERT_TRUE(test::BringToFront(card));
    ASSERT_NE(links, nullptr);
    ASSERT_TRUE(test::PumpUntil([&] { return test::FocusIn(card) == ok; })) << "OK has the first focus";
    // The focus by Tab and Shift+Tab: the window that has it, and the link in it (0: none asked).
    struct Step {
        bool shift;
        HWND w;
        long element;
    };
    for (const Step s : {Step{false, links, 2}, Step{false, links, 3}, Step{false, ok, 0},
                         Step{true, links, 3}, Step{true, links, 2}}) {
        test::SendKey(VK_TAB, s.shift);
        EXPECT_TRUE(test::PumpUntil([&] {
            return test::FocusIn(card) == s.w && (s.element == 0 || FocusedElement(s.w) == s.element);
        })) << (s.shift ? "Shift+Tab to " : "Tab to ")
            << s.element;
    }
    MailHandler handler(dir.File(L"opened.txt"));
    test::SendKey(VK_RETURN);
    EXPECT_TRUE(test::PumpUntil([&] { return !test::ReadBytes(handler.file).empty(); }, 15000));
    EXPECT_EQ(test::ReadBytes(handler.file), "mailto:ts@qn.example");
    EXPECT_TRUE(IsWindowVisible(card)) << "a link leaves the card open";
    CoUninitialize();
}

} // namespace
