// The date-and-time window: one line of the current date and time, refreshed every second.
#pragma once

#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"

#include <string>

// The user's regional settings that shape the line, read once at start.
struct TDateTimeSettings {
    std::wstring ShortDatePattern = L"M/d/yy"; // "/" stands for the date separator
    std::wstring DateSeparator = L"/";
    std::wstring TimeSeparator = L":";
    bool Clock24 = false;
    bool LeadingZeroHour = false;
    std::wstring AMDesignator = L"am", PMDesignator = L"pm";
    bool DesignatorFirst = false;

    // The settings of the user's locale, with the defaults above for items it does not give.
    static TDateTimeSettings FromUser();
};

std::wstring FormatShortDate(const SYSTEMTIME& t, const TDateTimeSettings& s);
std::wstring FormatLongTime(const SYSTEMTIME& t, const TDateTimeSettings& s);
// "日期:" short date " 时间:" long time.
std::wstring DateTimeLine(const SYSTEMTIME& t, const TDateTimeSettings& s);

class TDTForm : public TForm {
public:
    explicit TDTForm(TComponent* AOwner);

    TEdit* Edit1;
    TButton* Button1;
    TButton* Button2;
    TTimer* Timer1;
    TDateTimeSettings Settings = TDateTimeSettings::FromUser();

    void Timer1Timer(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
};

extern TDTForm* DTForm;
