#include "ui/groups/GroupsPage.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>
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
#include "ui/controls/ColoredLabel.h"
#include "ui/controls/Grid.h"
#include "ui/groups/GroupDialog.h"
#include "ui/groups/ItemDialog.h"

namespace orv {
namespace {

const QString kItemName = QStringLiteral("Item Name");

constexpr int kGroupIdRole = Qt::UserRole;

// An item's first `count` amounts, padded with zeros.
std::vector<float> OwnAmounts(const ItemRecord& item) {
    std::vector<float> amounts(
        item.values.begin(), item.values.begin() + std::min<std::size_t>(item.values.size(), std::max(item.count, 0)));
    amounts.resize(static_cast<std::size_t>(std::clamp(item.count, 0, kMaxListEntries)), 0.0f);
    return amounts;
}

}  // namespace

GroupsPage::GroupsPage(const PageContext& context, QWidget* parent)
    : ListPage(context,
               {.objectName = QStringLiteral("GroupsPage"),
                .caption = kDiabetesCaption,
                .kind = RecordKind::Group,
                .categories = &RecordCache::GroupCategories,
                .filterWidth = 100,
                .buttonWidth = 90},
               parent) {}

void GroupsPage::CreateControls() {
    tree_ = new QTreeWidget(this);
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(false);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (fillingTree_) return;
        GroupChosen(current ? current->data(0, kGroupIdRole).toInt() : -1);
    });

    orv::Grid* grid =
        AddGrid({.add = [this] { NewItem(); }, .edit = [this] { EditItem(); }, .remove = [this] { RemoveItem(); }});
    grid->addColumn(kItemName, 140);
    grid->setAlternatingRowColors(kEvenRowColor, kOddRowColor);

    AddButtons({{QStringLiteral("New Group"), [this] { NewGroup(); }},
                {QStringLiteral("Edit Group"), [this] { EditGroup(); }},
                {QStringLiteral("Remove Group"), [this] { RemoveGroup(); }},
                {QStringLiteral("New Item"), [this] { NewItem(); }},
                {QStringLiteral("Edit Item"), [this] { EditItem(); }},
                {QStringLiteral("Remove Item"), [this] { RemoveItem(); }},
                {QStringLiteral("Edit categories"), [this] { EditFilterCategories(); }}});
}

void GroupsPage::FilterChosen() { Refill(); }

void GroupsPage::LayoutLists(const QRect& area) {
    constexpr int kTreeWidth = 290;
    tree_->setGeometry(area.left(), area.top(), kTreeWidth, area.height());
    grid_->setGeometry(area.adjusted(kTreeWidth + 10, 0, 0, 0));
}

void GroupsPage::UpdateLabel() {
    if (!label_) return;
    if (selectedGroup_ == 0) {
        label_->clear();
        return;
    }
    const GroupRecord* group = cache_.FindGroup(selectedGroup_);
    QString text = group ? PageText(group->name) : QString();
    if (filter_.Category() >= 0) {
        text += QStringLiteral(" (Category: ") + filter_.CategoryName(cache_) + QStringLiteral(")");
    }
    label_->setText(text);
}

void GroupsPage::ReloadGroupParts() {
    cache_.LoadTargets(&db_);
    cache_.LoadTargetNames(&db_);
    cache_.LoadGroupNames(&db_);
    cache_.LoadGroupCategories(&db_);
    cache_.LoadGroups(&db_);
}

void GroupsPage::ReloadItemParts() {
    cache_.LoadTargets(&db_);
    cache_.LoadTargetNames(&db_);
    cache_.LoadGroupNames(&db_);
    cache_.LoadGroupCategories(&db_);
    cache_.LoadItems(&db_);
    cache_.LoadItemNames(&db_);
}

void GroupsPage::Reload() {
    // The dialogs need the units and the removal checks the values; both may
    // have changed on other pages.
    cache_.LoadUnits(&db_);
    cache_.LoadUnitNames(&db_);
    cache_.LoadValues(&db_);
    ReloadItemParts();
    cache_.LoadGroups(&db_);
}

void GroupsPage::Refill() {
    if (!tree_) return;
    fillingTree_ = true;
    tree_->setUpdatesEnabled(false);
    tree_->clear();
    const int32_t category = filter_.Category();
    for (const auto& [id, group] : cache_.Groups()) {
        if (category >= 0 && group.category != category) continue;
        auto* node = new QTreeWidgetItem(tree_, QStringList{PageText(group.name)});
        node->setData(0, kGroupIdRole, id);
    }
    tree_->setCurrentItem(nullptr);
    tree_->clearSelection();
    fillingTree_ = false;
    selectedGroup_ = -1;
    UpdateLabel();
    FillGrid(0);
    tree_->setUpdatesEnabled(true);
}

bool GroupsPage::SelectGroupNode(int32_t groupId) {
    if (!tree_) return false;
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* node = tree_->topLevelItem(i);
        if (node->data(0, kGroupIdRole).toInt() == groupId) {
            tree_->setCurrentItem(node);
            return true;
        }
    }
    return false;
}

void GroupsPage::GroupChosen(int32_t groupId) {
    selectedGroup_ = groupId;
    UpdateLabel();
    FillGrid(0);
}

void GroupsPage::AddRows() {
    for (const auto& [id, item] : cache_.Items()) {
        if (item.matterId != selectedGroup_) continue;
        const int row = grid_->addRow();
        grid_->setRowNumber(row, id);
        grid_->setCell(row, kItemName, PageText(item.name));
    }
}

void GroupsPage::NewGroup() {
    if (RefuseWhenReadOnly(this, kDiabetesCaption)) return;
    GroupRecord fresh;
    fresh.unitId = cache_.UnitNames().empty() ? 0 : cache_.UnitNames().IdAt(0);
    GroupDialog dialog(QStringLiteral("Add group"), fresh, cache_, window());
    const bool added = RunUntilWritten(dialog, this, kDiabetesCaption, RecordKind::Group, [&] {
        const GroupRecord& group = dialog.group();
        const std::vector<int32_t> targets = dialog.EditedTargets();
        FieldMap fields;
        fields[field::Name] = group.name;
        fields[field::ParentId] = IntText(group.parentId);
        fields[field::Count] = IntText(static_cast<int64_t>(targets.size()));
        fields[field::UnitId] = IntText(group.unitId);
        fields[field::GroupAttrs] = IntText(group.attrs);
        fields[field::CategoryId] = IntText(group.category);
        fields[field::CreatorId] = IntText(0);
        fields[field::Type] = IntText(group.type);
        fields[field::Targets] = IntListText(targets);
        return AddRecord(db_, cache_, RecordKind::Group, fields);
    });
    if (!added) return;

    ReloadGroupParts();
    Refill();
}

void GroupsPage::EditGroup() {
    const GroupRecord* current = cache_.FindGroup(selectedGroup_);
    if (!current) {
        Services::Prompter().Information(this, kDiabetesCaption, QStringLiteral("Select the group to edit"));
        return;
    }
    if (RefuseWhenReadOnly(this, kDiabetesCaption)) return;
    const GroupRecord before = *current;
    // Work from the stored items and values: other pages may have changed them.
    cache_.LoadItems(&db_);
    cache_.LoadValues(&db_);
    GroupDialog dialog(QStringLiteral("Edit group"), before, cache_, window());
    // The group, its items' amounts and its values change together.
    RunUntilWritten(dialog, this, kDiabetesCaption, RecordKind::Group, [&] {
        const GroupRecord& group = dialog.group();
        GroupChange change;
        change.groupId = before.id;
        change.name = group.name;
        change.category = group.category;
        change.unitId = group.unitId;
        change.targets = dialog.EditedTargets();
        change.positions = dialog.Positions();
        return ChangeGroup(db_, cache_, change);
    });
    cache_.LoadItemNames(&db_);
    ReloadGroupParts();
    Refill();
}

void GroupsPage::RemoveGroup() {
    const int32_t groupId = selectedGroup_;
    if (!cache_.FindGroup(groupId)) {
        Services::Prompter().Information(this, kDiabetesCaption, QStringLiteral("Please, select a group to remove."));
        return;
    }
    if (RefuseWhenReadOnly(this, kDiabetesCaption)) return;
    cache_.LoadItems(&db_);
    const bool hasItems = cache_.ItemsByGroup().count(groupId) != 0;
    if (!Services::Prompter().AskYesNo(this, kDiabetesCaption, QStringLiteral("Remove this group?"))) return;
    if (hasItems &&
        !Services::Prompter().AskYesNo(this, kDiabetesCaption,
                                       QStringLiteral("If this group is removed, all the\ncorresponding items and "
                                                      "values\nwill be removed too.\nProceed anyway?"))) {
        return;
    }
    // Also when the page saw no items: another program may have added some.
    ShowWriteFailure(this, kDiabetesCaption, orv::RemoveGroup(db_, cache_, groupId), RecordKind::Group);
    cache_.LoadItemNames(&db_);
    ReloadGroupParts();
    Refill();
}

void GroupsPage::NewItem() {
    const GroupRecord* group = cache_.FindGroup(selectedGroup_);
    if (!group) {
        Services::Prompter().Information(this, kDiabetesCaption,
                                         QStringLiteral("Please select the group before adding the item!"));
        return;
    }
    if (RefuseWhenReadOnly(this, kDiabetesCaption)) return;
    ItemRecord fresh;
    fresh.matterId = group->id;
    fresh.defaultValue = 1.0f;
    fresh.count = std::clamp<int32_t>(group->count, 0, kMaxListEntries);
    fresh.values.assign(static_cast<std::size_t>(fresh.count), 0.0f);
    ItemDialog dialog(QStringLiteral("Add item"), fresh, cache_, window());
    int32_t newId = 0;
    const bool added = RunUntilWritten(dialog, this, kDiabetesCaption, RecordKind::Item, [&] {
        const ItemRecord& item = dialog.item();
        FieldMap fields;
        fields[field::Name] = item.name;
        fields[field::MatterId] = IntText(item.matterId);
        fields[field::Count] = IntText(item.count);
        fields[field::DefaultValue] = RealText(item.defaultValue);
        fields[field::Values] = RealListText(OwnAmounts(item));
        return AddRecord(db_, cache_, RecordKind::Item, fields, &newId);
    });
    if (!added) return;

    ReloadItemParts();
    FillGrid(newId);
}

void GroupsPage::EditItem() {
    const ItemRecord* current = cache_.FindItem(SelectedRowNumber());
    if (!current) {
        Services::Prompter().Information(this, kDiabetesCaption, QStringLiteral("Select a row to edit"));
        return;
    }
    if (RefuseWhenReadOnly(this, kDiabetesCaption)) return;
    const ItemRecord before = *current;
    ItemDialog dialog(QStringLiteral("Edit item"), before, cache_, window());
    RunUntilWritten(dialog, this, kDiabetesCaption, RecordKind::Item, [&] {
        const ItemRecord& item = dialog.item();
        return ApplyEdit(RecordEdit(item.record)
                             .UInt16(prop::ItemCount, item.count)
                             .Float(prop::ItemDefaultValue, item.defaultValue)
                             .FloatList(prop::ItemValues, OwnAmounts(item))
                             .Name(item.name));
    });
    ReloadItemParts();
    FillGrid(before.id);
}

void GroupsPage::RemoveItem() {
    const int row = grid_->currentRow();
    const ItemRecord* item = row < 0 ? nullptr : cache_.FindItem(grid_->rowNumber(row));
    if (!item) {
        Services::Prompter().Information(this, kDiabetesCaption, QStringLiteral("Select a row to remove."));
        return;
    }
    const int32_t itemId = item->id;
    // Values may have been entered on another page since the last reload.
    cache_.LoadValues(&db_);
    if (cache_.ItemHasValues(itemId)) {
        Services::Prompter().Information(
            this, kDiabetesCaption,
            QStringLiteral("This item cannot be deleted, as the database contains\nthe values referencing this item"));
        return;
    }
    if (RefuseWhenReadOnly(this, kDiabetesCaption)) return;
    if (!Services::Prompter().AskYesNo(this, kDiabetesCaption, QStringLiteral("Remove this item?"))) return;

    if (const ItemRecord* stored = cache_.FindItem(itemId); stored && stored->record) {
        ShowWriteFailure(this, kDiabetesCaption, DeleteRecord(stored->record), RecordKind::Item);
    }
    ReloadItemParts();
    FillGrid(0);
}

}  // namespace orv
