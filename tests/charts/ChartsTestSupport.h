#pragma once
// Seeding values into the fixture's database for chart and table tests. The fixture's
// clock stands at 2008-08-27 12:00:00.

#include <gtest/gtest.h>

#include "data/FieldText.h"
#include "data/ModifiedFlag.h"
#include "data/RecordChanges.h"
#include "support/Dates.h"
#include "support/ModuleFixture.h"

namespace orv::test {

class ChartsFixture : public ModuleFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        ClearModifiedFlag();
    }

    HostDateTime Date(int month, int day, int hour = 0, int minute = 0, int second = 0) const {
        return MakeDate(2008, month, day, hour, minute, second);
    }

    int32_t Seconds(const HostDateTime& date) {
        int32_t seconds = 0;
        EXPECT_GE(db().DateToSeconds(&seconds, &date), 0);
        return seconds;
    }

    void Seed(int32_t group, int32_t item, double amount, const HostDateTime& when, const char* notes = "") {
        int32_t id = 0;
        EXPECT_EQ(AddRecord(db(), cache(), RecordKind::Value,
                            {{"NAME", notes},
                             {"CREATORID", "0"},
                             {"MATTERID", IntText(group)},
                             {"ITEMID", IntText(item)},
                             {"VALUE", RealText(amount)},
                             {"ITEMINDEX", "1"},
                             {"PCATEGORYID", "0"},
                             {"SECONDS", IntText(Seconds(when))}},
                            &id),
                  kChangeOk);
        ClearModifiedFlag();
    }
};

}  // namespace orv::test
