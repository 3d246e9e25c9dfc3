// The clock and the time zone as the platform reports them: valid calendar fields, local time
// and universal time apart by the zone's bias, and a clock that sleeping does not turn back.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "contract_support.h"
#include "win/time.h"

namespace {

namespace wtime = win::time;
using win::Dword;
using win::Long;

// Day of the week of a Gregorian date, 0 = Sunday.
int dayOfWeek(int year, int month, int day) {
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    return (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
}

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

void expectValid(const wtime::SystemTime& t) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    EXPECT_GE(t.year, 2000);
    ASSERT_GE(t.month, 1);
    ASSERT_LE(t.month, 12);
    EXPECT_GE(t.day, 1);
    EXPECT_LE(t.day, days[t.month - 1] + (t.month == 2 && isLeap(t.year)));
    EXPECT_EQ(t.dayOfWeek, dayOfWeek(t.year, t.month, t.day));
    EXPECT_LE(t.hour, 23);
    EXPECT_LE(t.minute, 59);
    EXPECT_LE(t.second, 59);
    EXPECT_LE(t.milliseconds, 999);
}

std::int64_t minutesSinceEpochDay(const wtime::SystemTime& t) {
    // Days from a fixed date, enough to compare two times a day apart at most.
    std::int64_t y = t.month < 3 ? t.year - 1 : t.year;
    std::int64_t m = t.month < 3 ? t.month + 12 : t.month;
    std::int64_t days = 365 * y + y / 4 - y / 100 + y / 400 + (153 * (m - 3) + 2) / 5 + t.day;
    return days * 1440 + t.hour * 60 + t.minute;
}

using TimeContract = contract::Test;

TEST_F(TimeContract, LocalAndSystemTimeAreValidDates) {
    wtime::SystemTime local, utc;
    wtime::getLocalTime(&local);
    wtime::getSystemTime(&utc);
    expectValid(local);
    expectValid(utc);
}

TEST_F(TimeContract, LocalTimeIsUniversalTimeLessTheBias) {
    wtime::TimeZoneInfo zone;
    Dword which = wtime::getTimeZoneInformation(&zone);
    ASSERT_NE(which, wtime::timeZoneInvalid);
    ASSERT_LE(which, wtime::timeZoneDaylight);
    Long bias = zone.bias;
    if (which == wtime::timeZoneStandard) bias += zone.standardBias;
    if (which == wtime::timeZoneDaylight) bias += zone.daylightBias;

    wtime::SystemTime local, utc;
    wtime::getLocalTime(&local);
    wtime::getSystemTime(&utc);
    std::int64_t apart = minutesSinceEpochDay(utc) - minutesSinceEpochDay(local);
    // The two reads may fall either side of a minute's turn.
    EXPECT_LE(std::abs(apart - bias), 1) << "bias " << bias << ", apart " << apart;
}

TEST_F(TimeContract, TimeZoneNamesAreTerminatedAndNullIsRefused) {
    wtime::TimeZoneInfo zone;
    ASSERT_NE(wtime::getTimeZoneInformation(&zone), wtime::timeZoneInvalid);
    EXPECT_NE(std::char_traits<char16_t>::find(zone.standardName, 32, u'\0'), nullptr);
    EXPECT_NE(std::char_traits<char16_t>::find(zone.daylightName, 32, u'\0'), nullptr);
    win::setLastError(0);
    EXPECT_EQ(wtime::getTimeZoneInformation(nullptr), wtime::timeZoneInvalid);
    EXPECT_EQ(win::getLastError(), Dword(win::err::invalidParameter));
}

TEST_F(TimeContract, SleepingDoesNotTurnTheClockBack) {
    Dword before = wtime::tickCount();
    wtime::sleep(20);
    Dword after = wtime::tickCount();
    EXPECT_LT(Dword(after - before), 0x80000000u);  // wraps at 2^32, never runs backwards
    wtime::sleep(0);
}

}  // namespace
