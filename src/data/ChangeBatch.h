#pragma once
// Writes of several records that take effect together or not at all.
//
// When the host offers its extensions, the writes run inside its
// BeginChange/EndChange, so the host undoes them on failure (or when the
// process dies before the end). Without them, the batch remembers for every
// write what the record held before and writes that back, newest first, when
// a later write fails.

#include <cstdint>
#include <vector>

#include "data/HostInterfaces.h"
#include "data/RecordChanges.h"

namespace orv {

class HostExtensions;

class ChangeBatch {
public:
    ChangeBatch();
    // Undoes whatever was written unless Finish succeeded.
    ~ChangeBatch();
    ChangeBatch(const ChangeBatch&) = delete;
    ChangeBatch& operator=(const ChangeBatch&) = delete;

    // kChangeOk when the batch could begin; otherwise the host's refusal (and
    // nothing may be written).
    int32_t Began() const { return began_; }

    // Applies `edit` to its record; a refusal undoes the batch.
    [[nodiscard]] int32_t Apply(const RecordEdit& edit);
    // Deletes `record` (id `id`) of `table`. If the batch is undone, the
    // record is added back from `restore` (its fields, id included) and then
    // given the exact values of `exact` (floats that text would round).
    // A refusal undoes the batch.
    [[nodiscard]] int32_t Delete(HostTable* table, HostRecord* record, int32_t id, FieldMap restore,
                                 RecordEdit exact = RecordEdit(nullptr));
    // Makes the writes final. A refusal undoes the batch.
    [[nodiscard]] int32_t Finish();

private:
    struct Undo {
        RecordEdit edit{nullptr};  // the old values, for an edit
        HostTable* table = nullptr;
        int32_t id = 0;
        FieldMap restore;  // the record's fields, for a deletion
        RecordEdit exact{nullptr};
    };
    int32_t Fail(int32_t result);
    void Rollback();

    HostExtensions* extensions_;
    int32_t began_ = kChangeOk;
    bool open_ = true;
    std::vector<Undo> undo_;
};

}  // namespace orv
