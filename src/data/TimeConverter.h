#pragma once
// Turns host seconds into a date and time and back, always through the host
// database: the module never does calendar arithmetic of its own.

#include <cstdint>

#include "data/HostInterfaces.h"

namespace orv {

class TimeConverter {
public:
    explicit TimeConverter(HostDatabase* db) : db_(db) {}

    HostDateTime ToDate(int32_t seconds) const;
    int32_t ToSeconds(const HostDateTime& date) const;
    HostDatabase* Database() const { return db_; }

private:
    HostDatabase* db_;
};

}  // namespace orv
