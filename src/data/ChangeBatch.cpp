#include "data/ChangeBatch.h"

#include "data/HostExtensions.h"

namespace orv {

ChangeBatch::ChangeBatch() : extensions_(CurrentHostExtensions()) {
    if (extensions_) {
        began_ = HostWriteResult(extensions_->BeginChange());
        open_ = began_ == kChangeOk;
    }
}

ChangeBatch::~ChangeBatch() {
    if (open_) Rollback();
}

int32_t ChangeBatch::Apply(const RecordEdit& edit) {
    if (!open_) return began_ != kChangeOk ? began_ : kChangeRefused;
    if (!extensions_) undo_.push_back({edit.Reverse(), nullptr, 0, {}, RecordEdit(nullptr)});
    const int32_t result = edit.Apply();
    return result == kChangeOk ? result : Fail(result);
}

int32_t ChangeBatch::Delete(HostTable* table, HostRecord* record, int32_t id, FieldMap restore, RecordEdit exact) {
    if (!open_) return began_ != kChangeOk ? began_ : kChangeRefused;
    const int32_t result = DeleteRecord(record);
    if (result != kChangeOk) return Fail(result);
    if (!extensions_) undo_.push_back({RecordEdit(nullptr), table, id, std::move(restore), std::move(exact)});
    return result;
}

int32_t ChangeBatch::Finish() {
    if (!open_) return began_ != kChangeOk ? began_ : kChangeRefused;
    if (extensions_) {
        const int32_t result = HostWriteResult(extensions_->EndChange(1));
        if (result != kChangeOk) {
            // A failing commit has undone the writes on the host's side.
            open_ = false;
            return result;
        }
    }
    open_ = false;
    undo_.clear();
    return kChangeOk;
}

int32_t ChangeBatch::Fail(int32_t result) {
    Rollback();
    return result;
}

void ChangeBatch::Rollback() {
    open_ = false;
    if (extensions_) {
        // Nothing more can be done when the host cannot undo either; the
        // caller reports the first refusal.
        static_cast<void>(extensions_->EndChange(0));
        return;
    }
    // Newest first, so that a record written twice ends with its oldest
    // values. A failing undo write leaves the rest to be tried all the same.
    for (auto undo = undo_.rbegin(); undo != undo_.rend(); ++undo) {
        if (undo->table) {
            if (undo->table->Add(&undo->restore) == 0) {
                if (HostRecord* added = undo->table->Find(undo->id)) {
                    added->AfterAdd(1);
                    static_cast<void>(undo->exact.On(added).Apply());
                }
            }
        } else {
            static_cast<void>(undo->edit.Apply());
        }
    }
    undo_.clear();
}

}  // namespace orv
