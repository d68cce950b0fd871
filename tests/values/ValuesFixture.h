#pragma once
// Shared ground for the value tests: the module fixture with the flag
// cleared, a way to store values directly, and a cache read fresh from the
// database to check what was written.

#include <memory>
#include <string>

#include "data/FieldText.h"
#include "data/ModifiedFlag.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"
#include "host/db/StarterData.h"
#include "support/ModuleFixture.h"

namespace orv::test {

class ValuesFixture : public ModuleFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        ClearModifiedFlag();
    }

    // Everything the database holds now, loaded into a new cache.
    std::unique_ptr<RecordCache> Fresh() {
        auto fresh = std::make_unique<RecordCache>();
        fresh->LoadAll(db_.get());
        return fresh;
    }

    int32_t Seconds(const HostDateTime& date) {
        int32_t seconds = 0;
        db().DateToSeconds(&seconds, &date);
        return seconds;
    }

    static HostDateTime Date(int year, int month, int day, int hour, int minute, int second) {
        HostDateTime d;
        d.year = static_cast<uint16_t>(year);
        d.month = static_cast<uint16_t>(month);
        d.day = static_cast<uint16_t>(day);
        d.hour = static_cast<uint16_t>(hour);
        d.minute = static_cast<uint16_t>(minute);
        d.second = static_cast<uint16_t>(second);
        d.dayOfWeek = static_cast<uint16_t>(QDate(year, month, day).dayOfWeek() % 7);
        return d;
    }

    // Stores a value straight into the host and returns its id.
    int32_t SeedValue(int32_t group, int32_t item, double amount, int32_t seconds, const std::string& notes = {},
                      int32_t itemIndex = 1) {
        FieldMap fields{{"NAME", notes},           {"CREATORID", "0"},           {"MATTERID", IntText(group)},
                        {"ITEMID", IntText(item)}, {"VALUE", RealText(amount)},  {"ITEMINDEX", IntText(itemIndex)},
                        {"PCATEGORYID", "0"},      {"SECONDS", IntText(seconds)}};
        int32_t id = 0;
        EXPECT_EQ(AddRecord(db(), cache(), RecordKind::Value, fields, &id), kChangeOk);
        ClearModifiedFlag();
        return id;
    }
};

}  // namespace orv::test
