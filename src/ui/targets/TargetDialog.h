#pragma once
// "Add target" / "Edit target": name, unit, type ("Sum" or "Average") and
// category of one target, with the groups that list it. The dialog works on a
// copy of the target; the caller reads Entry() after OK and writes it.
//
// A target that groups already use keeps its unit within the family of its
// current unit, because the amounts those groups' items carry of it are
// converted, not reinterpreted, when the unit changes.

#include <QDialog>
#include <QString>

#include <cstdint>
#include <vector>

#include "data/Records.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTreeWidget;

namespace orv {

class RecordCache;

class TargetDialog : public QDialog {
    Q_OBJECT
public:
    TargetDialog(const QString& title, const TargetRecord& entry, const RecordCache& cache, QWidget* owner);

    // The working copy; final once the dialog ended with OK.
    const TargetRecord& Entry() const { return entry_; }
    // Whether at least one group listed the target when the dialog opened.
    bool InUse() const { return inUse_; }

    QComboBox* CategoryBox() const { return category_; }
    QLineEdit* NameEdit() const { return name_; }
    QComboBox* UnitBox() const { return unit_; }
    QRadioButton* SumButton() const { return sum_; }
    QRadioButton* AverageButton() const { return average_; }
    QTreeWidget* GroupList() const { return groups_; }

    // The unit id offered at a unit box position, or 0.
    int32_t UnitAt(int position) const;

    void accept() override;

private:
    void FillUnits();
    void FillCategories();
    void FillGroups();

    const RecordCache& cache_;
    TargetRecord entry_;
    bool inUse_ = false;
    QComboBox* category_;
    QLineEdit* name_;
    QComboBox* unit_;
    QRadioButton* sum_;
    QRadioButton* average_;
    QButtonGroup* type_;
    QTreeWidget* groups_;
    std::vector<int32_t> unitByPosition_;
    std::vector<int32_t> categoryByPosition_;
};

}  // namespace orv
