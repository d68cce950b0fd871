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

// Result codes of the change operations: kChangeOk, kChangeNoHost, or why
// the host refused the write: one of the hostresult codes kGone,
// kStorageError, kBusy and kReadOnly, or kChangeRefused for any other
// refusal.
inline constexpr int32_t kChangeOk = 0;
inline constexpr int32_t kChangeNoHost = -1;   // no database or table
inline constexpr int32_t kChangeRefused = -2;  // the host refused the write

// A host write result as a change result.
int32_t HostWriteResult(int32_t hostResult);
// kReadOnly when the host says its database is read-only, else kChangeOk.
int32_t ReadOnlyRefusal();

HostTable* TableOf(HostDatabase& db, RecordKind kind);
// Runs the loaders whose content depends on records of `kind`.
void ReloadKind(RecordCache& cache, HostDatabase* db, RecordKind kind);

// Adds a record of `kind`. The id is taken from the table's free-id number
// and, for units, targets and values, INDEX from its next-index number; both
// are placed in `fields` (any ID/INDEX given is replaced). After the add the
// new record is found and told it was added. Fills *newId on success.
[[nodiscard]] int32_t AddRecord(HostDatabase& db, RecordCache& cache, RecordKind kind, FieldMap fields,
                                int32_t* newId = nullptr);

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
    // the first refusal, after which nothing more is written (a host that
    // writes each property at once may then hold part of the edit: see
    // ApplyEdit), else kChangeOk.
    [[nodiscard]] int32_t Apply() const;

    // An edit that writes back what the record holds now in every place this
    // edit writes.
    RecordEdit Reverse() const;
    // The same writes aimed at another record.
    RecordEdit On(HostRecord* record) const;

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

// Applies `edit` whole or not at all (see ChangeBatch).
[[nodiscard]] int32_t ApplyEdit(const RecordEdit& edit);

// Deletes one record (the host's delete with argument 1). Raises the flag.
[[nodiscard]] int32_t DeleteRecord(HostRecord* record);

// The changes below write many records, all or none of them (see
// ChangeBatch), and reload the cache parts they touched either way.

// Removes a group with every item of it and every value of those items, then
// reloads groups, items, values and item names.
[[nodiscard]] int32_t RemoveGroup(HostDatabase& db, RecordCache& cache, int32_t groupId);

// An item's amounts after its group's target list was edited: for each new
// position, the amount the item had at that target's old position (when the
// target was already in the group at a position below the item's own COUNT),
// or 1 for a target the group did not have. `positions` and `oldTargetCount`
// are as the group dialog reports them.
std::vector<float> CarryItemAmounts(const std::vector<float>& amounts, int32_t itemCount,
                                    const std::vector<int32_t>& positions, int32_t oldTargetCount);

// A group as its dialog leaves it.
struct GroupChange {
    int32_t groupId = 0;
    std::string name;
    int32_t category = 0;
    int32_t unitId = 0;
    std::vector<int32_t> targets;
    // For each new target, its position in the old list (or beyond the old
    // list for a target the group did not have).
    std::vector<int32_t> positions;
};
// Writes the group; when its unit changed, converts its items' amounts and
// its values to the new unit; when its target list changed, rearranges its
// items' amount lists to match.
[[nodiscard]] int32_t ChangeGroup(HostDatabase& db, RecordCache& cache, const GroupChange& change);

// Writes the target; when its unit changed and `convertItems`, converts the
// amounts of the target in the items of every group listing it.
[[nodiscard]] int32_t ChangeTarget(HostDatabase& db, RecordCache& cache, const TargetRecord& target, bool convertItems);

}  // namespace orv
