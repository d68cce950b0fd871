#pragma once
// Values seeded on dates of 2008 for chart and table tests. The fixture's
// clock stands at 2008-08-27 12:00:00.

#include "support/Dates.h"
#include "support/ModuleFixture.h"

namespace orv::test {

class ChartsFixture : public ModuleFixture {
protected:
    static HostDateTime Date(int month, int day, int hour = 0, int minute = 0, int second = 0) {
        return MakeDate(2008, month, day, hour, minute, second);
    }
    void Seed(int32_t group, int32_t item, double amount, const HostDateTime& when, const char* notes = "") {
        SeedValue(group, item, amount, Seconds(when), notes);
    }
};

}  // namespace orv::test
