#pragma once
// Values read back from CSV and merged into a database.
//
// Reading makes a plan before anything is written: which records are new,
// which are already stored (same moment, group, item, amount in the group's
// unit and notes; skipped), which are refused and why, and which items must
// be created. Records are matched as a multiset: a file that holds a record n
// times adds it only as often as it is stored fewer than n times. Importing a
// file twice therefore adds nothing the second time, while values that really
// were entered twice at the same moment are kept twice.
//
// Writing goes through an ImportSink that makes all records durable together
// or none of them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/HostInterfaces.h"
#include "data/Records.h"

namespace orv {
class RecordCache;
}

namespace orv::exchange {

enum class Refusal { FieldCount, BadDate, UnknownGroup, NoItem, UnknownUnit, ForeignUnit, BadAmount };

// The reason as the preview names it, e.g. "bad date".
const char* RefusalText(Refusal reason);

struct RefusedRow {
    int line = 0;
    Refusal reason = Refusal::FieldCount;
    std::string field;  // the text that was refused
};

struct NewItem {
    int32_t groupId = 0;
    std::string groupName;
    std::string name;
    int32_t count = 0;  // the group's number of targets
};

struct NewValue {
    int line = 0;
    int32_t seconds = 0;
    int32_t groupId = 0;
    int32_t itemId = 0;     // a stored item; 0 when newItem names one to create
    int32_t itemIndex = 0;  // the stored item's INDEX
    int newItem = -1;       // position in ImportPlan::newItems
    float amount = 0;       // in the group's unit
    std::string notes;
};

struct ImportPlan {
    int rows = 0;  // records after the header
    int duplicates = 0;
    std::vector<NewItem> newItems;
    std::vector<NewValue> newValues;
    std::vector<RefusedRow> refused;
};

// Reads `text` against the records of `cache` (loaded from `db`, whose date
// conversion is used). False when the text is no values CSV at all (not
// UTF-8, not CSV, no or another header), with the reason in *error.
bool PlanImport(std::string_view text, HostDatabase& db, const RecordCache& cache, ImportPlan* plan,
                std::string* error);

// The preview shown before anything is written: the counts, the items to
// create and one line per refused record.
std::string PreviewText(const ImportPlan& plan);

// Where the import's records go: nothing is kept unless Commit succeeds.
class ImportSink {
public:
    virtual ~ImportSink() = default;
    // As HostTable::Add: 0 when the record was taken.
    virtual int32_t Add(RecordKind kind, const FieldMap& fields) = 0;
    virtual bool Commit(std::string* error) = 0;
};

// Writes the plan's new items, then its new values in file order, through
// `sink` and commits; ids and positions follow the last ones of `db`'s
// tables. Stops at the first refused record without committing. False with
// the reason in *error.
bool WriteImport(const ImportPlan& plan, HostDatabase& db, ImportSink& sink, std::string* error);

}  // namespace orv::exchange
