// Sleeping, the clock and the time zone forwarded to kernel32.
#include "win/time.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

namespace win::time {
namespace {

SystemTime fromPlatform(const SYSTEMTIME& t) {
    SystemTime out;
    out.year = t.wYear;
    out.month = t.wMonth;
    out.dayOfWeek = t.wDayOfWeek;
    out.day = t.wDay;
    out.hour = t.wHour;
    out.minute = t.wMinute;
    out.second = t.wSecond;
    out.milliseconds = t.wMilliseconds;
    return out;
}

template <std::size_t N>
void copyName(const WCHAR (&from)[N], char16_t (&to)[32]) {
    static_assert(N == 32, "time zone names are 32 characters");
    std::copy(std::begin(from), std::end(from), std::begin(to));
}

}  // namespace

void sleep(Dword milliseconds) {
    ::Sleep(milliseconds);
}

void getLocalTime(SystemTime* time) {
    if (!time) return;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    *time = fromPlatform(now);
}

void getSystemTime(SystemTime* time) {
    if (!time) return;
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    *time = fromPlatform(now);
}

Dword tickCount() {
    return Dword(::GetTickCount());
}

Dword getTimeZoneInformation(TimeZoneInfo* info) {
    if (!info) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return timeZoneInvalid;
    }
    TIME_ZONE_INFORMATION zone;
    DWORD result = ::GetTimeZoneInformation(&zone);
    if (result == TIME_ZONE_ID_INVALID) return timeZoneInvalid;
    info->bias = zone.Bias;
    copyName(zone.StandardName, info->standardName);
    info->standardDate = fromPlatform(zone.StandardDate);
    info->standardBias = zone.StandardBias;
    copyName(zone.DaylightName, info->daylightName);
    info->daylightDate = fromPlatform(zone.DaylightDate);
    info->daylightBias = zone.DaylightBias;
    return Dword(result);
}

}  // namespace win::time
