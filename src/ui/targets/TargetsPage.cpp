#include "ui/targets/TargetsPage.h"

#include <QComboBox>
#include <QResizeEvent>

#include <algorithm>
#include <set>
#include <string>

#include "data/FieldText.h"
#include "data/ModifiedFlag.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"
#include "data/UnitConversion.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "ui/WriteFailure.h"
#include "ui/categories/CategoriesDialog.h"
#include "ui/categories/CategoryFilter.h"
#include "ui/controls/BitmapButton.h"
#include "ui/controls/ColoredLabel.h"
#include "ui/controls/Grid.h"
#include "ui/targets/TargetDialog.h"

namespace orv {
namespace {

const QString kCaption = QStringLiteral("ORV Diabetes");

namespace column {
const QString Name = QStringLiteral("Target Name");
const QString Unit = QStringLiteral("Unit");
const QString Type = QStringLiteral("Type");
const QString Category = QStringLiteral("Category");
}  // namespace column

QPushButton* PageButton(const QString& text, QWidget* parent) {
    auto* button = new BitmapButton(text, BitmapButton::Face::Push, parent);
    button->setAutoDefault(false);
    return button;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString TypeText(const TargetRecord& target) {
    return target.IsSum() ? QStringLiteral("Sum") : QStringLiteral("Average");
}

}  // namespace

TargetsPage::TargetsPage(QWidget* parent) : PluginPage(parent), filter_(&RecordCache::TargetCategories) {
    setObjectName(QStringLiteral("TargetsPage"));
}

void TargetsPage::LoadCacheParts() { Reload(); }

void TargetsPage::CreateContent() {
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
    grid_->addColumn(column::Unit, 100);
    grid_->addColumn(column::Type, 100);
    grid_->addColumn(column::Category, 100);
    connect(grid_, &Grid::editRequested, this, [this] { EditTarget(); });
    connect(grid_, &Grid::addRowRequested, this, [this] { NewTarget(); });
    connect(grid_, &Grid::deleteRowRequested, this, [this] { RemoveTarget(); });

    new_ = PageButton(QStringLiteral("New"), this);
    edit_ = PageButton(QStringLiteral("Edit"), this);
    remove_ = PageButton(QStringLiteral("Remove"), this);
    categories_ = PageButton(QStringLiteral("Edit categories"), this);
    connect(new_, &QPushButton::clicked, this, &TargetsPage::NewTarget);
    connect(edit_, &QPushButton::clicked, this, &TargetsPage::EditTarget);
    connect(remove_, &QPushButton::clicked, this, &TargetsPage::RemoveTarget);
    connect(categories_, &QPushButton::clicked, this, &TargetsPage::EditTargetCategories);

    filter_.Fill(cache_);
    filter_.ShowAll(cache_);
    ReloadAndFill(0);
    LayoutControls();
    Recolor();
}

void TargetsPage::Activate() { ReloadAndFill(0); }

void TargetsPage::Recolor() { filter_.RecolorLabel(colors_); }

void TargetsPage::resizeEvent(QResizeEvent* event) {
    PluginPage::resizeEvent(event);
    LayoutControls();
}

void TargetsPage::LayoutControls() {
    if (!grid_) return;
    const QRect r = rect();
    const int left = r.left();
    const int top = r.top();
    const int width = r.width();
    const int height = r.height();
    label_->setGeometry(left + 10, top + 10, width - 140, 26);
    filter_.box()->setGeometry(r.right() + 1 - 120, top + 10, 110, filter_.box()->sizeHint().height());
    grid_->setGeometry(left + 10, top + 46, width - 20, height - 92);
    const int buttonTop = r.bottom() + 1 - 36;
    new_->setGeometry(left + 10, buttonTop, 100, 26);
    edit_->setGeometry(left + 120, buttonTop, 100, 26);
    remove_->setGeometry(left + 230, buttonTop, 100, 26);
    categories_->setGeometry(left + 340, buttonTop, 100, 26);
}

void TargetsPage::Reload() {
    if (!cache_) return;
    cache_->LoadTargetNames(db_);
    cache_->LoadUnitNames(db_);
    cache_->LoadTargetCategories(db_);
    // The target dialog lists the groups that use a target, offers such a
    // target only its unit's family and converts their items' amounts, so
    // the groups, items and units it reads must be as fresh as the targets.
    cache_->LoadUnits(db_);
    cache_->LoadGroups(db_);
    cache_->LoadGroupNames(db_);
    cache_->LoadItems(db_);
}

void TargetsPage::ReloadAndFill(int32_t targetId) {
    Reload();
    if (cache_) cache_->LoadTargets(db_);
    FillGrid(targetId);
}

void TargetsPage::FillGrid(int32_t targetId) {
    if (!grid_) return;
    grid_->setRedraw(false);
    grid_->deleteAllRows();
    if (cache_) {
        const int32_t filter = filter_.Category();
        const NameList& unitNames = cache_->UnitNames();
        const NameList& categoryNames = cache_->TargetCategories().names;
        for (const auto& [name, id] : cache_->TargetIdsByName()) {
            const TargetRecord* target = cache_->FindTarget(id);
            if (!target) continue;
            if (filter >= 0 && target->category != filter) continue;
            const int row = grid_->addRow();
            grid_->setRowNumber(row, id);
            grid_->setCell(row, column::Name, Text(target->name));
            grid_->setCell(row, column::Unit, Text(unitNames.NameOf(target->unitId)));
            grid_->setCell(row, column::Type, TypeText(*target));
            grid_->setCell(row, column::Category, Text(categoryNames.NameOf(target->category)));
        }
    }
    grid_->setRedraw(true);
    const int row = targetId != 0 ? grid_->findRowByNumber(targetId) : -1;
    grid_->selectRow(row >= 0 ? row : 0);
}

int32_t TargetsPage::SelectedTarget() const {
    const int row = grid_ ? grid_->currentRow() : -1;
    return row < 0 ? 0 : grid_->rowNumber(row);
}

void TargetsPage::NewTarget() {
    if (!db_ || !cache_ || RefuseWhenReadOnly(this, kCaption)) return;
    TargetDialog dialog(QStringLiteral("Add target"), TargetRecord{}, *cache_, window());
    int32_t newId = 0;
    const bool added = RunUntilWritten(dialog, this, kCaption, RecordKind::Target, [&] {
        const TargetRecord& target = dialog.entry();
        FieldMap fields;
        fields[field::Name] = target.name;
        fields[field::UnitId] = IntText(target.unitId);
        fields[field::Type] = IntText(target.type);
        fields[field::CategoryId] = IntText(target.category);
        fields[field::CreatorId] = IntText(0);
        return AddRecord(*db_, *cache_, RecordKind::Target, fields, &newId);
    });
    if (added) ReloadAndFill(newId);
}

void TargetsPage::EditTarget() {
    if (!cache_) return;
    const TargetRecord* current = cache_->FindTarget(SelectedTarget());
    if (!current) {
        Services::prompter().information(this, kCaption, QStringLiteral("Select a row to edit"));
        return;
    }
    if (!db_ || RefuseWhenReadOnly(this, kCaption)) return;
    const TargetRecord before = *current;
    TargetDialog dialog(QStringLiteral("Edit target"), before, *cache_, window());
    // The target and the amounts of it in the items change together.
    const bool written = RunUntilWritten(dialog, this, kCaption, RecordKind::Target, [&] {
        TargetRecord target = dialog.entry();
        target.id = before.id;
        return ChangeTarget(*db_, *cache_, target, dialog.inUse());
    });
    if (written && dialog.entry().category != before.category) filter_.ShowAll(cache_);
    ReloadAndFill(before.id);
}

void TargetsPage::RemoveTarget() {
    if (!cache_) return;
    const int row = grid_->currentRow();
    if (row < 0) {
        Services::prompter().information(this, kCaption, QStringLiteral("Select a row to remove."));
        return;
    }
    const int32_t id = grid_->rowNumber(row);
    if (cache_->TargetIsReferenced(id)) {
        Services::prompter().information(this, kCaption,
                                         QStringLiteral("This target is referenced by at least one group!"));
        return;
    }
    if (RefuseWhenReadOnly(this, kCaption)) return;
    if (!Services::prompter().askYesNo(this, kCaption, QStringLiteral("Remove this target?"))) return;

    if (const TargetRecord* target = cache_->FindTarget(id); target && target->record) {
        ShowWriteFailure(this, kCaption, DeleteRecord(target->record), RecordKind::Target);
    }
    ReloadAndFill(0);
}

void TargetsPage::EditTargetCategories() {
    if (!cache_ || RefuseWhenReadOnly(this, kCaption)) return;
    // The editor stores every change as it is made, so what it cleared is
    // followed up however it was closed.
    const std::vector<int32_t> cleared = EditCategories(*cache_, RecordKind::Target, window());
    SetModifiedFlag();
    RefileClearedCategories(*cache_, db_, RecordKind::Target, cleared);

    filter_.Fill(cache_);
    filter_.ShowAll(cache_);
    FillGrid(0);
    grid_->repaint();
}

}  // namespace orv
