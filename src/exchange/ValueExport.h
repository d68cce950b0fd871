#pragma once
// Every value as one CSV record: date and time, group, item, amount, unit and
// notes, after a header record. UTF-8, RFC 4180 quoting.

#include <string>
#include <vector>

#include "data/Records.h"

namespace orv {
class RecordCache;
}

namespace orv::exchange {

// The header record's field names, in order.
const std::vector<std::string>& ValueCsvHeader();

// "YYYY-MM-DD HH:MM:SS".
std::string DateTimeText(const HostDateTime& date);
// The shortest text that reads back as the same 32-bit float, "." as point.
std::string AmountText(float amount);

// The values of the cache in time order (values at the same moment in the
// order the host keeps them), each with its group's unit.
std::string ValuesCsv(const RecordCache& cache);

}  // namespace orv::exchange
