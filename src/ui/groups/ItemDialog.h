#pragma once
// "Add item" / "Edit item": an item's name, its default amount and its amount
// of each target of its group, stated per one unit of the group's unit. The
// dialog edits a copy of the item and writes nothing; the caller reads item()
// after OK. Only what the user changed is read back, so an amount shown with
// fewer digits than it has is never rewritten by OK.

#include <QDialog>
#include <QString>

#include <optional>
#include <vector>

#include "data/Records.h"

class QLabel;
class QLineEdit;

namespace orv {

class PropertyList;
class RecordCache;

class ItemDialog : public QDialog {
    Q_OBJECT
public:
    // Bounds of the default value.
    static constexpr double kDefaultCeiling = 2147483648.0;
    static constexpr double kDefaultFloor = -10000000.0;

    ItemDialog(const QString& title, const ItemRecord& item, const RecordCache& cache, QWidget* owner);
    ~ItemDialog() override;

    // The working copy; final once the dialog ended with OK.
    const ItemRecord& item() const { return item_; }

    QLineEdit* NameEdit() const { return name_; }
    QLineEdit* DefaultEdit() const { return default_; }
    QLabel* UnitLabel() const { return unit_; }
    QLabel* PerUnitLabel() const { return perUnit_; }
    PropertyList* Amounts() const { return amounts_; }

    // The spin arrows: `steps` of 0.1 up (negative: down).
    void StepDefault(int steps);
    // The mouse wheel over the default value: one notch (120) changes it by 1.
    void WheelDefault(int angleDelta);

    // 2^31 or more becomes 2^31; -10,000,000 or less becomes -9,999,999.
    static double LimitDefault(double value);
    // Blanks and tabs around one decimal number; text reading as zero counts
    // only when it starts with "0".
    static std::optional<double> ParseDefaultText(const QString& text);
    // Four significant digits.
    static QString DefaultText(double value);
    // text with the locale's decimal separator read as ".".
    static QString LocaleNumberText(const QString& text);

    void accept() override;

private:
    // Reads the default value; refused text beeps, puts the focus back and
    // keeps the previous value. Also takes over the typed amounts.
    bool ReadFields();
    void ReadAmounts();
    void ShowDefault();
    void FillAmounts();

    const RecordCache& cache_;
    ItemRecord item_;
    QLineEdit* name_;
    QLineEdit* default_;
    QLabel* unit_;
    QLabel* perUnit_;
    PropertyList* amounts_;
    // What the default value field and the amount cells were last filled
    // with; a field that still shows it is left alone when read.
    QString shownDefault_;
    std::vector<QString> shownAmounts_;
};

}  // namespace orv
