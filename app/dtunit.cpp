#include "app/dtunit.h"

#include "app/songfont.h"

TDTForm* DTForm = nullptr;

namespace {
std::wstring LocaleText(LCTYPE item) {
    wchar_t buf[128] = L"";
    int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buf, 128);
    return n > 1 ? std::wstring(buf) : std::wstring();
}

std::wstring Number(int v, int digits) {
    std::wstring s = std::to_wstring(v);
    while (static_cast<int>(s.size()) < digits)
        s.insert(s.begin(), L'0');
    return s;
}
} // namespace

TDateTimeSettings TDateTimeSettings::FromUser() {
    TDateTimeSettings s;
    if (auto v = LocaleText(LOCALE_SSHORTDATE); !v.empty()) s.ShortDatePattern = v;
    if (auto v = LocaleText(LOCALE_SDATE); !v.empty()) s.DateSeparator = v;
    if (auto v = LocaleText(LOCALE_STIME); !v.empty()) s.TimeSeparator = v;
    s.Clock24 = LocaleText(LOCALE_ITIME) == L"1";
    s.LeadingZeroHour = LocaleText(LOCALE_ITLZERO) == L"1";
    if (auto v = LocaleText(LOCALE_S1159); !v.empty()) s.AMDesignator = v;
    if (auto v = LocaleText(LOCALE_S2359); !v.empty()) s.PMDesignator = v;
    s.DesignatorFirst = !LocaleText(LOCALE_ITIMEMARKPOSN).empty() && LocaleText(LOCALE_ITIMEMARKPOSN) != L"0";
    return s;
}

std::wstring FormatShortDate(const SYSTEMTIME& t, const TDateTimeSettings& s) {
    // The system renders the picture, so day and month names, eras and the rest come out in the user's
    // language. Only our own conventions are turned into its terms first: "/" is the date separator
    // (given as quoted text), a lower-case "m" is the month.
    const std::wstring& p = s.ShortDatePattern;
    std::wstring picture;
    for (size_t i = 0; i < p.size(); ++i) {
        wchar_t c = p[i];
        if (c == L'\'') { // quoted text goes through as it stands, quotes and all
            size_t end = p.find(L'\'', i + 1);
            if (end == std::wstring::npos) end = p.size() - 1;
            picture.append(p, i, end - i + 1);
            i = end;
        } else if (c == L'/') {
            picture += L'\'';
            for (wchar_t k : s.DateSeparator)
                picture.append(k == L'\'' ? 2 : 1, k);
            picture += L'\'';
        } else if (c == L'g') {
            // "g" and "gg" both mean the era; some systems print it once per letter.
            if (picture.empty() || picture.back() != L'g') picture += c;
        } else {
            picture += c == L'm' ? L'M' : c;
        }
    }
    wchar_t buf[256];
    int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &t, picture.c_str(), buf, 256, nullptr);
    return n > 0 ? std::wstring(buf, static_cast<size_t>(n - 1)) : std::wstring();
}

std::wstring FormatLongTime(const SYSTEMTIME& t, const TDateTimeSettings& s) {
    int hour = t.wHour;
    if (!s.Clock24) hour = hour % 12 == 0 ? 12 : hour % 12;
    std::wstring time = Number(hour, s.LeadingZeroHour ? 2 : 1) + s.TimeSeparator + Number(t.wMinute, 2) +
                        s.TimeSeparator + Number(t.wSecond, 2);
    if (s.Clock24) return time;
    const std::wstring& marker = t.wHour < 12 ? s.AMDesignator : s.PMDesignator;
    return s.DesignatorFirst ? marker + L" " + time : time + L" " + marker;
}

std::wstring DateTimeLine(const SYSTEMTIME& t, const TDateTimeSettings& s) {
    return L"日期:" + FormatShortDate(t, s) + L" 时间:" + FormatLongTime(t, s);
}

TDTForm::TDTForm(TComponent* AOwner) : TForm(AOwner) {
    SetName(L"DTForm");
    SetCaption(L"当前日期时间");
    SetBorderStyle(TFormBorderStyle::bsToolWindow);
    SetClientSize(255, 82);
    SetSongFont(Font());

    Edit1 = New<TEdit>(this);
    Edit1->SetName(L"Edit1");
    Edit1->SetBounds(8, 16, 241, 24);
    Edit1->SetReadOnly(true);
    Edit1->SetAccessibleName(L"当前日期时间"); // the name a screen reader says for the line
    Edit1->SetParent(this);
    Edit1->Font().SetColor(clRed);

    Button1 = New<TButton>(this);
    Button1->SetName(L"Button1");
    Button1->SetCaption(L"拷贝到剪贴板");
    Button1->SetBounds(8, 48, 121, 25);
    Button1->SetParent(this);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };

    Button2 = New<TButton>(this);
    Button2->SetName(L"Button2");
    Button2->SetCaption(L"关闭");
    Button2->SetBounds(176, 48, 75, 25);
    Button2->SetParent(this);
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };

    // Ticks from creation for the program's whole life, so the line is never stale when shown.
    Timer1 = New<TTimer>(this);
    Timer1->SetName(L"Timer1");
    Timer1->SetInterval(1000);
    Timer1->SetOnTimer([this](TObject* s) { Timer1Timer(s); });
    Timer1Timer(Timer1);
}

void TDTForm::Timer1Timer(TObject*) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    Edit1->SetText(DateTimeLine(now, Settings));
}

void TDTForm::Button1Click(TObject*) {
    Edit1->SelectAll();
    Edit1->CopyToClipboard();
}

void TDTForm::Button2Click(TObject*) {
    Close();
}
