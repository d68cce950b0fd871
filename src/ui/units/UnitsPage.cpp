#include "ui/units/UnitsPage.h"

#include <QComboBox>
#include <QResizeEvent>

#include <string>

#include "data/ChangeMessages.h"
#include "data/FieldText.h"
#include "data/ModifiedFlag.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "ui/WriteFailure.h"
#include "ui/categories/CategoriesDialog.h"
#include "ui/categories/CategoryFilter.h"
#include "ui/controls/BitmapButton.h"
#include "ui/controls/ColoredLabel.h"
#include "ui/controls/Grid.h"
#include "ui/units/UnitDialog.h"

namespace orv {
namespace {

const QString kCaption = QStringLiteral("ORV Plugin");

namespace column {
const QString Name = QStringLiteral("Unit Name");
const QString Equals = QStringLiteral("=");
const QString Factor = QStringLiteral("Factor");
const QString Base = QStringLiteral("Base Unit");
const QString Category = QStringLiteral("Category");
}  // namespace column

// Cells of a base unit's definition columns hold a single blank.
const QString kBlank = QStringLiteral(" ");

QPushButton* PageButton(const QString& text, QWidget* parent) {
    auto* button = new BitmapButton(text, BitmapButton::Face::Push, parent);
    button->setAutoDefault(false);
    return button;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

UnitsPage::UnitsPage(QWidget* parent) : PluginPage(parent), filter_(&RecordCache::UnitCategories) {
    setObjectName(QStringLiteral("UnitsPage"));
}

void UnitsPage::LoadCacheParts() {
    if (!cache_) return;
    cache_->LoadUnitCategories(db_);
    cache_->LoadUnitNames(db_);
}

void UnitsPage::CreateContent() {
    if (grid_) return;
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    label_ = new ColoredLabel(this);
    auto* filter = new QComboBox(this);
    filter->setObjectName(QStringLiteral("MyCB"));
    filter->setMaxVisibleItems(20);
    filter_.Attach(filter, label_);
    connect(filter, &QComboBox::activated, this, [this] {
        filter_.ShowCategoryInLabel(cache_);
        FillGrid(0);
    });

    grid_ = new Grid(this);
    grid_->addColumn(column::Name, 140);
    grid_->addColumn(column::Equals, 40);
    grid_->addColumn(column::Factor, 70);
    grid_->addColumn(column::Base, 100);
    grid_->addColumn(column::Category, 140);
    connect(grid_, &Grid::editRequested, this, [this] { EditUnit(); });
    connect(grid_, &Grid::addRowRequested, this, [this] { NewUnit(); });
    connect(grid_, &Grid::deleteRowRequested, this, [this] { RemoveUnit(); });

    new_ = PageButton(QStringLiteral("New"), this);
    edit_ = PageButton(QStringLiteral("Edit"), this);
    remove_ = PageButton(QStringLiteral("Remove"), this);
    categories_ = PageButton(QStringLiteral("Edit categories"), this);
    connect(new_, &QPushButton::clicked, this, &UnitsPage::NewUnit);
    connect(edit_, &QPushButton::clicked, this, &UnitsPage::EditUnit);
    connect(remove_, &QPushButton::clicked, this, &UnitsPage::RemoveUnit);
    connect(categories_, &QPushButton::clicked, this, &UnitsPage::EditUnitCategories);

    filter_.Fill(cache_);
    filter_.ShowAll(cache_);
    if (cache_) cache_->LoadUnits(db_);
    FillGrid(0);
    LayoutControls();
    Recolor();
}

void UnitsPage::Activate() {
    Reload();
    FillGrid(0);
}

void UnitsPage::Recolor() { filter_.RecolorLabel(colors_); }

void UnitsPage::resizeEvent(QResizeEvent* event) {
    PluginPage::resizeEvent(event);
    LayoutControls();
}

void UnitsPage::LayoutControls() {
    if (!grid_) return;
    const QRect r = rect();
    const int left = r.left();
    const int top = r.top();
    const int width = r.width();
    const int height = r.height();
    label_->setGeometry(left + 10, top + 10, width - 140, 26);
    // A drop-down's height is its closed height; the list opens below it.
    filter_.box()->setGeometry(r.right() + 1 - 120, top + 10, 110, filter_.box()->sizeHint().height());
    grid_->setGeometry(left + 10, top + 46, width - 20, height - 92);
    const int buttonTop = r.bottom() + 1 - 36;
    new_->setGeometry(left + 10, buttonTop, 100, 26);
    edit_->setGeometry(left + 120, buttonTop, 100, 26);
    remove_->setGeometry(left + 230, buttonTop, 100, 26);
    categories_->setGeometry(left + 340, buttonTop, 100, 26);
}

void UnitsPage::Reload() {
    if (!cache_) return;
    cache_->LoadUnitCategories(db_);
    cache_->LoadUnitNames(db_);
    cache_->LoadUnits(db_);
}

void UnitsPage::FillGrid(int32_t unitId) {
    if (!grid_) return;
    grid_->setRedraw(false);
    grid_->deleteAllRows();
    if (cache_) {
        const int32_t filter = filter_.Category();
        const NameList& unitNames = cache_->UnitNames();
        const NameList& categoryNames = cache_->UnitCategories().names;
        for (const auto& [id, unit] : cache_->Units()) {
            if (filter >= 0 && unit.category != filter) continue;
            const int row = grid_->addRow();
            grid_->setRowNumber(row, id);
            const bool defined = unit.baseUnit != 0;
            grid_->setCell(row, column::Name, Text(unit.name));
            grid_->setCell(row, column::Equals, defined ? QStringLiteral("=") : kBlank);
            grid_->setCell(row, column::Factor, defined ? Text(RealText(unit.factor)) : kBlank);
            grid_->setCell(row, column::Base, defined ? Text(unitNames.NameOf(unit.baseUnit)) : kBlank);
            grid_->setCell(row, column::Category, Text(categoryNames.NameOf(unit.category)));
        }
    }
    grid_->setRedraw(true);
    const int row = unitId != 0 ? grid_->findRowByNumber(unitId) : -1;
    grid_->selectRow(row >= 0 ? row : 0);
}

int32_t UnitsPage::SelectedUnit() const {
    const int row = grid_ ? grid_->currentRow() : -1;
    return row < 0 ? 0 : grid_->rowNumber(row);
}

void UnitsPage::NewUnit() {
    if (!db_ || !cache_ || RefuseWhenReadOnly(this, kCaption)) return;
    UnitEntry fresh;
    fresh.factor = 0.0f;
    UnitDialog dialog(QStringLiteral("Add unit"), fresh, *cache_, window());
    int32_t newId = 0;
    const bool added = RunUntilWritten(dialog, this, kCaption, RecordKind::Unit, [&] {
        const UnitEntry& unit = dialog.entry();
        FieldMap fields;
        fields[field::Name] = unit.name;
        fields[field::ParentUnitId] = IntText(unit.baseUnit);
        fields[field::CategoryId] = IntText(unit.category);
        fields[field::Factor] = FloatText(unit.factor);  // round-trips as the float it is
        fields[field::CreatorId] = IntText(0);
        return AddRecord(*db_, *cache_, RecordKind::Unit, fields, &newId);
    });
    if (!added) return;

    filter_.ShowAll(cache_);
    Reload();
    FillGrid(newId);
}

void UnitsPage::EditUnit() {
    if (!cache_) return;
    const UnitEntry* current = cache_->FindUnit(SelectedUnit());
    if (!current) {
        Services::prompter().information(this, kCaption, QStringLiteral("Select a row to edit"));
        return;
    }
    if (RefuseWhenReadOnly(this, kCaption)) return;
    const UnitEntry before = *current;
    UnitDialog dialog(QStringLiteral("Edit unit"), before, *cache_, window());
    const bool written = RunUntilWritten(dialog, this, kCaption, RecordKind::Unit, [&] {
        const UnitEntry& unit = dialog.entry();
        return ApplyEdit(RecordEdit(unit.record)
                             .Float(prop::UnitValue, unit.factor)
                             .Int32(prop::UnitParentId, unit.baseUnit)
                             .Name(unit.name)
                             .Category(unit.category));
    });
    if (written && dialog.entry().category != before.category) filter_.ShowAll(cache_);
    Reload();
    FillGrid(before.id);
}

void UnitsPage::RemoveUnit() {
    if (!cache_) return;
    const int row = grid_->currentRow();
    if (row < 0) {
        Services::prompter().information(this, kCaption, QStringLiteral("Select a row to remove."));
        return;
    }
    if (RefuseWhenReadOnly(this, kCaption)) return;
    const int32_t id = grid_->rowNumber(row);
    // Targets, groups and units may have changed on other pages.
    cache_->LoadTargets(db_);
    cache_->LoadGroups(db_);
    Reload();
    if (const std::string users = UnitUsersText(*cache_, id); !users.empty()) {
        Services::prompter().information(this, kCaption, QString::fromStdString(users));
        FillGrid(id);
        return;
    }
    if (!Services::prompter().askYesNo(this, kCaption, QStringLiteral("Remove this unit?"))) return;

    if (const UnitEntry* unit = cache_->FindUnit(id); unit && unit->record) {
        ShowWriteFailure(this, kCaption, DeleteRecord(unit->record), RecordKind::Unit);
    }
    Reload();
    FillGrid(0);
}

void UnitsPage::EditUnitCategories() {
    if (!cache_ || RefuseWhenReadOnly(this, kCaption)) return;
    // The editor stores every change as it is made, so what it cleared is
    // followed up however it was closed.
    const std::vector<int32_t> cleared = EditCategories(*cache_, RecordKind::Unit, window());
    SetModifiedFlag();
    RefileClearedCategories(*cache_, db_, RecordKind::Unit, cleared);

    filter_.Fill(cache_);
    filter_.ShowAll(cache_);
    FillGrid(0);
    grid_->repaint();
}

}  // namespace orv
