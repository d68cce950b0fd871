#pragma once
// "Add Value" / "Edit Value": edits a working copy of one value. The user
// picks date, time, group and item, types the amount in any unit of the
// group's unit family and adds notes; a list shows how much of each of the
// group's targets the amount holds. The dialog writes nothing: on OK the
// working copy carries the amount in the group's unit and the chosen date and
// time, and the caller stores it.

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "data/Records.h"
#include "ui/controls/NumberSpin.h"

class QComboBox;
class QLineEdit;
class QToolButton;
class QTreeWidget;

namespace orv {

class DateTimeControl;
class RecordCache;

// The amount field's text rules (the dialog first reads the locale's decimal
// separator as "."). Reading skips leading blanks and tabs,
// allows trailing ones and nothing else after the number; a text that reads
// as zero counts only when its first non-blank character is "0".
std::optional<float> ParseAmountText(std::string_view text);
// Four significant digits, as "%.4g": 1234.56 -> "1235", 999999 -> "1e+06".
QString AmountText(float amount);
// Amounts of a million or more in magnitude are held to +/-999,999.
float LimitAmount(float amount);

class ValueEntryDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add, Edit };

    // `working` is the value to edit; in add mode its group, item and amount
    // are replaced by the first group, that group's first item and the item's
    // default value. Date and time start at `working.date`, or at the clock's
    // "now" in add mode.
    ValueEntryDialog(const RecordCache& cache, const ValueRecord& working, Mode mode, QWidget* owner);

    // The working copy; after OK it holds what the user chose, the amount in
    // the group's unit and the date and time as picked (seconds not set).
    const ValueRecord& Value() const { return value_; }
    float DisplayedAmount() const { return displayed_; }
    // Factor of the unit chosen relative to the group's unit.
    float UnitFactor() const { return unitFactor_; }

    DateTimeControl* DateEdit() const { return date_; }
    DateTimeControl* TimeEdit() const { return time_; }
    QComboBox* GroupBox() const { return groups_; }
    QComboBox* ItemBox() const { return items_; }
    QComboBox* UnitBox() const { return units_; }
    QLineEdit* AmountEdit() const { return amount_; }
    QLineEdit* NotesEdit() const { return notes_; }
    QToolButton* SpinUpButton() const { return spinner_->upButton(); }
    QToolButton* SpinDownButton() const { return spinner_->downButton(); }
    QTreeWidget* TargetList() const { return targets_; }

    // OK: refused (the dialog stays open) while there is no group or item to
    // store the value under, while the amount text is no number (the field
    // is selected), or when the date and time lie past the host's time scale.
    // An edited value whose group and item were removed keeps them.
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FillGroups();
    void FillItems();
    void FillUnits();
    void FillTargetList();
    void OnGroupChosen();
    void OnItemChosen();
    void OnUnitChosen();
    void OnAmountTyped();
    // Reads the amount field; on bad text beeps, puts the focus back and
    // keeps the last amount. False on bad text.
    bool ReadAmount(bool quietWhenEmpty = false);
    // Reads, limits, refills the list and rewrites the field.
    void CommitAmount();
    void StepAmount(int steps, bool limit);
    void ShowAmount();
    const ItemRecord* SelectedItem() const;
    // True while an edited value keeps the group and item it was stored
    // under although they were removed.
    bool KeepsRemovedItem() const;
    const GroupRecord* SelectedGroup() const;

    const RecordCache& cache_;
    ValueRecord value_;
    const ValueRecord kept_;  // the value as it came in
    Mode mode_;
    float displayed_ = 0.0f;
    float unitFactor_ = 1.0f;
    std::vector<int32_t> itemIds_;  // item box position -> item id
    std::vector<int32_t> unitIds_;  // unit box position -> unit id

    DateTimeControl* date_ = nullptr;
    DateTimeControl* time_ = nullptr;
    QComboBox* groups_ = nullptr;
    QComboBox* items_ = nullptr;
    QLineEdit* amount_ = nullptr;
    NumberSpin* spinner_ = nullptr;
    QComboBox* units_ = nullptr;
    QLineEdit* notes_ = nullptr;
    QTreeWidget* targets_ = nullptr;
};

}  // namespace orv
