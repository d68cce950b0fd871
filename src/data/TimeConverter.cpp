#include "data/TimeConverter.h"

namespace orv {

HostDateTime TimeConverter::ToDate(int32_t seconds) const {
    HostDateTime date;
    if (db_) db_->SecondsToDate(seconds, &date);
    return date;
}

int32_t TimeConverter::ToSeconds(const HostDateTime& date) const {
    int32_t seconds = 0;
    if (db_) db_->DateToSeconds(&seconds, &date);
    return seconds;
}

}  // namespace orv
