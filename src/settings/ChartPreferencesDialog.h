#pragma once
// "Chart Preferences": edits a copy of the six chart display settings. The
// copy is read back only when the dialog ends with OK.

#include <QDialog>

#include "settings/ViewSettings.h"

class QCheckBox;
class QComboBox;

namespace orv {

class ChartPreferencesDialog : public QDialog {
    Q_OBJECT
public:
    ChartPreferencesDialog(const ChartDisplaySettings& settings, QWidget* owner);

    // The settings as the dialog's controls show them now.
    ChartDisplaySettings Settings() const { return settings_; }

    QCheckBox* ScaleBox() const { return scale_; }
    QCheckBox* GridBox() const { return grid_; }
    QComboBox* GridStepList() const { return gridStep_; }
    QCheckBox* AverageLineBox() const { return averageLine_; }
    QCheckBox* HorizontalGridBox() const { return horizontalGrid_; }
    QComboBox* HorizontalStepList() const { return horizontalStep_; }

    void accept() override;

private:
    void UpdateStepLists();

    ChartDisplaySettings settings_;
    QCheckBox* scale_;
    QCheckBox* grid_;
    QComboBox* gridStep_;
    QCheckBox* averageLine_;
    QCheckBox* horizontalGrid_;
    QComboBox* horizontalStep_;
};

// Opens the dialog over `owner` with a copy of the display settings; on OK
// the copy replaces them and the view settings are saved to the host at once.
// True when the settings were changed.
bool EditChartPreferences(ViewSettings& settings, HostDatabase* db, QWidget* owner);

}  // namespace orv
