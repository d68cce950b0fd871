#pragma once
// The change operations every page shares. A change always raises the
// ModifiedFlag before it writes, writes through the host, and reloads the
// cache parts it touched.

#include <cstdint>
#include <string>
#include <vector>

#include "data/HostInterfaces.h"
#include "data/Records.h"

namespace orv {

class RecordCache;

// Result codes of the change operations.
inline constexpr int32_t kChangeOk = 0;
inline constexpr int32_t kChangeNoHost = -1;   // no database or table
inline constexpr int32_t kChangeRefused = -2;  // the host refused the write

HostTable* TableOf(HostDatabase& db, RecordKind kind);
// Runs the loaders whose content depends on records of `kind`.
void ReloadKind(RecordCache& cache, HostDatabase* db, RecordKind kind);

// Adds a record of `kind`. The id is taken from the table's free-id number
// and, for units, targets and values, INDEX from its next-index number; both
// are placed in `fields` (any ID/INDEX given is replaced). After the add the
// new record is found and told it was added. Fills *newId on success.
int32_t AddRecord(HostDatabase& db, RecordCache& cache, RecordKind kind, FieldMap fields, int32_t* newId = nullptr);

// Collects changes to one host record and writes them in one go.
class RecordEdit {
public:
    explicit RecordEdit(HostRecord* record) : record_(record) {}

    RecordEdit& Int32(int32_t property, int32_t value, int32_t element = 0);
    RecordEdit& UInt16(int32_t property, int32_t value, int32_t element = 0);
    RecordEdit& UInt8(int32_t property, int32_t value, int32_t element = 0);
    RecordEdit& Float(int32_t property, float value, int32_t element = 0);
    RecordEdit& Int32List(int32_t property, const std::vector<int32_t>& values);
    RecordEdit& FloatList(int32_t property, const std::vector<float>& values);
    RecordEdit& Name(std::string name);
    RecordEdit& Category(int32_t category);

    // Raises the ModifiedFlag, sets the properties, name and category in the
    // order given, then commits. kChangeNoHost without a record; otherwise
    // kChangeRefused when any write failed (the rest are still attempted and
    // the record committed), else kChangeOk.
    int32_t Apply();

private:
    struct Write {
        int32_t property;
        int32_t size;
        int32_t element;
        uint32_t bits;  // the value's bytes, little end first
    };
    HostRecord* record_;
    std::vector<Write> writes_;
    bool hasName_ = false;
    std::string name_;
    bool hasCategory_ = false;
    int32_t category_ = 0;
};

// Deletes one record (the host's delete with argument 1). Raises the flag.
int32_t DeleteRecord(HostRecord* record);

// Removes a group with every item of it and every value of those items, then
// reloads groups, items, values and item names.
int32_t RemoveGroup(HostDatabase& db, RecordCache& cache, int32_t groupId);

}  // namespace orv
