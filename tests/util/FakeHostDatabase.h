#pragma once
// A host database for tests of date handling: the SQLite host's time scale
// (civil time without time zone, every day 86400 seconds, an int32 read as
// unsigned) with no tables or categories; the settings store is whatever the
// test sets.

#include <cstdint>

#include "data/HostInterfaces.h"
#include "host/db/HostCalendar.h"

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

    // The host's own time scale, without its storage.
    int32_t SecondsToDate(int32_t seconds, HostDateTime* out) override {
        return hostdb::HostSecondsToDate(seconds, out);
    }
    int32_t DateToSeconds(int32_t* seconds, const HostDateTime* in) override {
        return hostdb::HostDateToSeconds(seconds, in);
    }
};

}  // namespace orv::test
