#pragma once
// A host database for tests of date handling: seconds count from
// 1970-01-01 00:00:00 of civil time without time zone, every day 86400
// seconds, and an int32 is read as unsigned (as the host does). Tables and
// categories are absent; the settings store is whatever the test sets.

#include <cstdint>

#include "data/HostInterfaces.h"

namespace orv::test {

class FakeHostDatabase : public HostDatabase {
public:
    HostSettingsStore* settingsStore = nullptr;

    HostSettingsStore* SettingsStore() override { return settingsStore; }
    HostTable* Units() override { return nullptr; }
    HostTable* Items() override { return nullptr; }
    HostTable* Targets() override { return nullptr; }
    HostTable* Values() override { return nullptr; }
    HostTable* Groups() override { return nullptr; }
    HostCategoryTable* UnitCategories() override { return nullptr; }
    HostCategoryTable* ValueCategories() override { return nullptr; }
    HostCategoryTable* GroupCategories() override { return nullptr; }
    HostCategoryTable* TargetCategories() override { return nullptr; }

    int32_t SecondsToDate(int32_t seconds, HostDateTime* out) override {
        if (!out) return -1;
        const uint32_t s = static_cast<uint32_t>(seconds);
        const int64_t days = s / 86400;
        const uint32_t rest = s % 86400;
        // Civil date from days since 1970-01-01 (proleptic Gregorian).
        const int64_t z = days + 719468;
        const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
        const int64_t doe = z - era * 146097;
        const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        const int64_t mp = (5 * doy + 2) / 153;
        const int64_t d = doy - (153 * mp + 2) / 5 + 1;
        const int64_t m = mp < 10 ? mp + 3 : mp - 9;
        out->year = static_cast<uint16_t>(yoe + era * 400 + (m <= 2));
        out->month = static_cast<uint16_t>(m);
        out->day = static_cast<uint16_t>(d);
        out->hour = static_cast<uint16_t>(rest / 3600);
        out->minute = static_cast<uint16_t>(rest / 60 % 60);
        out->second = static_cast<uint16_t>(rest % 60);
        out->dayOfWeek = static_cast<uint16_t>((days + 4) % 7);  // 1970-01-01 was a Thursday
        return 0;
    }

    int32_t DateToSeconds(int32_t* seconds, const HostDateTime* in) override {
        if (!seconds || !in || in->month < 1 || in->month > 12 || in->day < 1 || in->day > 31) return -1;
        const int64_t y = static_cast<int64_t>(in->year) - (in->month <= 2);
        const int64_t era = (y >= 0 ? y : y - 399) / 400;
        const int64_t yoe = y - era * 400;
        const int64_t doy = (153 * (in->month + (in->month > 2 ? -3 : 9)) + 2) / 5 + in->day - 1;
        const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        const int64_t days = era * 146097 + doe - 719468;
        const int64_t total = days * 86400 + in->hour * 3600 + in->minute * 60 + in->second;
        *seconds = static_cast<int32_t>(static_cast<uint32_t>(total));
        return 0;
    }
};

inline HostDateTime MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    HostDateTime d;
    d.year = static_cast<uint16_t>(year);
    d.month = static_cast<uint16_t>(month);
    d.day = static_cast<uint16_t>(day);
    d.hour = static_cast<uint16_t>(hour);
    d.minute = static_cast<uint16_t>(minute);
    d.second = static_cast<uint16_t>(second);
    return d;
}

}  // namespace orv::test
