#include "tests/app/AppFixture.h"

namespace {

SYSTEMTIME At(int y, int mo, int d, int h, int mi, int s) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(mo);
    t.wDay = static_cast<WORD>(d);
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(mi);
    t.wSecond = static_cast<WORD>(s);
    return t;
}

TEST(DateTimeLine, TwentyFourHourClockWithoutLeadingZero) {
    TDateTimeSettings s;
    s.ShortDatePattern = L"yyyy-M-d";
    s.DateSeparator = L"-";
    s.Clock24 = true;
    EXPECT_EQ(DateTimeLine(At(2026, 12, 6, 20, 5, 9), s), L"日期:2026-12-6 时间:20:05:09");
    EXPECT_EQ(DateTimeLine(At(2026, 1, 2, 3, 4, 5), s), L"日期:2026-1-2 时间:3:04:05");
    s.LeadingZeroHour = true;
    EXPECT_EQ(FormatLongTime(At(2026, 1, 2, 3, 4, 5), s), L"03:04:05");
}

TEST(DateTimeLine, TwelveHourClockPutsTheDesignatorWhereTheSettingsSay) {
    TDateTimeSettings s; // the defaults: m/d/yy, 12-hour, am/pm after
    EXPECT_EQ(DateTimeLine(At(2026, 12, 6, 20, 5, 9), s), L"日期:12/6/26 时间:8:05:09 pm");
    s.PMDesignator = L"PM";
    EXPECT_EQ(FormatLongTime(At(2026, 12, 6, 20, 5, 9), s), L"8:05:09 PM");
    s.DesignatorFirst = true;
    s.AMDesignator = L"上午";
    EXPECT_EQ(FormatLongTime(At(2026, 12, 6, 0, 0, 1), s), L"上午 12:00:01");
    EXPECT_EQ(FormatLongTime(At(2026, 12, 6, 12, 30, 0), s), L"PM 12:30:00");
}

TEST(DateTimeLine, DatePatternsWithSeparatorsAndQuotedText) {
    TDateTimeSettings s;
    s.ShortDatePattern = L"dd/MM/yyyy";
    s.DateSeparator = L".";
    EXPECT_EQ(FormatShortDate(At(2026, 3, 7, 0, 0, 0), s), L"07.03.2026");
    s.ShortDatePattern = L"yyyy'年'M'月'd'日'";
    EXPECT_EQ(FormatShortDate(At(2026, 3, 7, 0, 0, 0), s), L"2026年3月7日");
}

// Day and month names and the era come out in the user's language, as the system writes them.
TEST(DateTimeLine, NamesAndErasFollowTheUsersLanguage) {
    auto locale = [](LCTYPE item) {
        wchar_t buf[128] = L"";
        GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buf, 128);
        return std::wstring(buf);
    };
    wchar_t era[64] = L"";
    GetCalendarInfoEx(LOCALE_NAME_USER_DEFAULT, CAL_GREGORIAN, nullptr, CAL_SERASTRING, era, 64, nullptr);
    TDateTimeSettings s;
    s.ShortDatePattern = L"ddd dddd d dd MMM MMMM M MM y yy yyyy gg 'at' g";
    // 7 March 2026 is a Saturday: the sixth day of the system's week.
    EXPECT_EQ(FormatShortDate(At(2026, 3, 7, 0, 0, 0), s),
              locale(LOCALE_SABBREVDAYNAME6) + L" " + locale(LOCALE_SDAYNAME6) + L" 7 07 " +
                  locale(LOCALE_SABBREVMONTHNAME3) + L" " + locale(LOCALE_SMONTHNAME3) +
                  L" 3 03 26 26 2026 " + era + L" at " + era);
}

using DateTimeWindow = AppFixture;

TEST_F(DateTimeWindow, ShowsACurrentLineThatChangesEverySecondAndCopiesExactlyIt) {
    EXPECT_EQ(DTForm->Caption(), L"当前日期时间");
    EXPECT_TRUE(GetWindowLongPtrW(DTForm->Edit1->Handle(), GWL_STYLE) & ES_READONLY);
    std::wstring first = DTForm->Edit1->Text();
    EXPECT_EQ(first.rfind(L"日期:", 0), 0u) << "a line is there before the window is ever shown";
    DTForm->Show();
    EXPECT_TRUE(test::PumpUntil([&] { return DTForm->Edit1->Text() != first; }, 3000));
    DTForm->Button1Click(nullptr);
    std::wstring shown = DTForm->Edit1->Text();
    EXPECT_EQ(test::ClipboardText(), shown);
    DWORD start = 0, end = 0;
    SendMessageW(DTForm->Edit1->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end - start, shown.size()); // left selected
    DTForm->Button2Click(nullptr);
    EXPECT_FALSE(DTForm->Visible());
}

} // namespace
