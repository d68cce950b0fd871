#include "ui/groups/GroupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

#include "data/RecordCache.h"
#include "data/UnitConversion.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "ui/PageStyle.h"
#include "ui/controls/NameFit.h"
#include "ui/targets/SelectTargetDialog.h"

namespace orv {
namespace {

const QString kOneTarget = QStringLiteral("The group must have at least one target");

}  // namespace

GroupDialog::GroupDialog(const QString& title, const GroupRecord& group, const RecordCache& cache, QWidget* owner)
    : QDialog(owner), cache_(cache), group_(group) {
    setObjectName(QStringLiteral("dialog414"));
    setWindowTitle(title);
    setFont(QFont(QStringLiteral("MS Shell Dlg"), 8));

    name_ = new QLineEdit(this);
    category_ = new QComboBox(this);
    unit_ = new QComboBox(this);
    KeepNameBoxNarrow(category_);
    KeepNameBoxNarrow(unit_);
    auto* add = new QPushButton(QStringLiteral("Add Target"), this);
    auto* remove = new QPushButton(QStringLiteral("Delete Target"), this);
    add->setAutoDefault(false);
    remove->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &GroupDialog::AddTarget);
    connect(remove, &QPushButton::clicked, this, &GroupDialog::DeleteTarget);
    targets_ = new QListWidget(this);
    targets_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Long target names are elided by the list, whole in their tooltips.
    targets_->setTextElideMode(Qt::ElideRight);
    targets_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name"), name_);
    form->addRow(QStringLiteral("Category"), category_);
    form->addRow(QStringLiteral("Unit"), unit_);
    auto* targetButtons = new QHBoxLayout;
    targetButtons->addWidget(add);
    targetButtons->addWidget(remove);
    targetButtons->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &GroupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(targetButtons);
    layout->addWidget(new QLabel(QStringLiteral("Target"), this));
    layout->addWidget(targets_);
    layout->addWidget(buttons);

    hasItems_ = cache_.ItemsByGroup().count(group_.id) != 0 && group_.id != 0;

    // A group with items keeps to its unit's family, so its stored amounts
    // can be rescaled; an empty group may take any unit.
    if (hasItems_) {
        for (const auto& [unitId, product] : FamilyOf(cache_.Conversions(), cache_.Families(), group_.unitId)) {
            (void)product;
            unitByPosition_.push_back(unitId);
        }
        if (unitByPosition_.empty()) unitByPosition_.push_back(group_.unitId);
    } else {
        unitByPosition_ = cache_.UnitNames().Ids();
    }
    for (const int32_t unitId : unitByPosition_) {
        const UnitEntry* unit = cache_.FindUnit(unitId);
        unit_->addItem(unit ? PageText(unit->name) : PageText(cache_.UnitNames().NameOf(unitId)));
    }
    const auto unitAt = std::find(unitByPosition_.begin(), unitByPosition_.end(), group_.unitId);
    unit_->setCurrentIndex(unitAt == unitByPosition_.end() ? (unitByPosition_.empty() ? -1 : 0)
                                                           : static_cast<int>(unitAt - unitByPosition_.begin()));

    group_.count = std::clamp<int32_t>(group_.count, 0, static_cast<int32_t>(group_.targets.size()));
    targetIds_.assign(group_.targets.begin(), group_.targets.begin() + group_.count);
    for (int32_t i = 0; i < group_.count; ++i) positions_.push_back(i);
    FillTargets();

    const NameList& categories = cache_.GroupCategories().names;
    int selected = 0;
    for (const int32_t number : categories.Ids()) {
        const std::string& categoryName = categories.NameOf(number);
        if (categoryName.empty()) continue;
        if (number == group_.category) selected = static_cast<int>(categoryByPosition_.size());
        category_->addItem(PageText(categoryName));
        categoryByPosition_.push_back(number);
    }
    category_->setCurrentIndex(categoryByPosition_.empty() ? -1 : selected);

    name_->setText(PageText(group_.name));
    name_->setFocus();
    PlaceDialog(this, owner);
}

std::vector<int32_t> GroupDialog::EditedTargets() const {
    std::vector<int32_t> edited;
    edited.reserve(positions_.size());
    for (const int32_t index : positions_) edited.push_back(targetIds_[static_cast<std::size_t>(index)]);
    return edited;
}

void GroupDialog::FillTargets() {
    targets_->clear();
    for (const int32_t id : EditedTargets()) {
        const TargetRecord* target = cache_.FindTarget(id);
        const QString name = target ? PageText(target->name) : PageText(cache_.TargetNames().NameOf(id));
        targets_->addItem(name);
        targets_->item(targets_->count() - 1)->setToolTip(name);
    }
}

void GroupDialog::AddTarget() {
    if (group_.count >= kMaxListEntries || static_cast<int32_t>(targetIds_.size()) >= kMaxAddedTargets) {
        Services::Prompter().Information(
            this, kDesktopCaption, QStringLiteral("A group cannot have more than %1 targets").arg(kMaxListEntries));
        return;
    }
    // The selection dialog refuses the targets of the list as edited so far.
    GroupRecord edited = group_;
    edited.targets = EditedTargets();
    edited.count = static_cast<int32_t>(edited.targets.size());
    SelectTargetDialog select(cache_, edited, 0, this);
    if (Services::Dialogs().Run(select) != QDialog::Accepted || select.ChosenTarget() == 0) return;
    targetIds_.push_back(select.ChosenTarget());
    positions_.push_back(static_cast<int32_t>(targetIds_.size()) - 1);
    ++group_.count;
    FillTargets();
}

void GroupDialog::DeleteTarget() {
    const int row = targets_->currentRow();
    if (row < 0 || row >= static_cast<int>(positions_.size()) || !targets_->currentItem()->isSelected()) {
        Services::Prompter().Information(this, kDesktopCaption, QStringLiteral("Please select the target to delete!"));
        return;
    }
    if (positions_.size() == 1) {
        Services::Prompter().Information(this, kDesktopCaption, kOneTarget);
        return;
    }
    if (!Services::Prompter().AskYesNo(
            this, kDesktopCaption,
            QStringLiteral(
                "Are you sure to delete this target form all the items and values referencing this group?"))) {
        return;
    }
    positions_.erase(positions_.begin() + row);
    --group_.count;
    FillTargets();
}

void GroupDialog::accept() {
    const std::string name = name_->text().toStdString();
    if (positions_.empty()) {
        Services::Prompter().Information(this, kDesktopCaption, kOneTarget);
        return;
    }
    if (name.empty()) {
        Services::Prompter().Information(this, kDesktopCaption, QStringLiteral("The group name is empty!"));
        return;
    }
    group_.name = name;
    const int unitPosition = unit_->currentIndex();
    if (unitPosition >= 0 && unitPosition < static_cast<int>(unitByPosition_.size())) {
        group_.unitId = unitByPosition_[static_cast<std::size_t>(unitPosition)];
    }
    const int categoryPosition = category_->currentIndex();
    if (categoryPosition >= 0 && categoryPosition < static_cast<int>(categoryByPosition_.size())) {
        group_.category = categoryByPosition_[static_cast<std::size_t>(categoryPosition)];
    }
    QDialog::accept();
}

}  // namespace orv
