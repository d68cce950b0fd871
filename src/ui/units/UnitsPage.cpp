#include "ui/units/UnitsPage.h"

#include <string>

#include "data/ChangeMessages.h"
#include "data/FieldText.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "ui/PageStyle.h"
#include "ui/WriteFailure.h"
#include "ui/controls/Grid.h"
#include "ui/units/UnitDialog.h"

namespace orv {
namespace {

namespace unit_column {
const QString Name = QStringLiteral("Unit Name");
const QString Equals = QStringLiteral("=");
const QString Factor = QStringLiteral("Factor");
const QString Base = QStringLiteral("Base Unit");
const QString Category = QStringLiteral("Category");
}  // namespace unit_column

// Cells of a base unit's definition columns hold a single blank.
const QString kBlank = QStringLiteral(" ");

}  // namespace

UnitsPage::UnitsPage(const PageContext& context, QWidget* parent)
    : ListPage(context,
               {.objectName = QStringLiteral("UnitsPage"),
                .caption = kPluginCaption,
                .kind = RecordKind::Unit,
                .categories = &RecordCache::UnitCategories,
                .filterName = QStringLiteral("MyCB")},
               parent) {}

void UnitsPage::CreateControls() {
    orv::Grid* grid =
        AddGrid({.add = [this] { NewUnit(); }, .edit = [this] { EditUnit(); }, .remove = [this] { RemoveUnit(); }});
    grid->addColumn(unit_column::Name, 140);
    grid->addColumn(unit_column::Equals, 40);
    grid->addColumn(unit_column::Factor, 70);
    grid->addColumn(unit_column::Base, 100);
    grid->addColumn(unit_column::Category, 140);

    AddButtons({{QStringLiteral("New"), [this] { NewUnit(); }},
                {QStringLiteral("Edit"), [this] { EditUnit(); }},
                {QStringLiteral("Remove"), [this] { RemoveUnit(); }},
                {QStringLiteral("Edit categories"), [this] { EditFilterCategories(); }}});
}

void UnitsPage::Reload() {
    cache_.LoadUnitCategories(&db_);
    cache_.LoadUnitNames(&db_);
    cache_.LoadUnits(&db_);
}

void UnitsPage::AddRows() {
    const int32_t filter = filter_.Category();
    const NameList& unitNames = cache_.UnitNames();
    const NameList& categoryNames = cache_.UnitCategories().names;
    for (const auto& [id, unit] : cache_.Units()) {
        if (filter >= 0 && unit.category != filter) continue;
        const int row = grid_->addRow();
        grid_->setRowNumber(row, id);
        const bool defined = unit.baseUnit != 0;
        grid_->setCell(row, unit_column::Name, PageText(unit.name));
        grid_->setCell(row, unit_column::Equals, defined ? QStringLiteral("=") : kBlank);
        grid_->setCell(row, unit_column::Factor, defined ? PageText(RealText(unit.factor)) : kBlank);
        grid_->setCell(row, unit_column::Base, defined ? PageText(unitNames.NameOf(unit.baseUnit)) : kBlank);
        grid_->setCell(row, unit_column::Category, PageText(categoryNames.NameOf(unit.category)));
    }
}

void UnitsPage::NewUnit() {
    if (RefuseWhenReadOnly(this, kPluginCaption)) return;
    UnitEntry fresh;
    fresh.factor = 0.0f;
    UnitDialog dialog(QStringLiteral("Add unit"), fresh, cache_, window());
    int32_t newId = 0;
    const bool added = RunUntilWritten(dialog, this, kPluginCaption, RecordKind::Unit, [&] {
        const UnitEntry& unit = dialog.Entry();
        FieldMap fields;
        fields[field::Name] = unit.name;
        fields[field::ParentUnitId] = IntText(unit.baseUnit);
        fields[field::CategoryId] = IntText(unit.category);
        fields[field::Factor] = FloatText(unit.factor);  // round-trips as the float it is
        fields[field::CreatorId] = IntText(0);
        return AddRecord(db_, cache_, RecordKind::Unit, fields, &newId);
    });
    if (!added) return;

    filter_.ShowAll(cache_);
    ReloadAndFill(newId);
}

void UnitsPage::EditUnit() {
    const UnitEntry* current = cache_.FindUnit(SelectedRowNumber());
    if (!current) {
        Services::Prompter().Information(this, kPluginCaption, QStringLiteral("Select a row to edit"));
        return;
    }
    if (RefuseWhenReadOnly(this, kPluginCaption)) return;
    const UnitEntry before = *current;
    UnitDialog dialog(QStringLiteral("Edit unit"), before, cache_, window());
    const bool written = RunUntilWritten(dialog, this, kPluginCaption, RecordKind::Unit, [&] {
        const UnitEntry& unit = dialog.Entry();
        return ApplyEdit(RecordEdit(unit.record)
                             .Float(prop::UnitValue, unit.factor)
                             .Int32(prop::UnitParentId, unit.baseUnit)
                             .Name(unit.name)
                             .Category(unit.category));
    });
    if (written && dialog.Entry().category != before.category) filter_.ShowAll(cache_);
    ReloadAndFill(before.id);
}

void UnitsPage::RemoveUnit() {
    const int row = grid_->currentRow();
    if (row < 0) {
        Services::Prompter().Information(this, kPluginCaption, QStringLiteral("Select a row to remove."));
        return;
    }
    if (RefuseWhenReadOnly(this, kPluginCaption)) return;
    const int32_t id = grid_->rowNumber(row);
    // Targets, groups and units may have changed on other pages.
    cache_.LoadTargets(&db_);
    cache_.LoadGroups(&db_);
    Reload();
    if (const std::string users = UnitUsersText(cache_, id); !users.empty()) {
        Services::Prompter().Information(this, kPluginCaption, PageText(users));
        FillGrid(id);
        return;
    }
    if (!Services::Prompter().AskYesNo(this, kPluginCaption, QStringLiteral("Remove this unit?"))) return;

    if (const UnitEntry* unit = cache_.FindUnit(id); unit && unit->record) {
        ShowWriteFailure(this, kPluginCaption, DeleteRecord(unit->record), RecordKind::Unit);
    }
    ReloadAndFill(0);
}

}  // namespace orv
