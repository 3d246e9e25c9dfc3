// The simulated clock: virtual time that sleeping advances at once, running the actions that
// become due on the way.
#include "win/time.h"

#include <algorithm>
#include <map>

#include "state.h"
#include "win/sim/machine.h"

namespace win::sim::detail {
namespace {

struct Clock {
    std::int64_t localEpochMs = 0;  // local time at reset, ms since 1970-01-01 00:00 local
    std::uint64_t elapsedMs = 0;
    std::multimap<std::uint64_t, std::function<void()>> actions;
    time::TimeZoneInfo zone;
    Dword zoneResult = time::timeZoneUnknown;
};

Clock& clock() {
    static Clock c;
    return c;
}

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + std::int64_t(doe) - 719468;
}

time::SystemTime fromEpochMs(std::int64_t ms) {
    std::int64_t days = ms >= 0 ? ms / 86400000 : (ms - 86399999) / 86400000;
    std::int64_t inDay = ms - days * 86400000;
    std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    time::SystemTime t;
    t.year = Word(std::int64_t(yoe) + era * 400 + (m <= 2));
    t.month = Word(m);
    t.day = Word(d);
    t.dayOfWeek = Word(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    t.hour = Word(inDay / 3600000);
    t.minute = Word(inDay / 60000 % 60);
    t.second = Word(inDay / 1000 % 60);
    t.milliseconds = Word(inDay % 1000);
    return t;
}

std::int64_t toEpochMs(const time::SystemTime& t) {
    return daysFromCivil(t.year, t.month, t.day) * 86400000 + std::int64_t(t.hour) * 3600000 +
           std::int64_t(t.minute) * 60000 + std::int64_t(t.second) * 1000 + t.milliseconds;
}

}  // namespace

void resetClock() {
    Clock& c = clock();
    c.actions.clear();
    c.elapsedMs = 0;
    time::SystemTime start;
    start.year = 2024;
    start.month = 3;
    start.day = 5;
    start.hour = 9;
    start.minute = 4;
    start.second = 7;
    c.localEpochMs = toEpochMs(start);
    c.zone = time::TimeZoneInfo{};
    c.zoneResult = time::timeZoneUnknown;
}

}  // namespace win::sim::detail

namespace win::sim {

using namespace detail;

std::uint64_t nowMs() {
    return clock().elapsedMs;
}

void setLocalTime(const time::SystemTime& localTime) {
    clock().localEpochMs = toEpochMs(localTime) - std::int64_t(clock().elapsedMs);
}

void setTimeZone(const time::TimeZoneInfo& zone, Dword result) {
    clock().zone = zone;
    clock().zoneResult = result;
}

void at(std::uint64_t atMs, std::function<void()> action) {
    clock().actions.emplace(atMs, std::move(action));
}

void advance(std::uint64_t ms) {
    Clock& c = clock();
    const std::uint64_t target = c.elapsedMs + ms;
    while (!c.actions.empty() && c.actions.begin()->first <= target) {
        auto first = c.actions.begin();
        if (first->first > c.elapsedMs) c.elapsedMs = first->first;
        std::function<void()> action = std::move(first->second);
        c.actions.erase(first);
        action();
    }
    // An action may itself have slept past the target.
    c.elapsedMs = std::max(c.elapsedMs, target);
}

std::size_t pendingActions() {
    return clock().actions.size();
}

}  // namespace win::sim

namespace win::time {

using namespace win::sim::detail;

void sleep(Dword milliseconds) {
    win::sim::advance(milliseconds);
}

void getLocalTime(SystemTime* time) {
    if (time) *time = fromEpochMs(clock().localEpochMs + std::int64_t(clock().elapsedMs));
}

void getSystemTime(SystemTime* time) {
    if (!time) return;
    Long bias = clock().zone.bias;
    if (clock().zoneResult == timeZoneDaylight) bias += clock().zone.daylightBias;
    if (clock().zoneResult == timeZoneStandard) bias += clock().zone.standardBias;
    *time = fromEpochMs(clock().localEpochMs + std::int64_t(clock().elapsedMs) +
                        std::int64_t(bias) * 60000);
}

Dword tickCount() {
    return Dword(1000000 + clock().elapsedMs);
}

Dword getTimeZoneInformation(TimeZoneInfo* info) {
    if (!info) {
        setLastError(err::invalidParameter);
        return timeZoneInvalid;
    }
    *info = clock().zone;
    return clock().zoneResult;
}

}  // namespace win::time
