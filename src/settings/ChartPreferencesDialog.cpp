#include "settings/ChartPreferencesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>

#include <array>
#include <span>

#include "platform/DialogRunner.h"
#include "platform/Services.h"

namespace orv {
namespace {

constexpr std::array<int32_t, 5> kGridSteps{5, 10, 15, 20, 25};
constexpr std::array<int32_t, 6> kHorizontalSteps{1, 2, 4, 5, 7, 10};

QComboBox* StepList(std::span<const int32_t> steps, int32_t current, const char* name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    for (const int32_t step : steps) list->addItem(QString::number(step));
    // A step that is not offered selects the first entry.
    int selected = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] == current) selected = static_cast<int>(i);
    }
    list->setCurrentIndex(selected);
    return list;
}

int32_t SelectedStep(const QComboBox* list, std::span<const int32_t> steps) {
    const int index = list->currentIndex();
    return index >= 0 && index < static_cast<int>(steps.size()) ? steps[static_cast<std::size_t>(index)] : steps[0];
}

QCheckBox* CheckBox(const QString& text, int32_t checked, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked != 0);
    return box;
}

}  // namespace

ChartPreferencesDialog::ChartPreferencesDialog(const ChartDisplaySettings& settings, QWidget* owner)
    : QDialog(owner), settings_(settings) {
    setObjectName(QStringLiteral("dialog403"));
    setWindowTitle(QStringLiteral("Chart Preferences"));

    scale_ = CheckBox(QStringLiteral("Chart scale depends on values"), settings.chartScale, "control1203", this);
    scale_->hide();  // kept for the setting's sake, never offered
    grid_ = CheckBox(QStringLiteral("Show grid"), settings.showGrid, "control1328", this);
    gridStep_ = StepList(kGridSteps, settings.gridStep, "control1329", this);
    averageLine_ = CheckBox(QStringLiteral("Show average line"), settings.averageLine, "control1206", this);
    horizontalGrid_ = CheckBox(QStringLiteral("Show horizontal grid"), settings.horizontalGrid, "control1322", this);
    horizontalStep_ = StepList(kHorizontalSteps, settings.horizontalGridStep, "control1262", this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(grid_, 0, 0);
    layout->addWidget(gridStep_, 0, 1);
    layout->addWidget(horizontalGrid_, 1, 0);
    layout->addWidget(horizontalStep_, 1, 1);
    layout->addWidget(averageLine_, 2, 0, 1, 2);
    layout->addWidget(buttons, 3, 0, 1, 2);

    connect(grid_, &QCheckBox::toggled, this, &ChartPreferencesDialog::UpdateStepLists);
    connect(horizontalGrid_, &QCheckBox::toggled, this, &ChartPreferencesDialog::UpdateStepLists);
    UpdateStepLists();

    if (owner) {
        adjustSize();
        move(owner->window()->frameGeometry().center() - rect().center());
    }
}

void ChartPreferencesDialog::UpdateStepLists() {
    gridStep_->setVisible(grid_->isChecked());
    horizontalStep_->setVisible(horizontalGrid_->isChecked());
}

void ChartPreferencesDialog::accept() {
    settings_.chartScale = scale_->isChecked() ? 1 : 0;
    settings_.showGrid = grid_->isChecked() ? 1 : 0;
    settings_.gridStep = SelectedStep(gridStep_, kGridSteps);
    settings_.averageLine = averageLine_->isChecked() ? 1 : 0;
    settings_.horizontalGrid = horizontalGrid_->isChecked() ? 1 : 0;
    settings_.horizontalGridStep = SelectedStep(horizontalStep_, kHorizontalSteps);
    QDialog::accept();
}

bool EditChartPreferences(ViewSettings& settings, HostDatabase* db, QWidget* owner) {
    ChartPreferencesDialog dialog(settings.display, owner);
    if (Services::Dialogs().Run(dialog) != QDialog::Accepted) return false;
    settings.display = dialog.Settings();
    settings.Save(db);
    return true;
}

}  // namespace orv
