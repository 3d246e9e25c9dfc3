// Sleeping, the clock and the time zone.
#pragma once

#include "win/types.h"

namespace win::time {

struct SystemTime {
    Word year = 0;
    Word month = 0;      // 1-12
    Word dayOfWeek = 0;  // 0 = Sunday
    Word day = 0;
    Word hour = 0;
    Word minute = 0;
    Word second = 0;
    Word milliseconds = 0;
};

struct TimeZoneInfo {
    Long bias = 0;  // minutes, UTC = local time + bias
    char16_t standardName[32] = {};
    SystemTime standardDate;
    Long standardBias = 0;
    char16_t daylightName[32] = {};
    SystemTime daylightDate;
    Long daylightBias = 0;
};

inline constexpr Dword timeZoneUnknown = 0;
inline constexpr Dword timeZoneStandard = 1;
inline constexpr Dword timeZoneDaylight = 2;
inline constexpr Dword timeZoneInvalid = 0xFFFFFFFFu;

void sleep(Dword milliseconds);
void getLocalTime(SystemTime* time);
void getSystemTime(SystemTime* time);
Dword tickCount();
Dword getTimeZoneInformation(TimeZoneInfo* info);

}  // namespace win::time
