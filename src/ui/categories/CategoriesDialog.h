#pragma once
// "Edit Categories": names, renames and clears the 16 category slots of one
// record kind. Every change is made at once, in the record cache and through
// the slot's host object, so "Done" only closes the dialog. Slots are never
// created or removed, and records carrying a cleared number keep it.

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/Records.h"

class QListWidget;
class QPushButton;

namespace orv {

class RecordCache;
struct CategorySet;

class CategoriesDialog : public QDialog {
    Q_OBJECT
public:
    // The most numbers the dialog remembers as cleared.
    static constexpr std::size_t kMaxCleared = 256;

    CategoriesDialog(CategorySet& categories, QWidget* owner);

    // The number a new category would get; none when every slot is taken.
    std::optional<int32_t> OfferedNumber() const { return offered_; }
    // The category number shown at a list position, or -1.
    int32_t NumberAt(int position) const;
    // The numbers cleared since the dialog opened, in the order cleared.
    const std::vector<int32_t>& ClearedNumbers() const { return cleared_; }

    QListWidget* List() const { return list_; }
    QPushButton* NewButton() const { return new_; }
    QPushButton* RenameButton() const { return rename_; }
    QPushButton* DeleteButton() const { return delete_; }
    QPushButton* DoneButton() const { return done_; }

    // The button actions.
    void NewCategory();
    void RenameCategory();
    void DeleteCategory();

private:
    void Fill();
    // The slot to offer when the rule above yields none that can take a name.
    std::optional<int32_t> LowestFreeSlot() const;
    bool IsEmptySlot(int32_t number) const;
    bool WasCleared(int32_t number) const;
    // The category number of the selected entry, or none.
    std::optional<int32_t> SelectedNumber() const;
    // Asks for a name starting from `current`; none when cancelled.
    std::optional<std::string> AskName(const std::string& current);
    // Stores the name in the name list, the category record and, when the
    // slot has one, the host object. `confirm` makes the host's follow-up call
    // that a naming needs.
    void StoreName(int32_t number, const std::string& name, bool confirm);

    CategorySet& categories_;
    QListWidget* list_;
    QPushButton* new_;
    QPushButton* rename_;
    QPushButton* delete_;
    QPushButton* done_;
    std::vector<int32_t> numberByPosition_;
    std::optional<int32_t> offered_;
    std::vector<int32_t> cleared_;
};

// Opens "Edit Categories" for the categories of `kind` over `owner` and
// returns the numbers it cleared. Kinds whose categories are not edited
// (items, values) open nothing.
std::vector<int32_t> EditCategories(RecordCache& cache, RecordKind kind, QWidget* owner);

// Files the records of `kind` that carry one of the cleared category numbers
// under category 0 and reloads them when any moved. True when any moved.
bool RefileClearedCategories(RecordCache& cache, HostDatabase* db, RecordKind kind,
                             const std::vector<int32_t>& cleared);

}  // namespace orv
