#pragma once
// "Add group" / "Edit group": a group's name, category, unit and ordered list
// of targets. The dialog edits a copy of the group and writes nothing; after
// OK the caller reads the copy (name, unit, category) and the edited target
// list.
//
// The edited list is kept as two lists so the caller can carry the items'
// amounts over: TargetIds() only ever grows (it starts with the group's
// targets), and Positions() holds, per position of the edited list, an index
// into TargetIds(). An index below the group's original target count names a
// target the group already had, at that old position.

#include <QDialog>
#include <QString>

#include <cstdint>
#include <vector>

#include "data/Records.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace orv {

class RecordCache;

class GroupDialog : public QDialog {
    Q_OBJECT
public:
    // At most this many targets can be appended while one dialog is open.
    static constexpr int32_t kMaxAddedTargets = 310;

    GroupDialog(const QString& title, const GroupRecord& group, const RecordCache& cache, QWidget* owner);

    // The working copy; final once the dialog ended with OK. Its targets stay
    // as they were when the dialog opened.
    const GroupRecord& group() const { return group_; }
    const std::vector<int32_t>& TargetIds() const { return targetIds_; }
    const std::vector<int32_t>& Positions() const { return positions_; }
    // The target ids of the edited list, in order.
    std::vector<int32_t> EditedTargets() const;
    // True when the cache holds at least one item of the group.
    bool HasItems() const { return hasItems_; }

    QLineEdit* NameEdit() const { return name_; }
    QComboBox* CategoryBox() const { return category_; }
    QComboBox* UnitBox() const { return unit_; }
    QListWidget* TargetList() const { return targets_; }

    // "Add Target": appends the target chosen in the "Select target" dialog.
    void AddTarget();
    // "Delete Target": removes the selected row after a confirmation.
    void DeleteTarget();

    void accept() override;

private:
    void FillTargets();

    const RecordCache& cache_;
    GroupRecord group_;
    bool hasItems_ = false;
    std::vector<int32_t> targetIds_;
    std::vector<int32_t> positions_;
    std::vector<int32_t> unitByPosition_;
    std::vector<int32_t> categoryByPosition_;

    QLineEdit* name_;
    QComboBox* category_;
    QComboBox* unit_;
    QListWidget* targets_;
};

}  // namespace orv
