#pragma once
// "Add unit" / "Edit unit": one unit definition on a single line,
//   Name = factor × base unit
// with the unit's category above it. The dialog works on a copy of the unit;
// the caller reads Entry() after OK and writes it to the host.
//
// The factor is kept strictly between 0 and 10000: typed text that is not a
// number is refused with a beep and the last good factor stays. The locale's
// decimal separator is read like ".".

#include <QDialog>
#include <QString>

#include <optional>
#include <vector>

#include "data/Records.h"
#include "ui/controls/NumberSpin.h"

class QComboBox;
class QLineEdit;
class QToolButton;

namespace orv {

class RecordCache;

class UnitDialog : public QDialog {
    Q_OBJECT
public:
    // Bounds of the factor as the dialog keeps it.
    static constexpr float kFactorCeiling = 10000.0f;
    static constexpr float kFactorLimit = 9999.0f;

    UnitDialog(const QString& title, const UnitEntry& entry, const RecordCache& cache, QWidget* owner);
    ~UnitDialog() override;

    // The working copy; final once the dialog ended with OK.
    const UnitEntry& Entry() const { return entry_; }

    QComboBox* CategoryBox() const { return category_; }
    QLineEdit* NameEdit() const { return name_; }
    QLineEdit* FactorEdit() const { return factor_; }
    QComboBox* BaseUnitBox() const { return base_; }
    QToolButton* StepUpButton() const { return spinner_->upButton(); }
    QToolButton* StepDownButton() const { return spinner_->downButton(); }

    // The spinner: `steps` of 0.001 up (negative: down), kept within 0..10000.
    void StepFactor(int steps);
    // The mouse wheel over the factor edit: one notch (120) changes it by 1.
    void WheelFactor(int angleDelta);
    // What leaving the factor edit does: read it, clamp it, show it again. A
    // factor that cannot be stored (0 or less, or too small for a float) stays
    // as typed, and OK refuses it with a message.
    void FinishFactorEdit();

    // A factor of 10000 or more becomes 9999, one of 0 or less becomes 1.
    static float ClampFactor(float factor);
    // The factor edit's text as a number: blanks and tabs around one decimal
    // number. Nothing for other text, and for text reading as 0 that does not
    // start with "0" ("-0", ".0").
    static std::optional<double> ParseFactorText(const QString& text);
    // "%.6g" of the factor.
    static QString FactorText(float factor);

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads the factor edit into the working copy; on refusal beeps, puts the
    // focus back on the edit, shows the last good factor and returns false.
    bool ReadFactor();
    void ShowFactor();

    const RecordCache& cache_;
    UnitEntry entry_;
    QComboBox* category_;
    QLineEdit* name_;
    QLineEdit* factor_;
    NumberSpin* spinner_;
    QComboBox* base_;
    // Category box position -> category number.
    std::vector<int32_t> categoryByPosition_;
    // The factor text last shown; reading it back changes nothing.
    QString shownFactor_;
};

}  // namespace orv
