#include "ui/targets/TargetDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <string>

#include "data/RecordCache.h"
#include "data/UnitConversion.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "ui/PageStyle.h"

namespace orv {
namespace {

constexpr int kSumType = 0;
constexpr int kAverageType = 1;

}  // namespace

TargetDialog::TargetDialog(const QString& title, const TargetRecord& entry, const RecordCache& cache, QWidget* owner)
    : QDialog(owner), cache_(cache), entry_(entry) {
    setObjectName(QStringLiteral("dialog412"));
    setWindowTitle(title);
    setFont(QFont(QStringLiteral("MS Shell Dlg"), 8));

    category_ = new QComboBox(this);
    category_->setObjectName(QStringLiteral("control1366"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("control1305"));
    unit_ = new QComboBox(this);
    unit_->setObjectName(QStringLiteral("control1306"));
    sum_ = new QRadioButton(QStringLiteral("Sum"), this);
    sum_->setObjectName(QStringLiteral("control1268"));
    average_ = new QRadioButton(QStringLiteral("Average"), this);
    average_->setObjectName(QStringLiteral("control1267"));
    type_ = new QButtonGroup(this);
    type_->addButton(sum_, kSumType);
    type_->addButton(average_, kAverageType);
    groups_ = new QTreeWidget(this);
    groups_->setObjectName(QStringLiteral("control1379"));
    groups_->setRootIsDecorated(false);
    groups_->setSelectionMode(QAbstractItemView::SingleSelection);
    groups_->setHeaderLabels({QStringLiteral("Name")});
    groups_->header()->setStretchLastSection(true);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Category:"), this), 0, 0);
    grid->addWidget(category_, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Name"), this), 1, 0);
    grid->addWidget(name_, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Unit"), this), 2, 0);
    grid->addWidget(unit_, 2, 1, 1, 2);
    grid->addWidget(sum_, 3, 1);
    grid->addWidget(average_, 3, 2);
    grid->addWidget(new QLabel(QStringLiteral("Referenced by groups"), this), 4, 0, 1, 3);
    grid->addWidget(groups_, 5, 0, 1, 3);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TargetDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    inUse_ = cache_.TargetIsReferenced(entry_.id);
    FillUnits();
    FillCategories();
    if (QAbstractButton* checked = type_->button(entry_.type)) checked->setChecked(true);
    FillGroups();
    name_->setText(PageText(entry_.name));
    name_->setFocus();

    if (owner) {
        adjustSize();
        move(owner->window()->frameGeometry().center() - rect().center());
    }
}

void TargetDialog::FillUnits() {
    const NameList& names = cache_.UnitNames();
    if (inUse_) {
        for (const auto& [id, product] : FamilyOf(cache_.Conversions(), cache_.Families(), entry_.unitId)) {
            unit_->addItem(PageText(names.NameOf(id)));
            unitByPosition_.push_back(id);
        }
    } else {
        for (const int32_t id : names.Ids()) {
            unit_->addItem(PageText(names.NameOf(id)));
            unitByPosition_.push_back(id);
        }
    }
    int selected = 0;
    for (std::size_t position = 0; position < unitByPosition_.size(); ++position) {
        if (unitByPosition_[position] == entry_.unitId) {
            selected = static_cast<int>(position);
            break;
        }
    }
    unit_->setCurrentIndex(unitByPosition_.empty() ? -1 : selected);
}

void TargetDialog::FillCategories() {
    const NameList& categories = cache_.TargetCategories().names;
    int selected = 0;
    for (const int32_t number : categories.Ids()) {
        const std::string& name = categories.NameOf(number);
        if (name.empty()) continue;
        if (number == entry_.category) selected = static_cast<int>(categoryByPosition_.size());
        category_->addItem(PageText(name));
        categoryByPosition_.push_back(number);
    }
    category_->setCurrentIndex(categoryByPosition_.empty() ? -1 : selected);
}

void TargetDialog::FillGroups() {
    const auto [first, last] = cache_.GroupsByTarget().equal_range(entry_.id);
    for (auto it = first; it != last; ++it) {
        const GroupRecord* group = cache_.FindGroup(it->second);
        const std::string& name = group ? group->name : cache_.GroupNames().NameOf(it->second);
        new QTreeWidgetItem(groups_, QStringList{PageText(name)});  // owned by the list
    }
}

int32_t TargetDialog::UnitAt(int position) const {
    if (position < 0 || position >= static_cast<int>(unitByPosition_.size())) return 0;
    return unitByPosition_[static_cast<std::size_t>(position)];
}

void TargetDialog::accept() {
    const std::string name = name_->text().toStdString();
    if (name.empty()) {
        Services::Prompter().Error(this, kDesktopCaption, QStringLiteral("Target name is empty!!!"));
        return;
    }
    entry_.name = name;
    // Neither radio is checked only for a stored type other than 0 and 1,
    // which is then kept as it is.
    if (const int type = type_->checkedId(); type >= 0) entry_.type = type;
    const int unitPosition = unit_->currentIndex();
    if (unitPosition >= 0 && unitPosition < static_cast<int>(unitByPosition_.size())) {
        entry_.unitId = unitByPosition_[static_cast<std::size_t>(unitPosition)];
    }
    const int categoryPosition = category_->currentIndex();
    if (categoryPosition >= 0 && categoryPosition < static_cast<int>(categoryByPosition_.size())) {
        entry_.category = categoryByPosition_[static_cast<std::size_t>(categoryPosition)];
    }
    QDialog::accept();
}

}  // namespace orv
