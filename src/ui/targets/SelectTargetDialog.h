#pragma once
// "Select target": picks one target to add to a group. Targets are listed by
// name; one the group already has cannot be chosen. The group dialog opens it
// and, on OK, appends ChosenTarget() to the group's target list.

#include <QDialog>

#include <cstdint>
#include <vector>

#include "data/Records.h"

class QListWidget;

namespace orv {

class RecordCache;

class SelectTargetDialog : public QDialog {
    Q_OBJECT
public:
    // `group` is the group being edited (its targets as edited so far);
    // `preselected` is selected when listed and greater than 0.
    SelectTargetDialog(const RecordCache& cache, const GroupRecord& group, int32_t preselected, QWidget* owner);

    // The last accepted choice; 0 when there is none.
    int32_t ChosenTarget() const { return chosen_; }
    QListWidget* List() const { return list_; }

    void accept() override;

private:
    void OnSelectionChanged();
    bool GroupHas(int32_t targetId) const;

    QListWidget* list_;
    std::vector<int32_t> groupTargets_;
    std::vector<int32_t> idByPosition_;
    int32_t chosen_ = 0;
};

}  // namespace orv
