#include "ui/targets/TargetsPage.h"

#include <algorithm>
#include <set>
#include <string>

#include "data/FieldText.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"
#include "data/UnitConversion.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "ui/PageStyle.h"
#include "ui/WriteFailure.h"
#include "ui/controls/Grid.h"
#include "ui/targets/TargetDialog.h"

namespace orv {
namespace {

namespace target_column {
const QString Name = QStringLiteral("Target Name");
const QString Unit = QStringLiteral("Unit");
const QString Type = QStringLiteral("Type");
const QString Category = QStringLiteral("Category");
}  // namespace target_column

QString TypeText(const TargetRecord& target) {
    return target.IsSum() ? QStringLiteral("Sum") : QStringLiteral("Average");
}

}  // namespace

TargetsPage::TargetsPage(const PageContext& context, QWidget* parent)
    : ListPage(context,
               {.objectName = QStringLiteral("TargetsPage"),
                .caption = kDiabetesCaption,
                .kind = RecordKind::Target,
                .categories = &RecordCache::TargetCategories,
                .filterName = QStringLiteral("MyCB")},
               parent) {}

void TargetsPage::CreateControls() {
    orv::Grid* grid = AddGrid(
        {.add = [this] { NewTarget(); }, .edit = [this] { EditTarget(); }, .remove = [this] { RemoveTarget(); }});
    grid->addColumn(target_column::Name, 140);
    grid->addColumn(target_column::Unit, 100);
    grid->addColumn(target_column::Type, 100);
    grid->addColumn(target_column::Category, 100);

    AddButtons({{QStringLiteral("New"), [this] { NewTarget(); }},
                {QStringLiteral("Edit"), [this] { EditTarget(); }},
                {QStringLiteral("Remove"), [this] { RemoveTarget(); }},
                {QStringLiteral("Edit categories"), [this] { EditFilterCategories(); }}});
}

void TargetsPage::Reload() {
    cache_.LoadTargetNames(&db_);
    cache_.LoadUnitNames(&db_);
    cache_.LoadTargetCategories(&db_);
    // The target dialog lists the groups that use a target, offers such a
    // target only its unit's family and converts their items' amounts, so
    // the groups, items and units it reads must be as fresh as the targets.
    cache_.LoadUnits(&db_);
    cache_.LoadGroups(&db_);
    cache_.LoadGroupNames(&db_);
    cache_.LoadItems(&db_);
    cache_.LoadTargets(&db_);
}

void TargetsPage::AddRows() {
    const int32_t filter = filter_.Category();
    const NameList& unitNames = cache_.UnitNames();
    const NameList& categoryNames = cache_.TargetCategories().names;
    for (const auto& [name, id] : cache_.TargetIdsByName()) {
        const TargetRecord* target = cache_.FindTarget(id);
        if (!target) continue;
        if (filter >= 0 && target->category != filter) continue;
        const int row = grid_->addRow();
        grid_->setRowNumber(row, id);
        grid_->setCell(row, target_column::Name, PageText(target->name));
        grid_->setCell(row, target_column::Unit, PageText(unitNames.NameOf(target->unitId)));
        grid_->setCell(row, target_column::Type, TypeText(*target));
        grid_->setCell(row, target_column::Category, PageText(categoryNames.NameOf(target->category)));
    }
}

void TargetsPage::NewTarget() {
    if (RefuseWhenReadOnly(this, kDiabetesCaption)) return;
    TargetDialog dialog(QStringLiteral("Add target"), TargetRecord{}, cache_, window());
    int32_t newId = 0;
    const bool added = RunUntilWritten(dialog, this, kDiabetesCaption, RecordKind::Target, [&] {
        const TargetRecord& target = dialog.Entry();
        FieldMap fields;
        fields[field::Name] = target.name;
        fields[field::UnitId] = IntText(target.unitId);
        fields[field::Type] = IntText(target.type);
        fields[field::CategoryId] = IntText(target.category);
        fields[field::CreatorId] = IntText(0);
        return AddRecord(db_, cache_, RecordKind::Target, fields, &newId);
    });
    if (added) ReloadAndFill(newId);
}

void TargetsPage::EditTarget() {
    const TargetRecord* current = cache_.FindTarget(SelectedRowNumber());
    if (!current) {
        Services::Prompter().Information(this, kDiabetesCaption, QStringLiteral("Select a row to edit"));
        return;
    }
    if (RefuseWhenReadOnly(this, kDiabetesCaption)) return;
    const TargetRecord before = *current;
    TargetDialog dialog(QStringLiteral("Edit target"), before, cache_, window());
    // The target and the amounts of it in the items change together.
    const bool written = RunUntilWritten(dialog, this, kDiabetesCaption, RecordKind::Target, [&] {
        TargetRecord target = dialog.Entry();
        target.id = before.id;
        return ChangeTarget(db_, cache_, target, dialog.InUse());
    });
    if (written && dialog.Entry().category != before.category) filter_.ShowAll(cache_);
    ReloadAndFill(before.id);
}

void TargetsPage::RemoveTarget() {
    const int row = grid_->currentRow();
    if (row < 0) {
        Services::Prompter().Information(this, kDiabetesCaption, QStringLiteral("Select a row to remove."));
        return;
    }
    const int32_t id = grid_->rowNumber(row);
    if (cache_.TargetIsReferenced(id)) {
        Services::Prompter().Information(this, kDiabetesCaption,
                                         QStringLiteral("This target is referenced by at least one group!"));
        return;
    }
    if (RefuseWhenReadOnly(this, kDiabetesCaption)) return;
    if (!Services::Prompter().AskYesNo(this, kDiabetesCaption, QStringLiteral("Remove this target?"))) return;

    if (const TargetRecord* target = cache_.FindTarget(id); target && target->record) {
        ShowWriteFailure(this, kDiabetesCaption, DeleteRecord(target->record), RecordKind::Target);
    }
    ReloadAndFill(0);
}

}  // namespace orv
